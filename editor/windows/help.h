// Opening a help book at a topic. A help book is an HTML help project (.hhp, or a .zip holding
// one) whose [MAP] section numbers its topics; the main help file and each filter's help file
// name one.
#pragma once

#include <string>

namespace ombrix::editor {

// Shows the book at path at the topic number. A path that names no file shows
// "Cannot find "<path>"." (caption "Ombrix - Error") and gives false.
bool OpenHelpTopic(const std::string& path, int topic);

}  // namespace ombrix::editor
