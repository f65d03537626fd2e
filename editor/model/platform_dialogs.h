// The platform's message boxes and file-open dialogs that modules without windows of their own
// ask for (the image-filter module, the picture import, the plug-ins loaded into the editor)
// go through the process's current dialogs (gui/dialogs.h) once this was called. The program
// exports the two handlers the platform layer looks up (Ombrix_Message_Box_Handler and
// Ombrix_File_Dialog_Handler), so it must be linked with its dynamic symbols exported.
#pragma once

namespace ombrix::editor {

void RoutePlatformDialogs();
bool PlatformDialogsRouted();

}  // namespace ombrix::editor
