// Parsing and writing the REGEDIT4 text of one registry root.
#include "core/platform/registry_file.h"

#include "core/text/ascii.h"

namespace ombrix::platform {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsTrailingSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsBlank(s[i])) ++i;
  return s.substr(i);
}

std::string_view TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && IsTrailingSpace(s[n - 1])) --n;
  return s.substr(0, n);
}

bool IsWhitespaceOnly(std::string_view s) { return TrimRight(TrimLeft(s)).empty(); }

// Reads a quoted text starting at s[i] == '"'. Only \\ and \" are escapes; any other backslash,
// or a missing closing quote, makes the line damaged. On success i is past the closing quote.
bool ReadQuoted(std::string_view s, size_t& i, std::string& out) {
  if (i >= s.size() || s[i] != '"') return false;
  out.clear();
  for (++i; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      ++i;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) return false;
      out += s[++i];
    } else {
      out += c;
    }
  }
  return false;
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

// The type word of a value of another type ("dword", "hex", "hex(2)"): the letters, digits and
// parentheses before the first colon. Empty when the text does not start with one.
std::string_view TypeWord(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && ((s[i] >= 'a' && s[i] <= 'z') || (s[i] >= 'A' && s[i] <= 'Z') ||
                          (s[i] >= '0' && s[i] <= '9') || s[i] == '(' || s[i] == ')'))
    ++i;
  return i > 0 && i < s.size() && s[i] == ':' ? s.substr(0, i) : std::string_view();
}

// Hex data, "hex:" or "hex(N):": the only values whose lines a trailing backslash continues.
bool IsHexData(std::string_view data) {
  const std::string_view word = TypeWord(data);
  return text::EqualsIgnoringCase(word, "hex") ||
         (word.size() > 5 && text::StartsWithIgnoringCase(word, "hex(") && word.back() == ')');
}

