// The main window: its template, the start-up it runs, its current filter's fields, the filter
// menu and the ways out.
#include "editor/windows/main_window.h"

#include <wx/dcclient.h>
#include <wx/scrolbar.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/import/picture_import.h"
#include "core/parameter_kinds.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/script/script_file.h"
#include "core/text/numbers.h"
#include "editor/model/dialog_folders.h"
#include "editor/model/editor_link.h"
#include "editor/model/ending.h"
#include "editor/model/missing_file.h"
#include "editor/model/number_formats.h"
#include "editor/model/parameter_rows.h"
#include "editor/model/picture_chooser.h"
#include "editor/model/picture_fit.h"
#include "editor/model/test_render.h"
#include "editor/windows/about_window.h"
#include "editor/windows/artwork.h"
#include "editor/windows/colour_selector_window.h"
#include "editor/windows/extended_options_window.h"
#include "editor/windows/field_keys.h"
#include "editor/windows/help.h"
#include "editor/windows/options_window.h"
#include "editor/windows/preview_window.h"
#include "editor/windows/splash_window.h"
#include "editor/windows/x_alpha_window.h"
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
constexpr const char* kWarningCaption = "Ombrix - Warning";
constexpr const char* kErrorCaption = "Ombrix - Error";
constexpr const char* kScriptOpenFolder = "ScriptOpenDir";
constexpr const char* kScriptSaveFolder = "ScriptSaveDir";
constexpr const char* kLoadFolder = "FSParamLoadDir";
constexpr const char* kSaveFolder = "FSParamSaveDir";
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
      {kMainFilterName, ControlRole::kInfoArea, "(none)", 78, 28, 140, 11, gui::kAniFocusable},
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
    : session_(session),
      on_end_(std::move(on_end)),
      drag_timer_(this, kDragTimerId),
      rows_(controls_,
            {kMainParameter1, kMainParameterValue1, kMainParameterStep1, kMainParameterValueDrag1,
             kMainParameterStepDrag1, kMainOption1},
            4),
      drag_(this, drag_timer_,
            {[this](int id) { return FieldText(id); }, [this](int id, const std::string& text) { SetField(id, text); },
             [this] { return CurrentDragTexts(); }}) {
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
  if (x_alpha_ != nullptr) x_alpha_->Destroy();
  if (extended_ != nullptr) extended_->Destroy();
  if (splash_ != nullptr) splash_->Destroy();
  // Deleted now, before the picture it may show goes, not later with the children.
  delete preview_;
}

void MainWindow::CreateControls() {
  gui::PlaceControls(this, Template(), colours_, face_, controls_);
  const wxRect bar = gui::DialogUnitsRect(this, 242, 28, 174, 11);
  chain_bar_ = new wxScrollBar(this, kMainChainBar, bar.GetPosition(), bar.GetSize(), wxSB_HORIZONTAL);
  chain_bar_->SetScrollbar(0, 1, 1, 1);
  chain_bar_->MoveAfterInTabOrder(Button(kMainIndex));
  rows_.SetUpButtons();
  for (int i = 0; i < 4; ++i)
    for (const int id : {kMainZoneDrag1 + i, kMainZoneStepDrag1 + i})
      Button(id)->SetFramePictures(gui::SmallButtonPictures(Button(id)->GetSize()));
  for (int i = 0; i < 3; ++i)
    Button(kMainFrameDrag1 + i)->SetFramePictures(gui::SmallButtonPictures(Button(kMainFrameDrag1 + i)->GetSize()));
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
  UpdateAvailability();
  UpdateChainBar();
}

void MainWindow::TestPictureChanged() { RefreshPictures(); }

void MainWindow::CloseSplash() {
  if (splash_ == nullptr) return;
  splash_->Destroy();
  splash_ = nullptr;
}

