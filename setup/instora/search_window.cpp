// The search window.
#include "setup/instora/search_window.h"

#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "setup/renderer_folder.h"

namespace ombrix::setup {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr int kWidth = 220;
constexpr int kHeight = 44;
// How often the folder shown is repainted while the search runs.
constexpr std::chrono::milliseconds kRepaintInterval(30);

const ControlTemplate kTemplate[] = {
    {SearchWindow::kFolder, ControlRole::kLabel, "", 40, 8, 174, 28, gui::kAniAlignLeft | gui::kAniWrap},
};

}  // namespace

SearchWindow::SearchWindow(wxWindow* parent, const std::string& caption) {
  CreateDialog(parent, caption, kWidth, kHeight, wxCAPTION);
  face_.AddPanel(gui::DialogUnitsRect(this, 0, 0, kWidth, kHeight));
  gui::PlaceControls(this, kTemplate, colours_, face_, controls_);
  PlaceClip(this, kClip, 6, 8, 28, 28, SmallerClipPath(), colours_.background);
}

std::string SearchWindow::FindRenderer(const std::vector<std::string>& roots) {
  CentreOnScreen();
  Show();
  Update();
  gui::DispatchPendingEvents();
  const std::string found = FindRendererFolder(roots, [this](const std::string& folder) {
    ShowFolder(folder);
    return true;
  });
  Hide();
  return found;
}

void SearchWindow::ShowFolder(const std::string& folder) {
  gui::AniButton* label = controls_.Button(kFolder);
  label->wxControl::SetLabel(wxString::FromUTF8(folder.c_str()));
  const auto now = std::chrono::steady_clock::now();
  if (now - last_paint_ < kRepaintInterval) return;
  last_paint_ = now;
  label->Refresh();
  label->Update();
  gui::DispatchPendingEvents();
}

std::string SearchWindow::ShownFolder() const { return controls_.Button(kFolder)->GetLabel().ToStdString(wxConvUTF8); }

// clang-format off
wxBEGIN_EVENT_TABLE(SearchWindow, wxDialog)
  EVT_PAINT(SearchWindow::PaintFace)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
