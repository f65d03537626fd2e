// The splash window (template 141): the banner and the label naming the start-up step.
#pragma once

#include <wx/dialog.h>

#include "gui/colour_set.h"
#include "gui/window_face.h"

namespace ombrix::gui {
class AniButton;
}

namespace ombrix::editor {

class SplashWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 141;
  enum ControlId { kStepLabel = 1000, kBanner };

  explicit SplashWindow(const gui::ColourSet& colours);

  // Shows the step's text at once, painted before the step runs.
  void ShowStep(const char* text);
  wxString StepText() const;

 private:
  void OnPaint(wxPaintEvent& event);

  gui::WindowFace face_;
  gui::AniButton* label_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
