// The one way windows and the logic behind them ask the user through a standard dialog: choose
// a file to open or save, a folder or a colour, or read a message and answer it. Programs
// install the native dialogs (native_dialogs.h); tests install scripted answers
// (scripted_dialogs.h), so no test ever drives a native dialog. The interface itself needs no
// toolkit, so logic that has no windows of its own can take a Dialogs& and be tested without a
// display.
//
// Texts are Windows-1252 bytes, as everywhere in the system; the native dialogs convert them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "gui/colour_rules.h"

namespace ombrix::gui {

struct FileDialogRequest {
  enum class Mode { kOpen, kSave };
  Mode mode = Mode::kOpen;
  std::string title;
  // Pairs of description and patterns separated by bars, as "Picture|*.bmp;*.tga|All Files|*.*||".
  std::string filter;
  // Added to a chosen name that has no extension of its own (without the dot: "OMS").
  std::string default_extension;
  // Where the dialog opens: a folder, or a folder joined with the initial file name.
  std::string start_path;
  // Open: the chosen file and its folder must exist. Save: ask before replacing a file.
  bool must_exist = true;
  bool confirm_overwrite = true;
};

struct FolderDialogRequest {
  std::string title;
  std::string start_folder;
};

// The 16 custom colours of the colour dialog's full form; the caller keeps them between
// dialogs, and a dialog may change them.
using CustomColours = std::array<Colour, 16>;

struct MessageRequest {
  std::string text;
  std::string caption;
  bool question = false;  // "Yes" and "No"; otherwise one button
  // Windows that name their own buttons (the setup's message window): the captions of its first,
  // second and third button, "" for a button not shown. The first and second answer 1, the third
  // 0. A question names its answers in the first and third; one button goes in the second.
  // Empty: the window's usual buttons.
  std::vector<std::string> buttons = {};
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> ChooseFolder(const FolderDialogRequest& request) = 0;
  // The colour dialog in its full form, starting at `start`.
  virtual std::optional<Colour> ChooseColour(Colour start, CustomColours& custom) = 0;
  // 1 for "Yes" or the single button, 0 for "No" or closing the window.
  virtual int ShowMessage(const MessageRequest& request) = 0;
};

// The dialogs installed last. Before any is installed (and after InstallDialogs(nullptr)):
// headless answers, where every choice is cancelled, a message is printed to standard error as
// "caption: text" and a question is answered "No".
Dialogs& CurrentDialogs();
// Installs the process's dialogs; the caller keeps them alive while installed.
void InstallDialogs(Dialogs* dialogs);

// Shorthands for the two message modes.
inline int Inform(const std::string& text, const std::string& caption) {
  return CurrentDialogs().ShowMessage({text, caption, false});
}
inline bool Ask(const std::string& text, const std::string& caption) {
  return CurrentDialogs().ShowMessage({text, caption, true}) == 1;
}

}  // namespace ombrix::gui
