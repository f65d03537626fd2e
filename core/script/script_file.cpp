// Reading, editing and writing the INI-style text of effect scripts.
#include "core/script/script_file.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <optional>

#include "core/platform/files.h"
#include "core/text/ascii.h"
#include "core/text/numbers.h"

namespace ombrix {
namespace {

// A script holds at most 256 filter sections of a few hundred bytes per key, a few megabytes in
// all; only this much of a file is read, so a huge file cannot exhaust memory.
constexpr size_t kMaxScriptBytes = size_t(64) << 20;

std::string_view View(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

}  // namespace

std::string FormatReal(double value) {
  // Fixed notation with six decimals is what "%f" prints; to_chars does not follow the locale.
  char text[400];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6).ptr;
  return std::string(text, end);
}

ScriptFile::Section* ScriptFile::FindSection(std::string_view name) {
  const auto it = section_index_.find(name);
  return it != section_index_.end() ? &sections_[it->second] : nullptr;
}

const ScriptFile::Section* ScriptFile::FindSection(std::string_view name) const {
  return const_cast<ScriptFile*>(this)->FindSection(name);
}

void ScriptFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  auto found = section_index_.find(section);
  if (found == section_index_.end()) {
    sections_.push_back(Section{std::string(section), {}});
    key_index_.emplace_back();
    found = section_index_.emplace(std::string(section), sections_.size() - 1).first;
  }
  Section& s = sections_[found->second];
  Index& keys = key_index_[found->second];
  if (const auto k = keys.find(key); k != keys.end()) {
    s.pairs[k->second].value.assign(value);
    return;
  }
  s.pairs.push_back(Pair{std::string(key), std::string(value)});
  keys.emplace(std::string(key), s.pairs.size() - 1);
}

int ScriptFile::SetText(const char* section, const char* key, const char* value) {
  try {
    Set(View(section), View(key), View(value));
    return 1;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

void ScriptFile::SetInt(const char* section, const char* key, int32_t value) {
  char text[8];
  const auto end = std::to_chars(text, text + sizeof text - 1, int16_t(value)).ptr;
  *end = '\0';
  SetText(section, key, text);
}

void ScriptFile::SetReal(const char* section, const char* key, double value) {
  SetText(section, key, FormatReal(value).c_str());
}

const std::string* ScriptFile::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return nullptr;
  const auto& keys = key_index_[size_t(s - sections_.data())];
  const auto k = keys.find(key);
  return k != keys.end() ? &s->pairs[k->second].value : nullptr;
}

void ScriptFile::GetText(const char* section, const char* key, char* buffer, size_t buffer_size) const {
  if (buffer == nullptr || buffer_size == 0) return;
  const std::string* value = Find(View(section), View(key));
  const size_t n = value != nullptr ? std::min(value->size(), buffer_size - 1) : 0;
  if (n > 0) std::memcpy(buffer, value->data(), n);
  buffer[n] = '\0';
}

int32_t ScriptFile::GetInt(const char* section, const char* key) const {
  const std::string* value = Find(View(section), View(key));
  return value != nullptr ? text::LeadingInt(*value, 0) : 0;
}

double ScriptFile::GetReal(const char* section, const char* key) const {
  const std::string* value = Find(View(section), View(key));
  return value != nullptr ? text::LeadingReal(*value, 0.0) : 0.0;
}

int ScriptFile::Load(const char* path) {
  try {
    const std::optional<std::string> bytes = platform::ReadFilePrefix(path, kMaxScriptBytes, nullptr);
    if (!bytes) return 0;
    LoadText(*bytes);
    path_ = path;
    return 1;
  } catch (const std::bad_alloc&) {
    Clear();
    return 0;
  }
}

void ScriptFile::LoadText(std::string_view bytes) {
  Clear();
  std::string current;  // pairs before the first section header belong to the section ""
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, std::min(end - start, kMaxLineBytes));
    start = end + 1;
    // Cut at the first CR (and at a NUL, which ends a line read as a C text).
    line = line.substr(0, line.find_first_of(std::string_view("\r\0", 2)));
    if (!line.empty() && line[0] == '\t') line.remove_prefix(1);
    if (!line.empty() && line[0] == '[') {
      const std::string_view name = line.substr(1);
      current.assign(name.substr(0, name.find(']')));
      continue;
    }
    const size_t equals = line.find('=');
    if (line.size() > 2 && equals != std::string_view::npos)
      Set(current, line.substr(0, equals), line.substr(equals + 1));
  }
}

std::string ScriptFile::Format() const {
  size_t lines = 0;
  for (const Section& s : sections_) lines += s.pairs.size() + 2;
  std::string out = std::to_string(lines);
  out += "\r\n";
  for (const Section& s : sections_) {
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const Pair& p : s.pairs) {
      out += '\t';
      out += p.key;
      out += '=';
      out += p.value;
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

int ScriptFile::Save(const char* path) const {
  // The new text goes to a temporary file that replaces the old one in a single rename, so a
  // failure part way leaves the user's old script whole.
  try {
    if (!platform::ReplaceFileAtomically(path, Format())) return 0;
  } catch (const std::bad_alloc&) {
    return 0;
  }
  platform::SetReadOnly(path, true);
  return 1;
}

void ScriptFile::Clear() {
  sections_.clear();
  section_index_.clear();
  key_index_.clear();
  path_.clear();
}

}  // namespace ombrix