void MainWindow::ScriptLoaded() {
  ShowCurrentFilter();
  UpdateAvailability();
  UpdateChainBar();
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
  rows_.Take(*entry);
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
  const ParameterRowControls::Shown shown = rows_.Show(*entry);
  // The areas keep the pictures last chosen; only whether they are in use follows the filter.
  parameter_area_in_use_ = shown.parameters == 0;
  option_area_in_use_ = shown.options == 0;
  Button(kMainParameterImage)->Show(parameter_area_in_use_);
  Button(kMainOptionImage)->Show(option_area_in_use_);
  Refresh();
}

void MainWindow::RefreshPictures() {
  const Picture* test_picture = session_.test_picture.get();
  areas_ = ChoosePictureAreas(test_picture != nullptr && !test_picture->IsEmpty(), !session_.last_render.IsEmpty(),
                              parameter_area_in_use_);
  Button(kMainPreviewLabel)->SetLabel(areas_.preview_label);
  const std::pair<int, AreaPicture> areas[] = {{kMainPreviewImage, areas_.preview},
                                               {kMainParameterImage, areas_.parameters},
                                               {kMainOptionImage, areas_.options}};
  for (const auto& [id, shown] : areas) {
    gui::AniButton* area = Button(id);
    std::vector<wxBitmap> frames;
    if (const Picture* picture = AreaPictureOf(shown)) {
      const wxSize size = area->GetSize();
      if (auto fitted = FitPicture(*picture, size.x, size.y, session_.options.compute_extra))
        frames.push_back(gui::PictureBitmap(*fitted));
    }
    area->SetFramePictures(std::move(frames));
    area->SetFrame(1);
  }
  Button(kMainPreviewImage)->Show(areas_.preview != AreaPicture::kNone);
}

Picture* MainWindow::AreaPictureOf(AreaPicture shown) const {
  if (shown == AreaPicture::kTestPicture) return session_.test_picture.get();
  if (shown == AreaPicture::kLastRender) return &session_.last_render;
  return nullptr;
}

void MainWindow::OnPictureArea(wxCommandEvent& event) {
  const int id = event.GetId();
  const AreaPicture shown = id == kMainPreviewImage     ? areas_.preview
                            : id == kMainParameterImage ? areas_.parameters
                                                        : areas_.options;
  if (Picture* picture = AreaPictureOf(shown)) ShowPreview(picture, this);
}

void MainWindow::ShowPreview(Picture* picture, wxWindow* owner, std::function<void()> on_close) {
  if (preview_ == nullptr) preview_ = new PreviewWindow(this, &session_.header.content_directory);
  preview_->ShowPicture(picture, owner, std::move(on_close));
}

void MainWindow::ViewPicture(std::unique_ptr<Picture> picture, wxWindow* owner) {
  // A view open before closes first: its callback frees the picture it showed.
  if (preview_ != nullptr) preview_->ClosePreview();
  viewed_picture_ = std::move(picture);
  ShowPreview(viewed_picture_.get(), owner, [this] { viewed_picture_.reset(); });
}

