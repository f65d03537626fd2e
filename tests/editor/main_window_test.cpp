// The main window at work on a private X server: the chain commands with their warnings, a
// three-filter effect built from the menus and edited through every kind of control, saved and
// rendered, a script whose mask file is missing, the keyboard, and a screenshot of the rows of
// every parameter kind. Dialogs are answered by the scripted stand-in.
#include "editor/windows/main_window.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/scrolbar.h>
#include <wx/uiaction.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/parameter_kinds.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"
#include "core/settings/settings.h"
#include "editor/windows/colour_selector_window.h"
#include "editor/windows/preview_window.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"
#include "tests/editor/editor_gui_support.h"
#include "tests/editor/editor_test_support.h"
#include "tests/progress/gui_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
using test::ClickControl;
using test::PumpFor;

class MainWindowTest : public test::EditorWindowTest {
 protected:
  gui::AniButton* Button(int id) { return window_->Controls().Button(id); }
  gui::MaskedEdit* Field(int id) { return window_->Controls().Field(id); }
  int Command(const char* filter) {
    for (int k = 0; k < session_->plugins.Count(); ++k)
      if (std::string(session_->plugins.At(k)->name) == filter) return k + 1;
    ADD_FAILURE() << filter;
    return 0;
  }
  // The last message shown, and how many there were.
  std::string LastMessage() { return dialogs_->messages.empty() ? std::string() : dialogs_->messages.back().text; }
  void ExpectWarning(int button, const std::string& text) {
    const size_t before = dialogs_->messages.size();
    ClickControl(Button(button));
    ASSERT_EQ(dialogs_->messages.size(), before + 1) << text;
    EXPECT_EQ(LastMessage(), text);
    EXPECT_EQ(dialogs_->messages.back().caption, "Ombrix - Warning");
  }
  // Renders the effect on the installation's test picture through ombrix-render.
  wxImage Render(const std::string& effect, const std::string& output) {
    platform::Process process;
    const std::string program = std::string(OMBRIX_STAGE_DIR) + "/Programs/ombrix-render";
    EXPECT_TRUE(process.Start({program, {"--no-progress", effect, install_ + "/Images/Back.Bmp", output}, {}}));
    EXPECT_TRUE(process.Wait({}, 60000));
    EXPECT_EQ(process.ExitCode(), 0) << effect;
    wxImage image;
    EXPECT_TRUE(image.LoadFile(output, wxBITMAP_TYPE_PNG)) << output;
    return image;
  }
  static bool SamePixels(const wxImage& a, const wxImage& b) {
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize()) return false;
    return std::memcmp(a.GetData(), b.GetData(), size_t(a.GetWidth()) * size_t(a.GetHeight()) * 3) == 0;
  }
  wxPoint ScreenCentre(wxWindow* control) {
    return control->ClientToScreen(wxPoint(control->GetClientSize().x / 2, control->GetClientSize().y / 2));
  }
};

