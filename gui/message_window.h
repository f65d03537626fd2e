// A message window: a text beside a clip (or a still icon when the clip cannot be played), with
// one button for information or "Yes" and "No" for a question, shown modally. Its height follows
// the text, so long paths are never cut off. Programs make it the presenter of their
// NativeDialogs.
#pragma once

#include <wx/dialog.h>

#include <string>

#include "gui/colour_set.h"
#include "gui/dialogs.h"
#include "gui/window_face.h"

class wxAnimationCtrl;

namespace ombrix::gui {

class AniButton;

class MessageWindow : public wxDialog {
 public:
  // Control ids of the window.
  enum ControlId { kText = 1001, kYes = 1002, kNo = 1003, kOk = 1004, kClip = 1005, kIcon = 1006 };

  // The clip is the file named by the settings value "AskData" for a question and "InfoData"
  // for information, both directly under the product key.
  MessageWindow(wxWindow* parent, const MessageRequest& request);

  // Shows the window modally: 1 for "Yes", the single button or Enter; 0 for "No", Escape or
  // the close box.
  int Run();
  bool PlaysClip() const { return clip_in_use_; }

 private:
  void PlaceControls(const wxString& text);
  void OnPaint(wxPaintEvent& event);
  void OnButton(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);
  void Finish(int result);

  const bool question_;
  ColourSet colours_;
  WindowFace face_;
  bool clip_in_use_ = false;
  AniButton* icon_ = nullptr;
  wxAnimationCtrl* clip_ = nullptr;
  AniButton* text_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::gui
