// The table of open files behind the 16-bit handles: count + 2 slots, of which 0 and 1 head the
// doubly linked lists of free and used slots and 2 .. count + 1 are the handles given out.
#pragma once

#include <cstdint>
#include <vector>

#include "core/platform/file_handles.h"

namespace ombrix::fileaccess {

struct ByteRange {
  uint64_t offset = 0;
  uint64_t length = 0;
};

struct OpenFile {
  platform::OpenedFile descriptor;  // fd kNoFile while the slot is free
  bool may_read = false;            // the access the caller asked for
  bool may_write = false;
  std::vector<ByteRange> locks;  // ranges locked through this handle
};

class HandleTable {
 public:
  static constexpr uint16_t kFirstHandle = 2;
  // Handles are 16-bit and 0xFFFF means "no handle", so the last slot is 0xFFFE.
  static constexpr int32_t kMaxCount = 0xFFFF - kFirstHandle;

  // count handles, all free; count must lie in 0 .. kMaxCount.
  explicit HandleTable(uint16_t count);

  bool HasFreeSlot() const { return slots_[kFreeHead].next != kFreeHead; }
  // Stores the file in the slot at the head of the free list and returns its handle, or
  // PELCOR_NO_HANDLE (leaving the file to the caller) when no slot is free.
  uint16_t Add(OpenFile&& file);
  // The open file of a handle; null for a handle outside 2 .. count + 1 or a free one.
  OpenFile* Find(uint16_t handle);
  // Takes the file out of a handle that Find accepts and frees the slot.
  OpenFile Remove(uint16_t handle);
  // Takes out every open file, in the order of the used list.
  std::vector<OpenFile> RemoveAll();

  // The handles of the free list from its head, for checks of the list order.
  std::vector<uint16_t> FreeHandles() const;

 private:
  static constexpr uint16_t kFreeHead = 0;
  static constexpr uint16_t kUsedHead = 1;
  struct Slot {
    uint16_t next = 0;
    uint16_t previous = 0;
    OpenFile file;
  };
  void Unlink(uint16_t index);
  void LinkAfter(uint16_t position, uint16_t index);

  std::vector<Slot> slots_;
};

}  // namespace ombrix::fileaccess
