// Windows laid out from a template: a table of controls, each with its id, its role, its stored
// caption and its rectangle in dialog units. The role decides the control and its colours, in
// this one place: labels take the background colour, information areas and number fields their
// own colours, and each kind of button its button colour with a frame the window paints.
#pragma once

#include <wx/window.h>

#include <map>
#include <span>

#include "gui/colour_set.h"
#include "gui/window_face.h"

namespace ombrix::gui {

class AniButton;
class MaskedEdit;

enum class ControlRole {
  kLabel,         // AniButton, background colour
  kInfoArea,      // AniButton, information-area colours
  kActionButton,  // AniButton with a button frame, action-button colour
  kDialogButton,  // ... dialog-button colour
  kStateButton,   // two-state AniButton (frame 1 on, 2 off), state-button colour
  kDragButton,    // AniButton with a button frame, drag-button colour
  kNumberField,   // MaskedEdit, edit-area colours
};

struct ControlTemplate {
  int id;
  ControlRole role;
  const char* caption;
  int x, y, width, height;  // dialog units
  long style = 0;           // extra AniButton styles
};

// The controls a template made, by id.
class TemplateControls {
 public:
  AniButton* Button(int id) const;
  MaskedEdit* Field(int id) const;
  wxWindow* Window(int id) const;
  void Add(int id, wxWindow* window) { windows_[id] = window; }

 private:
  std::map<int, wxWindow*> windows_;
};

// Creates the controls of the template in table order (which is also their Tab order), gives
// them their colours and registers the buttons with the face.
void PlaceControls(wxWindow* window, std::span<const ControlTemplate> controls, const ColourSet& colours,
                   WindowFace& face, TemplateControls& made);
// Gives placed controls the colours of a newly read colour set.
void RecolourControls(std::span<const ControlTemplate> controls, const ColourSet& colours, WindowFace& face,
                      const TemplateControls& made);
// The face colour a role takes from the colour set.
Colour RoleColour(ControlRole role, const ColourSet& colours);

}  // namespace ombrix::gui
