// The toolkit's standard dialogs behind the Dialogs interface. A program hands in the window its
// messages appear in; without one they appear in the toolkit's message box.
#pragma once

#include <wx/string.h>

#include <functional>

#include "gui/dialogs.h"

namespace ombrix::gui {

class NativeDialogs : public Dialogs {
 public:
  using MessagePresenter = std::function<int(const MessageRequest&)>;
  explicit NativeDialogs(MessagePresenter presenter = {}) : presenter_(std::move(presenter)) {}

  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFolder(const FolderDialogRequest& request) override;
  std::optional<Colour> ChooseColour(Colour start, CustomColours& custom) override;
  int ShowMessage(const MessageRequest& request) override;

 private:
  MessagePresenter presenter_;
};

// The toolkit's wildcard for a filter written as "Description|patterns|...||": the same pairs
// without the closing bars.
wxString ToolkitWildcard(const std::string& filter);
// The chosen name with ".extension" added when its file name has no extension of its own.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace ombrix::gui
