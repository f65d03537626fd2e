// Reading and writing the uninstall log's bytes.
#include "setup/uninstall_log.h"

#include <cstring>

#include "core/platform/files.h"

namespace ombrix::setup {
namespace {

void PutInt32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutText(std::string& out, const std::string& text) {
  PutInt32(out, static_cast<uint32_t>(text.size()));
  out += text;
}

// A zero-filled field of `size` bytes holding text cut to size - 1 bytes and its terminator.
void PutField(std::string& out, std::string_view text, size_t size) {
  const size_t used = text.size() < size ? text.size() : size - 1;
  out.append(text.substr(0, used));
  out.append(size - used, '\0');
}

// Walks the bytes front to back; every read checks what is left first, so nothing is ever read
// or allocated beyond the end of the input.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  size_t Left() const { return bytes_.size() - pos_; }
  bool Int32(uint32_t& value) {
    if (Left() < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes_[pos_ + size_t(i)]);
    pos_ += 4;
    return true;
  }
  bool Bytes(size_t count, std::string_view& out) {
    if (Left() < count) return false;
    out = bytes_.substr(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

std::optional<UninstallLog> Refuse(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return std::nullopt;
}

// The zero-terminated text at the start of a fixed field, or nothing when the field holds no zero.
std::optional<std::string_view> FieldText(std::string_view field) {
  const size_t end = field.find('\0');
  if (end == std::string_view::npos) return std::nullopt;
  return field.substr(0, end);
}

// One counted text of an entry.
bool ReadText(Reader& reader, std::string& text, const char* which, size_t index, std::string* reason) {
  uint32_t length = 0;
  if (!reader.Int32(length)) {
    if (reason != nullptr)
      *reason = "entry " + std::to_string(index + 1) + " ends before the length of its text " + which;
    return false;
  }
  if (static_cast<int32_t>(length) < 0) {
    if (reason != nullptr)
      *reason = "entry " + std::to_string(index + 1) + " gives its text " + which + " a negative length";
    return false;
  }
  std::string_view bytes;
  if (!reader.Bytes(length, bytes)) {
    if (reason != nullptr)
      *reason = "entry " + std::to_string(index + 1) + " claims " + std::to_string(length) + " bytes of text " + which +
                " but the file holds only " + std::to_string(reader.Left());
    return false;
  }
  text.assign(bytes);
  return true;
}

}  // namespace

std::string SerializeUninstallLog(const UninstallLog& log) {
  std::string out;
  PutInt32(out, kLogHeaderLength);
  PutField(out, kLogMagic, kLogMagicBytes);
  PutInt32(out, kLogVersionBits);
  PutInt32(out, static_cast<uint32_t>(log.entries.size()));
  PutField(out, log.name, kLogNameBytes);
  for (const LogEntry& entry : log.entries) {
    PutInt32(out, static_cast<uint32_t>(entry.kind));
    PutText(out, entry.a);
    PutText(out, entry.b);
  }
  return out;
}

std::optional<UninstallLog> ParseUninstallLog(std::string_view bytes, std::string* reason) {
  Reader reader(bytes);
  uint32_t header_length = 0;
  if (!reader.Int32(header_length)) return Refuse(reason, "the file is too short to hold a header");
  if (static_cast<int32_t>(header_length) != kLogHeaderLength)
    return Refuse(reason, "the header length is " + std::to_string(static_cast<int32_t>(header_length)) +
                              " instead of " + std::to_string(kLogHeaderLength));
  std::string_view magic, name_field;
  uint32_t version = 0, count = 0;
  if (!reader.Bytes(kLogMagicBytes, magic) || !reader.Int32(version) || !reader.Int32(count) ||
      !reader.Bytes(kLogNameBytes, name_field))
    return Refuse(reason, "the file ends inside its header");
  const std::optional<std::string_view> magic_text = FieldText(magic);
  if (!magic_text || *magic_text != kLogMagic) return Refuse(reason, "the file is not an uninstall log (wrong magic)");
  // The version's bit pattern compares as a signed number: a higher version is a larger pattern.
  if (static_cast<int32_t>(version) > static_cast<int32_t>(kLogVersionBits))
    return Refuse(reason, "the log was written by a newer version of the setup program");
  const int32_t signed_count = static_cast<int32_t>(count);
  if (signed_count < 0) return Refuse(reason, "the entry count is negative");
  // Every entry takes at least its kind and two lengths: a count the rest of the file cannot
  // hold is refused before anything is reserved for it.
  if (size_t(signed_count) > reader.Left() / kLogEntryMinimumBytes)
    return Refuse(reason,
                  "the log claims " + std::to_string(signed_count) + " entries but the file is too short for them");
  const std::optional<std::string_view> name = FieldText(name_field);
  if (!name) return Refuse(reason, "the name in the header has no terminating zero");

  UninstallLog log;
  log.name.assign(*name);
  log.entries.reserve(size_t(signed_count));
  for (size_t i = 0; i < size_t(signed_count); ++i) {
    LogEntry entry;
    uint32_t kind = 0;
    if (!reader.Int32(kind)) return Refuse(reason, "entry " + std::to_string(i + 1) + " is cut off");
    entry.kind = static_cast<int32_t>(kind);
    if (!ReadText(reader, entry.a, "A", i, reason) || !ReadText(reader, entry.b, "B", i, reason)) return std::nullopt;
    log.entries.push_back(std::move(entry));
  }
  return log;
}

std::optional<UninstallLog> ReadUninstallLog(const std::string& path, std::string* reason) {
  bool complete = false;
  const std::optional<std::string> bytes = platform::ReadFilePrefix(path.c_str(), kMaxLogFileBytes, &complete);
  if (!bytes) return Refuse(reason, "the file cannot be read");
  if (!complete) return Refuse(reason, "the file is larger than any uninstall log");
  return ParseUninstallLog(*bytes, reason);
}

bool WriteUninstallLog(const std::string& path, const UninstallLog& log) {
  return platform::ReplaceFileAtomically(path.c_str(), SerializeUninstallLog(log));
}

std::string_view EntryText(const std::string& text) { return std::string_view(text.c_str()); }

}  // namespace ombrix::setup
