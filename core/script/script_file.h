// ScriptFile: the INI-style text of an effect script (.Oms) in memory, with its exact byte format.
//
// The file, as written (lines end with CR LF):
//
//   <number of lines that follow>
//   [Section]
//   <TAB>Key=Value
//   <empty line>
//   ...
//
// Section and key names compare without regard to ASCII letter case. A new section goes to the
// end of the list, a new key to the end of its section; setting an existing key replaces its value
// in place. Texts are bytes (Windows-1252) kept unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/text/ascii.h"

namespace ombrix {

// printf's "%f" of the value (six decimals), with a point whatever the process locale.
std::string FormatReal(double value);

class ScriptFile {
 public:
  // Lines are read up to this many bytes; the rest of a longer line is dropped.
  static constexpr size_t kMaxLineBytes = 511;

  struct Pair {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Pair> pairs;
  };

  // Adds or replaces; 0 when memory runs out. Null texts count as empty.
  int SetText(const char* section, const char* key, const char* text);
  // "%d" of the value's low 16 bits as a signed number: 40000 is written -25536.
  void SetInt(const char* section, const char* key, int32_t value);
  // FormatReal: "%f".
  void SetReal(const char* section, const char* key, double value);

  // Copies the value (at most buffer_size - 1 bytes, always terminated), or the empty text when
  // section or key is missing.
  void GetText(const char* section, const char* key, char* buffer, size_t buffer_size) const;
  // The value, or null when section or key is missing.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // The value's leading decimal integer (optional sign; stops at the first other character;
  // saturates at the 32-bit range); 0 when missing or not a number.
  int32_t GetInt(const char* section, const char* key) const;
  // The value's leading real number; 0.0 when missing or not a number.
  double GetReal(const char* section, const char* key) const;

  // Reads a file: 1, or 0 when it cannot be opened (the object is then left as it was).
  int Load(const char* path);
  // Reads script text already in memory, as Load reads a file's bytes.
  void LoadText(std::string_view bytes);
  // Writes the file: 1, or 0 when it cannot be written (an existing file is then left whole).
  // The new file replaces the old one in a single rename and is made read-only; a read-only
  // file at path is replaced too.
  int Save(const char* path) const;
  // The bytes Save writes.
  std::string Format() const;
  void Clear();

  const std::vector<Section>& Sections() const { return sections_; }
  // The path of the last Load.
  const std::string& Path() const { return path_; }

 private:
  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;
  void Set(std::string_view section, std::string_view key, std::string_view text);

  std::vector<Section> sections_;
  // Name -> index (letter case ignored), for sections and for the keys of each section.
  using Index = std::unordered_map<std::string, size_t, text::CaseInsensitiveHash, text::CaseInsensitiveEqual>;
  Index section_index_;
  std::vector<Index> key_index_;
  std::string path_;
};

}  // namespace ombrix