bool MainWindow::Render(wxWindow* from) {
  wxWindow* owner = from != nullptr ? from : this;
  if (!Available(ChainCommand::kRender)) {
    gui::Inform(kNothingToRender, kErrorCaption);
    return false;
  }
  bool rendered = false;
  {
    wxBusyCursor wait;
    // From this window its fields are the current filter's; the extended options window has
    // taken its own into the entry and the test frame, and this window's are older.
    if (owner == this) TakeFields();
    rendered = RenderTestPicture(session_, session_.chain.Entries(), session_.chain.Count(), session_.test_frame);
  }
  if (!rendered) return false;
  RefreshPictures();
  if (session_.options.show_picture && !session_.last_render.IsEmpty()) ShowPreview(&session_.last_render, owner);
  return true;
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
  UpdateAvailability();
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

void MainWindow::OpenXAlpha() {
  FilterDescriptor* entry = session_.chain.CurrentEntry();
  if (entry == nullptr) return;
  OpenXAlphaFor(*entry, session_.chain.Current(), this, [this] { Raise(); });
}

void MainWindow::OpenXAlphaFor(FilterDescriptor& entry, int index, wxWindow* owner, std::function<void()> closed) {
  if (x_alpha_ == nullptr) x_alpha_ = new XAlphaWindow(this, session_);
  x_alpha_->Open(entry, index, owner, std::move(closed));
}

// The extended window edits the entry with the values this window shows, so they are taken first.
void MainWindow::OpenExtended() {
  TakeFields();
  FilterDescriptor* entry = session_.chain.CurrentEntry();
  if (entry == nullptr) return;
  if (extended_ == nullptr) extended_ = new ExtendedOptionsWindow(this, session_);
  extended_->Open(*entry, session_.chain.Current());
}

void MainWindow::ExtendedOptionsClosed() {
  Enable(true);
  Refresh();
  ShowCurrentFilter();
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

// Enter moves on as Tab does, and a number field that Tab or Enter leaves shows its text
// evaluated in its kind's format; Esc is Cancel; the shortcut keys run their commands unless the
// filter menu is open.
void MainWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    LeaveWithoutSaving();
    return;
  }
  if (MoveOnFromField(this, event, [this](int id) { ReformatField(id); })) return;
  if (!filter_menu_showing_ && !event.HasAnyModifiers()) {
    static constexpr std::pair<int, int> kShortcuts[] = {
        {WXK_PAGEUP, kMainNext}, {WXK_PAGEDOWN, kMainPrevious}, {WXK_F1, kMainHelp},     {WXK_F2, kMainSave},
        {WXK_F3, kMainLoad},     {WXK_F5, kMainXAlpha},         {WXK_F6, kMainExtended}, {WXK_F9, kMainRender},
    };
    for (const auto& [shortcut, id] : kShortcuts)
      if (key == shortcut) {
        RunCommand(id);
        return;
      }
  }
  event.Skip();
}

// ---- Chain commands ------------------------------------------------------------------------

namespace {

struct CommandButton {
  int id;
  ChainCommand command;
};
constexpr CommandButton kCommandButtons[] = {
    {kMainAddFilter, ChainCommand::kAddFilter},
    {kMainDelete, ChainCommand::kDelete},
    {kMainNext, ChainCommand::kNext},
    {kMainPrevious, ChainCommand::kPrevious},
    {kMainSave, ChainCommand::kSave},
    {kMainXAlpha, ChainCommand::kXAlpha},
    {kMainExtended, ChainCommand::kExtended},
    {kMainRender, ChainCommand::kRender},
    {kMainFilterHelp, ChainCommand::kFilterHelp},
};

}  // namespace

bool MainWindow::Available(ChainCommand command) const {
  return AvailabilityOf(session_.chain, session_.ready).Allows(command);
}

void MainWindow::UpdateAvailability() {
  const ChainAvailability availability = AvailabilityOf(session_.chain, session_.ready);
  for (const CommandButton& b : kCommandButtons) face_.SetGreyed(Button(b.id), !availability.Allows(b.command));
}

void MainWindow::UpdateChainBar() { chain_bar_->SetScrollbar(session_.chain.Current(), 1, session_.chain.Count(), 1); }

bool MainWindow::Offer(ChainCommand command) {
  if (Available(command)) return true;
  if (const char* warning = UnavailableWarning(command, session_.chain)) gui::Inform(warning, kWarningCaption);
  return false;
}

void MainWindow::OnCommand(wxCommandEvent& event) { RunCommand(event.GetId()); }

void MainWindow::RunCommand(int id) {
  if (ended_ || !IsEnabled()) return;
  gui::WindowFace::Pressed pressed(face_, Button(id));
  switch (id) {
    case kMainAddFilter:
      if (Offer(ChainCommand::kAddFilter)) AddFilter();
      break;
    case kMainDelete:
      if (Offer(ChainCommand::kDelete)) DeleteFilter();
      break;
    case kMainNext:
      if (Offer(ChainCommand::kNext)) {
        TakeFields();
        MoveTo(session_.chain.Current() + 1);
      }
      break;
    case kMainPrevious:
      if (Offer(ChainCommand::kPrevious)) {
        TakeFields();
        MoveTo(session_.chain.Current() - 1);
      }
      break;
    case kMainLoad:
      Load();
      break;
    case kMainSave:
      if (Offer(ChainCommand::kSave)) Save();
      break;
    case kMainFilterHelp:
      ShowFilterHelp();
      break;
    case kMainHelp:
      ShowMainHelp();
      break;
    case kMainRender:
      Render();
      break;
    case kMainXAlpha:
      if (Offer(ChainCommand::kXAlpha)) OpenXAlpha();
      break;
    case kMainExtended:
      if (Offer(ChainCommand::kExtended)) OpenExtended();
      break;
    default:
      break;
  }
}

