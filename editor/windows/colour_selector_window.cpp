// The colour selector.
#include "editor/windows/colour_selector_window.h"

#include <wx/dcclient.h>

#include <algorithm>
#include <vector>

#include "editor/model/parameter_rows.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"

namespace ombrix::editor {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr int kWidth = 150;
constexpr int kHeight = 78;

const std::vector<ControlTemplate>& Template() {
  static const std::vector<ControlTemplate> t = {
      {kColourCaption1, ControlRole::kLabel, "Red", 6, 6, 30, 11},
      {kColourField1, ControlRole::kNumberField, "0", 38, 6, 32, 11},
      {kColourCaption1 + 1, ControlRole::kLabel, "Green", 6, 20, 30, 11},
      {kColourField1 + 1, ControlRole::kNumberField, "0", 38, 20, 32, 11},
      {kColourCaption1 + 2, ControlRole::kLabel, "Blue", 6, 34, 30, 11},
      {kColourField1 + 2, ControlRole::kNumberField, "0", 38, 34, 32, 11},
      {kColourSample, ControlRole::kLabel, "", 78, 6, 66, 39},
      {kColourConfirm, ControlRole::kActionButton, "", 6, 58, 36, 14},
      {kColourMore, ControlRole::kDialogButton, "More...", 50, 58, 44, 14},
      {kColourCancel, ControlRole::kActionButton, "Cancel", 100, 58, 44, 14},
  };
  return t;
}

int Channel(const gui::MaskedEdit* field) { return std::clamp(ReadColourText(field->Text()).red, 0, 255); }

}  // namespace

ColourSelectorWindow::ColourSelectorWindow(wxWindow* owner, const std::string& filter_name, int row,
                                           gui::CustomColours& custom)
    : custom_(custom) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(owner, wxID_ANY, wxString::Format("Palette Win - %s (%d)", gui::FromAnsi(filter_name.c_str()), row),
         wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  gui::PlaceControls(this, Template(), colours_, face_, controls_);
  gui::AniButton* confirm = controls_.Button(kColourConfirm);
  confirm->SetFramePictures({gui::ConfirmPicture(confirm->GetSize().y - 2)});
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 2, kWidth - 4, 48));
  CentreOnParent();
}

std::string ColourSelectorWindow::Text() const {
  ColourNumbers c;
  c.red = ReadColourText(controls_.Field(kColourField1)->Text()).red;
  c.green = ReadColourText(controls_.Field(kColourField1 + 1)->Text()).red;
  c.blue = ReadColourText(controls_.Field(kColourField1 + 2)->Text()).red;
  return ColourText(c);
}

bool ColourSelectorWindow::Edit(std::string& text) {
  const ColourNumbers c = ReadColourText(text);
  controls_.Field(kColourField1)->SetText(std::to_string(c.red));
  controls_.Field(kColourField1 + 1)->SetText(std::to_string(c.green));
  controls_.Field(kColourField1 + 2)->SetText(std::to_string(c.blue));
  ShowSample();
  controls_.Field(kColourField1)->SetFocus();
  if (ShowModal() != wxID_OK) return false;
  text = Text();
  return true;
}

// The sample shows the numbers held within 0 .. 255, as the colour dialog would take them.
void ColourSelectorWindow::ShowSample() {
  const gui::Colour colour =
      gui::MakeColour(Channel(controls_.Field(kColourField1)), Channel(controls_.Field(kColourField1 + 1)),
                      Channel(controls_.Field(kColourField1 + 2)));
  controls_.Button(kColourSample)->SetBackColour(colour);
}

void ColourSelectorWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

void ColourSelectorWindow::OnConfirm(wxCommandEvent&) { EndModal(wxID_OK); }

void ColourSelectorWindow::OnCancel(wxCommandEvent&) { EndModal(wxID_CANCEL); }

void ColourSelectorWindow::OnMore(wxCommandEvent&) {
  gui::WindowFace::Pressed pressed(face_, controls_.Button(kColourMore));
  const gui::Colour start =
      gui::MakeColour(Channel(controls_.Field(kColourField1)), Channel(controls_.Field(kColourField1 + 1)),
                      Channel(controls_.Field(kColourField1 + 2)));
  const auto chosen = gui::CurrentDialogs().ChooseColour(start, custom_);
  if (!chosen) return;
  controls_.Field(kColourField1)->SetText(std::to_string(gui::RedOf(*chosen)));
  controls_.Field(kColourField1 + 1)->SetText(std::to_string(gui::GreenOf(*chosen)));
  controls_.Field(kColourField1 + 2)->SetText(std::to_string(gui::BlueOf(*chosen)));
  ShowSample();
}

void ColourSelectorWindow::OnFieldChanged(wxCommandEvent&) { ShowSample(); }

void ColourSelectorWindow::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    EndModal(wxID_CANCEL);
    return;
  }
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(ColourSelectorWindow, wxDialog)
  EVT_PAINT(ColourSelectorWindow::OnPaint)
  EVT_BUTTON(kColourConfirm, ColourSelectorWindow::OnConfirm)
  EVT_BUTTON(kColourCancel, ColourSelectorWindow::OnCancel)
  EVT_BUTTON(kColourMore, ColourSelectorWindow::OnMore)
  EVT_TEXT(wxID_ANY, ColourSelectorWindow::OnFieldChanged)
  EVT_CHAR_HOOK(ColourSelectorWindow::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
