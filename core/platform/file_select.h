// The platform's open and save windows for modules that have no windows of their own. As with
// message boxes (message_box.h), a GUI program exports the handler below from its executable
// (link with -rdynamic) and every module loaded into that process finds it; without one (no
// GUI, no display) every request counts as cancelled. The request is a plain C record because
// it crosses from a module into the executable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" {

// Option bits of a request.
enum : int32_t {
  kFileSelectSave = 0x01,           // a save window instead of an open window
  kFileSelectPathMustExist = 0x02,  // the folder of the typed name must exist
  kFileSelectFileMustExist = 0x04,  // the chosen file must exist
  kFileSelectAskOverwrite = 0x08,   // ask before an existing file is chosen for saving
  kFileSelectHideReadOnly = 0x10,   // no "open read-only" box
  kFileSelectKeepDirectory = 0x20,  // the process's current directory stays as it was
  kFileSelectNotifyChanges = 0x40,  // report each change of the selection (below)
};

struct OmbrixFileSelectRequest {
  int32_t options;        // kFileSelect... bits
  int32_t filter_index;   // the initial pair of filter, counted from 1
  const char* title;      // null or empty: the window's usual title
  const char* directory;  // initial folder; null or empty: the current one
  // Description and pattern pairs ("Bitmaps (*.bmp)", "*.bmp;*.dib", ...), each text ended by a
  // NUL and the list by a second NUL. Null: every file.
  const char* filter;
  const char* initial_name;  // null or empty: none
  const char* module;        // the module that asked (its resources may dress the window); may be null
  // With kFileSelectNotifyChanges: each time the selection changes, the handler copies the
  // selected file name into notify_buffer (cut to notify_buffer_size bytes, NUL included) and
  // sends the message number notify_message, with the buffer, to the parent of the window that
  // owns the dialog (the process's active window).
  int32_t notify_message;
  int32_t notify_buffer_size;
  char* notify_buffer;
};

static_assert(offsetof(OmbrixFileSelectRequest, title) == 8, "the handler's record layout is fixed");
static_assert(offsetof(OmbrixFileSelectRequest, module) == 40, "the handler's record layout is fixed");
static_assert(offsetof(OmbrixFileSelectRequest, notify_buffer) == 56, "the handler's record layout is fixed");
static_assert(sizeof(OmbrixFileSelectRequest) == 64, "the handler's record layout is fixed");

// The handler a GUI program exports, with C linkage:
//   extern "C" int32_t Ombrix_File_Select_Handler(const OmbrixFileSelectRequest* request,
//                                                 char* chosen, int32_t size, int32_t* error);
// It returns 1 with the chosen full path in chosen (size bytes), or 0 when the user cancelled
// (*error 0) or the window failed (*error the toolkit's error number, not 0).
typedef int32_t (*OmbrixFileSelectHandler)(const OmbrixFileSelectRequest* request, char* chosen, int32_t size,
                                           int32_t* error);

}  // extern "C"

namespace ombrix::platform {

inline constexpr const char* kFileSelectHandlerName = "Ombrix_File_Select_Handler";

enum class FileSelectOutcome { kChosen, kCancelled, kFailed };

struct FileSelectResult {
  FileSelectOutcome outcome = FileSelectOutcome::kCancelled;
  std::string path;  // the full path, when chosen
  long error = 0;    // the window's error number, when failed
};

// Shows the window through the process's handler; cancelled when there is none.
FileSelectResult SelectFile(const OmbrixFileSelectRequest& request);

}  // namespace ombrix::platform
