// The text form of one registry root: a REGEDIT4 file parsed into a key tree and written back.
//
// The file a root is kept in looks like this (values are string values, the only type the system
// writes; "@" is a key's default value; backslashes and quotes inside quotes are escaped):
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Zorvex\Ombrix\Options]
//   "AskDel"="1"
//   @="C:\\Path \"quoted\""
//
// The parser never fails. What it does not understand is kept as written, attached to the key
// section it appeared in, so that writing the tree back loses nothing: comments, values of other
// types (dword:, hex: with its continuation lines), damaged lines (bad quoting, binary junk,
// NUL bytes) and whole sections under a damaged key header. A damaged file therefore stays
// damaged until a person mends it, but no writer ever drops a key or value it held.
//
// Writing is a fixed point of reading: the tree read from a written text equals the tree written
// (the line number of the first damage aside: a missing header line, for one, is written), and
// kept lines come back byte for byte. A trailing backslash outside quotes continues hex data only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::platform {

struct RegistryValue {
  std::string name;  // "" is the key's default value, written "@"
  // A string value's text, unescaped. For a value of another type: its text after "=" as
  // written (continuation lines joined with "\n"); it is kept but never read as a string.
  std::string data;
  bool is_string = true;

  bool operator==(const RegistryValue&) const = default;
};

struct RegistryKeyNode {
  std::string name;
  std::vector<RegistryValue> values;
  std::vector<RegistryKeyNode> subkeys;
  // Lines of this key's section that are not values we understand, each ending with "\n".
  std::string kept_lines;

  // The same names, values and kept lines, in the same order, down the whole tree.
  bool operator==(const RegistryKeyNode&) const = default;

  // Names compare without regard to ASCII letter case.
  RegistryKeyNode* FindSubkey(std::string_view key_name);
  const RegistryKeyNode* FindSubkey(std::string_view key_name) const;
  RegistryKeyNode& SubkeyOrNew(std::string_view key_name);
  bool RemoveSubkey(std::string_view key_name);
  const RegistryValue* FindValue(std::string_view value_name) const;
  // Replaces a value of that name (of any type) in place, or appends a new one.
  void SetString(std::string_view value_name, std::string_view text);
  bool RemoveValue(std::string_view value_name);
};

struct RegistryDocument {
  RegistryKeyNode root;           // the root key itself; its name is not used
  std::string preamble;           // kept lines before the first key section
  size_t first_damaged_line = 0;  // 1-based line number of the first damaged line; 0: none

  // The key at the end of a list of names, or null.
  RegistryKeyNode* Find(const std::vector<std::string>& names);
  const RegistryKeyNode* Find(const std::vector<std::string>& names) const;
};

// Parses the text of the root named root_name ("HKEY_CURRENT_USER"); sections of another root
// count as damaged.
RegistryDocument ParseRegistryText(std::string_view root_name, std::string_view text);
// The file text: header, preamble, then every key in tree order (a parent before its subkeys),
// each section followed by an empty line. Line ends are LF.
std::string FormatRegistryText(std::string_view root_name, const RegistryDocument& document);

// The key names of a path: split at backslashes, empty names (leading, trailing or doubled
// backslashes) skipped. "Software\Zorvex\Ombrix\" gives {"Software", "Zorvex", "Ombrix"}.
std::vector<std::string> SplitKeyPath(std::string_view key_path);
// A name or text can be stored when it holds no line break and no NUL byte.
bool IsStorableText(std::string_view text);

}  // namespace ombrix::platform
