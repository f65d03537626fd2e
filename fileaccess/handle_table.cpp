// The handle table's two circular lists, each headed by a slot of its own.
#include "fileaccess/handle_table.h"

#include <utility>

#include "fileaccess/pelcor.h"

namespace ombrix::fileaccess {

HandleTable::HandleTable(uint16_t count) : slots_(size_t(count) + kFirstHandle) {
  for (uint16_t head : {kFreeHead, kUsedHead}) slots_[head].next = slots_[head].previous = head;
  for (size_t i = kFirstHandle; i < slots_.size(); ++i) LinkAfter(slots_[kFreeHead].previous, uint16_t(i));
}

void HandleTable::Unlink(uint16_t index) {
  Slot& slot = slots_[index];
  slots_[slot.previous].next = slot.next;
  slots_[slot.next].previous = slot.previous;
  slot.next = slot.previous = index;
}

void HandleTable::LinkAfter(uint16_t position, uint16_t index) {
  Slot& slot = slots_[index];
  slot.previous = position;
  slot.next = slots_[position].next;
  slots_[slot.next].previous = index;
  slots_[position].next = index;
}

uint16_t HandleTable::Add(OpenFile&& file) {
  const uint16_t index = slots_[kFreeHead].next;
  if (index == kFreeHead) return PELCOR_NO_HANDLE;
  Unlink(index);
  LinkAfter(kUsedHead, index);
  slots_[index].file = std::move(file);
  return index;
}

OpenFile* HandleTable::Find(uint16_t handle) {
  if (handle < kFirstHandle || handle >= slots_.size()) return nullptr;
  OpenFile& file = slots_[handle].file;
  return file.descriptor.fd == platform::kNoFile ? nullptr : &file;
}

OpenFile HandleTable::Remove(uint16_t handle) {
  OpenFile file = std::move(slots_[handle].file);
  slots_[handle].file = {};
  Unlink(handle);
  // A freed slot goes to the end of the free list, so a handle just closed is the last to be
  // given out again and a caller's stale copy of it stays harmless as long as possible.
  LinkAfter(slots_[kFreeHead].previous, handle);
  return file;
}

std::vector<OpenFile> HandleTable::RemoveAll() {
  std::vector<OpenFile> files;
  while (slots_[kUsedHead].next != kUsedHead) files.push_back(Remove(slots_[kUsedHead].next));
  return files;
}

std::vector<uint16_t> HandleTable::FreeHandles() const {
  std::vector<uint16_t> handles;
  for (uint16_t i = slots_[kFreeHead].next; i != kFreeHead; i = slots_[i].next) handles.push_back(i);
  return handles;
}

}  // namespace ombrix::fileaccess
