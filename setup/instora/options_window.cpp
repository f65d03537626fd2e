// The setup's options.
#include "setup/instora/options_window.h"

#include <wx/textctrl.h>

#include "core/platform/paths.h"
#include "gui/ani_button.h"
#include "gui/dialogs.h"
#include "gui/frames.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "setup/component_copy.h"
#include "setup/install_locations.h"

namespace ombrix::setup {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;
using W = OptionsWindow;

constexpr int kWidth = 300;
constexpr int kHeight = 188;
constexpr long kLeft = gui::kAniAlignLeft;
constexpr long kKey = gui::kAniMnemonic;

const ControlTemplate kTemplate[] = {
    {W::kDirectoriesGroup, ControlRole::kLabel, "Directories", 8, 6, 80, 9, kLeft},
    {W::kInstallCaption, ControlRole::kLabel, "Install Directory", 10, 17, 150, 9, kLeft},
    {W::kBrowseInstall, ControlRole::kDialogButton, "&Browse...", 214, 27, 54, 12, kKey},
    {W::kPathButton, ControlRole::kDialogButton, "", 272, 26, 18, 14},
    {W::kRendererCaption, ControlRole::kLabel, "LightWave 3D Directory", 10, 42, 150, 9, kLeft},
    {W::kBrowseRenderer, ControlRole::kDialogButton, "B&rowse...", 214, 52, 54, 12, kKey},
    {W::kTypeGroup, ControlRole::kLabel, "Type of install", 8, 75, 74, 9, kLeft},
    {W::kFullInstall, ControlRole::kStateButton, "&Full install", 10, 87, 72, 11, kKey},
    {W::kCustomized, ControlRole::kStateButton, "&Cusomized", 10, 102, 72, 11, kKey},
    {W::kComponentsGroup, ControlRole::kLabel, "Components to install", 96, 75, 120, 9, kLeft},
    {W::kPictures, ControlRole::kStateButton, "&Pictures", 98, 87, 62, 11, kKey},
    {W::kBrushes, ControlRole::kStateButton, "Br&ushes", 164, 87, 62, 11, kKey},
    {W::kExamples, ControlRole::kStateButton, "&Examples", 230, 87, 62, 11, kKey},
    {W::kPlugins, ControlRole::kStateButton, "P&lug-ins", 98, 102, 62, 11, kKey},
    {W::kPrograms, ControlRole::kStateButton, "Pr&ograms", 164, 102, 62, 11, kKey},
    {W::kHelpFiles, ControlRole::kStateButton, "&Help files", 230, 102, 62, 11, kKey},
    {W::kInformationsGroup, ControlRole::kLabel, "Informations", 8, 127, 80, 9, kLeft},
    {W::kAvailable, ControlRole::kLabel, "", 10, 138, 236, 9, kLeft},
    {W::kNeeded, ControlRole::kLabel, "", 10, 148, 236, 9, kLeft},
    {W::kOk, ControlRole::kActionButton, "&Ok", 86, 168, 56, 13, kKey},
    {W::kCancel, ControlRole::kActionButton, "&Cancel", 158, 168, 56, 13, kKey},
};

struct Box {
  Component component;
  int id;
};
constexpr Box kBoxes[] = {
    {Component::kPictures, W::kPictures}, {Component::kBrushes, W::kBrushes},   {Component::kExamples, W::kExamples},
    {Component::kPlugins, W::kPlugins},   {Component::kPrograms, W::kPrograms}, {Component::kHelpFiles, W::kHelpFiles},
};

wxTextCtrl* PlaceField(wxWindow* window, int id, int x, int y, int width, int height, const gui::ColourSet& colours) {
  const wxRect rect = gui::DialogUnitsRect(window, x, y, width, height);
  auto* field = new wxTextCtrl(window, id, wxString(), rect.GetPosition(), rect.GetSize(), wxTE_PROCESS_ENTER);
  field->SetBackgroundColour(gui::ToWxColour(colours.edit_area));
  field->SetForegroundColour(gui::ToWxColour(colours.edit_text));
  return field;
}

}  // namespace

int OptionsWindow::BoxOf(Component component) {
  for (const Box& box : kBoxes)
    if (box.component == component) return box.id;
  return 0;
}

