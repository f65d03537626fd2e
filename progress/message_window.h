// The message window (template 132): a text with a clip or still icon, and "Yes"/"No" for a
// question or "OK" for information, shown modally.
#pragma once

#include <wx/dialog.h>

#include <cstdint>

#include "gui/colour_set.h"
#include "gui/frames.h"

class wxAnimationCtrl;

namespace ombrix::gui {
class AniButton;
}

namespace ombrix::omout {

// The window's texts fit buffers of these sizes, terminating zero included.
inline constexpr size_t kMessageTitleBytes = 256;
inline constexpr size_t kMessageTextBytes = 652;

class MessageWindow : public wxDialog {
 public:
  // kind 0 asks a question; any other kind informs.
  MessageWindow(const char* title, const char* text, int32_t kind);

  // Shows the window modally: 1 for "Yes", "OK" or Enter, 0 for "No", 2 for Escape or the close box.
  int32_t Run();

 private:
  void CreateControls();
  void Initialise();
  void Press(gui::AniButton* button, gui::ButtonRecord& record, int32_t result);
  void Finish(int32_t result);
  void OnPaint(wxPaintEvent& event);
  void OnAffirmative(wxCommandEvent& event);
  void OnNegative(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  const bool question_;
  char title_[kMessageTitleBytes];
  char text_[kMessageTextBytes];
  gui::ColourSet colours_;
  bool animation_in_use_ = false;
  wxRect panels_[2];
  gui::ButtonRecord affirmative_record_;
  gui::ButtonRecord negative_record_;

  gui::AniButton* icon_ = nullptr;
  wxAnimationCtrl* clip_ = nullptr;
  gui::AniButton* message_ = nullptr;
  gui::AniButton* yes_ = nullptr;
  gui::AniButton* ok_ = nullptr;
  gui::AniButton* no_ = nullptr;
  gui::AniButton* panel_controls_[2] = {};

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::omout