TEST_F(MainWindowTest, UnavailableCommandsSayWhyAndTheChainCommandsMoveThroughIt) {
  Start();
  // Nothing chosen yet: every command that needs a filter explains itself.
  ExpectWarning(kMainAddFilter, "Cannot add filter\nbecause current filter is empty");
  ExpectWarning(kMainDelete, "Cannot delete first filter");
  ExpectWarning(kMainNext, "No more filter");
  ExpectWarning(kMainPrevious, "No previous filter");
  ExpectWarning(kMainSave, "Nothing to save");
  ExpectWarning(kMainXAlpha, "Only works when current filter isn't empty");
  ExpectWarning(kMainExtended, "Only works when current filtre\nisn't empty");
  EXPECT_TRUE(dialogs_->files.empty());
  test::SaveEditorScreenshot(window_, "main_window_greyed");

  window_->ChooseFilter(Command("Negative"));
  EXPECT_TRUE(window_->Available(ChainCommand::kAddFilter));
  EXPECT_FALSE(window_->Available(ChainCommand::kDelete));
  ClickControl(Button(kMainAddFilter));
  window_->ChooseFilter(Command("Brightness"));
  ClickControl(Button(kMainAddFilter));
  window_->ChooseFilter(Command("Swap RGB"));
  ASSERT_EQ(session_->chain.Count(), 3);
  EXPECT_EQ(session_->chain.Current(), 2);
  EXPECT_EQ(Button(kMainIndex)->GetLabel(), "2");
  ExpectWarning(kMainNext, "No more filter");

  // Page Up is Next and Page Down Previous.
  test::PressKey(Field(kMainZone1), WXK_PAGEDOWN);
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Brightness");
  ClickControl(Button(kMainPrevious));
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Negative");
  EXPECT_EQ(Button(kMainIndex)->GetLabel(), "0");
  ExpectWarning(kMainPrevious, "No previous filter");
  test::PressKey(Field(kMainZone1), WXK_PAGEUP);
  EXPECT_EQ(session_->chain.Current(), 1);

  // The chain bar: moving to where it is changes nothing, a line right moves one on.
  auto* bar = static_cast<wxScrollBar*>(window_->FindWindow(kMainChainBar));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetRange(), 3);
  EXPECT_EQ(bar->GetThumbPosition(), 1);
  Field(kMainZone1)->ChangeValue("77");
  wxScrollEvent same(wxEVT_SCROLL_THUMBTRACK, kMainChainBar, 1, wxHORIZONTAL);
  same.SetEventObject(bar);
  bar->HandleWindowEvent(same);
  EXPECT_EQ(Field(kMainZone1)->GetValue(), "77");  // not shown again
  wxScrollEvent line(wxEVT_SCROLL_LINEDOWN, kMainChainBar, 1, wxHORIZONTAL);
  line.SetEventObject(bar);
  bar->HandleWindowEvent(line);
  EXPECT_EQ(session_->chain.Current(), 2);
  EXPECT_EQ(session_->chain.At(1)->zone[0], 77);  // the fields were taken before moving

  // Deleting the last of three while it is current: two left, entry 1 current.
  ClickControl(Button(kMainDelete));
  EXPECT_EQ(session_->chain.Count(), 2);
  EXPECT_EQ(session_->chain.Current(), 1);
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Brightness");
  EXPECT_EQ(bar->GetRange(), 2);
  ClickControl(Button(kMainDelete));
  ExpectWarning(kMainDelete, "Cannot delete first filter");
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Negative");
}