// The copy shows what the window already shows, so the fields are not written again.
void MainWindow::AddFilter() {
  TakeFields();
  if (!session_.chain.AddCopyOfCurrent()) return;
  Button(kMainIndex)->SetLabel(wxString::Format("%d", session_.chain.Current()));
  UpdateAvailability();
  UpdateChainBar();
}

void MainWindow::DeleteFilter() {
  if (!session_.chain.DeleteCurrent()) return;
  UpdateAvailability();
  UpdateChainBar();
  ShowCurrentFilter();
}

// The fields were taken by the caller.
void MainWindow::MoveTo(int index) {
  session_.chain.SetCurrent(index);
  ShowCurrentFilter();
  UpdateAvailability();
  UpdateChainBar();
}

void MainWindow::OnChainBar(wxScrollEvent& event) {
  const int count = session_.chain.Count();
  const int current = session_.chain.Current();
  const wxEventType type = event.GetEventType();
  int position = current;
  if (type == wxEVT_SCROLL_LINEUP || type == wxEVT_SCROLL_PAGEUP) {
    position = current - 1;
  } else if (type == wxEVT_SCROLL_LINEDOWN || type == wxEVT_SCROLL_PAGEDOWN) {
    position = current + 1;
  } else if (type == wxEVT_SCROLL_THUMBTRACK || type == wxEVT_SCROLL_THUMBRELEASE) {
    position = event.GetPosition();
  } else if (type == wxEVT_SCROLL_TOP) {
    position = 0;
  } else if (type == wxEVT_SCROLL_BOTTOM) {
    position = count - 1;
  }
  position = std::clamp(position, 0, count - 1);
  if (position != current) {
    TakeFields();
    MoveTo(position);
  } else {
    UpdateChainBar();
  }
}

bool MainWindow::LoadScript(const std::string& path) {
  bool read = false;
  {
    wxBusyCursor wait;
    read = session_.chain.Read(path.c_str(), session_.plugins, session_.header, &session_.test_frame,
                               MissingFileAsker(session_.header.content_directory, gui::CurrentDialogs()));
  }
  if (!read) {
    gui::Inform("Cannot open script", kErrorCaption);
    ShowCurrentFilter();
    UpdateAvailability();
    UpdateChainBar();
    return false;
  }
  session_.ready = true;
  session_.script_path = path;
  ShowCurrentFilter();
  UpdateAvailability();
  UpdateChainBar();
  return true;
}

// The script dialogs start at the current script's file name in their remembered folder.
gui::FileDialogRequest MainWindow::ScriptDialog(bool save) const {
  gui::FileDialogRequest request;
  request.mode = save ? gui::FileDialogRequest::Mode::kSave : gui::FileDialogRequest::Mode::kOpen;
  request.title = save ? "Save Script" : "Load Script";
  request.default_extension = "OMS";
  request.filter =
      save ? "Ombrix Script (*.Oms)|*.Oms|All Files (*.*)|*.*||" : "Ombrix Script (*.Oms)|*.Oms|All files (*.*)|*.*||";
  request.start_path = DialogStartPath(save ? kScriptSaveFolder : kScriptOpenFolder, session_.header.content_directory,
                                       platform::FileNamePart(session_.script_path.c_str()));
  request.must_exist = !save;
  request.confirm_overwrite = save;
  return request;
}

