// The progress window (template 130): two bars, three text lines, a clip or still icon and a
// Cancel button whose press, like Escape, clears the continue flag.
#pragma once

#include <wx/dialog.h>

#include <memory>

#include "gui/colour_set.h"
#include "gui/frames.h"
#include "progress/progress_sink.h"
#include "progress/progress_text.h"

class wxAnimationCtrl;
class wxGauge;
class wxWindowDisabler;

namespace ombrix::gui {
class AniButton;
}

namespace ombrix::omout {

class ProgressWindow : public wxDialog {
 public:
  ProgressWindow();
  ~ProgressWindow() override;

  // Centres the window on the screen by integer halves, shows it and paints it before returning.
  void Open();
  void SetBarRange(int32_t bar, int32_t low, int32_t high);
  void SetBarPosition(int32_t bar, int32_t position);
  void SetTexts(const char* caption, const char* line1, const char* line2, const char* info);
  void ShowCommand(int32_t command);
  int32_t ContinueFlag() const { return continue_; }
  // What a press of Cancel and Escape do: light the button and clear the continue flag.
  void PressCancel();

 private:
  void CreateControls();
  void Initialise();
  void OnPaint(wxPaintEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  gui::ColourSet colours_;
  int32_t continue_ = 1;
  bool animation_in_use_ = false;
  bool painted_ = false;
  BarState bars_[2];
  wxRect panels_[3];
  wxRect info_frame_;
  gui::ButtonRecord cancel_record_;

  gui::AniButton* icon_ = nullptr;
  wxAnimationCtrl* clip_ = nullptr;
  gui::AniButton* upper_line_ = nullptr;
  wxGauge* bar1_ = nullptr;
  gui::AniButton* lower_line_ = nullptr;
  wxGauge* bar2_ = nullptr;
  gui::AniButton* info_ = nullptr;
  gui::AniButton* panel_controls_[3] = {};
  gui::AniButton* cancel_ = nullptr;
  // Other top-level windows of the host stay disabled while the window is open, so their input
  // is not acted on in the middle of a render.
  std::unique_ptr<wxWindowDisabler> disabler_;

  wxDECLARE_EVENT_TABLE();
};

// The window as the module's current progress display; closing hides and destroys it.
class WindowProgress : public ProgressSink {
 public:
  WindowProgress();
  ~WindowProgress() override;

  void InitRange(int32_t bar, int32_t low, int32_t high) override;
  void SetTexts(const char* caption, const char* line1, const char* line2, const char* info) override;
  void Show(int32_t command) override;
  int32_t Update(int32_t bar, int32_t position) override;

 private:
  ProgressWindow* window_;
};

}  // namespace ombrix::omout
