// The window shown while a file is looked for (template 136, "Looking for file - %s", shown as
// "Scanning Computer..." for the renderer's configuration file): the smaller clip (1024) and a
// label (1025) with the folder being searched.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "setup/instora/setup_face.h"

namespace ombrix::setup {

class SearchWindow : public SetupDialog {
 public:
  enum ControlId { kClip = 1024, kFolder = 1025 };
  inline static const char* const kScanningCaption = "Scanning Computer...";

  SearchWindow(wxWindow* parent, const std::string& caption);

  // Searches the roots for the renderer's configuration file while the window is shown; the
  // folder found, or empty.
  std::string FindRenderer(const std::vector<std::string>& roots);
  // Shows the folder (repainted now and then, not for every folder).
  void ShowFolder(const std::string& folder);
  // The last folder shown.
  std::string ShownFolder() const;

 private:
  std::chrono::steady_clock::time_point last_paint_{};

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::setup
