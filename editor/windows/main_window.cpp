// The main window: its template, the start-up it runs, its current filter's fields, the filter
// menu and the ways out.
#include "editor/windows/main_window.h"

#include <wx/dcclient.h>
#include <wx/scrolbar.h>
#include <wx/utils.h>

#include <cstdio>
#include <cstring>

#include "core/script/script_file.h"
#include "core/text/numbers.h"
#include "editor/model/ending.h"
#include "editor/model/number_formats.h"
#include "editor/model/picture_fit.h"
#include "editor/windows/about_window.h"
#include "editor/windows/artwork.h"
#include "editor/windows/help.h"
#include "editor/windows/options_window.h"
#include "editor/windows/splash_window.h"
#include "gui/ani_button.h"
#include "gui/dialogs.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"
#include "gui/picture_bitmap.h"

namespace ombrix::editor {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr const char* kTitle = "Ombrix - v1.0e";
constexpr int kWidth = 420;
constexpr int kHeight = 216;

// The template: ids, roles, stored captions and rectangles in dialog units, in Tab order.
constexpr int kParameterRows[] = {60, 74, 88, 102};
constexpr int kZoneRows[] = {128, 141, 154, 167};
constexpr int kFrameRows[] = {76, 89, 102};
constexpr const char* kZoneCaptions[] = {"Left", "Top", "Right", "Bottom"};
constexpr const char* kFrameCaptions[] = {"Start Frame", "End Frame", "Test Frame"};
constexpr const char* kParameterCaptions[] = {"Parameter 1", "Parameter 2", "Parameter 3", "Parameter 4"};
constexpr const char* kOptionCaptions[] = {"Option1", "Option 2", "Option 3", "Option 4"};

std::vector<ControlTemplate> MainTemplate() {
  std::vector<ControlTemplate> t = {
      {kMainBanner, ControlRole::kLabel, "", 0, 0, kWidth, 24},
      {kMainFilterNameCaption, ControlRole::kLabel, "Current Filter Name", 4, 28, 72, 11},
      {kMainFilterName, ControlRole::kInfoArea, "(none)", 78, 28, 140, 11},
      {kMainIndex, ControlRole::kInfoArea, "0", 222, 28, 18, 11},
      {kMainAddFilter, ControlRole::kActionButton, "Add New Filter", 4, 43, 70, 12},
      {kMainPrevious, ControlRole::kActionButton, "Previous", 78, 43, 50, 12},
      {kMainNext, ControlRole::kActionButton, "Next", 130, 43, 50, 12},
      {kMainDelete, ControlRole::kActionButton, "Delete", 182, 43, 50, 12},
      {kMainXAlpha, ControlRole::kDialogButton, "X Alpha Options...", 236, 43, 88, 12},
      {kMainExtended, ControlRole::kDialogButton, "Show Extended Options...", 328, 43, 88, 12},
      {kMainAllFrames, ControlRole::kStateButton, "All Frames", 4, 60, 47, 11},
      {kMainFullScreen, ControlRole::kStateButton, "FullScreen", 53, 60, 47, 11},
      {kMainProportional, ControlRole::kStateButton, "Proportional", 102, 60, 48, 11},
  };
  for (int i = 0; i < 3; ++i) {
    t.push_back({kMainFrameLabel1 + i, ControlRole::kLabel, kFrameCaptions[i], 4, kFrameRows[i], 46, 11});
    t.push_back({kMainFrame1 + i, ControlRole::kNumberField, "0", 52, kFrameRows[i], 36, 11});
    t.push_back({kMainFrameDrag1 + i, ControlRole::kDragButton, "", 90, kFrameRows[i], 8, 11});
  }
  t.push_back({kMainZoneInitCaption, ControlRole::kLabel, "Init", 52, 118, 46, 9});
  t.push_back({kMainZoneStepCaption, ControlRole::kLabel, "Step Inc.", 103, 118, 46, 9});
  for (int i = 0; i < 4; ++i) {
    t.push_back({kMainZoneLabel1 + i, ControlRole::kLabel, kZoneCaptions[i], 4, kZoneRows[i], 46, 11});
    t.push_back({kMainZone1 + i, ControlRole::kNumberField, "0", 52, kZoneRows[i], 36, 11});
    t.push_back({kMainZoneDrag1 + i, ControlRole::kDragButton, "", 90, kZoneRows[i], 8, 11});
    t.push_back({kMainZoneStep1 + i, ControlRole::kNumberField, "0", 103, kZoneRows[i], 36, 11});
    t.push_back({kMainZoneStepDrag1 + i, ControlRole::kDragButton, "", 141, kZoneRows[i], 8, 11});
  }
  for (int i = 0; i < 4; ++i) {
    const int y = kParameterRows[i];
    t.push_back({kMainParameter1 + i, ControlRole::kActionButton, kParameterCaptions[i], 156, y, 52, 12});
    t.push_back({kMainParameterValue1 + i, ControlRole::kNumberField, "", 212, y, 34, 11});
    t.push_back({kMainParameterValueDrag1 + i, ControlRole::kDragButton, "", 248, y, 8, 11});
    t.push_back({kMainParameterStep1 + i, ControlRole::kNumberField, "", 258, y, 34, 11});
    t.push_back({kMainParameterStepDrag1 + i, ControlRole::kDragButton, "", 294, y, 8, 11});
  }
  for (int i = 0; i < 4; ++i)
    t.push_back({kMainOption1 + i, ControlRole::kStateButton, kOptionCaptions[i], 156 + 74 * (i % 2),
                 120 + 13 * (i / 2), 72, 11});
  const ControlTemplate rest[] = {
      {kMainParameterImage, ControlRole::kLabel, "", 156, 60, 146, 53},
      {kMainOptionImage, ControlRole::kLabel, "", 156, 120, 146, 24},
      {kMainPreviewLabel, ControlRole::kLabel, "Preview", 308, 60, 108, 10},
      {kMainPreviewImage, ControlRole::kLabel, "", 308, 71, 108, 81},
      {kMainRender, ControlRole::kActionButton, "Render", 308, 157, 108, 20},
      {kMainStatus, ControlRole::kInfoArea, "", 4, 183, 412, 11, gui::kAniAlignLeft},
      {kMainConfirm, ControlRole::kActionButton, "", 4, 199, 44, 13},
      {kMainLoad, ControlRole::kActionButton, "Load", 56, 199, 50, 13},
      {kMainSave, ControlRole::kActionButton, "Save", 110, 199, 50, 13},
      {kMainOption, ControlRole::kDialogButton, "Option", 164, 199, 50, 13},
      {kMainFilterHelp, ControlRole::kActionButton, "About", 218, 199, 50, 13},
      {kMainHelp, ControlRole::kActionButton, "Help", 272, 199, 50, 13},
      {kMainCancel, ControlRole::kActionButton, "Cancel", 366, 199, 50, 13},
  };
  t.insert(t.end(), std::begin(rest), std::end(rest));
  return t;
}

const std::vector<ControlTemplate>& Template() {
  static const std::vector<ControlTemplate> t = MainTemplate();
  return t;
}

}  // namespace

