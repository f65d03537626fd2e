// SZDD compression and expansion, and the expansion of medium files.
#include "core/platform/szdd.h"

#include <sys/stat.h>

#include <array>
#include <cstring>
#include <vector>

#include "core/platform/file_modes.h"
#include "core/platform/files.h"

namespace ombrix::platform {
namespace {

constexpr size_t kWindowBytes = 4096;
constexpr size_t kWindowMask = kWindowBytes - 1;
// Where the first expanded byte goes in the window.
constexpr size_t kFirstPosition = kWindowBytes - 16;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 18;
// Candidates the compressor tries per position: enough for the medium's files, and bounded so
// that long runs of one byte do not make compression quadratic.
constexpr int kMaxCandidates = 128;
// Medium files are read whole; nothing larger is ever compressed or expanded.
constexpr size_t kMaxSourceBytes = size_t(1) << 30;

void PutLittleEndian32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t Hash3(const unsigned char* p) { return ((uint32_t(p[0]) << 10) ^ (uint32_t(p[1]) << 5) ^ p[2]) & 0x7FFF; }

// The compressor's view of the window: a match may start at an earlier input position whose
// window slot has not been overwritten since, or in the blanks the window starts with.
struct Match {
  size_t length = 0;
  size_t position = 0;  // window position
};

class Compressor {
 public:
  explicit Compressor(std::string_view data)
      : data_(reinterpret_cast<const unsigned char*>(data.data())),
        size_(data.size()),
        head_(0x8000, -1),
        previous_(kWindowBytes, -1) {}

  std::string Run() {
    std::string out;
    out.reserve(size_ + size_ / 8 + 16);
    size_t i = 0;
    while (i < size_) {
      const size_t control_at = out.size();
      out += '\0';
      unsigned char control = 0;
      for (int bit = 0; bit < 8 && i < size_; ++bit) {
        const Match match = LongestMatch(i);
        if (match.length >= kMinMatch) {
          out += static_cast<char>(match.position & 0xFF);
          out += static_cast<char>(((match.position >> 4) & 0xF0) | (match.length - kMinMatch));
          for (size_t k = 0; k < match.length; ++k) Insert(i + k);
          i += match.length;
        } else {
          control |= static_cast<unsigned char>(1u << bit);
          out += static_cast<char>(data_[i]);
          Insert(i);
          ++i;
        }
      }
      out[control_at] = static_cast<char>(control);
    }
    return out;
  }

 private:
  static size_t SlotOf(size_t index) { return (kFirstPosition + index) & kWindowMask; }

  void Insert(size_t index) {
    if (index + kMinMatch > size_) return;
    const uint32_t hash = Hash3(data_ + index);
    previous_[index & kWindowMask] = head_[hash];
    head_[hash] = static_cast<int64_t>(index);
  }

  size_t MatchLength(size_t from, size_t at) const {
    // An earlier position may overlap the bytes being written: the expander copies byte by
    // byte, so the copy repeats what it has just written, which is what data_ holds too.
    size_t length = 0;
    const size_t limit = std::min(kMaxMatch, size_ - at);
    while (length < limit && data_[from + length] == data_[at + length]) ++length;
    return length;
  }

  Match LongestMatch(size_t at) const {
    Match best;
    if (size_ - at >= kMinMatch) {
      int candidates = kMaxCandidates;
      for (int64_t from = head_[Hash3(data_ + at)]; from >= 0 && candidates-- > 0;
           from = previous_[static_cast<size_t>(from) & kWindowMask]) {
        // A distance of a whole window would read the slot it is about to write.
        if (at - static_cast<size_t>(from) >= kWindowBytes) break;
        const size_t length = MatchLength(static_cast<size_t>(from), at);
        if (length > best.length) {
          best = {length, SlotOf(static_cast<size_t>(from))};
          if (length == kMaxMatch) break;
        }
      }
    }
    // Blanks from the window's initial fill: slot s below kFirstPosition is first written by input
    // byte s + 16, so a run of blanks at input position `at` may be read from slot `at` onwards
    // while at + length stays below kFirstPosition.
    if (at + kMaxMatch <= kFirstPosition) {
      size_t blanks = 0;
      while (blanks < kMaxMatch && at + blanks < size_ && data_[at + blanks] == ' ') ++blanks;
      if (blanks > best.length) best = {blanks, at};
    }
    return best;
  }