OptionsWindow::OptionsWindow(wxWindow* parent, DiskSpaceQuery disk_space, RendererSearch search)
    : disk_space_(std::move(disk_space)), search_(std::move(search)) {
  CreateDialog(parent, "Setup - Options", kWidth, kHeight, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  face_.AddPanel(gui::DialogUnitsRect(this, 4, 4, 292, 66));
  face_.AddPanel(gui::DialogUnitsRect(this, 4, 73, 84, 50));
  face_.AddPanel(gui::DialogUnitsRect(this, 92, 73, 204, 50));
  face_.AddPanel(gui::DialogUnitsRect(this, 4, 125, 248, 35));
  face_.AddPanel(gui::DialogUnitsRect(this, 256, 125, 40, 35));
  face_.AddPanel(gui::DialogUnitsRect(this, 4, 163, 292, 22));
  install_dir_ = PlaceField(this, kInstallDir, 10, 27, 200, 12, colours_);
  gui::PlaceControls(this, kTemplate, colours_, face_, controls_);
  renderer_dir_ = PlaceField(this, kRendererDir, 10, 52, 200, 12, colours_);
  gui::AniButton* path_button = controls_.Button(kPathButton);
  path_button->SetFramePictures({FolderPicture(path_button->GetSize().y - 4)});
  PlaceClip(this, kClip, 259, 127, 34, 31, LargerClipPath(), colours_.background);
  for (const Box& box : kBoxes) EnableButton(controls_.Button(box.id), false, colours_.state_button);
}

std::string OptionsWindow::InstallDir() const { return gui::ToAnsi(install_dir_->GetValue()); }
std::string OptionsWindow::RendererDir() const { return gui::ToAnsi(renderer_dir_->GetValue()); }

void OptionsWindow::Prepare() {
  controls_.Button(kFullInstall)->SetFrame(1);
  controls_.Button(kCustomized)->SetFrame(2);
  ComponentSelection all = kFullSelection;
  for (const Box& box : kBoxes) {
    controls_.Button(box.id)->SetFrame(1);
    EnableButton(controls_.Button(box.id), false, colours_.state_button);
  }
  const std::string found = search_ ? search_() : std::string();
  if (found.empty()) {
    gui::CurrentDialogs().ShowMessage({kNoRendererFoundText, kSetupMessageCaption, false, {"", "Ok", ""}});
    renderer_dir_->ChangeValue(kNoRendererDirectory);
  } else {
    renderer_dir_->ChangeValue(gui::FromAnsi(found.c_str()));
  }
  install_dir_->ChangeValue(gui::FromAnsi(DefaultInstallDirectory().c_str()));
  needed_kb_ = SpaceNeeded(all);
  ShowSpace();
}

std::optional<SetupChoice> OptionsWindow::Run() {
  CentreOnScreen();
  CallAfter([this] { Prepare(); });
  if (ShowModal() != 1) return std::nullopt;
  return taken_;
}

void OptionsWindow::ShowSpace() {
  controls_.Button(kAvailable)->SetLabel(gui::FromAnsi(AvailableSpaceText(disk_space_(InstallDir())).c_str()));
  controls_.Button(kNeeded)->SetLabel(gui::FromAnsi(SpaceNeededText(needed_kb_).c_str()));
}

void OptionsWindow::SetInstallDirFromFolder(const std::string& folder) {
  if (HasSpace(folder)) gui::CurrentDialogs().ShowMessage({kSpaceInPathText, kSetupWarningCaption, false});
  install_dir_->ChangeValue(gui::FromAnsi(InstallDirectoryInFolder(folder).c_str()));
  ShowSpace();
}

void OptionsWindow::OnBrowseInstall(wxCommandEvent&) {
  gui::WindowFace::Pressed lit(face_, controls_.Button(kBrowseInstall));
  const auto chosen = gui::CurrentDialogs().ChooseFolder(
      {"Select directory where to install Ombrix", platform::DirectoryPart(InstallDir())});
  if (chosen) SetInstallDirFromFolder(*chosen);
}

void OptionsWindow::OnPathButton(wxCommandEvent&) {
  gui::WindowFace::Pressed lit(face_, controls_.Button(kPathButton));
  gui::FileDialogRequest request;
  request.title = "Enter path where to install Ombrix";
  request.filter = "All Files (*.*)|*||";
  request.start_path = InstallDir();
  request.must_exist = false;
  const auto chosen = gui::CurrentDialogs().ChooseFile(request);
  if (chosen) SetInstallDirFromFolder(platform::DirectoryPart(*chosen));
}

void OptionsWindow::OnBrowseRenderer(wxCommandEvent&) {
  gui::WindowFace::Pressed lit(face_, controls_.Button(kBrowseRenderer));
  const std::string current = RendererDir();
  const auto chosen =
      gui::CurrentDialogs().ChooseFolder({"Select directory where to find current working version of LightWave 3D ",
                                          current == kNoRendererDirectory ? std::string() : current});
  if (!chosen) return;
  if (const std::optional<std::string> accepted = AcceptRendererFolder(*chosen)) {
    renderer_dir_->ChangeValue(gui::FromAnsi(accepted->c_str()));
  } else {
    gui::CurrentDialogs().ShowMessage({NoRendererConfigText(*chosen), kSetupWarningCaption, false});
  }
}

void OptionsWindow::OnInstallType(wxCommandEvent& event) {
  const bool customized = event.GetId() == kCustomized;
  controls_.Button(kFullInstall)->SetFrame(customized ? 2 : 1);
  controls_.Button(kCustomized)->SetFrame(customized ? 1 : 2);
  // The marks stay as they are; only whether they can be changed follows the type.
  for (const Box& box : kBoxes) EnableButton(controls_.Button(box.id), customized, colours_.state_button);
}

void OptionsWindow::OnBox(wxCommandEvent& event) {
  gui::AniButton* box = controls_.Button(event.GetId());
  for (const Box& b : kBoxes) {
    if (b.id != event.GetId()) continue;
    const unsigned size = PlanOf(b.component).size_kb;
    if (box->Frame() == 1) {
      needed_kb_ += size;
    } else if (needed_kb_ >= size) {
      needed_kb_ -= size;
    }
  }
  ShowSpace();
}

void OptionsWindow::OnInstallDirText(wxCommandEvent&) { ShowSpace(); }

void OptionsWindow::OnOk(wxCommandEvent&) {
  gui::WindowFace::Pressed lit(face_, controls_.Button(kOk));
  std::string install_dir = InstallDir();
  while (install_dir.size() > 1 && platform::IsSeparator(install_dir.back())) install_dir.pop_back();
  // Only a full path says where the installation goes; anything else would land wherever the
  // setup happens to run.
  if (!platform::IsAbsolutePath(install_dir.c_str()) || install_dir[0] != platform::kPathSeparator) {
    gui::CurrentDialogs().ShowMessage(
        {"Cannot create directory\n\"" + install_dir + "\".", kSetupWarningCaption, false, {"", "Ok", ""}});
    return;
  }
  const std::optional<platform::DiskSpace> space = disk_space_(install_dir);
  if (LacksSpace(space, needed_kb_)) {
    gui::CurrentDialogs().ShowMessage({NoSpaceText(space), kSetupMessageCaption, false, {"", "Ok", ""}});
    return;
  }
  for (const Box& box : kBoxes)
    taken_.components[static_cast<size_t>(box.component)] = controls_.Button(box.id)->Frame() == 1;
  taken_.install_dir = install_dir;
  const std::string renderer = RendererDir();
  taken_.renderer_dir = renderer.empty() ? kNoRendererDirectory : renderer;
  Finish(1);
}

void OptionsWindow::AskToStop() {
  if (gui::CurrentDialogs().ShowMessage({kStopSetupText, kSetupMessageCaption, true, {"Yes", "", "No"}}) == 1)
    Finish(0);
}

void OptionsWindow::OnCancel(wxCommandEvent&) {
  gui::WindowFace::Pressed lit(face_, controls_.Button(kCancel));
  AskToStop();
}

void OptionsWindow::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      AskToStop();
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER: {
      wxCommandEvent ok(wxEVT_BUTTON, kOk);
      OnOk(ok);
      return;
    }
    default:
      break;
  }
  if (!PressShortcut(this, event, kTemplate, controls_)) event.Skip();
}

