// Picture files into pictures: the Targa reader, the converter's clipboard bitmap and messages.
#include "core/import/picture_import.h"

#include <exception>

#include "core/import/targa.h"
#include "core/platform/clipboard.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"
#include "core/settings/settings.h"

namespace ombrix {
namespace {

constexpr const char* kErrorCaption = "Ombrix - Error";

std::unique_ptr<Picture> LoadThroughConverter(const char* path, const Pump& pump, bool ask_report) {
  // Without a conversion there is nothing of this file on the clipboard: a bitmap found there
  // would belong to another picture.
  if (!ConvertToClipboard(path, pump)) return nullptr;
  std::optional<std::vector<uint8_t>> dib;
  {
    platform::Clipboard clipboard;
    if (!clipboard.Open()) return nullptr;
    dib = clipboard.Get(platform::kClipboardDib);
  }
  if (!dib) return nullptr;
  auto picture = std::make_unique<Picture>();
  if (!picture->LoadDib(dib->data(), dib->size())) return nullptr;
  if (!ask_report) return picture;
  PictureReport report;
  GetPictureReport(path, &report, pump);
  picture->SetTypeText(report.format_name.c_str());
  return picture;
}

}  // namespace

std::unique_ptr<Picture> LoadPictureFile(const char* path, const Pump& pump) {
  if (path == nullptr) return nullptr;
  try {
    auto picture = std::make_unique<Picture>();
    if (ReadTargaFile(path, picture.get())) {
      picture->SetTypeText(kTargaFormatName);
    } else {
      picture = LoadThroughConverter(path, pump, true);
      if (picture == nullptr) return nullptr;
    }
    picture->SetSourceText(path);
    return picture;
  } catch (const std::exception&) {
    // Out of memory for a very large clipboard bitmap: the load fails like any other.
    return nullptr;
  }
}

std::unique_ptr<Picture> LoadPicturePixels(const char* path, const Pump& pump) {
  if (path == nullptr) return nullptr;
  try {
    auto picture = std::make_unique<Picture>();
    if (ReadTargaFile(path, picture.get())) return picture;
    return LoadThroughConverter(path, pump, false);
  } catch (const std::exception&) {
    return nullptr;
  }
}

std::unique_ptr<Picture> LoadPictureWithMessages(const char* path, const Pump& pump) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  if (!platform::FileExists(path)) {
    const std::string text = "Cannot open file \"" + std::string(path) + "\".\nNo such a file or directory.";
    platform::ShowMessageBox(text.c_str(), kErrorCaption, platform::kIconError);
    return nullptr;
  }
  std::unique_ptr<Picture> picture = LoadPictureFile(path, pump);
  if (picture == nullptr) {
    const std::string text = "Cannot open file\"" + std::string(path) + "\".\nUnknown format or file header";
    platform::ShowMessageBox(text.c_str(), kErrorCaption, platform::kIconError);
  }
  return picture;
}

const char* PictureOpenFilter() {
  static const std::string kFilter = [] {
    static constexpr const char* kEntries[] = {
        "Picture|*.bmp;*.dib;*.gif;*.ico;*.icw;*.jpg;*.jpeg;*.os2;*.pcx;*.rle;*.tga;*.tif;*.tiff;*.wmf|",
        "All Files|*.*|",
        "BMP - Windows Bitmap|*.bmp|",
        "DIB - Device-independent bitmap|*.dib|",
        "GIF - CompuServe|*.gif|",
        "ICO - Windows Icon|*.ico|",
        "ICW - Windows Hyper Screen Icon|*.icw|",
        "JPG - JPEG - Join Photographic Expert Group|*.jpg;*.jpeg|",
        "OS2 - OS2 Bitmap|*.os2|",
        "PCX - Zsoft PaintBrush|*.pcx|",
        "RLE - Windows|*.rle;*.bmp|",
        "TGA - Truevision Targa|*.tga|",
        "TIF - TIFF - Tagged Image File Format|*.tif;*.tiff|",
        "WMF - Windows MetaFile|*.wmf|",
    };
    std::string joined;
    for (const char* entry : kEntries) joined += entry;
    return joined;
  }();
  return kFilter.c_str();
}

bool IsAcceptablePictureFile(const char* path, const Pump& pump) {
  if (path == nullptr) return false;
  if (IsAcceptedTargaFile(path)) return true;
  const std::string converter = ConverterPath();
  if (converter.empty() || !platform::FileExists(converter.c_str()) || !platform::FileExists(path)) return false;
  PictureReport report;
  return GetPictureReport(path, &report, pump);
}

std::unique_ptr<Picture> OpenPictureDialog(int mode, std::string* out_path, const FileOpenChooser& choose,
                                           const Pump& pump) {
  if (!choose) return nullptr;
  FileOpenRequest request;
  request.title = "Load Image File";
  request.filter = PictureOpenFilter();
  request.initial_directory =
      ReadSetting(nullptr, "PictureOpenDir", ReadSetting("Options", "ContentDirectory").c_str());
  const std::optional<std::string> chosen = choose(request);
  if (!chosen) return nullptr;
  if (mode == 1) {
    WriteSettingText(nullptr, "PictureOpenDir", platform::DirectoryPart(*chosen).c_str());
    return LoadPictureWithMessages(chosen->c_str(), pump);
  }
  if (IsAcceptablePictureFile(chosen->c_str(), pump) && out_path != nullptr) *out_path = *chosen;
  return nullptr;
}

}  // namespace ombrix