void MainWindow::Load() {
  const auto chosen = gui::CurrentDialogs().ChooseFile(ScriptDialog(false));
  if (!chosen) return;
  if (LoadScript(*chosen)) RememberDialogFolder(kScriptOpenFolder, *chosen);
}

// A script that cannot be written is reported: saying nothing would let the user believe the
// effect is safe on disk.
bool MainWindow::SaveScript(const std::string& path) {
  bool written = false;
  {
    wxBusyCursor wait;
    TakeFields();
    written = session_.chain.Write(path.c_str(), session_.test_frame, session_.header);
  }
  RememberDialogFolder(kScriptSaveFolder, path);
  session_.script_path = path;
  if (!written) gui::Inform(CannotSaveMessage(path), kErrorCaption);
  return written;
}

void MainWindow::Save() {
  const auto chosen = gui::CurrentDialogs().ChooseFile(ScriptDialog(true));
  if (chosen) SaveScript(*chosen);
}

void MainWindow::ShowFilterHelp() { OpenFilterHelp(session_, session_.chain.CurrentEntry()); }

void MainWindow::ShowMainHelp() { OpenMainHelp(session_, kMainWindowHelpTopic); }

// ---- Parameter and option rows -------------------------------------------------------------

std::optional<int32_t> MainWindow::FieldKind(int id) const {
  if (id >= kMainZone1 && id < kMainZone1 + 4) return kKindInteger;
  if (id >= kMainZoneStep1 && id < kMainZoneStep1 + 4) return kKindReal;
  if (id >= kMainFrame1 && id < kMainFrame1 + 3) return kKindPositiveInteger;
  return rows_.FieldKind(id);
}

void MainWindow::ReformatField(int id) {
  const std::optional<int32_t> kind = FieldKind(id);
  if (!kind) return;
  SetField(id, ReformatLeavingField(*kind, FieldText(id)));
}

void MainWindow::OnParameterName(wxCommandEvent& event) {
  PressParameter(event.GetId() - kMainParameter1 + 1, 0, false);
}

// A right-button press on a name button runs the value's action with the right button.
void MainWindow::OnParameterMouseDown(gui::AniMouseEvent& event) {
  if (event.Button() == 2) PressParameter(event.GetId() - kMainParameter1 + 1, 0, true);
}

// The small buttons of rows whose kind has a dialog run it on the value or the step.
void MainWindow::OnSmallButton(wxCommandEvent& event) {
  const int id = event.GetId();
  const auto small = rows_.SmallButtonOf(id);
  if (!small || small->drags) return;
  gui::AniButton* button = Button(id);
  button->SetFrame(gui::kActionLook + 1);
  PressParameter(small->k, small->which, false);
  button->SetFrame(gui::kActionLook);
}

bool MainWindow::EditFileValue(char (&text)[256], bool save) {
  const char* folder = save ? kSaveFolder : kLoadFolder;
  gui::FileDialogRequest request;
  request.mode = save ? gui::FileDialogRequest::Mode::kSave : gui::FileDialogRequest::Mode::kOpen;
  request.title = save ? "Save" : "Load";
  request.filter = "All Files (*.*)|*.*||";
  request.start_path = DialogStartPath(folder, session_.header.content_directory, text);
  request.must_exist = !save;
  const auto chosen = gui::CurrentDialogs().ChooseFile(request);
  if (!chosen) return false;
  std::snprintf(text, sizeof text, "%s", chosen->c_str());
  RememberDialogFolder(folder, *chosen);
  return true;
}

// Right button: the picture the value names (or that name in the content directory) in a view
// of its own. Left button, or a picture that does not load: the picture dialog.
bool MainWindow::EditPictureValue(char (&text)[256], bool right, wxWindow* owner) {
  const auto pump = [] { gui::DispatchPendingEvents(); };
  if (right) {
    std::string path = text;
    if (!platform::FileExists(path.c_str())) path = session_.header.content_directory + path;
    if (std::unique_ptr<Picture> picture = LoadPictureWithMessages(path.c_str(), pump)) {
      ViewPicture(std::move(picture), owner);
      return false;
    }
  }
  std::string chosen;
  OpenPictureDialog(0, &chosen, PictureChooser(text), pump);
  if (chosen.empty()) return false;
  std::snprintf(text, sizeof text, "%s", chosen.c_str());
  return true;
}

