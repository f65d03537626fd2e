// The X-Alpha window and the extended options window at work on a private X server, opened from
// the main window: a mask loaded, kept, cleared and saved; the pairs and "Negative"; a filter
// rendered alone from the extended window; the zone drawn with the mouse; and the values typed
// there shown in the main window after "Close". Dialogs are answered by the scripted stand-in.
#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/process.h"
#include "editor/model/zone_drawing.h"
#include "editor/windows/extended_options_window.h"
#include "editor/windows/main_window.h"
#include "editor/windows/x_alpha_window.h"
#include "gui/ani_button.h"
#include "gui/masked_edit.h"
#include "tests/editor/editor_gui_support.h"
#include "tests/editor/editor_test_support.h"
#include "tests/progress/gui_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
using test::ClickControl;
using test::PumpFor;

std::vector<uint8_t> Bytes(const Picture& picture) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < picture.Height(); ++y)
    bytes.insert(bytes.end(), picture.Row(y), picture.Row(y) + 3 * ptrdiff_t(picture.Width()));
  return bytes;
}

class MaskAndExtendedWindowsTest : public test::EditorWindowTest {
 protected:
  gui::AniButton* Button(int id) { return window_->Controls().Button(id); }
  gui::MaskedEdit* Field(int id) { return window_->Controls().Field(id); }
  void Choose(const char* filter) {
    for (int k = 0; k < session_->plugins.Count(); ++k)
      if (std::string(session_->plugins.At(k)->name) == filter) {
        window_->ChooseFilter(k + 1);
        if (Button(kMainFullScreen)->Frame() != 1) ClickControl(Button(kMainFullScreen));
        return;
      }
    ADD_FAILURE() << filter;
  }
  XAlphaWindow* OpenXAlpha() {
    ClickControl(Button(kMainXAlpha));
    PumpFor(50);
    EXPECT_NE(window_->XAlpha(), nullptr);
    return window_->XAlpha();
  }
  ExtendedOptionsWindow* OpenExtended() {
    test::PressKey(window_, WXK_F6);
    PumpFor(100);
    EXPECT_NE(window_->Extended(), nullptr);
    return window_->Extended();
  }
  // The line of a key in a script's text, without its line end.
  static std::string KeyLine(const std::string& text, const std::string& key) {
    const size_t at = text.find("\t" + key + "=");
    if (at == std::string::npos) return "(missing)";
    return text.substr(at + 1, text.find('\r', at) - at - 1);
  }
  std::string Mask() const { return install_ + "/Images/Back.Bmp"; }
};

