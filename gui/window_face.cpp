// Painting a window's face and lighting its buttons.
#include "gui/window_face.h"

#include <wx/window.h>

#include "gui/ani_button.h"

namespace ombrix::gui {

void WindowFace::ColourLabel(AniButton* label, Colour face) {
  label->SetBackColour(face);
  label->SetForeColour(ButtonTextColour(face));
}

void WindowFace::AddButton(AniButton* button, Colour face) {
  ColourLabel(button, face);
  buttons_.push_back({button, MakeButtonRecord(button->GetRect(), face)});
}

WindowFace::Button* WindowFace::Find(AniButton* button) {
  for (Button& b : buttons_)
    if (b.control == button) return &b;
  return nullptr;
}

const WindowFace::Button* WindowFace::Find(AniButton* button) const {
  for (const Button& b : buttons_)
    if (b.control == button) return &b;
  return nullptr;
}

void WindowFace::ColourCaption(const Button& button) {
  const Colour face = button.record.face;
  const Colour caption = ButtonTextColour(face);
  if (!button.greyed) {
    button.control->SetForeColour(caption);
    return;
  }
  // Half way between caption and face, channel by channel.
  const Colour grey = MakeColour((RedOf(caption) + RedOf(face)) / 2, (GreenOf(caption) + GreenOf(face)) / 2,
                                 (BlueOf(caption) + BlueOf(face)) / 2);
  button.control->SetForeColour(grey);
}

void WindowFace::SetGreyed(AniButton* button, bool greyed) {
  Button* b = Find(button);
  if (b == nullptr || b->greyed == greyed) return;
  b->greyed = greyed;
  ColourCaption(*b);
}

bool WindowFace::IsGreyed(AniButton* button) const {
  const Button* b = Find(button);
  return b != nullptr && b->greyed;
}

void WindowFace::Repaint(const Button& button) {
  wxWindow* parent = button.control->GetParent();
  parent->RefreshRect(wxRect(button.record.rect).Inflate(1));
  if (parent->IsShownOnScreen()) parent->Update();
}

void WindowFace::SetButtonFace(AniButton* button, Colour face) {
  Button* b = Find(button);
  if (b == nullptr) return;
  b->record = MakeButtonRecord(button->GetRect(), face);
  ColourLabel(button, face);
  ColourCaption(*b);
  Repaint(*b);
}

void WindowFace::SetPressed(AniButton* button, bool pressed) {
  Button* b = Find(button);
  if (b == nullptr || b->record.pressed == pressed) return;
  b->record.pressed = pressed;
  button->SetBackColour(pressed ? b->record.lit : b->record.face);
  Repaint(*b);
}

void WindowFace::Paint(wxDC& dc, const wxSize& client) const {
  FillArea(dc, wxRect(client), background_);
  for (const wxRect& panel : panels_) DrawPanelFrame(dc, panel, background_);
  for (const Button& b : buttons_)
    if (b.control->IsShown()) DrawButtonFrame(dc, b.record);
}

WindowFace::Pressed::Pressed(WindowFace& face, AniButton* button) : face_(face), button_(button) {
  face_.SetPressed(button_, true);
}

WindowFace::Pressed::~Pressed() { face_.SetPressed(button_, false); }

}  // namespace ombrix::gui