MainWindow::MainWindow(EditorSession& session, EndHandler on_end)
    : session_(session), on_end_(std::move(on_end)), drag_timer_(this, kDragTimerId) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(nullptr, wxID_ANY, kTitle, wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | wxMINIMIZE_BOX);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  CreateControls();
}

MainWindow::~MainWindow() {
  drag_timer_.Stop();
  if (options_ != nullptr) options_->Destroy();
  if (about_ != nullptr) about_->Destroy();
  if (splash_ != nullptr) splash_->Destroy();
}

void MainWindow::CreateControls() {
  gui::PlaceControls(this, Template(), colours_, face_, controls_);
  const wxRect bar = gui::DialogUnitsRect(this, 242, 28, 174, 11);
  chain_bar_ = new wxScrollBar(this, kMainChainBar, bar.GetPosition(), bar.GetSize(), wxSB_HORIZONTAL);
  chain_bar_->SetScrollbar(0, 1, 1, 1);
  gui::AniButton* banner = Button(kMainBanner);
  banner->SetFramePictures({BannerPicture(banner->GetSize())});
  gui::AniButton* confirm = Button(kMainConfirm);
  confirm->SetFramePictures({gui::ConfirmPicture(confirm->GetSize().y - 2)});
  for (const int id : {kMainParameterImage, kMainOptionImage, kMainPreviewImage}) Button(id)->Hide();
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 57, 150, 123));
  face_.AddPanel(gui::DialogUnitsRect(this, 154, 57, 150, 90));
  face_.AddPanel(gui::DialogUnitsRect(this, 306, 57, 112, 123));
}