// Builds Fade, Mosaic and Brightness from the menus, edits a colour, an option group, a dragged
// and a typed number, saves the effect, and renders it beside a hand-written script of the same
// effect.
TEST_F(MainWindowTest, AnEffectBuiltInTheWindowSavesAndRendersAsWritten) {
  Start();
  Field(kTestFrameField)->ChangeValue("15");
  const auto full_screen = [&] {
    if (Button(kMainFullScreen)->Frame() != 1) ClickControl(Button(kMainFullScreen));
  };

  // Fade: the colour through the selector, the option group switched from "In" to "Out".
  window_->ChooseFilter(Command("Fade"));
  full_screen();
  ASSERT_TRUE(Button(kMainParameter1 + 1)->IsShown());
  EXPECT_EQ(Button(kMainParameterValueDrag1 + 1)->Frame(), gui::kActionLook);
  bool selector_seen = false;
  window_->CallAfter([&] {
    ColourSelectorWindow* selector = window_->OpenColourSelector();
    ASSERT_NE(selector, nullptr);
    selector_seen = true;
    EXPECT_EQ(selector->GetTitle(), "Palette Win - Fade (1)");
    EXPECT_EQ(selector->Controls().Field(kColourField1)->GetValue(), "0");
    test::SaveEditorScreenshot(selector, "colour_selector");
    dialogs_->AnswerColour(gui::MakeColour(200, 100, 40));
    ClickControl(selector->Controls().Button(kColourMore));
    selector->Controls().Field(kColourField1 + 2)->ChangeValue("50");
    ClickControl(selector->Controls().Button(kColourConfirm));
  });
  ClickControl(Button(kMainParameter1 + 1));
  EXPECT_TRUE(selector_seen);
  EXPECT_EQ(Field(kMainParameterValue1 + 1)->GetValue(), "200 100 50");
  ASSERT_EQ(Button(kMainOption1 + 1)->GetLabel(), "In");
  ClickControl(Button(kMainOption1 + 2));  // "Out" on: "In" goes off
  EXPECT_EQ(Button(kMainOption1 + 1)->Frame(), 2);
  EXPECT_EQ(Button(kMainOption1 + 2)->Frame(), 1);
  ClickControl(Button(kMainOption1 + 2));  // the lit one stays on
  EXPECT_EQ(Button(kMainOption1 + 2)->Frame(), 1);

  // Mosaic: "X Size" dragged 20 pixels to the right, 0.5 a pixel.
  ClickControl(Button(kMainAddFilter));
  window_->ChooseFilter(Command("Mosaic"));
  full_screen();
  gui::AniButton* drag = Button(kMainParameterValueDrag1 + 1);
  ASSERT_TRUE(drag->IsShown());
  EXPECT_EQ(drag->Frame(), gui::kDragLook);
  window_->Raise();
  PumpFor(200);
  wxUIActionSimulator mouse;
  const wxPoint anchor = ScreenCentre(drag);
  mouse.MouseMove(anchor);
  PumpFor(100);
  mouse.MouseDown();
  PumpFor(100);
  EXPECT_TRUE(window_->CurrentDrag().Active());
  EXPECT_EQ(drag->Frame(), gui::kDragLook + 1);
  mouse.MouseMove(anchor + wxPoint(20, 0));
  PumpFor(300);
  EXPECT_EQ(wxGetMousePosition(), anchor);  // put back at the anchor
  mouse.MouseUp();
  PumpFor(150);
  EXPECT_FALSE(window_->CurrentDrag().Active());
  EXPECT_EQ(drag->Frame(), gui::kDragLook);
  EXPECT_EQ(Field(kMainParameterValue1 + 1)->GetValue(), "12");

  // Brightness: "Factor" typed as arithmetic, shown in its format when Tab leaves it.
  ClickControl(Button(kMainAddFilter));
  window_->ChooseFilter(Command("Brightness"));
  full_screen();
  gui::MaskedEdit* factor = Field(kMainParameterValue1 + 1);
  factor->SetFocus();
  PumpFor(100);
  factor->ChangeValue("1+0.5*2");
  wxUIActionSimulator keys;
  keys.Char(WXK_TAB);
  PumpFor(200);
  EXPECT_EQ(factor->GetValue(), "2.0");
  EXPECT_EQ(wxWindow::FindFocus(), Field(kMainParameterStep1 + 1));
  test::SaveEditorScreenshot(window_, "main_window_three_filters");

  const std::string folder = test::FreshDirectory(name_ + "/effects");
  const std::string saved = folder + "/Built.Oms";
  dialogs_->AnswerFile(saved);
  ClickControl(Button(kMainSave));
  ASSERT_EQ(dialogs_->files.size(), 1u);
  EXPECT_EQ(dialogs_->files[0].title, "Save Script");
  EXPECT_EQ(dialogs_->files[0].filter, "Ombrix Script (*.Oms)|*.Oms|All Files (*.*)|*.*||");
  EXPECT_EQ(dialogs_->files[0].default_extension, "OMS");
  EXPECT_EQ(ReadSetting(nullptr, "ScriptSaveDir"), folder);
  EXPECT_EQ(session_->script_path, saved);

  // The reference: the same chain made without the window and written by the script writer.
  FilterChain reference;
  const auto filter = [&](const char* name) {
    ASSERT_TRUE(reference.SetCurrentFilter(*session_->plugins.At(Command(name) - 1)));
    FilterDescriptor* e = reference.CurrentEntry();
    e->start_frame = 0;
    e->end_frame = 30;
    e->full_screen = 1;
  };
  const auto set = [&](int k, const char* value, const char* step) {
    std::strcpy(reference.CurrentEntry()->parameters[k].value, value);
    std::strcpy(reference.CurrentEntry()->parameters[k].step, step);
  };
  filter("Fade");
  set(2, "200 100 50", "0 0 0");
  reference.CurrentEntry()->options[2].state = 0;
  reference.CurrentEntry()->options[3].state = 1;
  ASSERT_TRUE(reference.AddCopyOfCurrent());
  filter("Mosaic");
  set(2, "12.000000", "0.000000");
  set(3, "2.000000", "0.000000");
  ASSERT_TRUE(reference.AddCopyOfCurrent());
  filter("Brightness");
  set(2, "2.000000", "0.000000");
  const std::string written = folder + "/Reference.Oms";
  ASSERT_TRUE(reference.Write(written.c_str(), 15, session_->header));
  EXPECT_EQ(platform::ReadWholeFile(saved.c_str()), platform::ReadWholeFile(written.c_str()));

  // By hand, the keys that matter; every other key keeps the plug-in's defaults.
  const std::string by_hand = folder + "/ByHand.Oms";
  const auto section = [](int n, const char* module, const char* name, const std::string& body) {
    return "[Filter_" + std::to_string(n) + "]\r\n\tDllName=" + module + "\r\n\tFilterName=" + name +
           "\r\n\tFullScreen=1\r\n\tAllFrames=0\r\n\tStartFrame=0\r\n\tEndFrame=30\r\n" + body + "\r\n";
  };
  test::WriteFile(by_hand,
                  "3\r\n[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=3\r\n\tTestFrame=15\r\n"
                  "\tBased XSize=640\r\n\tBased YSize=480\r\n\r\n" +
                      section(0, "ZvPal.Omp", "Fade",
                              "\tParameter_2_Val=200 100 50\r\n\tParameter_2_Step=0 0 0\r\n\tOption_2=0\r\n"
                              "\tOption_3=1\r\n") +
                      section(1, "ZvPic.Omp", "Mosaic",
                              "\tParameter_2_Val=12\r\n\tParameter_2_Step=0\r\n\tOption_6=1\r\n\tOption_7=0\r\n"
                              "\tOption_8=0\r\n") +
                      section(2, "ZvPal.Omp", "Brightness", "\tParameter_2_Val=2\r\n\tParameter_2_Step=0\r\n"));
  const wxImage from_editor = Render(saved, folder + "/editor.png");
  const wxImage from_hand = Render(by_hand, folder + "/hand.png");
  wxImage original;
  EXPECT_TRUE(original.LoadFile(install_ + "/Images/Back.Bmp", wxBITMAP_TYPE_BMP));
  EXPECT_TRUE(SamePixels(from_editor, from_hand));
  EXPECT_FALSE(SamePixels(from_editor, original)) << "the effect changed nothing";
  EXPECT_EQ(dialogs_->unexpected, 0);
}

