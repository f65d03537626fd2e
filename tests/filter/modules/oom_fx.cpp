// A test filter module whose filters run out of memory: "Out Of Memory" allocates through an
// allocator that always refuses, inside the kit's entry; "Unguarded Throw" throws from the
// module's own export, as a module built without the kit would, so the exception reaches the
// host.
#include <cstring>
#include <new>
#include <vector>

#include "core/kit/plugin_kit.h"
#include "core/picture/picture.h"

namespace {

template <typename T>
struct RefusingAllocator {
  using value_type = T;
  RefusingAllocator() = default;
  template <typename U>
  explicit RefusingAllocator(const RefusingAllocator<U>&) {}
  T* allocate(size_t) { throw std::bad_alloc(); }
  void deallocate(T*, size_t) {}
  friend bool operator==(const RefusingAllocator&, const RefusingAllocator&) { return true; }
};

int32_t ApplyOutOfMemory(ApplyContext*) {
  Picture* work = ombrix::kit::CurrentHostBlock()->picture->WorkPicture();
  // A row buffer, as filters take them; the picture is painted first, so a result that slipped
  // through would show.
  for (int y = 0; y < work->Height(); ++y) std::memset(work->Row(y), 0x55, size_t(work->Width()) * 3);
  std::vector<uint8_t, RefusingAllocator<uint8_t>> row(size_t(work->Width()) * 3);
  return row.empty() ? 0 : 1;
}

int32_t ApplyNothing(ApplyContext*) { return 1; }

void Catalogue() {
  RegisterFilter("Out Of Memory", ApplyOutOfMemory, nullptr, 0);
  RegisterFilter("Unguarded Throw", ApplyNothing, nullptr, 0);
}

const int32_t kKinds[] = {1, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, Catalogue, 0};
const PluginInfo kInfo =
    ombrix::MakePluginInfo("Out Of Memory Module", &ombrix::kZorvexRights, kKinds, &kExtension, nullptr);

}  // namespace

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {
  return ombrix::kit::PluginEntry(&kInfo, type, a, out);
}

OMBRIX_EXPORT int32_t Ombrix_Filter_Plugin_Entry(int32_t command, int32_t zero, HostBlock* block) {
  if (command == kCommandApply && block != nullptr && block->call != nullptr) {
    const auto* call = static_cast<const CallRecord*>(block->call);
    if (call->descriptor != nullptr && std::strcmp(call->descriptor->name, "Unguarded Throw") == 0)
      throw std::bad_alloc();
  }
  return ombrix::kit::FilterEntry(&kInfo, command, zero, block);
}
