// Compressed files of the distribution medium in the SZDD format that the platform's LZ
// expansion reads (a "*.ex_" file expands to the "*.exe" it stands for), and the expansion of a
// medium file into its target: a compressed file is expanded, any other file copied unchanged.
//
// Layout: the 8-byte magic "SZDD" 88 F0 27 33, the mode byte 'A', the last character of the
// original file name (the one the "_" replaces, 0 when unknown), the expanded length as 32-bit
// little-endian, then the data. The data is a run of groups: one control byte whose bits, lowest
// first, each announce either a literal byte (bit 1) or a match of two bytes (bit 0): a 12-bit
// position in a 4096-byte window (low 8 bits in the first byte, high 4 in the top of the second)
// and a length of 3 to 18 (the low 4 bits of the second byte plus 3). The window starts filled
// with blanks and the first byte written goes to position 4080; every expanded byte is also
// written into the window at the next position, so a match may overlap what it writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ombrix::platform {

inline constexpr unsigned char kSzddMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
inline constexpr size_t kSzddHeaderBytes = 14;
// Files of the medium are small; expansion refuses a file that says it expands beyond this.
inline constexpr uint32_t kMaxSzddExpandedBytes = uint32_t(1) << 30;

// True when the bytes begin with the SZDD magic.
bool IsSzdd(std::string_view bytes);

// The compressed form of data. missing_character is stored in the header: the last character
// of the file's name, which the compressed file's name replaces with "_".
std::string SzddCompress(std::string_view data, char missing_character = 0);

// The expanded bytes of a compressed file. Refused, with a reason, when the header is not an
// SZDD header of mode 'A', when the data ends before the stated length is reached (also in the
// middle of a match), when the data expands beyond the stated length, or when the stated length
// exceeds kMaxSzddExpandedBytes.
std::optional<std::string> SzddExpand(std::string_view bytes, std::string* reason);

// The file name a compressed copy of `name` takes on the medium: its last character replaced
// by "_" ("Setup.exe" gives "Setup.ex_"); a name of one character or less is returned as it is.
std::string CompressedFileName(std::string_view name);

enum class ExpandResult { kDone, kSourceMissing, kUnreadable, kDamaged, kTargetFailed };

// Expands the source file into the target as the platform's LZ copy does: a compressed source is
// expanded, any other source copied unchanged. The target is written whole or not at all (it
// replaces an existing file in one step) and takes the source's permission bits, so a program
// stays executable. *reason (when given) says why a damaged source was refused.
ExpandResult ExpandFile(const std::string& source, const std::string& target, std::string* reason = nullptr);

}  // namespace ombrix::platform
