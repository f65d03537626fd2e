// What the setup's windows share: their templates' controls with their colours and panels, the
// program's clips, a press of a button as the mouse makes it, and the shortcut letters of the
// captions (Alt and the letter, or the letter alone while no text field has the focus).
#pragma once

#include <wx/dialog.h>

#include <span>
#include <string>

#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/window_face.h"

class wxAnimationCtrl;

namespace ombrix::setup {

// The program's larger clip (options, message and installing windows) and its smaller one (the
// search window): the working and question clips of the medium's programs.
std::string LargerClipPath();
std::string SmallerClipPath();
// Where the clips are looked for: the medium's "Programs" folder.
void SetClipFolder(const std::string& folder);

// A clip control at a template rectangle, playing the clip without end; hidden when the clip
// cannot be played.
wxAnimationCtrl* PlaceClip(wxWindow* window, int id, int x, int y, int width, int height, const std::string& path,
                           gui::Colour background);

// Enables or disables a button; a disabled one shows its caption dimmed on its face.
void EnableButton(gui::AniButton* button, bool enabled, gui::Colour face);

// A small folder, the picture of a button that opens a file window.
wxBitmap FolderPicture(int size);

// A press of the button: a two-state button changes its frame, then the click goes out.
void PressButton(gui::AniButton* button);

// Presses the enabled, shown button of the template whose caption has the key's letter as its
// shortcut. False when none has.
bool PressShortcut(wxWindow* window, const wxKeyEvent& event, std::span<const gui::ControlTemplate> controls,
                   const gui::TemplateControls& made);

// A dialog of the setup: the font, its client size in dialog units, its colours read.
class SetupDialog : public wxDialog {
 protected:
  void CreateDialog(wxWindow* parent, const std::string& caption, int width, int height, long style);
  void PaintFace(wxPaintEvent& event);
  // Ends the modal loop with result, or hides a window shown without one (as tests show them).
  void Finish(int result);

  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
};

}  // namespace ombrix::setup