TEST_F(MainWindowTest, LoadAsksForAMissingMaskFileAndRemembersItsFolders) {
  Start();
  // A script whose first entry names a mask picture that is not there.
  std::string script = test::WriteOneFilterScript(name_, "Negative", "masked.Oms", 3);
  std::string text = *platform::ReadWholeFile(script.c_str());
  const std::string key = "XAlphaPicture=";
  const size_t at = text.find(key);
  ASSERT_NE(at, std::string::npos);
  text.insert(at + key.size(), "/gone/mask.bmp");
  platform::SetReadOnly(script.c_str(), false);
  test::WriteFile(script, text);

  const std::string replacement = install_ + "/Images/Back.Bmp";
  dialogs_->AnswerFile(script);
  dialogs_->AnswerQuestion(1);
  dialogs_->AnswerFile(replacement);
  ClickControl(Button(kMainLoad));
  ASSERT_EQ(dialogs_->files.size(), 2u);
  EXPECT_EQ(dialogs_->files[0].title, "Load Script");
  EXPECT_EQ(dialogs_->files[0].filter, "Ombrix Script (*.Oms)|*.Oms|All files (*.*)|*.*||");
  EXPECT_EQ(dialogs_->files[1].title, "Select A New File");
  EXPECT_EQ(dialogs_->files[1].start_path, "/gone/mask.bmp");
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text,
            "Cannot find file\n\"/gone/mask.bmp\".\nDo you want to replace it with a new file.");
  EXPECT_STREQ(session_->chain.At(0)->xalpha->picture_path, replacement.c_str());
  EXPECT_EQ(ReadSetting(nullptr, "ScriptOpenDir"), platform::DirectoryPart(script));
  EXPECT_EQ(ReadSetting(nullptr, "ErrorOpenDir"), install_ + "/Images");
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Negative");
  EXPECT_EQ(Field(kTestFrameField)->GetValue(), "3");
  EXPECT_TRUE(window_->Available(ChainCommand::kSave));
  EXPECT_FALSE(window_->Available(ChainCommand::kPrevious));

  // The next Load starts at the script's name in the remembered folder; a script that cannot be
  // read says so.
  const std::string broken = test::FreshDirectory(name_ + "/broken") + "/broken.Oms";
  test::WriteFile(broken, "not a script");
  dialogs_->AnswerFile(broken);
  ClickControl(Button(kMainLoad));
  EXPECT_EQ(dialogs_->files.back().start_path, script);
  EXPECT_EQ(LastMessage(), "Cannot open script");
  EXPECT_EQ(dialogs_->messages.back().caption, "Ombrix - Error");
  EXPECT_EQ(dialogs_->unexpected, 0);
}