bool MainWindow::PressParameter(int k, int which, bool right) {
  TakeFields();
  FilterDescriptor* entry = session_.chain.CurrentEntry();
  if (entry == nullptr) return false;
  const bool changed = RunParameterAction(*entry, k, which, right, this);
  if (changed) ShowCurrentFilter();
  return changed;
}

bool MainWindow::RunParameterAction(FilterDescriptor& entry, int k, int which, bool right, wxWindow* owner) {
  if (entry.parameters == nullptr || k < 1 || k >= entry.parameter_count) return false;
  ParameterRecord& slot = entry.parameters[k];
  char(&text)[256] = which == 1 ? slot.step : slot.value;
  bool changed = false;
  switch (ActionOf(slot.kind)) {
    case KindAction::kColourSelector: {
      ColourSelectorWindow selector(owner, entry.name, k - 1, session_.custom_colours);
      colour_selector_ = &selector;
      std::string colour = text;
      changed = selector.Edit(colour);
      colour_selector_ = nullptr;
      if (changed) std::snprintf(text, sizeof text, "%s", colour.c_str());
      break;
    }
    case KindAction::kOpenFile:
      changed = EditFileValue(text, false);
      break;
    case KindAction::kSaveFile:
      changed = EditFileValue(text, true);
      break;
    case KindAction::kPictureFile:
      changed = EditPictureValue(text, right, owner);
      break;
    case KindAction::kEditorLink: {
      const EditorLinkResult result = RunEditorLink(slot.value, entry);
      if (!result.error.empty()) gui::Inform(result.error, kErrorCaption);
      changed = result.changed;
      break;
    }
    case KindAction::kFilterHelp:
      OpenFilterHelp(session_, &entry);
      break;
  }
  return changed;
}

// The pressed option has toggled itself; the group rule sets it and its partners.
void MainWindow::OnOptionButton(wxCommandEvent& event) { rows_.PressOption(event.GetId()); }

// ---- Drag buttons --------------------------------------------------------------------------

namespace {

// The field a drag button moves and what bounds it; row parameter buttons are worked out apart.
struct DragButton {
  int button;
  int field;
  DragField kind;
};

std::vector<DragButton> FieldDragButtons() {
  std::vector<DragButton> buttons;
  const DragField zone[] = {DragField::kZoneLeft, DragField::kZoneTop, DragField::kZoneRight, DragField::kZoneBottom};
  for (int i = 0; i < 4; ++i) {
    buttons.push_back({kMainZoneDrag1 + i, kMainZone1 + i, zone[i]});
    buttons.push_back({kMainZoneStepDrag1 + i, kMainZoneStep1 + i, DragField::kZoneStep});
  }
  const DragField frames[] = {DragField::kStartFrame, DragField::kEndFrame, DragField::kTestFrame};
  for (int i = 0; i < 3; ++i) buttons.push_back({kMainFrameDrag1 + i, kMainFrame1 + i, frames[i]});
  return buttons;
}

}  // namespace

DragFieldTexts MainWindow::CurrentDragTexts() const {
  DragFieldTexts texts;
  for (int i = 0; i < 4; ++i) texts.zone[size_t(i)] = FieldText(kMainZone1 + i);
  texts.start_frame = FieldText(kStartFrameField);
  texts.end_frame = FieldText(kEndFrameField);
  return texts;
}

void MainWindow::OnDragMouseDown(gui::AniMouseEvent& event) {
  if (event.Button() != 1 || !IsEnabled()) return;
  const int id = event.GetId();
  std::optional<DragController::Target> target = rows_.DragTargetOf(id);
  for (const DragButton& b : FieldDragButtons())
    if (b.button == id) target = DragController::Target{b.field, b.kind, DragKindOf(b.kind, 0)};
  if (target) drag_.Begin(Button(id), *target);
}