// ---- Start-up ------------------------------------------------------------------------------

StartupResult MainWindow::StartUp() {
  // Step 1: not ready, the wait cursor, the colours, the icon, the title and the cursors.
  session_.ready = false;
  wxBeginBusyCursor();
  ReadColours();
  SetIcon(ProgramIcon());
  SetTitle(kTitle);
  cursors_ = {wxCursor(wxCURSOR_ARROW),     wxCursor(wxCURSOR_HAND),    wxCursor(wxCURSOR_SIZEWE),
              wxCursor(wxCURSOR_SIZENS),    wxCursor(wxCURSOR_CROSS),   wxCursor(wxCURSOR_SIZING),
              wxCursor(wxCURSOR_MAGNIFIER), wxCursor(wxCURSOR_NO_ENTRY)};
  // Step 2: the splash window names each of the next steps.
  splash_ = new SplashWindow(colours_);
  splash_->Show();
  gui::DispatchPendingEvents();

  const StartupResult result = RunStartup(session_, *this, gui::CurrentDialogs());
  CloseSplash();
  wxEndBusyCursor();
  if (result == StartupResult::kEnd) {
    End(wxID_CANCEL);
    return result;
  }
  drag_timer_.Start(kDragTimerMilliseconds);
  CentreOnScreen();
  Show();
  return result;
}

void MainWindow::ShowStep(const char* text) {
  if (splash_ == nullptr) return;
  splash_->ShowStep(text);
  if (step_observer_) step_observer_(*splash_);
}

// A plug-in's menu holds at most 19 filters to a column. wxMenu::Break() starts a new column
// only on Windows; on GTK it does nothing and a long menu would run off the screen, so every
// column becomes a submenu of its own beside the first: "Zorvex Picture Filters",
// "Zorvex Picture Filters (2)", ... The same on every platform, so the menu looks alike.
void MainWindow::BuildFilterMenus() {
  filter_menu_ = std::make_unique<wxMenu>();
  for (const FilterMenuGroup& group : session_.menu) {
    for (size_t c = 0; c < group.columns.size(); ++c) {
      auto* submenu = new wxMenu;
      for (const FilterMenuItem& item : group.columns[c])
        submenu->Append(kFilterMenuBase + item.command, gui::FromAnsi(item.name.c_str()));
      filter_menu_->AppendSubMenu(submenu, gui::FromAnsi(FilterMenuColumnTitle(group, c).c_str()));
    }
  }
}

void MainWindow::ShowInitialState() {
  for (int i = 0; i < 4; ++i) {
    SetField(kMainZone1 + i, "0");
    SetField(kMainZoneStep1 + i, "0");
  }
  SetField(kStartFrameField, "0");
  SetField(kEndFrameField, "30");
  SetField(kTestFrameField, "0");
  Button(kMainStatus)->SetLabel(wxString());
  Button(kMainFilterName)->SetLabel("(none)");
  Button(kMainIndex)->SetLabel("0");
  ShowRows(session_.chain.CurrentEntry());
}

void MainWindow::TestPictureChanged() { RefreshPictures(); }

