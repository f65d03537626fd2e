// What a window paints on its own face around its controls: the background colour, panel
// frames, and a frame around each of its buttons, normal or pressed. One place decides a
// window's button colours: a button takes its face colour from the colour set, its caption
// colour by the caption rule, and the lit colour while its command runs.
#pragma once

#include <wx/dc.h>
#include <wx/gdicmn.h>

#include <vector>

#include "gui/colour_rules.h"
#include "gui/frames.h"

class wxWindow;

namespace ombrix::gui {

class AniButton;

class WindowFace {
 public:
  void SetBackground(Colour background) { background_ = background; }
  Colour Background() const { return background_; }
  // A black outline with a raised edge inside it, around area.
  void AddPanel(const wxRect& area) { panels_.push_back(area); }
  // A label: face in the background colour (or the given colour), caption by the rule.
  static void ColourLabel(AniButton* label, Colour face);
  // A button with a frame around it: its face, its caption colour by the rule, remembered so
  // Paint draws its frame and Press can light it.
  void AddButton(AniButton* button, Colour face);
  // Changes a remembered button's face (a colour button showing its colour).
  void SetButtonFace(AniButton* button, Colour face);
  // Shows a remembered button in its lit colour, or in its face colour again.
  void SetPressed(AniButton* button, bool pressed);
  // A greyed button (its command not available now) keeps its face and takes a caption half way
  // between its usual caption colour and the face; a press still reaches its window, which shows
  // why the command cannot run.
  void SetGreyed(AniButton* button, bool greyed);
  bool IsGreyed(AniButton* button) const;

  // Background, panels and button frames; the controls paint themselves over it.
  void Paint(wxDC& dc, const wxSize& client) const;

  // Lights a button for as long as it lives (while its command runs), painting at once.
  class Pressed {
   public:
    Pressed(WindowFace& face, AniButton* button);
    ~Pressed();
    Pressed(const Pressed&) = delete;
    Pressed& operator=(const Pressed&) = delete;

   private:
    WindowFace& face_;
    AniButton* button_;
  };

 private:
  struct Button {
    AniButton* control;
    ButtonRecord record;
    bool greyed = false;
  };
  Button* Find(AniButton* button);
  const Button* Find(AniButton* button) const;
  static void ColourCaption(const Button& button);
  void Repaint(const Button& button);

  Colour background_ = 0x909090;
  std::vector<wxRect> panels_;
  std::vector<Button> buttons_;
};

}  // namespace ombrix::gui