// The demo effect, stepped through entry by entry and saved again, still renders as it did.
TEST_F(MainWindowTest, TheDemoEffectSteppedThroughAndSavedRendersAsBefore) {
  const std::string folder = test::FreshDirectory(name_ + "/demo");
  const std::string demo = folder + "/Demo.Oms";
  std::filesystem::copy_file(std::string(OMBRIX_STAGE_DIR) + "/Samples/Demo.Oms", demo);
  Start(demo);
  ASSERT_TRUE(session_->ready);
  const int count = session_->chain.Count();
  ASSERT_GT(count, 2);
  EXPECT_TRUE(window_->Available(ChainCommand::kNext));
  for (int i = 1; i < count; ++i) {
    ClickControl(Button(kMainNext));
    EXPECT_EQ(Button(kMainIndex)->GetLabel(), std::to_string(i));
    EXPECT_EQ(Button(kMainFilterName)->GetLabel(), session_->chain.At(i)->name);
  }
  ExpectWarning(kMainNext, "No more filter");
  const std::string saved = folder + "/Saved.Oms";
  dialogs_->AnswerFile(saved);
  test::PressKey(window_, WXK_F2);  // Save
  ASSERT_EQ(dialogs_->files.size(), 1u);
  // The script's own name in the folder saves go to (none yet: the content directory).
  EXPECT_EQ(platform::FileNamePart(dialogs_->files[0].start_path.c_str()), std::string("Demo.Oms"));
  EXPECT_TRUE(SamePixels(Render(saved, folder + "/saved.png"), Render(demo, folder + "/demo.png")));
}

