// The file chooser the picture-open dialog uses in the editor: the process's dialogs, opening at
// the dialog's folder, or at a file name given as a start.
#pragma once

#include <string>

#include "core/import/picture_import.h"

namespace ombrix::editor {

// initial_name empty: the dialog opens in the folder it is given. Otherwise at that file: an
// absolute name as it is, another one joined to the folder.
FileOpenChooser PictureChooser(std::string initial_name = {});

}  // namespace ombrix::editor
