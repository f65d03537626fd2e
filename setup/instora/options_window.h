// The setup's options (template 131, "Setup - Options"): the install folder (1002) with
// "&Browse..." (1003) and the icon button (1039), the renderer's folder (1014) with "B&rowse..."
// (1015), "&Full install" (1010) or "&Cusomized" (1013), the six component boxes, the space
// available (1016) and needed (1017), "&Ok" (1009) and "&Cancel" (1011), and the clip (1040).
#pragma once

#include <optional>
#include <string>

#include "setup/instora/setup_face.h"
#include "setup/renderer_folder.h"
#include "setup/setup_options.h"

class wxTextCtrl;

namespace ombrix::setup {

class OptionsWindow : public SetupDialog {
 public:
  enum ControlId {
    kInstallDir = 1002,
    kBrowseInstall = 1003,
    kPictures = 1004,
    kBrushes = 1005,
    kExamples = 1006,
    kPlugins = 1007,
    kPrograms = 1008,
    kOk = 1009,
    kFullInstall = 1010,
    kCancel = 1011,
    kHelpFiles = 1012,
    kCustomized = 1013,
    kRendererDir = 1014,
    kBrowseRenderer = 1015,
    kAvailable = 1016,
    kNeeded = 1017,
    kPathButton = 1039,
    kClip = 1040,
    // Captions of the groups.
    kDirectoriesGroup = 1100,
    kInstallCaption,
    kRendererCaption,
    kTypeGroup,
    kComponentsGroup,
    kInformationsGroup,
  };

  // How the window finds the renderer's folder when it opens: shows a folder being searched
  // (may be empty) and gives the folder found, or empty.
  using RendererSearch = std::function<std::string()>;

  OptionsWindow(wxWindow* parent, DiskSpaceQuery disk_space, RendererSearch search);

  // Opens the window as the original did: Full install, all six boxes checked, the renderer's
  // folder searched for, the default install folder and the space information. Nothing when it
  // was cancelled.
  std::optional<SetupChoice> Run();
  // The state the window opens in, without showing it (Run calls it).
  void Prepare();

  // The control of a component's box.
  static int BoxOf(Component component);
  unsigned Needed() const { return needed_kb_; }
  std::string InstallDir() const;
  std::string RendererDir() const;

 private:
  void ShowSpace();
  void SetInstallDirFromFolder(const std::string& folder);
  void OnBrowseInstall(wxCommandEvent& event);
  void OnPathButton(wxCommandEvent& event);
  void OnBrowseRenderer(wxCommandEvent& event);
  void OnInstallType(wxCommandEvent& event);
  void OnBox(wxCommandEvent& event);
  void OnInstallDirText(wxCommandEvent& event);
  void OnOk(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void AskToStop();

  DiskSpaceQuery disk_space_;
  RendererSearch search_;
  wxTextCtrl* install_dir_ = nullptr;
  wxTextCtrl* renderer_dir_ = nullptr;
  unsigned needed_kb_ = 0;
  SetupChoice taken_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::setup
