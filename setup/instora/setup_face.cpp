// What the setup's windows share.
#include "setup/instora/setup_face.h"

#include <wx/animate.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <memory>

#include "core/platform/paths.h"
#include "gui/ani_button.h"
#include "gui/frames.h"
#include "gui/gui_app.h"
#include "gui/icons.h"

namespace ombrix::setup {
namespace {

std::string g_clip_folder;

wxChar ShortcutOf(const wxString& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return wxToupper(caption[i + 1]);
    ++i;
  }
  return 0;
}

}  // namespace

void SetClipFolder(const std::string& folder) { g_clip_folder = folder; }
std::string LargerClipPath() { return platform::JoinPath(g_clip_folder, "Work.Dta"); }
std::string SmallerClipPath() { return platform::JoinPath(g_clip_folder, "Ask.Dta"); }

wxAnimationCtrl* PlaceClip(wxWindow* window, int id, int x, int y, int width, int height, const std::string& path,
                           gui::Colour background) {
  const wxRect rect = gui::DialogUnitsRect(window, x, y, width, height);
  auto* clip = new wxAnimationCtrl(window, id, wxNullAnimation, rect.GetPosition(), rect.GetSize(),
                                   wxAC_DEFAULT_STYLE | wxAC_NO_AUTORESIZE);
  clip->SetBackgroundColour(gui::ToWxColour(background));
  clip->Show(!g_clip_folder.empty() && gui::PlayClip(clip, path));
  return clip;
}

void EnableButton(gui::AniButton* button, bool enabled, gui::Colour face) {
  button->Enable(enabled);
  button->SetForeColour(enabled ? gui::ButtonTextColour(face) : gui::DarkerShade(face));
}

wxBitmap FolderPicture(int size) {
  wxImage image(size, size);
  image.InitAlpha();
  std::fill(image.GetAlpha(), image.GetAlpha() + size * size, 0);
  wxBitmap bitmap(image, 32);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const double s = size;
  gc->SetPen(wxPen(wxColour(120, 90, 20), 1));
  gc->SetBrush(wxBrush(wxColour(230, 190, 80)));
  gc->DrawRoundedRectangle(s * 0.08, s * 0.2, s * 0.4, s * 0.2, s * 0.05);
  gc->DrawRoundedRectangle(s * 0.08, s * 0.3, s * 0.84, s * 0.55, s * 0.06);
  return bitmap;
}

void PressButton(gui::AniButton* button) {
  if (button->HasFlag(gui::kAniTwoState)) button->SetFrame(button->Frame() == 1 ? 2 : 1);
  wxCommandEvent click(wxEVT_BUTTON, button->GetId());
  click.SetEventObject(button);
  button->HandleWindowEvent(click);
}

bool PressShortcut(wxWindow* window, const wxKeyEvent& event, std::span<const gui::ControlTemplate> controls,
                   const gui::TemplateControls& made) {
  const int key = event.GetKeyCode();
  if (key > 0x7F || !wxIsalpha(key)) return false;
  const bool in_text = dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus()) != nullptr;
  if (event.HasAnyModifiers() ? event.GetModifiers() != wxMOD_ALT : in_text) return false;
  for (const gui::ControlTemplate& c : controls) {
    gui::AniButton* button = made.Button(c.id);
    if (button == nullptr || !button->IsShown() || !button->IsEnabled()) continue;
    if (ShortcutOf(button->GetLabel()) != wxToupper(key)) continue;
    PressButton(button);
    return true;
  }
  return false;
}

void SetupDialog::CreateDialog(wxWindow* parent, const std::string& caption, int width, int height, long style) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(parent, wxID_ANY, gui::FromAnsi(caption.c_str()), wxDefaultPosition, wxDefaultSize, style);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(width, height)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
}

void SetupDialog::Finish(int result) {
  if (IsModal()) {
    EndModal(result);
  } else {
    SetReturnCode(result);
    Hide();
  }
}

void SetupDialog::PaintFace(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

}  // namespace ombrix::setup