  const unsigned char* data_;
  size_t size_;
  std::vector<int64_t> head_;  // by hash of three bytes: the latest position
  // The chain link of each of the last window's positions (older ones are out of reach).
  std::vector<int64_t> previous_;
};

}  // namespace

bool IsSzdd(std::string_view bytes) {
  return bytes.size() >= sizeof kSzddMagic && std::memcmp(bytes.data(), kSzddMagic, sizeof kSzddMagic) == 0;
}

std::string SzddCompress(std::string_view data, char missing_character) {
  std::string out(reinterpret_cast<const char*>(kSzddMagic), sizeof kSzddMagic);
  out += 'A';
  out += missing_character;
  PutLittleEndian32(out, static_cast<uint32_t>(data.size()));
  return out + Compressor(data).Run();
}

std::optional<std::string> SzddExpand(std::string_view bytes, std::string* reason) {
  auto refuse = [reason](const char* why) -> std::optional<std::string> {
    if (reason != nullptr) *reason = why;
    return std::nullopt;
  };
  if (bytes.size() < kSzddHeaderBytes || !IsSzdd(bytes)) return refuse("not an SZDD compressed file");
  if (bytes[8] != 'A') return refuse("unknown SZDD compression mode");
  uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= uint32_t(static_cast<unsigned char>(bytes[10 + i])) << (8 * i);
  if (length > kMaxSzddExpandedBytes) return refuse("the stated length is too large");

  std::array<unsigned char, kWindowBytes> window;
  window.fill(' ');
  size_t position = kFirstPosition;
  std::string out;
  // Each data byte expands to at most 18 bytes: the stated length cannot make us reserve more.
  out.reserve(std::min<size_t>(length, (bytes.size() - kSzddHeaderBytes) * kMaxMatch));
  auto emit = [&](unsigned char c) {
    out += static_cast<char>(c);
    window[position] = c;
    position = (position + 1) & kWindowMask;
  };

  size_t i = kSzddHeaderBytes;
  while (out.size() < length) {
    if (i >= bytes.size()) return refuse("the compressed data is truncated");
    const auto control = static_cast<unsigned char>(bytes[i++]);
    for (int bit = 0; bit < 8 && out.size() < length; ++bit) {
      if (control & (1u << bit)) {
        if (i >= bytes.size()) return refuse("the compressed data is truncated");
        emit(static_cast<unsigned char>(bytes[i++]));
        continue;
      }
      if (i + 1 >= bytes.size()) return refuse("the compressed data is truncated");
      const auto low = static_cast<unsigned char>(bytes[i]);
      const auto high = static_cast<unsigned char>(bytes[i + 1]);
      i += 2;
      size_t from = low | (size_t(high & 0xF0) << 4);
      const size_t count = (high & 0x0F) + kMinMatch;
      if (out.size() + count > length) return refuse("the compressed data expands beyond its stated length");
      for (size_t k = 0; k < count; ++k) {
        emit(window[from]);
        from = (from + 1) & kWindowMask;
      }
    }
  }
  // What follows the last group that reached the length belongs to no byte of the file.
  if (i < bytes.size()) return refuse("the compressed data expands beyond its stated length");
  return out;
}

std::string CompressedFileName(std::string_view name) {
  std::string compressed(name);
  if (compressed.size() > 1) compressed.back() = '_';
  return compressed;
}

ExpandResult ExpandFile(const std::string& source, const std::string& target, std::string* reason) {
  struct stat st {};
  if (stat(source.c_str(), &st) != 0) return ExpandResult::kSourceMissing;
  if (!S_ISREG(st.st_mode)) return ExpandResult::kUnreadable;
  bool complete = false;
  const std::optional<std::string> bytes = ReadFilePrefix(source.c_str(), kMaxSourceBytes, &complete);
  if (!bytes || !complete) return ExpandResult::kUnreadable;
  std::optional<std::string> expanded;
  if (IsSzdd(*bytes)) {
    expanded = SzddExpand(*bytes, reason);
    if (!expanded) return ExpandResult::kDamaged;
  }
  const std::string& data = expanded ? *expanded : *bytes;
  if (!ReplaceFileAtomically(target.c_str(), data)) return ExpandResult::kTargetFailed;
  // The owner keeps reading and writing the copy whatever the medium's bits say.
  SetFilePermissions(target.c_str(), (st.st_mode & 0777) | 0600);
  return ExpandResult::kDone;
}

}  // namespace ombrix::platform
