// The clipboard store: one private directory per user holding one file per clipboard format.
//
// Formats are names. The standard bitmap format is kClipboardDib ("CF_DIB", a packed DIB);
// registered formats use their registered name, such as "OmbrixTemporaryClipboard". Because the
// data lives in files, a converter process that has already exited can leave a bitmap for the
// program that started it.
//
// Where the store lives: the directory named by OMBRIX_CLIPBOARD_DIR when that is set, else
// $XDG_RUNTIME_DIR/zorvex-clipboard, else /tmp/zorvex-clipboard-<uid>. The directory is created
// with mode 0700 when missing; an existing one must be a real directory (not a symbolic link)
// owned by the current user, otherwise the store is refused and every operation fails. Group or
// other access on our own directory is taken away.
//
// Like the platform clipboard, the store is opened before use and closed afterwards; an open
// store holds an exclusive lock, so a reader never sees a format half emptied and refilled.
// Setting a format replaces its file atomically (temporary file, then rename).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ombrix::platform {

inline constexpr const char* kClipboardDib = "CF_DIB";
inline constexpr const char* kClipboardEnvironment = "OMBRIX_CLIPBOARD_DIR";
// The registered format in which the editor, started on an instance's script, leaves its test
// picture (a packed DIB) for the next start from the same instance.
inline constexpr const char* kClipboardTemporaryPicture = "OmbrixTemporaryClipboard";

// The store's directory, made and checked as described above; empty when it is refused or
// cannot be made. Private files of their own (names starting with '.') may be kept there by
// callers: emptying the clipboard leaves them alone.
std::string ClipboardDirectory();

// Creates a new empty file of our own in the store's directory, named "." + prefix +
// "-XXXXXX" with a unique ending, exclusively (it did not exist before) and readable by us
// alone. Returns its path, or empty on failure. Emptying the clipboard leaves it alone; the
// caller removes it.
std::string CreatePrivateFile(const char* prefix);

// A format name is usable when it is 1 to 255 characters long, does not start with '.', and
// holds no '/' or '\'.
bool IsValidClipboardFormat(const char* format);

class Clipboard {
 public:
  Clipboard() = default;
  ~Clipboard();  // closes the clipboard when it is still open
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;

  // Takes the store's lock; false when the store is refused or another holder keeps the lock
  // for longer than about half a second.
  bool Open();
  void Close();
  bool IsOpen() const { return lock_fd_ >= 0; }

  // Removes every format. Needs the clipboard open.
  bool Empty();
  // Replaces one format's data. Needs the clipboard open.
  bool Set(const char* format, const void* data, size_t size);
  // Removes one format; true when it is gone afterwards. Needs the clipboard open.
  bool Remove(const char* format);
  // The data of one format, or nothing when it is absent. Needs the clipboard open.
  std::optional<std::vector<uint8_t>> Get(const char* format) const;
  // Whether a format is present; works without opening, like its platform counterpart.
  static bool HasFormat(const char* format);

 private:
  std::string directory_;
  int lock_fd_ = -1;
};

}  // namespace ombrix::platform