TEST_F(MainWindowTest, TheWholeWindowWorksFromTheKeyboard) {
  Start();
  window_->ChooseFilter(Command("Swap RGB"));
  window_->Raise();
  PumpFor(200);
  // Tab from the last zone step reaches the option buttons, and Space presses the focused one.
  Field(kMainZoneStep1 + 3)->SetFocus();
  PumpFor(100);
  wxUIActionSimulator keys;
  std::vector<int> reached;
  for (int i = 0; i < 40 && reached.size() < 40; ++i) {
    keys.Char(WXK_TAB);
    PumpFor(60);
    wxWindow* focus = wxWindow::FindFocus();
    ASSERT_NE(focus, nullptr);
    reached.push_back(focus->GetId());
    if (focus->GetId() == kMainOption1 + 1) break;
  }
  ASSERT_EQ(reached.back(), kMainOption1 + 1) << "Tab never reached the second option";
  keys.Char(' ');
  PumpFor(100);
  EXPECT_EQ(Button(kMainOption1 + 1)->Frame(), 1);
  EXPECT_EQ(Button(kMainOption1)->Frame(), 2);
  // Every command button is reached in one round, and none of the drag buttons. (The chain bar
  // takes no focus on GTK; Page Up and Page Down move through the chain instead.)
  for (int i = 0; i < 80; ++i) {
    keys.Char(WXK_TAB);
    PumpFor(30);
    if (wxWindow* focus = wxWindow::FindFocus()) reached.push_back(focus->GetId());
  }
  for (const int id :
       std::initializer_list<int>{kMainLoad, kMainSave, kMainOption, kMainAddFilter, kMainPrevious, kMainNext,
                                  kMainDelete, kMainRender, kMainFilterHelp, kMainHelp, kMainCancel, kMainConfirm,
                                  kMainFilterName, kMainAllFrames, kMainXAlpha, kMainExtended, kTestFrameField})
    EXPECT_NE(std::find(reached.begin(), reached.end(), id), reached.end()) << id;
  for (const int id : reached) EXPECT_FALSE(id >= kMainZoneDrag1 && id < kMainZoneDrag1 + 4) << id;

  // F1 opens the main help (there is none in the test installation), F9 renders nothing yet.
  test::PressKey(window_, WXK_F1);
  EXPECT_EQ(LastMessage(), "Cannot find \"" + install_ + "/Help/Ombrix.Hlp\".");
  // The per-filter help names the filter's missing book.
  ClickControl(Button(kMainFilterHelp));
  EXPECT_EQ(LastMessage(), "Cannot find \"ZvOmPal.Hlp\".");
}

// One screenshot per group of four kinds, the rows made on a chosen filter's entry.
TEST_F(MainWindowTest, RowsOfEveryParameterKind) {
  Start();
  window_->ChooseFilter(Command("Fade"));
  FilterDescriptor* entry = session_->chain.CurrentEntry();
  const char* values[kParameterKindCount] = {"12",   "255 128 0",   "/fx/in.txt", "3 7",   "",          "320",
                                             "240",  "/fx/out.txt", "8",          "-25 %", "1.5",       "75 %",
                                             "1000", "-128",        "200",        "0.25",  "Mod Editor"};
  std::string long_picture = "/home/artist/projects/a rather long folder name/pictures/textures/wood.bmp";
  for (int group = 0; group * 4 < kParameterKindCount; ++group) {
    for (int k = 1; k <= 4; ++k) {
      const int kind = group * 4 + k - 1;
      ParameterRecord& slot = entry->parameters[k];
      std::memset(&slot, 0, sizeof slot);
      if (kind >= kParameterKindCount) continue;
      std::snprintf(slot.name, sizeof slot.name, "%s", KindName(kind));
      slot.kind = int16_t(kind);
      std::snprintf(slot.value, sizeof slot.value, "%s",
                    kind == kKindPictureFile ? long_picture.c_str() : values[kind]);
      std::snprintf(slot.step, sizeof slot.step, "%s", IsTypedNumber(kind) ? "0" : "");
    }
    window_->ShowCurrentFilter();
    PumpFor(50);
    test::SaveEditorScreenshot(window_, "main_window_kinds_" + std::to_string(group * 4) + "_to_" +
                                            std::to_string(std::min(group * 4 + 3, kParameterKindCount - 1)));
    if (group == 1) {
      // The long picture path is shown shortened and not stored back.
      EXPECT_EQ(Field(kMainParameterValue1)->GetValue(), "/ho...wood.bmp");
      window_->TakeFields();
      EXPECT_EQ(std::string(entry->parameters[1].value), long_picture);
      EXPECT_EQ(Field(kMainParameterValue1 + 1)->GetValue(), "320");
      EXPECT_EQ(Button(kMainParameterValueDrag1)->Frame(), gui::kActionLook);
      EXPECT_EQ(Button(kMainParameterValueDrag1 + 1)->Frame(), gui::kDragLook);
    }
    if (group == 2) {
      EXPECT_EQ(Field(kMainParameterValue1 + 1)->GetValue(), "-25.0 %");
      // A name wider than its button is drawn smaller rather than cut off.
      gui::AniButton* name = Button(kMainParameter1 + 1);
      int width = 0, height = 0;
      const wxFont font = name->GetFont();
      name->GetTextExtent(name->GetLabel(), &width, &height, nullptr, nullptr, &font);
      EXPECT_LE(width, name->GetClientSize().x - 4);
      EXPECT_LT(font.GetPointSize(), window_->GetFont().GetPointSize());
      EXPECT_EQ(Button(kMainParameter1 + 2)->GetFont().GetPointSize(), window_->GetFont().GetPointSize());
    }
    if (group == 4) {
      EXPECT_TRUE(Button(kMainParameter1)->IsShown());
      EXPECT_FALSE(Field(kMainParameterValue1)->IsShown());
      // The link names a module the references do not hold.
      ClickControl(Button(kMainParameter1));
      EXPECT_EQ(LastMessage(), "Cannot create memory link to \"Mod\".");
      EXPECT_EQ(dialogs_->messages.back().caption, "Ombrix - Error");
    }
  }
}

