// The test picture in the clipboard store.
#include "editor/model/test_picture.h"

#include "core/platform/clipboard.h"

namespace ombrix::editor {

std::unique_ptr<Picture> TakeClipboardTestPicture() {
  if (!platform::Clipboard::HasFormat(platform::kClipboardTemporaryPicture)) return nullptr;
  platform::Clipboard clipboard;
  if (!clipboard.Open()) return nullptr;
  const auto data = clipboard.Get(platform::kClipboardTemporaryPicture);
  clipboard.Close();
  if (!data) return nullptr;
  auto picture = std::make_unique<Picture>();
  if (!picture->LoadDib(data->data(), data->size())) return nullptr;
  picture->SetSourceText(kClipboardPictureSource);
  picture->SetTypeText(kClipboardPictureType);
  return picture;
}

bool KeepTestPictureOnClipboard(const Picture& picture) {
  if (picture.IsEmpty()) return false;
  platform::Clipboard clipboard;
  if (!clipboard.Open()) return false;
  return clipboard.Set(platform::kClipboardTemporaryPicture, picture.Dib(), picture.DibBytes());
}

void ForgetClipboardTestPicture() {
  platform::Clipboard clipboard;
  if (clipboard.Open()) clipboard.Remove(platform::kClipboardTemporaryPicture);
}

}  // namespace ombrix::editor