// A continuation line of a value of another type: indented, not blank, no NUL.
bool IsContinuationLine(std::string_view line) {
  return !line.empty() && IsBlank(line[0]) && !IsWhitespaceOnly(line) && line.find('\0') == std::string_view::npos;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

class Parser {
 public:
  Parser(std::string_view root_name, RegistryDocument& document) : root_name_(root_name), doc_(document) {}

  void Run(std::string_view text) {
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return;  // empty: a fresh file
    lines_ = SplitLines(text);
    for (line_ = 0; line_ < lines_.size(); ++line_) {
      if (line_ == 0 && TrimRight(lines_[0]) == kHeader) continue;
      // A missing header is damage, but the line is still read: it may be a good section.
      if (line_ == 0) MarkDamaged();
      ReadLine(lines_[line_]);
    }
  }

 private:
  void MarkDamaged() {
    if (doc_.first_damaged_line == 0) doc_.first_damaged_line = line_ + 1;
  }

  std::string& KeptTarget() { return in_preamble_ ? doc_.preamble : Current().kept_lines; }

  RegistryKeyNode& Current() {
    RegistryKeyNode* node = &doc_.root;
    for (size_t index : current_) node = &node->subkeys[index];
    return *node;
  }

  void Keep(std::string_view line) {
    KeptTarget().append(line);
    KeptTarget() += '\n';
  }

  void KeepDamaged(std::string_view line) {
    MarkDamaged();
    Keep(line);
  }

  void ReadLine(std::string_view line) {
    if (line.find('\0') != std::string_view::npos) return KeepDamaged(line);
    const std::string_view t = TrimLeft(line);
    if (IsWhitespaceOnly(t)) return;
    if (t[0] == ';') return Keep(line);
    if (t[0] == '[') return ReadSectionHeader(line, TrimRight(t));
    // Lines under a damaged header belong to no key we know: keep them as they are.
    if (lost_) return Keep(line);
    if (t[0] == '"' || t[0] == '@') return ReadValue(line, t);
    KeepDamaged(line);
  }

  void ReadSectionHeader(std::string_view line, std::string_view t) {
    if (t.size() < 2 || t.back() != ']') return StartLostSection(line);
    const std::string_view path = t.substr(1, t.size() - 2);
    std::vector<std::string_view> names;
    size_t start = 0;
    for (;;) {
      const size_t end = path.find('\\', start);
      names.push_back(path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    if (!text::EqualsIgnoringCase(names[0], root_name_)) return StartLostSection(line);
    for (size_t i = 1; i < names.size(); ++i)
      if (names[i].empty()) return StartLostSection(line);
    current_.clear();
    RegistryKeyNode* node = &doc_.root;
    for (size_t i = 1; i < names.size(); ++i) {
      RegistryKeyNode* child = node->FindSubkey(names[i]);
      if (child == nullptr) {
        node->subkeys.push_back(RegistryKeyNode{std::string(names[i]), {}, {}, {}});
        child = &node->subkeys.back();
      }
      current_.push_back(size_t(child - node->subkeys.data()));
      node = child;
    }
    in_preamble_ = false;
    lost_ = false;
  }

  void StartLostSection(std::string_view line) {
    KeepDamaged(line);
    lost_ = true;
  }

  void ReadValue(std::string_view line, std::string_view t) {
    if (in_preamble_) return KeepDamaged(line);  // a value before any key
    std::string name;
    size_t i = 0;
    if (t[0] == '@') {
      i = 1;
    } else if (!ReadQuoted(t, i, name)) {
      return KeepDamaged(line);
    }
    while (i < t.size() && IsBlank(t[i])) ++i;
    if (i >= t.size() || t[i] != '=') return KeepDamaged(line);
    ++i;
    while (i < t.size() && IsBlank(t[i])) ++i;
    if (i < t.size() && t[i] == '"') {
      std::string text;
      if (!ReadQuoted(t, i, text) || !TrimRight(t.substr(i)).empty()) return KeepDamaged(line);
      Current().SetString(name, text);
      return;
    }
    ReadOtherValue(std::move(name), TrimRight(t.substr(i)));
  }

  // A value of another type. How a trailing backslash outside a quoted string is read: as in
  // REGEDIT4, it continues hex data only ("hex:", "hex(N):"), on the next line when that line is
  // indented and not blank. In a value of any other type it is a character of the value's text
  // ("d:\" stays "d:\", one line). Hex data whose last line ends in a backslash that continues
  // nothing (the end of the file, a blank line, a line that is not indented) is damage: the value
  // keeps every line read, backslash and all, and the file is reported as damaged. Writing it
  // back puts an empty line after it (FormatKey), so that the backslash continues nothing again
  // when the file is read next; without it, an indented line kept after the key's values would
  // be read into the value, and each rewrite would give another file.
  void ReadOtherValue(std::string name, std::string_view first) {
    if (TypeWord(first).empty()) return KeepDamaged(lines_[line_]);
    std::string data(first);
    if (IsHexData(first)) {
      std::string_view last = first;
      while (!last.empty() && last.back() == '\\') {
        if (line_ + 1 >= lines_.size() || !IsContinuationLine(lines_[line_ + 1])) {
          MarkDamaged();
          break;
        }
        last = TrimRight(lines_[++line_]);
        data += '\n';
        data.append(last);
      }
    }
    RegistryKeyNode& key = Current();
    for (RegistryValue& v : key.values) {
      if (text::EqualsIgnoringCase(v.name, name)) {
        v = RegistryValue{std::move(name), std::move(data), false};
        return;
      }
    }
    key.values.push_back(RegistryValue{std::move(name), std::move(data), false});
  }

  std::string_view root_name_;
  RegistryDocument& doc_;
  std::vector<std::string_view> lines_;
  size_t line_ = 0;
  std::vector<size_t> current_;  // path of the current key, as indices from the root
  bool in_preamble_ = true;
  bool lost_ = false;  // inside the section of a damaged header
};

void FormatKey(std::string& out, const RegistryKeyNode& key, const std::string& path, bool is_root) {
  if (!is_root || !key.values.empty() || !key.kept_lines.empty()) {
    out += '[';
    out += path;
    out += "]\n";
    for (const RegistryValue& v : key.values) {
      if (v.name.empty()) {
        out += '@';
      } else {
        AppendQuoted(out, v.name);
      }
      out += '=';
      if (v.is_string) {
        AppendQuoted(out, v.data);
      } else {
        out += v.data;
        // Hex data that ends in a dangling backslash: an empty line, so it continues nothing.
        if (!v.data.empty() && v.data.back() == '\\' && IsHexData(v.data)) out += '\n';
      }
      out += '\n';
    }
    out += key.kept_lines;
    out += '\n';
  }
  for (const RegistryKeyNode& child : key.subkeys) FormatKey(out, child, path + '\\' + child.name, false);
}

}  // namespace

RegistryKeyNode* RegistryKeyNode::FindSubkey(std::string_view key_name) {
  for (RegistryKeyNode& k : subkeys)
    if (text::EqualsIgnoringCase(k.name, key_name)) return &k;
  return nullptr;
}

const RegistryKeyNode* RegistryKeyNode::FindSubkey(std::string_view key_name) const {
  return const_cast<RegistryKeyNode*>(this)->FindSubkey(key_name);
}

RegistryKeyNode& RegistryKeyNode::SubkeyOrNew(std::string_view key_name) {
  if (RegistryKeyNode* k = FindSubkey(key_name)) return *k;
  subkeys.push_back(RegistryKeyNode{std::string(key_name), {}, {}, {}});
  return subkeys.back();
}

bool RegistryKeyNode::RemoveSubkey(std::string_view key_name) {
  for (auto it = subkeys.begin(); it != subkeys.end(); ++it) {
    if (text::EqualsIgnoringCase(it->name, key_name)) {
      subkeys.erase(it);
      return true;
    }
  }
  return false;
}

const RegistryValue* RegistryKeyNode::FindValue(std::string_view value_name) const {
  for (const RegistryValue& v : values)
    if (text::EqualsIgnoringCase(v.name, value_name)) return &v;
  return nullptr;
}

void RegistryKeyNode::SetString(std::string_view value_name, std::string_view text) {
  for (RegistryValue& v : values) {
    if (text::EqualsIgnoringCase(v.name, value_name)) {
      v.data.assign(text);
      v.is_string = true;
      return;
    }
  }
  values.push_back(RegistryValue{std::string(value_name), std::string(text), true});
}

bool RegistryKeyNode::RemoveValue(std::string_view value_name) {
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (text::EqualsIgnoringCase(it->name, value_name)) {
      values.erase(it);
      return true;
    }
  }
  return false;
}

RegistryKeyNode* RegistryDocument::Find(const std::vector<std::string>& names) {
  RegistryKeyNode* node = &root;
  for (const std::string& name : names) {
    node = node->FindSubkey(name);
    if (node == nullptr) return nullptr;
  }
  return node;
}

const RegistryKeyNode* RegistryDocument::Find(const std::vector<std::string>& names) const {
  return const_cast<RegistryDocument*>(this)->Find(names);
}

RegistryDocument ParseRegistryText(std::string_view root_name, std::string_view text) {
  RegistryDocument document;
  Parser(root_name, document).Run(text);
  return document;
}

std::string FormatRegistryText(std::string_view root_name, const RegistryDocument& document) {
  std::string out(kHeader);
  out += "\n\n";
  if (!document.preamble.empty()) {
    out += document.preamble;
    out += '\n';
  }
  FormatKey(out, document.root, std::string(root_name), true);
  return out;
}

std::vector<std::string> SplitKeyPath(std::string_view key_path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= key_path.size()) {
    size_t end = key_path.find('\\', start);
    if (end == std::string_view::npos) end = key_path.size();
    if (end > start) names.emplace_back(key_path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

bool IsStorableText(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace ombrix::platform