TEST_F(MainWindowTest, FileAndPictureParametersGoThroughTheirDialogs) {
  Start();
  window_->ChooseFilter(Command("Fade"));
  FilterDescriptor* entry = session_->chain.CurrentEntry();
  const std::pair<int16_t, const char*> rows[] = {
      {kKindInputFile, "in.txt"}, {kKindOutputFile, "out.txt"}, {kKindPictureFile, "Back.Bmp"}};
  for (int k = 1; k <= 3; ++k) {
    ParameterRecord& slot = entry->parameters[k];
    std::snprintf(slot.name, sizeof slot.name, "File %d", k);
    slot.kind = rows[k - 1].first;
    std::snprintf(slot.value, sizeof slot.value, "%s", rows[k - 1].second);
    slot.step[0] = '\0';
  }
  window_->ShowCurrentFilter();
  dialogs_->AnswerFile("/data/chosen.txt");
  ClickControl(Button(kMainParameterValueDrag1));
  ASSERT_EQ(dialogs_->files.size(), 1u);
  EXPECT_EQ(dialogs_->files[0].title, "Load");
  EXPECT_EQ(dialogs_->files[0].filter, "All Files (*.*)|*.*||");
  EXPECT_EQ(Field(kMainParameterValue1)->GetValue(), "/data/chosen.txt");
  EXPECT_EQ(ReadSetting(nullptr, "FSParamLoadDir"), "/data");
  dialogs_->AnswerFile(std::nullopt);
  ClickControl(Button(kMainParameter1 + 1));
  EXPECT_EQ(dialogs_->files.back().title, "Save");
  EXPECT_EQ(Field(kMainParameterValue1 + 1)->GetValue(), "out.txt");  // cancelled: unchanged

  // The right button views the picture, found in the content directory.
  session_->header.content_directory = install_ + "/Images/";
  gui::AniMouseEvent right(gui::EVT_ANI_MOUSE_DOWN, kMainParameter1 + 2);
  right.SetParameters(2, 0, 1, 1);
  right.SetEventObject(Button(kMainParameter1 + 2));
  Button(kMainParameter1 + 2)->HandleWindowEvent(right);
  PumpFor(100);
  PreviewWindow* view = window_->Preview();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->IsShown());
  EXPECT_TRUE(view->GetTitle().StartsWith("Back.Bmp ("));
  EXPECT_FALSE(window_->IsEnabled());
  test::SaveEditorScreenshot(view, "picture_view");
  EXPECT_STREQ(entry->parameters[3].value, "Back.Bmp");
  // A second request replaces the view: one window, a picture of its own.
  const Picture* first = view->Shown();
  window_->PressParameter(3, 0, true);
  EXPECT_EQ(window_->Preview(), view);
  EXPECT_NE(view->Shown(), nullptr);
  EXPECT_NE(view->Shown(), first);
  ClickControl(view->Controls().Button(kPreviewClose));
  EXPECT_FALSE(view->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  // The left button opens the picture dialog at the value.
  dialogs_->AnswerFile(std::nullopt);
  ClickControl(Button(kMainParameter1 + 2));
  EXPECT_EQ(dialogs_->files.back().title, "Load Image File");
  EXPECT_NE(dialogs_->files.back().start_path.find("Back.Bmp"), std::string::npos);
}

}  // namespace
