// Platform message boxes for modules that have no windows of their own (the image-filter
// module, the picture import). A GUI program installs its own handler by exporting the function
// `Ombrix_Message_Box_Handler` from its executable (link with -rdynamic); every module loaded
// into that process then finds it. Without one, messages go to standard error as
// "caption: text" and questions are answered "No".
#pragma once

#include <string>

namespace ombrix::platform {

enum MessageIcon { kIconError = 0, kIconWarning = 1, kIconInformation = 2, kIconQuestion = 3 };

// The handler a GUI program exports, with C linkage:
//   extern "C" int Ombrix_Message_Box_Handler(const char* text, const char* caption, int icon, int question);
// It returns 1 for OK or Yes and 0 for No or Cancel.
using MessageBoxHandler = int (*)(const char* text, const char* caption, int icon, int question);

// Shows a message; returns 1 (OK).
int ShowMessageBox(const char* text, const char* caption, MessageIcon icon);
// Asks a yes/no question; returns 1 for Yes, 0 for No.
int AskQuestion(const char* text, const char* caption);

// The file-open dialog a GUI program exports, with C linkage:
//   extern "C" int Ombrix_File_Dialog_Handler(const char* title, const char* filter,
//                                             const char* proposed, char* chosen, int size);
// It returns 1 with the chosen path in `chosen`, 0 when the user cancelled.
using FileDialogHandler = int (*)(const char* title, const char* filter, const char* proposed, char* chosen, int size);

// Lets the user choose an existing file. Without a GUI handler the dialog counts as cancelled.
bool ChooseFileToOpen(const char* title, const char* filter, const char* proposed, std::string& chosen);

}  // namespace ombrix::platform