void MainWindow::CloseSplash() {
  if (splash_ == nullptr) return;
  splash_->Destroy();
  splash_ = nullptr;
}

void MainWindow::ScriptLoaded() {
  ShowCurrentFilter();
  const int count = session_.chain.Count();
  chain_bar_->SetScrollbar(session_.chain.Current(), 1, count, 1);
}

platform::Pump MainWindow::EventPump() {
  return [] { gui::DispatchPendingEvents(); };
}

void MainWindow::ReadColours() {
  colours_ = gui::ReadColourSet();
  gui::RecolourControls(Template(), colours_, face_, controls_);
  Refresh();
}

// ---- The current filter --------------------------------------------------------------------

void MainWindow::SetField(int id, const std::string& text) {
  if (gui::MaskedEdit* field = controls_.Field(id)) field->SetText(text);
}

std::string MainWindow::FieldText(int id) const {
  const gui::MaskedEdit* field = controls_.Field(id);
  return field != nullptr ? field->Text() : std::string();
}

void MainWindow::TakeFields() {
  session_.test_frame = text::LeadingInt(FieldText(kTestFrameField), session_.test_frame);
  FilterDescriptor* entry = session_.chain.CurrentEntry();
  if (entry == nullptr) return;
  for (int i = 0; i < 4; ++i) {
    entry->zone[i] = text::LeadingInt(FieldText(kMainZone1 + i), entry->zone[i]);
    entry->zone_step[i] = float(text::LeadingReal(FieldText(kMainZoneStep1 + i), entry->zone_step[i]));
  }
  entry->start_frame = text::LeadingInt(FieldText(kStartFrameField), entry->start_frame);
  entry->end_frame = text::LeadingInt(FieldText(kEndFrameField), entry->end_frame);
  entry->all_frames = Button(kMainAllFrames)->Frame() == 1;
  entry->full_screen = Button(kMainFullScreen)->Frame() == 1;
  entry->proportional = Button(kMainProportional)->Frame() == 1;
}

void MainWindow::ShowCurrentFilter() {
  const FilterDescriptor* entry = session_.chain.CurrentEntry();
  Button(kMainIndex)->SetLabel(wxString::Format("%d", session_.chain.Current()));
  SetField(kTestFrameField, WholeNumberText(session_.test_frame));
  if (entry == nullptr) return;
  for (int i = 0; i < 4; ++i) {
    SetField(kMainZone1 + i, WholeNumberText(entry->zone[i]));
    SetField(kMainZoneStep1 + i, DecimalText(entry->zone_step[i]));
  }
  SetField(kStartFrameField, WholeNumberText(entry->start_frame));
  SetField(kEndFrameField, WholeNumberText(entry->end_frame));
  Button(kMainAllFrames)->SetFrame(entry->all_frames == 1 ? 1 : 2);
  Button(kMainFullScreen)->SetFrame(entry->full_screen == 1 ? 1 : 2);
  Button(kMainProportional)->SetFrame(entry->proportional == 1 ? 1 : 2);
  Button(kMainFilterName)
      ->SetLabel(FilterChain::IsEmptyFilter(entry) ? wxString("(none)") : gui::FromAnsi(entry->name));
  ShowRows(entry);
  if (gui::MaskedEdit* left = controls_.Field(kMainZone1)) {
    left->SetFocus();
    left->SelectAll();
  }
}