TEST_F(MaskAndExtendedWindowsTest, AMaskIsLoadedKeptAndClearedAndTheSavedScriptFollows) {
  Start();
  Choose("Negative");
  FilterDescriptor* entry = session_->chain.CurrentEntry();
  entry->xalpha->percent = 33;

  XAlphaWindow* x_alpha = OpenXAlpha();
  ASSERT_NE(x_alpha, nullptr);
  EXPECT_TRUE(x_alpha->IsShown());
  EXPECT_FALSE(window_->IsEnabled());
  EXPECT_EQ(x_alpha->GetTitle(), "X Alpha Options - Negative (0)");
  const gui::TemplateControls& c = x_alpha->Controls();
  EXPECT_EQ(c.Button(kXAlphaInformation)->GetLabel(), "(no picture loaded)");
  EXPECT_EQ(c.Field(kXAlphaInit)->GetValue(), "0.0 %");

  // Loaded through the picture dialog; "Repeat" pressed off turns "Stretch to picture" on.
  dialogs_->AnswerFile(Mask());
  ClickControl(c.Button(kXAlphaLoad));
  ASSERT_NE(x_alpha->PendingPicture(), nullptr);
  EXPECT_EQ(x_alpha->PendingName(), Mask());
  const Picture& pending = *x_alpha->PendingPicture();
  EXPECT_EQ(std::string(c.Button(kXAlphaInformation)->GetLabel().ToStdString()),
            "Back.Bmp\n   Type = " + std::string(pending.TypeText()) + "\n   Width = " +
                std::to_string(pending.Width()) + "\n   Height = " + std::to_string(pending.Height()) +
                "\n   Mem. Size = " + std::to_string(pending.Width() * pending.Height() * 3 / 1024) + " Kb\n");
  ASSERT_EQ(c.Button(kXAlphaRepeat)->Frame(), 1);
  ClickControl(c.Button(kXAlphaRepeat));
  EXPECT_EQ(c.Button(kXAlphaStretch)->Frame(), 1);
  // The plug-in's type 0 shows as "Clip Map"; "X Alpha" pressed on turns it off.
  ASSERT_EQ(c.Button(kXAlphaClipMap)->Frame(), 1);
  ClickControl(c.Button(kXAlphaGradual));
  EXPECT_EQ(c.Button(kXAlphaClipMap)->Frame(), 2);
  // "Negative" twice shows the mask as it was; once more leaves it inverted, as it will act.
  const std::vector<uint8_t> loaded = Bytes(pending);
  ClickControl(c.Button(kXAlphaNegative));
  EXPECT_NE(Bytes(*x_alpha->PendingPicture()), loaded);
  ClickControl(c.Button(kXAlphaNegative));
  EXPECT_EQ(Bytes(*x_alpha->PendingPicture()), loaded);
  // Typed alpha evaluated as a percentage when Tab leaves it.
  c.Field(kXAlphaInit)->SetFocus();
  PumpFor(50);
  c.Field(kXAlphaInit)->ChangeValue("25*2");
  test::PressKey(c.Field(kXAlphaInit), WXK_TAB);
  EXPECT_EQ(c.Field(kXAlphaInit)->GetValue(), "50.0 %");
  // "Step" dragged: a tenth a pixel, never beyond 100.
  x_alpha->Raise();
  PumpFor(150);
  wxUIActionSimulator mouse;
  gui::AniButton* drag = c.Button(kXAlphaStepDrag);
  const wxPoint anchor = drag->ClientToScreen(wxPoint(drag->GetClientSize().x / 2, drag->GetClientSize().y / 2));
  mouse.MouseMove(anchor);
  PumpFor(100);
  mouse.MouseDown();
  PumpFor(100);
  EXPECT_TRUE(x_alpha->CurrentDrag().Active());
  mouse.MouseMove(anchor + wxPoint(30, 0));
  PumpFor(200);
  EXPECT_EQ(c.Field(kXAlphaStep)->GetValue(), "3.0 %");
  for (int i = 0; i < 4; ++i) {
    mouse.MouseMove(anchor + wxPoint(400, 0));
    PumpFor(150);
  }
  mouse.MouseUp();
  PumpFor(100);
  EXPECT_FALSE(x_alpha->CurrentDrag().Active());
  EXPECT_EQ(c.Field(kXAlphaStep)->GetValue(), "100.0 %");
  test::SaveEditorScreenshot(x_alpha, "x_alpha_window");
  ClickControl(c.Button(kXAlphaConfirm));
  EXPECT_FALSE(x_alpha->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  EXPECT_STREQ(entry->xalpha->picture_path, Mask().c_str());
  ASSERT_NE(entry->xalpha->picture, nullptr);
  EXPECT_EQ(Bytes(*entry->xalpha->picture), loaded);
  EXPECT_EQ(entry->xalpha->type, 1);
  EXPECT_EQ(entry->xalpha->stretch, 1);
  EXPECT_FLOAT_EQ(entry->alpha_init, 50);
  EXPECT_FLOAT_EQ(entry->alpha_step, 100);
  EXPECT_EQ(entry->xalpha->percent, 33);  // not edited here

  // Opened again: the entry's mask copied; Reset and Esc change nothing of the entry.
  x_alpha = OpenXAlpha();
  EXPECT_EQ(Bytes(*x_alpha->PendingPicture()), loaded);
  ClickControl(c.Button(kXAlphaClipMap));
  EXPECT_EQ(c.Button(kXAlphaGradual)->Frame(), 2);
  ClickControl(c.Button(kXAlphaReset));
  EXPECT_EQ(c.Button(kXAlphaGradual)->Frame(), 1);
  EXPECT_EQ(c.Button(kXAlphaClipMap)->Frame(), 2);
  EXPECT_EQ(c.Button(kXAlphaRepeat)->Frame(), 1);
  EXPECT_EQ(c.Button(kXAlphaStretch)->Frame(), 2);
  test::PressKey(x_alpha, WXK_ESCAPE);
  EXPECT_FALSE(x_alpha->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  EXPECT_EQ(entry->xalpha->stretch, 1);

  const std::string folder = test::FreshDirectory(name_ + "/effects");
  const auto saved_text = [&](const std::string& file) {
    dialogs_->AnswerFile(folder + "/" + file);
    ClickControl(Button(kMainSave));
    return platform::ReadWholeFile((folder + "/" + file).c_str()).value_or("");
  };
  // Written relative to the content directory, as every path in a script.
  EXPECT_EQ(KeyLine(saved_text("kept.Oms"), "XAlphaPicture"), "XAlphaPicture=Images/Back.Bmp");

  // Cleared and confirmed: the next saved script names no mask.
  ASSERT_EQ(OpenXAlpha(), x_alpha);  // the window made on first use
  ClickControl(c.Button(kXAlphaClear));
  EXPECT_EQ(c.Button(kXAlphaInformation)->GetLabel(), "(no picture loaded)");
  ClickControl(c.Button(kXAlphaConfirm));
  EXPECT_STREQ(entry->xalpha->picture_path, "");
  const std::string cleared = saved_text("cleared.Oms");
  EXPECT_EQ(KeyLine(cleared, "XAlphaPicture"), "XAlphaPicture=");
  EXPECT_EQ(KeyLine(cleared, "XAlphaStretchP"), "XAlphaStretchP=1");
  EXPECT_EQ(dialogs_->unexpected, 0);
}

// The third of three filters rendered alone gives what ombrix-render gives for a script of that
// filter only, and not what the chain gives.
TEST_F(MaskAndExtendedWindowsTest, RenderFilterOnTheThirdEntryRendersOnlyIt) {
  Start();
  ASSERT_NE(session_->test_picture, nullptr);
  Choose("Negative");
  ClickControl(Button(kMainAddFilter));
  Choose("Brightness");
  ClickControl(Button(kMainAddFilter));
  Choose("Swap RGB");
  Field(kTestFrameField)->ChangeValue("4");
  ExtendedOptionsWindow* extended = OpenExtended();
  ASSERT_NE(extended, nullptr);
  EXPECT_EQ(extended->GetTitle(), "Extended Options - Swap RGB [2]");
  EXPECT_FALSE(extended->ShowsRender());
  ClickControl(extended->Controls().Button(kExtendedRenderFilter));
  ASSERT_FALSE(session_->last_render.IsEmpty());
  EXPECT_TRUE(extended->ShowsRender());
  EXPECT_EQ(extended->Controls().Button(kExtendedPictureLabel)->GetLabel(), "Rendered Picture");
  test::SaveEditorScreenshot(extended, "extended_options_rendered");

  const std::string folder = test::FreshDirectory(name_ + "/render");
  const auto render = [&](FilterChain& chain, const std::string& name) {
    const std::string script = folder + "/" + name + ".Oms", output = folder + "/" + name + ".png";
    EXPECT_TRUE(chain.Write(script.c_str(), 4, session_->header));
    platform::Process process;
    const std::string program = std::string(OMBRIX_STAGE_DIR) + "/Programs/ombrix-render";
    EXPECT_TRUE(process.Start({program, {"--no-progress", script, install_ + "/Images/Back.Bmp", output}, {}}));
    EXPECT_TRUE(process.Wait({}, 60000));
    wxImage image;
    EXPECT_TRUE(image.LoadFile(output, wxBITMAP_TYPE_PNG)) << output;
    return image;
  };
  const auto same = [&](const wxImage& image) {
    const Picture& p = session_->last_render;
    if (!image.IsOk() || image.GetWidth() != p.Width() || image.GetHeight() != p.Height()) return false;
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) {
        const uint8_t* bgr = p.Row(y) + 3 * ptrdiff_t(x);
        if (image.GetRed(x, y) != bgr[2] || image.GetGreen(x, y) != bgr[1] || image.GetBlue(x, y) != bgr[0])
          return false;
      }
    return true;
  };
  FilterChain alone;
  ASSERT_TRUE(alone.SetCurrentFilter(*session_->chain.At(2)));
  EXPECT_TRUE(same(render(alone, "alone")));
  FilterChain whole;
  ASSERT_TRUE(whole.SetCurrentFilter(*session_->chain.At(0)));
  for (int i = 1; i < 3; ++i) {
    ASSERT_TRUE(whole.AddCopyOfCurrent());
    ASSERT_TRUE(whole.SetCurrentFilter(*session_->chain.At(i)));
  }
  EXPECT_FALSE(same(render(whole, "whole")));
  // "Render All" renders the chain.
  ClickControl(extended->Controls().Button(kExtendedRenderAll));
  EXPECT_TRUE(same(render(whole, "whole")));
  ClickControl(extended->Controls().Button(kExtendedClose));
  EXPECT_EQ(dialogs_->unexpected, 0);
}

TEST_F(MaskAndExtendedWindowsTest, DrawingTheZoneRightToLeftKeepsLeftBelowRight) {
  Start();
  ASSERT_NE(session_->test_picture, nullptr);
  Choose("Negative");
  ExtendedOptionsWindow* extended = OpenExtended();
  ASSERT_NE(extended, nullptr);
  const gui::TemplateControls& c = extended->Controls();
  extended->Raise();
  PumpFor(200);
  ClickControl(c.Button(kExtendedZoneMode));
  ASSERT_EQ(c.Button(kExtendedZoneMode)->Frame(), 1);
  ASSERT_NE(extended->DrawnPicture(), nullptr);
  const std::vector<uint8_t> before = Bytes(*extended->DrawnPicture());

  wxWindow* area = extended->PictureArea();
  const wxSize size = area->GetClientSize();
  const auto at = [&](int eighths_x, int eighths_y) {
    return area->ClientToScreen(wxPoint(size.x * eighths_x / 8, size.y * eighths_y / 8));
  };
  wxUIActionSimulator mouse;
  // The right corner first, in the middle; then the left button pressed right of it and
  // dragged to the far left.
  mouse.MouseMove(at(4, 5));
  PumpFor(100);
  mouse.MouseClick(wxMOUSE_BTN_RIGHT);
  PumpFor(100);
  const int right_first = std::stoi(c.Field(kExtendedZone1 + 2)->GetValue().ToStdString());
  EXPECT_GT(right_first, 0);
  EXPECT_EQ(c.Button(kExtendedPictureLabel)->GetLabel().Find("( x, y ) = ( "), 0);
  mouse.MouseMove(at(7, 6));
  PumpFor(100);
  mouse.MouseDown();
  PumpFor(100);
  for (int x = 6; x >= 1; --x) {
    mouse.MouseMove(at(x, 2));
    PumpFor(60);
  }
  mouse.MouseUp();
  PumpFor(100);
  const auto field = [&](int i) { return std::stoi(c.Field(kExtendedZone1 + i)->GetValue().ToStdString()); };
  EXPECT_LT(field(0), right_first);
  EXPECT_LE(field(0), field(2));
  EXPECT_LE(field(1), field(3));
  EXPECT_GT(field(2), right_first);  // the left corner's first press became the right edge
  // The zone is drawn inverted on the picture: its top-left corner pixel differs.
  EXPECT_NE(Bytes(*extended->DrawnPicture()), before);
  test::SaveEditorScreenshot(extended, "extended_options_zone");

  // Away from the picture the label names the picture shown again.
  mouse.MouseMove(extended->ClientToScreen(wxPoint(4, 4)));
  PumpFor(100);
  EXPECT_EQ(c.Button(kExtendedPictureLabel)->GetLabel(), "Orignal Picture");
  ClickControl(c.Button(kExtendedClose));
  EXPECT_EQ(session_->chain.CurrentEntry()->zone[0], field(0));
  EXPECT_EQ(Field(kMainZone1 + 2)->GetValue(), std::to_string(field(2)));
}

TEST_F(MaskAndExtendedWindowsTest, ClosingTheExtendedWindowShowsItsValuesInTheMainWindow) {
  Start();
  Choose("Mosaic");
  FilterDescriptor* entry = session_->chain.CurrentEntry();
  entry->xalpha->percent = 33;
  ExtendedOptionsWindow* extended = OpenExtended();
  ASSERT_NE(extended, nullptr);
  EXPECT_FALSE(window_->IsEnabled());
  const gui::TemplateControls& c = extended->Controls();
  EXPECT_EQ(c.Field(kExtendedEndFrame)->GetValue(), "30");
  // Rows beyond the main window's four are shown here.
  int shown = 0;
  for (int k = 1; k <= 10; ++k) shown += c.Window(kExtendedParameter1 + k - 1)->IsShown() ? 1 : 0;
  ASSERT_GT(shown, 0);
  c.Field(kExtendedZone1)->ChangeValue("12");
  c.Field(kExtendedZone1 + 3)->ChangeValue("3*40");
  c.Field(kExtendedEndFrame)->ChangeValue("44");
  c.Field(kExtendedTestFrame)->ChangeValue("9");
  c.Field(kExtendedInit)->ChangeValue("50");
  c.Field(kExtendedParameterValue1 + 1)->ChangeValue("7*2");
  ClickControl(c.Button(kExtendedNegative));
  test::SaveEditorScreenshot(extended, "extended_options");
  // The mask thumbnail opens the X-Alpha window for this window, which it disables instead of
  // the main window; cancelled, this window is back with its typed values taken.
  ClickControl(c.Button(kExtendedMask));
  ASSERT_NE(window_->XAlpha(), nullptr);
  EXPECT_TRUE(window_->XAlpha()->IsShown());
  EXPECT_FALSE(extended->IsEnabled());
  EXPECT_EQ(window_->XAlpha()->Controls().Field(kXAlphaInit)->GetValue(), "50.0 %");
  ClickControl(window_->XAlpha()->Controls().Button(kXAlphaCancel));
  EXPECT_TRUE(extended->IsEnabled());
  EXPECT_FALSE(window_->IsEnabled());
  EXPECT_EQ(c.Field(kExtendedZone1 + 3)->GetValue(), "3");
  ClickControl(c.Button(kExtendedClose));
  EXPECT_FALSE(extended->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  EXPECT_EQ(Field(kMainZone1)->GetValue(), "12");
  EXPECT_EQ(Field(kMainZone1 + 3)->GetValue(), "3");  // read as "%d"
  EXPECT_EQ(Field(kEndFrameField)->GetValue(), "44");
  EXPECT_EQ(Field(kTestFrameField)->GetValue(), "9");
  EXPECT_EQ(Field(kMainParameterValue1 + 1)->GetValue(), "14");
  EXPECT_FLOAT_EQ(entry->alpha_init, 50);
  EXPECT_EQ(entry->xalpha->negative, 1);
  EXPECT_EQ(entry->xalpha->percent, 0);
  EXPECT_EQ(session_->test_frame, 9);
  EXPECT_EQ(dialogs_->unexpected, 0);
}

}  // namespace
