// The uninstaller's window (template 102): the program icon, the action and object labels and a
// progress bar over the log's entries. It takes no input while the removal runs.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <string>

#include "gui/colour_set.h"
#include "setup/uninstaller.h"

class wxGauge;

namespace ombrix::gui {
class AniButton;
}

namespace ombrix::setup {

class UninstallWindow : public wxDialog {
 public:
  UninstallWindow();

  // Centres the window, shows it and lets it paint before returning.
  void Open();
  void SetRange(int count);
  // Moves the bar; with an action, sets both labels. Repaints before returning.
  void ShowStep(int position, const char* action, std::string_view object);

 private:
  void CreateControls();
  void RepaintNow();
  void OnPaint(wxPaintEvent& event);
  void OnClose(wxCloseEvent& event);

  gui::ColourSet colours_;
  bool painted_ = false;
  gui::AniButton* icon_ = nullptr;
  gui::AniButton* action_ = nullptr;
  gui::AniButton* object_ = nullptr;
  wxGauge* bar_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};

// The uninstaller's display with its window, which opens when the display is made and is
// destroyed with it. Errors go to a message box with the error icon.
class WindowDisplay : public UninstallerDisplay {
 public:
  using ErrorBox = std::function<void(wxWindow* owner, const std::string& caption, const std::string& text,
                                      const std::string& detail)>;
  // The toolkit's message dialog.
  static void NativeErrorBox(wxWindow* owner, const std::string& caption, const std::string& text,
                             const std::string& detail);

  explicit WindowDisplay(ErrorBox error_box = NativeErrorBox);
  ~WindowDisplay() override;

  void ShowError(const std::string& caption, const std::string& text, const std::string& detail) override;
  void Begin(const std::string& caption, int count) override;
  void BeforeRemoval(int position, const char* action, std::string_view object) override;

  UninstallWindow* Window() const { return window_; }

 private:
  ErrorBox error_box_;
  UninstallWindow* window_;
};

}  // namespace ombrix::setup
