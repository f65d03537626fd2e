// Loading picture files: the built-in Targa reader first, every other format through the
// outside converter and the clipboard store; the messages shown on failure; and the
// picture-open dialog's choice of files.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/import/converter.h"
#include "core/picture/picture.h"

namespace ombrix {

inline constexpr const char* kTargaFormatName = "Truevision Targa Format (TGA)";

// A new picture read from the file, or null. A Targa file the built-in reader takes gets the
// type text "Truevision Targa Format (TGA)"; any other file is converted to the clipboard, read
// from its bitmap, and gets the format name of its picture report. The source text is the path.
std::unique_ptr<Picture> LoadPictureFile(const char* path, const Pump& pump = {});

// Only the pixels: the Targa reader, else the converter's bitmap, without asking for a report
// and without type or source text (mask pictures).
std::unique_ptr<Picture> LoadPicturePixels(const char* path, const Pump& pump = {});

// As LoadPictureFile, telling the user why a file cannot be loaded (caption "Ombrix - Error"):
//   "Cannot open file "<path>".\nNo such a file or directory."  when the file does not exist;
//   "Cannot open file"<path>".\nUnknown format or file header"  when it cannot be read.
// An empty path gives null without a message.
std::unique_ptr<Picture> LoadPictureWithMessages(const char* path, const Pump& pump = {});

// The picture-open dialog's filter list: description|patterns| pairs, joined once and kept.
const char* PictureOpenFilter();

// Whether the picture-open dialog accepts a chosen file without loading it: the built-in Targa
// reader accepts its header, or else the converter exists, the file exists and its picture
// report names a known format.
bool IsAcceptablePictureFile(const char* path, const Pump& pump = {});

// What the picture-open dialog asks of the program's file chooser.
struct FileOpenRequest {
  std::string title;              // "Load Image File"
  std::string filter;             // PictureOpenFilter()
  std::string initial_directory;  // the folder value "PictureOpenDir"
};
// Shows the file chooser; the chosen path, or nothing when the user cancelled.
using FileOpenChooser = std::function<std::optional<std::string>(const FileOpenRequest&)>;

// The picture-open dialog. The chooser opens on the folder value "PictureOpenDir" (default: the
// content directory). Mode 1 stores the chosen file's folder in "PictureOpenDir" and returns the
// picture loaded with messages. Mode 0 returns null and copies the chosen path to out_path when
// IsAcceptablePictureFile accepts it, without changing the folder value. Cancelled: null, and
// out_path untouched.
std::unique_ptr<Picture> OpenPictureDialog(int mode, std::string* out_path, const FileOpenChooser& choose,
                                           const Pump& pump = {});

}  // namespace ombrix
