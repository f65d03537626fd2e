// The options window.
#include "editor/windows/options_window.h"

#include <wx/dcclient.h>

#include <vector>

#include "core/import/picture_import.h"
#include "core/platform/paths.h"
#include "core/text/numbers.h"
#include "editor/model/content_label.h"
#include "editor/model/dialog_folders.h"
#include "editor/model/number_formats.h"
#include "editor/model/picture_chooser.h"
#include "editor/model/picture_fit.h"
#include "editor/model/plugin_database.h"
#include "editor/model/test_picture.h"
#include "editor/windows/help.h"
#include "editor/windows/main_window.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"
#include "gui/picture_bitmap.h"

namespace ombrix::editor {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr int kWidth = 404;
constexpr int kHeight = 190;

std::vector<ControlTemplate> OptionsTemplate() {
  std::vector<ControlTemplate> t;
  for (size_t i = 0; i < FlagRows().size(); ++i)
    t.push_back(
        {kOptionsFlag1 + int(i), ControlRole::kStateButton, FlagRows()[i].caption, 6, 6 + 13 * int(i), 142, 11});
  const ControlTemplate left[] = {
      {kOptionsWidthCaption, ControlRole::kLabel, "Based Width", 6, 116, 64, 11},
      {kOptionsWidth, ControlRole::kNumberField, "640", 72, 116, 40, 11},
      {kOptionsHeightCaption, ControlRole::kLabel, "Based Height", 6, 129, 64, 11},
      {kOptionsHeight, ControlRole::kNumberField, "480", 72, 129, 40, 11},
      {kOptionsAddPlugin, ControlRole::kDialogButton, "Add plug-in...", 6, 148, 142, 12},
      {kOptionsPicture, ControlRole::kLabel, "", 158, 6, 108, 81},
      {kOptionsTestPicture, ControlRole::kDialogButton, "Change test picture...", 158, 92, 108, 12},
      {kOptionsContentCaption, ControlRole::kLabel, "Content Dir", 158, 112, 108, 10},
      {kOptionsContentLabel, ControlRole::kInfoArea, "(none)", 158, 123, 108, 11},
      {kOptionsContentButton, ControlRole::kDialogButton, "Content Directory...", 158, 137, 108, 12},
  };
  t.insert(t.end(), std::begin(left), std::end(left));
  for (size_t i = 0; i < gui::ColourRows().size(); ++i) {
    const int y = 6 + 13 * int(i);
    t.push_back({kOptionsColour1 + int(i), ControlRole::kActionButton, gui::ColourRows()[i].caption, 276, y, 70, 11});
    t.push_back({kOptionsColourLabel1 + int(i), ControlRole::kLabel, "", 348, y, 50, 11});
  }
  const ControlTemplate bottom[] = {
      {kOptionsConfirm, ControlRole::kActionButton, "", 6, 172, 44, 13},
      {kOptionsReset, ControlRole::kActionButton, "Reset", 242, 172, 50, 13},
      {kOptionsCancel, ControlRole::kActionButton, "Cancel", 296, 172, 50, 13},
      {kOptionsHelp, ControlRole::kActionButton, "Help", 350, 172, 50, 13},
  };
  t.insert(t.end(), std::begin(bottom), std::end(bottom));
  return t;
}

const std::vector<ControlTemplate>& Template() {
  static const std::vector<ControlTemplate> t = OptionsTemplate();
  return t;
}

}  // namespace

wxString ColourLabel(gui::Colour colour) {
  return wxString::Format("%d %d %d", gui::RedOf(colour), gui::GreenOf(colour), gui::BlueOf(colour));
}