void MainWindow::ShowRows(const FilterDescriptor* entry) {
  if (entry == nullptr) return;
  // Parameter and option rows 1 to 4: a named slot shows its name and texts; the others are
  // hidden, and when no row of a kind is shown its area shows a picture instead.
  int parameters_shown = 0;
  for (int k = 1; k <= 4; ++k) {
    const bool shown =
        entry->parameters != nullptr && k < entry->parameter_count && entry->parameters[k].name[0] != '\0';
    parameters_shown += shown ? 1 : 0;
    const int i = k - 1;
    for (const int id : {kMainParameter1 + i, kMainParameterValue1 + i, kMainParameterStep1 + i,
                         kMainParameterValueDrag1 + i, kMainParameterStepDrag1 + i})
      controls_.Window(id)->Show(shown);
    if (!shown) continue;
    Button(kMainParameter1 + i)->SetLabel(gui::FromAnsi(entry->parameters[k].name));
    SetField(kMainParameterValue1 + i, entry->parameters[k].value);
    SetField(kMainParameterStep1 + i, entry->parameters[k].step);
  }
  int options_shown = 0;
  for (int k = 1; k <= 4; ++k) {
    const bool shown = entry->options != nullptr && k < entry->option_count && entry->options[k].name[0] != '\0';
    options_shown += shown ? 1 : 0;
    gui::AniButton* option = Button(kMainOption1 + k - 1);
    option->Show(shown);
    if (!shown) continue;
    option->SetLabel(gui::FromAnsi(entry->options[k].name));
    option->SetFrame(entry->options[k].state != 0 ? 1 : 2);
  }
  Button(kMainParameterImage)->Show(parameters_shown == 0);
  Button(kMainOptionImage)->Show(options_shown == 0);
  RefreshPictures();
  Refresh();
}

void MainWindow::RefreshPictures() {
  const Picture* picture = session_.test_picture.get();
  gui::AniButton* preview = Button(kMainPreviewImage);
  Button(kMainPreviewLabel)->SetLabel(picture != nullptr ? "Original" : "No picture");
  for (const int id : {kMainPreviewImage, kMainParameterImage, kMainOptionImage}) {
    gui::AniButton* area = Button(id);
    std::vector<wxBitmap> frames;
    if (picture != nullptr) {
      const wxSize size = area->GetSize();
      if (auto fitted = FitPicture(*picture, size.x, size.y)) frames.push_back(gui::PictureBitmap(*fitted));
    }
    area->SetFramePictures(std::move(frames));
    area->SetFrame(1);
  }
  preview->Show(picture != nullptr);
}

void MainWindow::ChooseFilter(int command) {
  if (command < 1 || command > session_.plugins.Count()) return;
  // The typed zone, steps and frames stay; everything else comes from the plug-in.
  std::string zone[4], steps[4], frames[3];
  for (int i = 0; i < 4; ++i) {
    zone[i] = FieldText(kMainZone1 + i);
    steps[i] = FieldText(kMainZoneStep1 + i);
  }
  for (int i = 0; i < 3; ++i) frames[i] = FieldText(kMainFrame1 + i);
  if (!session_.chain.SetCurrentFilter(*session_.plugins.At(command - 1))) return;
  ShowCurrentFilter();
  for (int i = 0; i < 4; ++i) {
    SetField(kMainZone1 + i, WholeNumberText(text::LeadingInt(zone[i], 0)));
    SetField(kMainZoneStep1 + i, DecimalText(text::LeadingReal(steps[i], 0)));
  }
  for (int i = 0; i < 3; ++i) SetField(kMainFrame1 + i, WholeNumberText(text::LeadingInt(frames[i], 0)));
  session_.ready = true;
}

// ---- Commands ------------------------------------------------------------------------------

void MainWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

void MainWindow::OnBanner(wxCommandEvent&) {
  if (about_ == nullptr) about_ = new AboutWindow(this);
  about_->Open();
  Enable(false);
}

void MainWindow::AboutClosed() {
  Enable(true);
  Raise();
}

void MainWindow::OnOption(wxCommandEvent&) {
  gui::WindowFace::Pressed pressed(face_, Button(kMainOption));
  if (options_ == nullptr) options_ = new OptionsWindow(this, session_);
  options_->Open();
  Enable(false);
}

void MainWindow::OptionsClosed(bool confirmed) {
  if (confirmed) ReadColours();
  Enable(true);
  RefreshPictures();
  Refresh();
  Raise();
}

