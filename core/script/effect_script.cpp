// Writing a filter chain as an effect script and reading it back into chain entries.
#include "core/script/effect_script.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "core/parameter_kinds.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/text/ascii.h"
#include "core/text/numbers.h"

namespace ombrix {
namespace {

constexpr const char* kHeaderSection = "Header";

// A fixed-size text field of a record; it may lack its terminating zero.
template <size_t N>
std::string_view Field(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

template <size_t N>
void SetField(char (&field)[N], std::string_view text) {
  const size_t n = std::min(text.size(), N - 1);
  if (n > 0) std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

std::string SectionName(int index) { return "Filter_" + std::to_string(index); }

// The two names that find an entry's filter in the plug-in table.
struct EntryNames {
  char dll[kScriptPathBytes];
  char filter[kScriptPathBytes];
};

EntryNames ReadEntryNames(const ScriptFile& file, const std::string& section) {
  EntryNames names;
  file.GetText(section.c_str(), "DllName", names.dll, sizeof names.dll);
  file.GetText(section.c_str(), "FilterName", names.filter, sizeof names.filter);
  return names;
}

std::string KeyName(const char* prefix, int slot, const char* suffix = "") {
  return prefix + std::to_string(slot) + suffix;
}

// A path under the content directory, written relative to it: the content directory's length of
// leading characters equal it (letter case ignored) and the rest is written without its leading
// separator. The match must end at a folder boundary, so that "/fx/texture" is not taken for a
// file "ture" of the content directory "/fx/tex".
std::string RelativeToContent(std::string_view value, std::string_view content) {
  if (content.empty() || !text::StartsWithIgnoringCase(value, content)) return std::string(value);
  std::string_view rest = value.substr(content.size());
  const bool rest_starts_with_separator = !rest.empty() && platform::IsSeparator(rest[0]);
  if (!platform::IsSeparator(content.back()) && !rest.empty() && !rest_starts_with_separator) return std::string(value);
  if (rest_starts_with_separator) rest.remove_prefix(1);
  return std::string(rest);
}

void WriteEntry(ScriptFile& file, const FilterDescriptor& e, int index, const std::string& content) {
  const std::string section = SectionName(index);
  const char* s = section.c_str();
  file.SetText(s, "DllName", std::string(Field(e.file_name)).c_str());
  file.SetText(s, "FilterName", std::string(Field(e.name)).c_str());
  file.SetInt(s, "FullScreen", e.full_screen);
  file.SetInt(s, "AllFrames", e.all_frames);
  file.SetInt(s, "Proportionnal", e.proportional);
  file.SetInt(s, "nParameter", e.parameter_count);
  file.SetInt(s, "nOption", e.option_count);
  file.SetInt(s, "StartFrame", e.start_frame);
  file.SetInt(s, "EndFrame", e.end_frame);
  file.SetReal(s, "AlphaInit", e.alpha_init);
  file.SetReal(s, "AlphaStep", e.alpha_step);
  // The zone is one text of four full 32-bit numbers ("%d %d %d %d"); only the single integer
  // keys go through SetInt and its low 16 bits.
  const std::string zone = std::to_string(e.zone[0]) + ' ' + std::to_string(e.zone[1]) + ' ' +
                           std::to_string(e.zone[2]) + ' ' + std::to_string(e.zone[3]);
  file.SetText(s, "Zone", zone.c_str());
  const std::string steps = FormatReal(e.zone_step[0]) + ' ' + FormatReal(e.zone_step[1]) + ' ' +
                            FormatReal(e.zone_step[2]) + ' ' + FormatReal(e.zone_step[3]);
  file.SetText(s, "Zone_Step", steps.c_str());

  const int parameters = e.parameters != nullptr ? std::max(e.parameter_count, 0) : 0;
  for (int k = 0; k < parameters; ++k) {
    const ParameterRecord& p = e.parameters[k];
    std::string value, step;
    if (StoredInScript(p.kind)) {
      value = HoldsPath(p.kind) ? RelativeToContent(Field(p.value), content) : std::string(Field(p.value));
      step = Field(p.step);
    }
    file.SetText(s, KeyName("Parameter_", k, "_Val").c_str(), value.c_str());
    file.SetText(s, KeyName("Parameter_", k, "_Step").c_str(), step.c_str());
  }
  const int options = e.options != nullptr ? std::max(e.option_count, 0) : 0;
  for (int k = 0; k < options; ++k) file.SetInt(s, KeyName("Option_", k).c_str(), e.options[k].state);

  const XAlphaRecord none{};
  const XAlphaRecord& x = e.xalpha != nullptr ? *e.xalpha : none;
  file.SetText(s, "XAlphaPicture", RelativeToContent(Field(x.picture_path), content).c_str());
  file.SetInt(s, "XAlphaType", x.type);
  file.SetInt(s, "XAlphaNegative", x.negative);
  file.SetInt(s, "XAlphaStretchP", x.stretch);
  file.SetInt(s, "XAlphaPercent", x.percent);
}

// Reads scripts for one chain: the section being read and the two directories files are
// looked for in.
class EntryReader {
 public:
  EntryReader(const ScriptFile& file, const std::string& content, const std::string& fallback,
              const MissingFileHandler& missing_file)
      : file_(file), content_(content), fallback_(fallback), missing_file_(missing_file) {}

  void Read(const std::string& section, FilterDescriptor& e) {
    section_ = section;
    e.full_screen = Int16("FullScreen");
    e.all_frames = Int16("AllFrames");
    e.proportional = Int16("Proportionnal");
    e.start_frame = Int16("StartFrame");
    e.end_frame = Int16("EndFrame");
    e.alpha_init = float(Real("AlphaInit"));
    e.alpha_step = float(Real("AlphaStep"));
    // Coordinates the text does not supply keep the table's values.
    const std::string_view zone = Text("Zone");
    size_t pos = 0;
    for (int k = 0; k < 4; ++k) {
      int32_t v = 0;
      if (!text::ParseLeadingInt(zone, pos, v)) break;
      e.zone[k] = v;
    }
    const std::string_view zone_step = Text("Zone_Step");
    pos = 0;
    for (int k = 0; k < 4; ++k) {
      double v = 0;
      if (!text::ParseLeadingReal(zone_step, pos, v)) break;
      e.zone_step[k] = float(v);
    }

    const int parameters = e.parameters != nullptr ? std::max(e.parameter_count, 0) : 0;
    for (int k = 0; k < parameters; ++k) {
      ParameterRecord& p = e.parameters[k];
      if (!StoredInScript(p.kind)) continue;
      const std::string_view value = Text(KeyName("Parameter_", k, "_Val"));
      if (value.empty()) continue;  // value and step keep the plug-in's defaults
      SetField(p.value, value);
      if (ReadingOf(p.kind) == KindReading::kFilePath && value[0] != ' ' && !text::EqualsIgnoringCase(value, "(none)"))
        ResolveFile(p.value);
      SetField(p.step, Text(KeyName("Parameter_", k, "_Step")));
    }
    const int options = e.options != nullptr ? std::max(e.option_count, 0) : 0;
    for (int k = 0; k < options; ++k) {
      // -1 keeps the plug-in's state; a missing key reads as 0 and clears the option.
      const int16_t state = Int16(KeyName("Option_", k));
      if (state != -1) e.options[k].state = state;
    }
    if (e.xalpha != nullptr) {
      XAlphaRecord& x = *e.xalpha;
      SetField(x.picture_path, Text("XAlphaPicture"));
      if (x.picture_path[0] != '\0') ResolveFile(x.picture_path);
      x.type = Int16("XAlphaType");
      x.negative = Int16("XAlphaNegative");
      x.stretch = Int16("XAlphaStretchP");
      x.percent = file_.GetInt(section_.c_str(), "XAlphaPercent");
    }
  }

 private:
  std::string_view Text(std::string_view key) const {
    const std::string* value = file_.Find(section_, key);
    return value != nullptr ? std::string_view(*value) : std::string_view();
  }
  int16_t Int16(std::string_view key) const { return int16_t(text::LeadingInt(Text(key), 0)); }
  double Real(std::string_view key) const { return text::LeadingReal(Text(key), 0.0); }

  // A file the text names that does not exist is looked for in the content directory, then in
  // the fallback directory; failing both, the missing-file handler may replace the text.
  // Backslashes of a relative path written on Windows become the native separator for the look-up.
  void ResolveFile(char (&field)[kScriptPathBytes]) {
    if (platform::FileExists(field)) return;
    std::string native = field;
    std::replace(native.begin(), native.end(), '\\', platform::kPathSeparator);
    for (const std::string* dir : {&content_, &fallback_}) {
      const std::string candidate = platform::JoinPath(*dir, native);
      if (candidate.size() < kScriptPathBytes && platform::FileExists(candidate.c_str())) {
        SetField(field, candidate);
        return;
      }
    }
    if (missing_file_) {
      char text[kScriptPathBytes];
      std::memcpy(text, field, kScriptPathBytes);
      missing_file_(text);
      text[kScriptPathBytes - 1] = '\0';
      std::memcpy(field, text, kScriptPathBytes);
    }
  }

  const ScriptFile& file_;
  const std::string& content_;
  const std::string& fallback_;
  const MissingFileHandler& missing_file_;
  std::string section_;
};

}  // namespace

void WriteScriptTo(ScriptFile& file, const FilterDescriptor* const* entries, int slots, int test_frame,
                   const ScriptHeader& header) {
  file.Clear();
  int count = 0;
  for (int i = 0; i < slots; ++i)
    if (entries[i] != nullptr) ++count;
  file.SetText(kHeaderSection, "Identification", kScriptIdentification);
  file.SetInt(kHeaderSection, "nFilter", count);
  file.SetInt(kHeaderSection, "TestFrame", test_frame);
  file.SetText(kHeaderSection, "ContentDirectory", header.content_directory.c_str());
  file.SetInt(kHeaderSection, "Based XSize", header.based_width);
  file.SetInt(kHeaderSection, "Based YSize", header.based_height);
  int index = 0;
  for (int i = 0; i < slots; ++i)
    if (entries[i] != nullptr) WriteEntry(file, *entries[i], index++, header.content_directory);
}

int WriteScript(const char* path, const FilterDescriptor* const* entries, int slots, int test_frame,
                const ScriptHeader& header) {
  try {
    ScriptFile file;
    WriteScriptTo(file, entries, slots, test_frame, header);
    return file.Save(path);
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

std::vector<std::string> FiltersNotInTable(const ScriptFile& file, const PluginTable& table) {
  std::vector<std::string> missing;
  const int sections = std::min(int(int16_t(file.GetInt(kHeaderSection, "nFilter"))), kMaxScriptEntries);
  for (int i = 0; i < sections; ++i) {
    const std::string section = SectionName(i);
    const EntryNames names = ReadEntryNames(file, section);
    if (FindTableEntry(table, names.filter, names.dll) != nullptr) continue;
    if (names.filter[0] == '\0' && names.dll[0] == '\0')
      missing.push_back("No filter in section " + section);
    else
      missing.push_back(std::string("Unknown filter \"") + names.filter + "\" of " + names.dll);
  }
  return missing;
}

int ReadScript(const char* path, FilterDescriptor** entries, int capacity, int* count, int* test_frame,
               ScriptHeader& header, const PluginTable& table, const MissingFileHandler& missing_file,
               bool entries_own_mask_pictures) {
  ScriptFile file;
  if (!file.Load(path)) return 0;
  return ReadScriptFrom(file, entries, capacity, count, test_frame, header, table, missing_file,
                        entries_own_mask_pictures);
}

int ReadScriptFrom(const ScriptFile& file, FilterDescriptor** entries, int capacity, int* count, int* test_frame,
                   ScriptHeader& header, const PluginTable& table, const MissingFileHandler& missing_file,
                   bool entries_own_mask_pictures) {
  if (entries == nullptr || count == nullptr || capacity < 0) return 0;
  const std::string fallback = header.content_directory;
  const int held = std::clamp(*count, 0, capacity);
  for (int i = 0; i < held; ++i)
    if (entries[i] != nullptr) FreeDescriptor(entries[i], entries_own_mask_pictures);
  std::fill(entries, entries + capacity, nullptr);

  const std::string* identification = file.Find(kHeaderSection, "Identification");
  if (identification == nullptr || *identification != kScriptIdentification) return 0;

  int stored = 0;
  try {
    const int filters = int16_t(file.GetInt(kHeaderSection, "nFilter"));
    const int frame = int16_t(file.GetInt(kHeaderSection, "TestFrame"));
    header.based_width = int16_t(file.GetInt(kHeaderSection, "Based XSize"));
    header.based_height = int16_t(file.GetInt(kHeaderSection, "Based YSize"));
    char content[kScriptPathBytes];
    file.GetText(kHeaderSection, "ContentDirectory", content, sizeof content);
    header.content_directory = platform::DirectoryExists(content) ? std::string(content) : fallback;

    // A script with more filters than that is cut: only its sections Filter_0 to Filter_255 are
    // looked at, and reading stops once the entries array is full.
    const int sections = std::min(filters, kMaxScriptEntries);
    EntryReader reader(file, header.content_directory, fallback, missing_file);
    for (int i = 0; i < sections && stored < capacity; ++i) {
      const std::string section = SectionName(i);
      const EntryNames names = ReadEntryNames(file, section);
      FilterDescriptor* entry = FindDescriptor(table, names.filter, names.dll);
      if (entry == nullptr) continue;  // its plug-in is not in the table: dropped without a message
      entries[stored++] = entry;
      reader.Read(section, *entry);
    }
    if (test_frame != nullptr) *test_frame = frame;
  } catch (const std::bad_alloc&) {
    *count = stored;
    return 0;
  }
  *count = stored;
  return 1;
}

}  // namespace ombrix
