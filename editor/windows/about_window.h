// The about window (template 133): the three clips of the installation and the credits. It is
// modeless; the main window stays disabled while it is shown.
#pragma once

#include <wx/dialog.h>

#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/window_face.h"

class wxAnimationCtrl;

namespace ombrix::editor {

class MainWindow;

enum AboutWindowId { kAboutClose = 1000, kAboutCredits, kAboutTitle, kAboutClip1 };

class AboutWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 133;

  explicit AboutWindow(MainWindow* owner);
  void Open();
  // How many of the three clips play (the others show a still icon).
  int PlayingClips() const;

 private:
  void Close();
  void OnPaint(wxPaintEvent& event);
  void OnCloseButton(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);

  MainWindow* owner_;
  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  wxAnimationCtrl* clips_[3] = {};
  bool playing_[3] = {};
  wxBitmap banner_;
  wxRect banner_rect_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