OptionsWindow::OptionsWindow(MainWindow* owner, EditorSession& session) : owner_(owner), session_(session) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(owner, wxID_ANY, "Ombrix - Options", wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  gui::PlaceControls(this, Template(), colours_, face_, controls_);
  gui::AniButton* confirm = controls_.Button(kOptionsConfirm);
  confirm->SetFramePictures({gui::ConfirmPicture(confirm->GetSize().y - 2)});
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 2, 150, 164));
  face_.AddPanel(gui::DialogUnitsRect(this, 154, 2, 116, 164));
  face_.AddPanel(gui::DialogUnitsRect(this, 272, 2, 130, 164));
}

void OptionsWindow::Open() {
  colours_ = gui::ReadColourSet();
  gui::RecolourControls(Template(), colours_, face_, controls_);
  pending_colours_ = colours_;
  ShowFlags(session_.options);
  ShowColours();
  content_directory_ = session_.options.content_directory;
  controls_.Button(kOptionsContentLabel)->SetLabel(gui::FromAnsi(ContentDirectoryLabel(content_directory_).c_str()));
  pending_picture_.reset();
  ShowPicture(session_.test_picture.get());
  CentreOnParent();
  Show();
  Raise();
}

void OptionsWindow::ShowFlags(const OptionSet& options) {
  for (size_t i = 0; i < FlagRows().size(); ++i)
    controls_.Button(kOptionsFlag1 + int(i))->SetFrame(options.*FlagRows()[i].member ? 1 : 2);
  controls_.Field(kOptionsWidth)->SetText(WholeNumberText(options.based_width));
  controls_.Field(kOptionsHeight)->SetText(WholeNumberText(options.based_height));
}

void OptionsWindow::ShowColours() {
  for (size_t i = 0; i < gui::ColourRows().size(); ++i) {
    const gui::Colour colour = pending_colours_.*gui::ColourRows()[i].member;
    face_.SetButtonFace(controls_.Button(kOptionsColour1 + int(i)), colour);
    controls_.Button(kOptionsColourLabel1 + int(i))->SetLabel(ColourLabel(colour));
  }
}

void OptionsWindow::ShowPicture(const Picture* picture) {
  gui::AniButton* area = controls_.Button(kOptionsPicture);
  std::vector<wxBitmap> frames;
  if (picture != nullptr) {
    if (auto fitted = FitPicture(*picture, area->GetSize().x, area->GetSize().y, session_.options.compute_extra))
      frames.push_back(gui::PictureBitmap(*fitted));
  }
  area->SetFramePictures(std::move(frames));
  area->SetLabel(picture != nullptr ? wxString() : wxString("No picture"));
}

void OptionsWindow::Close(bool confirmed) {
  Hide();
  pending_picture_.reset();
  owner_->OptionsClosed(confirmed);
}

void OptionsWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

void OptionsWindow::OnConfirm(wxCommandEvent&) {
  OptionSet& options = session_.options;
  gui::WriteColourSet(pending_colours_);
  options.based_width = ClampBasedSize(text::LeadingInt(controls_.Field(kOptionsWidth)->Text(), options.based_width));
  options.based_height =
      ClampBasedSize(text::LeadingInt(controls_.Field(kOptionsHeight)->Text(), options.based_height));
  for (size_t i = 0; i < FlagRows().size(); ++i)
    options.*FlagRows()[i].member = controls_.Button(kOptionsFlag1 + int(i))->Frame() == 1;
  options.content_directory = content_directory_.substr(0, kMaxContentDirectory);
  session_.header.content_directory = options.content_directory;
  session_.header.based_width = options.based_width;
  session_.header.based_height = options.based_height;
  if (pending_picture_) {
    // The stored test picture follows a newly chosen picture's file. Without one it stays as it
    // was read, also when the picture shown came from the clipboard: that one names no file.
    options.test_picture = pending_picture_->SourceText();
    session_.test_picture = std::move(pending_picture_);
    if (session_.launched_with_script) KeepTestPictureOnClipboard(*session_.test_picture);
  }
  Close(true);
  SaveOptionSet(options);
}