void MainWindow::OnDragTimer(wxTimerEvent&) { drag_.Tick(); }

void MainWindow::End(int result) {
  if (ended_) return;
  ended_ = true;
  end_result_ = result;
  drag_timer_.Stop();
  if (options_ != nullptr) options_->Hide();
  if (about_ != nullptr) about_->Hide();
  if (x_alpha_ != nullptr) x_alpha_->Hide();
  if (extended_ != nullptr) extended_->Hide();
  Hide();
  if (on_end_) on_end_(result);
}

// clang-format off
wxBEGIN_EVENT_TABLE(MainWindow, wxDialog)
  EVT_PAINT(MainWindow::OnPaint)
  EVT_BUTTON(kMainBanner, MainWindow::OnBanner)
  EVT_BUTTON(kMainOption, MainWindow::OnOption)
  EVT_BUTTON(kMainFilterName, MainWindow::OnFilterName)
  EVT_BUTTON(kMainConfirm, MainWindow::OnConfirm)
  EVT_BUTTON(kMainCancel, MainWindow::OnCancel)
  EVT_BUTTON(kMainLoad, MainWindow::OnCommand)
  EVT_BUTTON(kMainSave, MainWindow::OnCommand)
  EVT_BUTTON(kMainAddFilter, MainWindow::OnCommand)
  EVT_BUTTON(kMainPrevious, MainWindow::OnCommand)
  EVT_BUTTON(kMainNext, MainWindow::OnCommand)
  EVT_BUTTON(kMainDelete, MainWindow::OnCommand)
  EVT_BUTTON(kMainRender, MainWindow::OnCommand)
  EVT_BUTTON(kMainFilterHelp, MainWindow::OnCommand)
  EVT_BUTTON(kMainHelp, MainWindow::OnCommand)
  EVT_BUTTON(kMainXAlpha, MainWindow::OnCommand)
  EVT_BUTTON(kMainExtended, MainWindow::OnCommand)
  EVT_COMMAND_SCROLL(kMainChainBar, MainWindow::OnChainBar)
  EVT_COMMAND_RANGE(kMainParameter1, kMainParameter1 + 3, wxEVT_BUTTON, MainWindow::OnParameterName)
  EVT_COMMAND_RANGE(kMainParameterValueDrag1, kMainParameterStepDrag1 + 3, wxEVT_BUTTON, MainWindow::OnSmallButton)
  EVT_COMMAND_RANGE(kMainOption1, kMainOption1 + 3, wxEVT_BUTTON, MainWindow::OnOptionButton)
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kMainParameter1, kMainParameter1 + 3,
                   OMBRIX_ANI_MOUSE_HANDLER(MainWindow::OnParameterMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kMainParameterValueDrag1, kMainParameterStepDrag1 + 3,
                   OMBRIX_ANI_MOUSE_HANDLER(MainWindow::OnDragMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kMainZoneDrag1, kMainZoneDrag1 + 3,
                   OMBRIX_ANI_MOUSE_HANDLER(MainWindow::OnDragMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kMainZoneStepDrag1, kMainZoneStepDrag1 + 3,
                   OMBRIX_ANI_MOUSE_HANDLER(MainWindow::OnDragMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kMainFrameDrag1, kMainFrameDrag1 + 2,
                   OMBRIX_ANI_MOUSE_HANDLER(MainWindow::OnDragMouseDown))
  EVT_MENU_RANGE(kFilterMenuBase + 1, kFilterMenuBase + kMaxTableDescriptors, MainWindow::OnFilterMenu)
  EVT_BUTTON(kMainPreviewImage, MainWindow::OnPictureArea)
  EVT_BUTTON(kMainParameterImage, MainWindow::OnPictureArea)
  EVT_BUTTON(kMainOptionImage, MainWindow::OnPictureArea)
  EVT_CLOSE(MainWindow::OnClose)
  EVT_CHAR_HOOK(MainWindow::OnCharHook)
  EVT_TIMER(kDragTimerId, MainWindow::OnDragTimer)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