void OptionsWindow::OnClose(wxCloseEvent&) { AskToStop(); }

// clang-format off
wxBEGIN_EVENT_TABLE(OptionsWindow, wxDialog)
  EVT_PAINT(OptionsWindow::PaintFace)
  EVT_BUTTON(OptionsWindow::kBrowseInstall, OptionsWindow::OnBrowseInstall)
  EVT_BUTTON(OptionsWindow::kPathButton, OptionsWindow::OnPathButton)
  EVT_BUTTON(OptionsWindow::kBrowseRenderer, OptionsWindow::OnBrowseRenderer)
  EVT_BUTTON(OptionsWindow::kFullInstall, OptionsWindow::OnInstallType)
  EVT_BUTTON(OptionsWindow::kCustomized, OptionsWindow::OnInstallType)
  EVT_BUTTON(OptionsWindow::kPictures, OptionsWindow::OnBox)
  EVT_BUTTON(OptionsWindow::kBrushes, OptionsWindow::OnBox)
  EVT_BUTTON(OptionsWindow::kExamples, OptionsWindow::OnBox)
  EVT_BUTTON(OptionsWindow::kPlugins, OptionsWindow::OnBox)
  EVT_BUTTON(OptionsWindow::kPrograms, OptionsWindow::OnBox)
  EVT_BUTTON(OptionsWindow::kHelpFiles, OptionsWindow::OnBox)
  EVT_TEXT(OptionsWindow::kInstallDir, OptionsWindow::OnInstallDirText)
  EVT_BUTTON(OptionsWindow::kOk, OptionsWindow::OnOk)
  EVT_BUTTON(OptionsWindow::kCancel, OptionsWindow::OnCancel)
  EVT_CHAR_HOOK(OptionsWindow::OnCharHook)
  EVT_CLOSE(OptionsWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
