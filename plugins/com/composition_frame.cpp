// The composition filters' common frame: second picture slots, loading with its fallback, the
// messages and the scale factors.
#include "plugins/com/composition_frame.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/kit/picture_file.h"

namespace ombrix::com {
namespace {

std::unique_ptr<Picture>& Slot(PictureSlot slot) {
  // Module-wide like the catalogue; released when the module is unloaded.
  static std::unique_ptr<Picture> slots[4];
  return slots[static_cast<int>(slot)];
}

// The "Picture Name" value text of the filter entry, read as text (not through the value array).
std::string FileNameOf(const ApplyContext& context) {
  const FilterDescriptor* d = context.descriptor;
  if (d == nullptr || d->parameters == nullptr || d->parameter_count <= kPictureName) return {};
  const char* value = d->parameters[kPictureName].value;
  return std::string(value, strnlen(value, sizeof d->parameters[kPictureName].value));
}

std::unique_ptr<Picture> LoadSecondPicture(const std::string& path) {
  std::unique_ptr<Picture> picture = kit::LoadPicture(path.c_str());
  if (picture == nullptr || picture->IsEmpty() || picture->Width() < 1 || picture->Height() < 1) return nullptr;
  return picture;
}

}  // namespace

int32_t RunWithSecondPicture(const ApplyContext& context, PictureSlot slot, const SecondPictureWalk& walk) {
  const std::string path = FileNameOf(context);
  const std::string message = "Loading \"" + std::string(kit::FileNamePart(path.c_str())) + "\"...";
  kit::SetInfoText(message.c_str());

  std::unique_ptr<Picture>& held = Slot(slot);
  held.reset();
  held = LoadSecondPicture(path);
  if (held != nullptr) {
    kit::ShowProgress(1);
  } else {
    held = CopyOfWorkZone(context);
    if (held == nullptr) return 0;
  }

  const int32_t host_width = kit::PictureWidth();
  const int32_t host_height = kit::PictureHeight();
  const SecondPicture second{*held, host_width > 0 ? float(held->Width()) / float(host_width) : 0.0f,
                             host_height > 0 ? float(held->Height()) / float(host_height) : 0.0f};
  kit::SetInfoText("");
  const int32_t result = walk(second);
  if (result != 0) held.reset();
  return result;
}

std::unique_ptr<Picture> CopyOfWorkZone(const ApplyContext& context) {
  const Picture* work = kit::WorkPicture();
  if (work == nullptr || work->IsEmpty() || work->Width() < 1 || work->Height() < 1) return nullptr;
  const int32_t last_x = work->Width() - 1;
  const int32_t last_y = work->Height() - 1;
  const int32_t x0 = std::clamp(std::min(context.x0, context.x1), 0, last_x);
  const int32_t x1 = std::clamp(std::max(context.x0, context.x1), 0, last_x);
  const int32_t y0 = std::clamp(std::min(context.y0, context.y1), 0, last_y);
  const int32_t y1 = std::clamp(std::max(context.y0, context.y1), 0, last_y);
  const int32_t width = x1 - x0 + 1;
  const int32_t height = y1 - y0 + 1;

  auto copy = std::make_unique<Picture>();
  if (copy->Create(width, height) == 0) return nullptr;
  for (int32_t y = 0; y < height; ++y) std::memcpy(copy->Row(y), work->Row(y0 + y) + 3 * size_t(x0), 3 * size_t(width));
  if (const uint8_t* plane = work->ExtraPlane()) {
    if (copy->AllocExtraPlane() == 0) return nullptr;
    for (int32_t y = 0; y < height; ++y)
      std::memcpy(copy->ExtraPlane() + size_t(y) * size_t(width),
                  plane + size_t(y0 + y) * size_t(work->Width()) + size_t(x0), size_t(width));
  }
  return copy;
}

Addressing AddressingOf(const ApplyContext& context) {
  switch (kit::FirstSetOption(context, {kNormal, kStretch, kRepeat})) {
    case kStretch:
      return Addressing::kStretch;
    case kRepeat:
      return Addressing::kRepeat;
    default:
      return Addressing::kNormal;
  }
}

}  // namespace ombrix::com
