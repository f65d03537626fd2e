// The editor's dialogs: the toolkit's file, folder and colour dialogs, and the editor's own
// message window (template 143) for every message, its own and those of the modules loaded into
// its process (the image-filter module, the picture import and the plug-ins).
#pragma once

#include "gui/native_dialogs.h"

namespace ombrix::editor {

inline constexpr int kMessageTemplate = 143;

class EditorDialogs : public gui::NativeDialogs {
 public:
  EditorDialogs();
};

}  // namespace ombrix::editor