void OptionsWindow::OnReset(wxCommandEvent&) {
  OptionSet shown = session_.options;
  for (size_t i = 0; i < FlagRows().size(); ++i)
    shown.*FlagRows()[i].member = controls_.Button(kOptionsFlag1 + int(i))->Frame() == 1;
  ShowFlags(ResetOptions(shown));
  pending_colours_ = gui::ColourSet();
  ShowColours();
}

void OptionsWindow::OnCancel(wxCommandEvent&) { Close(false); }

void OptionsWindow::OnHelp(wxCommandEvent&) { OpenMainHelp(session_, kOptionsHelpTopic); }

void OptionsWindow::OnAddPlugin(wxCommandEvent&) {
  gui::FileDialogRequest request;
  request.title = kAddPluginTitle;
  request.filter = kAddPluginFilter;
  request.default_extension = kAddPluginExtension;
  request.start_path = DialogFolder(kPluginFolderValue, session_.options.content_directory);
  const Notice notice = AddPluginFromFile(gui::CurrentDialogs().ChooseFile(request));
  gui::Inform(notice.text, notice.caption);
}

void OptionsWindow::OnContentDirectory(wxCommandEvent&) {
  const auto chosen = gui::CurrentDialogs().ChooseFolder({"Select new content directory", content_directory_});
  if (!chosen) return;
  content_directory_ = platform::JoinPath(*chosen, "");
  controls_.Button(kOptionsContentLabel)->SetLabel(gui::FromAnsi(ContentDirectoryLabel(content_directory_).c_str()));
}

void OptionsWindow::OnTestPicture(wxCommandEvent&) {
  std::unique_ptr<Picture> picture =
      OpenPictureDialog(1, nullptr, PictureChooser(), [] { gui::DispatchPendingEvents(); });
  if (!picture) return;
  pending_picture_ = std::move(picture);
  ShowPicture(pending_picture_.get());
  // The preview keeps this window disabled while it shows the pending picture, so the picture
  // cannot be replaced or taken before the preview closes.
  if (session_.options.show_picture) owner_->ShowPreview(pending_picture_.get(), this);
}

void OptionsWindow::OnColour(wxCommandEvent& event) {
  const size_t i = size_t(event.GetId() - kOptionsColour1);
  gui::Colour& pending = pending_colours_.*gui::ColourRows()[i].member;
  const auto chosen = gui::CurrentDialogs().ChooseColour(pending, session_.custom_colours);
  if (!chosen) return;
  pending = *chosen & 0xFFFFFF;
  face_.SetButtonFace(controls_.Button(event.GetId()), pending);
  controls_.Button(kOptionsColourLabel1 + int(i))->SetLabel(ColourLabel(pending));
}

void OptionsWindow::OnClose(wxCloseEvent&) { Close(false); }

void OptionsWindow::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    Close(false);
    return;
  }
  if (event.GetKeyCode() == WXK_F1) {
    OpenMainHelp(session_, kOptionsHelpTopic);
    return;
  }
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(OptionsWindow, wxDialog)
  EVT_PAINT(OptionsWindow::OnPaint)
  EVT_BUTTON(kOptionsConfirm, OptionsWindow::OnConfirm)
  EVT_BUTTON(kOptionsReset, OptionsWindow::OnReset)
  EVT_BUTTON(kOptionsCancel, OptionsWindow::OnCancel)
  EVT_BUTTON(kOptionsHelp, OptionsWindow::OnHelp)
  EVT_BUTTON(kOptionsAddPlugin, OptionsWindow::OnAddPlugin)
  EVT_BUTTON(kOptionsContentButton, OptionsWindow::OnContentDirectory)
  EVT_BUTTON(kOptionsTestPicture, OptionsWindow::OnTestPicture)
  EVT_COMMAND_RANGE(kOptionsColour1, kOptionsColour1 + 8, wxEVT_BUTTON, OptionsWindow::OnColour)
  EVT_CLOSE(OptionsWindow::OnClose)
  EVT_CHAR_HOOK(OptionsWindow::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