void MainWindow::OnFilterHelp(wxCommandEvent&) {
  gui::WindowFace::Pressed pressed(face_, Button(kMainFilterHelp));
  OpenFilterHelp(session_, session_.chain.CurrentEntry());
}

void MainWindow::OnHelp(wxCommandEvent&) {
  gui::WindowFace::Pressed pressed(face_, Button(kMainHelp));
  OpenMainHelp(session_, kMainWindowHelpTopic);
}

void MainWindow::OnFilterName(wxCommandEvent&) {
  if (!filter_menu_) return;
  gui::AniButton* name = Button(kMainFilterName);
  filter_menu_showing_ = true;
  PopupMenu(filter_menu_.get(), name->GetPosition() + wxPoint(0, name->GetSize().y));
  filter_menu_showing_ = false;
}

// The menu's choice counts only while the menu opened from the name field is showing.
void MainWindow::OnFilterMenu(wxCommandEvent& event) {
  if (filter_menu_showing_) ChooseFilter(event.GetId() - kFilterMenuBase);
}

void MainWindow::OnConfirm(wxCommandEvent&) {
  gui::WindowFace::Pressed pressed(face_, Button(kMainConfirm));
  if (session_.ready) TakeFields();
  std::string failed;
  if (!WriteChainOnConfirm(session_, &failed)) {
    // The edits would be lost without a word: say so and stay, so they can be saved elsewhere.
    gui::Inform(CannotSaveMessage(failed), "Ombrix - Error");
    return;
  }
  End(wxID_OK);
}

void MainWindow::LeaveWithoutSaving() {
  if (AsksBeforeLeaving(session_) && !gui::Ask(kQuitQuestion, "Ombrix - Warning")) return;
  End(wxID_CANCEL);
}

void MainWindow::OnCancel(wxCommandEvent&) {
  gui::WindowFace::Pressed pressed(face_, Button(kMainCancel));
  LeaveWithoutSaving();
}

void MainWindow::OnClose(wxCloseEvent& event) {
  if (ended_) {
    event.Skip();
    return;
  }
  LeaveWithoutSaving();
  if (!ended_ && event.CanVeto()) event.Veto();
}

void MainWindow::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    LeaveWithoutSaving();
    return;
  }
  if (event.GetKeyCode() == WXK_F1 && !filter_menu_showing_) {
    OpenMainHelp(session_, kMainWindowHelpTopic);
    return;
  }
  event.Skip();
}

// The drag buttons' timer; drags begin with the parameter editing of the chain commands.
void MainWindow::OnDragTimer(wxTimerEvent&) {}

void MainWindow::End(int result) {
  if (ended_) return;
  ended_ = true;
  end_result_ = result;
  drag_timer_.Stop();
  if (options_ != nullptr) options_->Hide();
  if (about_ != nullptr) about_->Hide();
  Hide();
  if (on_end_) on_end_(result);
}

// clang-format off
wxBEGIN_EVENT_TABLE(MainWindow, wxDialog)
  EVT_PAINT(MainWindow::OnPaint)
  EVT_BUTTON(kMainBanner, MainWindow::OnBanner)
  EVT_BUTTON(kMainOption, MainWindow::OnOption)
  EVT_BUTTON(kMainFilterName, MainWindow::OnFilterName)
  EVT_BUTTON(kMainFilterHelp, MainWindow::OnFilterHelp)
  EVT_BUTTON(kMainHelp, MainWindow::OnHelp)
  EVT_BUTTON(kMainConfirm, MainWindow::OnConfirm)
  EVT_BUTTON(kMainCancel, MainWindow::OnCancel)
  EVT_MENU_RANGE(kFilterMenuBase + 1, kFilterMenuBase + kMaxTableDescriptors, MainWindow::OnFilterMenu)
  EVT_CLOSE(MainWindow::OnClose)
  EVT_CHAR_HOOK(MainWindow::OnCharHook)
  EVT_TIMER(kDragTimerId, MainWindow::OnDragTimer)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
