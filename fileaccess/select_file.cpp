// bWF_SelectFile: the calling program's open or save window, through the platform's hook.
#include "fileaccess/select_file.h"

#include <cstring>

#include "core/platform/console.h"
#include "core/platform/environment.h"
#include "core/platform/file_select.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/text/ascii.h"
#include "fileaccess/module.h"

namespace ombrix::fileaccess {

std::string FilterPairs(const std::string& text) {
  std::string pairs = text;
  for (char& c : pairs)
    if (c == '\n') c = '\0';
  if (pairs.empty() || pairs.back() != '\0') pairs += '\0';
  pairs += '\0';
  return pairs;
}

int32_t InitialFilterIndex(const std::string& text, const std::string& extension) {
  const std::string wanted = "." + extension;
  size_t start = 0;
  int32_t index = 0;
  for (bool pattern_line = false; start <= text.size(); pattern_line = !pattern_line) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (pattern_line) {
      ++index;
      const std::string patterns = text.substr(start, end - start);
      for (size_t at = 0; at + wanted.size() <= patterns.size(); ++at) {
        const size_t after = at + wanted.size();
        if (text::EqualsIgnoringCase(std::string_view(patterns).substr(at, wanted.size()), wanted) &&
            (after == patterns.size() || patterns[after] == ';'))
          return index;
      }
    }
    if (end == text.size()) break;
    start = end + 1;
  }
  return 1;
}

std::string InitialName(const std::string& name) {
  const char* last = platform::FileNamePart(name.c_str());
  if (last == name.c_str()) return name;
  const std::string folder = platform::DirectoryPart(name);
  return platform::DirectoryExists(folder.c_str()) ? name : std::string(last);
}

int32_t WindowOptions(uint32_t flags) {
  int32_t options = kFileSelectHideReadOnly | kFileSelectKeepDirectory;
  if ((flags & 0x02) == 0) {
    options |= kFileSelectPathMustExist;
    if ((flags & 0x04) != 0) options |= kFileSelectAskOverwrite;
  } else if ((flags & 0x04) != 0) {
    options |= kFileSelectFileMustExist;
  }
  if ((flags & 0x08) != 0) options |= kFileSelectNotifyChanges;
  if ((flags & 0x01) != 0) options |= kFileSelectSave;
  return options;
}

SelectedFile SplitSelection(const std::string& path) {
  SelectedFile file;
  file.path = path;
  file.directory = platform::DirectoryPart(path);
  const std::string base = platform::FileNamePart(path.c_str());
  // A name that only begins with a dot ("/home/me/.profile") has no extension.
  const size_t dot = base.rfind('.');
  if (dot == std::string::npos || dot == 0) {
    file.name = base;
  } else {
    file.name = base.substr(0, dot);
    file.extension = base.substr(dot + 1);
  }
  return file;
}

std::string FullPathOutput(const SelectedFile& file, uint32_t flags) {
  std::string output = file.path;
  if ((flags & 0x10) != 0) output = file.name;
  if ((flags & 0x20) != 0) output = file.name + "." + file.extension;
  return output;
}

}  // namespace ombrix::fileaccess

using namespace ombrix;
using namespace ombrix::fileaccess;

namespace {

// A text buffer of the caller, read no further than its size.
std::string BufferText(const char* buffer) {
  return buffer != nullptr ? std::string(buffer, strnlen(buffer, PELCOR_MAX_PATH - 1)) : std::string();
}

void Store(char* buffer, const std::string& text) {
  if (buffer != nullptr) std::memcpy(buffer, text.c_str(), text.size() + 1);
}

// The original appended this line to a fixed file at the root of a drive, which every user of
// the machine could write or replace; it goes to the user's own state folder instead.
void LogWindowError(long error) {
  const std::string folder = platform::JoinPath(platform::UserStateDirectory(), "zorvex");
  platform::MakeDirectories(folder.c_str());
  const std::string line = "Erreur s\xE9lecteur de fichier " + std::to_string(error) + "\n";
  platform::AppendToFile(platform::JoinPath(folder, "resfile.err").c_str(), line);
  platform::SoundBeep();
}

}  // namespace

extern "C" {

PELCOR_API PelcorBool bWF_SelectFile(const char* module, char* directory, const char* filter, char* name,
                                     const char* title, char* extension, uint32_t flags, char* path) {
  auto empty_outputs = [&] {
    for (char* output : {directory, name, extension, path})
      if (output != nullptr) output[0] = '\0';
  };
  const PelcorBool chosen = Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    const std::string filter_text = filter != nullptr ? filter : "";
    const std::string pairs = FilterPairs(filter_text);
    const std::string initial_folder = BufferText(directory);
    const std::string initial_name = InitialName(BufferText(name));
    OmbrixFileSelectRequest request{};
    request.options = WindowOptions(flags);
    request.filter_index = InitialFilterIndex(filter_text, BufferText(extension));
    request.title = title;
    request.directory = initial_folder.c_str();
    request.filter = filter_text.empty() ? nullptr : pairs.c_str();
    request.initial_name = initial_name.c_str();
    request.module = module;
    if ((flags & PELCOR_SELECT_NOTIFY) != 0) {
      request.notify_message = PELCOR_SELECTION_MESSAGE;
      request.notify_buffer = State().selection_buffer;
      request.notify_buffer_size = int32_t(sizeof State().selection_buffer);
    }
    const platform::FileSelectResult result = platform::SelectFile(request);
    if (result.outcome == platform::FileSelectOutcome::kFailed) {
      LogWindowError(result.error);
      return Fail(uint32_t(result.error));
    }
    if (result.outcome == platform::FileSelectOutcome::kCancelled) return Fail(PELCOR_ERROR_NONE);
    const SelectedFile file = SplitSelection(result.path);
    const std::string full = FullPathOutput(file, flags);
    // A result that does not fit the caller's buffers is refused whole rather than cut.
    for (const std::string* text : {&full, &file.directory, &file.name, &file.extension})
      if (text->size() >= PELCOR_MAX_PATH) return Fail(PELCOR_ERROR_FILENAME_TOO_LONG);
    Store(path, full);
    Store(directory, file.directory);
    Store(name, file.name);
    Store(extension, file.extension);
    return Succeed();
  });
  // On cancel and on every error the outputs are empty, not the caller's texts of before.
  if (!chosen) empty_outputs();
  return chosen;
}

}  // extern "C"
