// Variations of a chain entry.
#include "help/generator/variation.h"

#include <cstring>
#include <vector>

#include "core/platform/paths.h"
#include "core/text/numbers.h"
#include "help/generator/kind_facts.h"
#include "help/generator/texts.h"

namespace ombrix::help {
namespace {

void SetText(char (&field)[256], const std::string& text) {
  std::memset(field, 0, sizeof field);
  std::strncpy(field, text.c_str(), sizeof field - 1);
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string part = Trim(text.substr(start, end - start));
    if (!part.empty()) parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

// Whole numbers separated by blanks; false when a word is not one or the count differs.
bool ReadNumbers(std::string_view text, size_t count, std::vector<int>& numbers) {
  numbers.clear();
  for (const std::string& word : Split(text, ' ')) {
    size_t pos = 0;
    int32_t value = 0;
    if (!text::ParseLeadingInt(word, pos, value) || pos != word.size()) return false;
    numbers.push_back(value);
  }
  return numbers.size() == count;
}

bool IsFileKind(int16_t kind) {
  const std::string_view name = FactsOfKind(kind).name;
  return name == "input file" || name == "picture file";
}

}  // namespace

void UseWholePicture(FilterDescriptor& entry) {
  entry.full_screen = 1;
  entry.all_frames = 0;
  entry.proportional = 0;
  entry.start_frame = kPictureStartFrame;
  entry.end_frame = kPictureEndFrame;
  std::memset(entry.zone, 0, sizeof entry.zone);
  std::memset(entry.zone_step, 0, sizeof entry.zone_step);
  entry.alpha_init = 0;
  entry.alpha_step = 0;
}

bool ApplyVariation(std::string_view variation, const std::string& root, FilterDescriptor& entry, int& test_frame,
                    std::string* error) {
  for (const std::string& setting : Split(variation, ';')) {
    auto fail = [&](const std::string& why) {
      *error = "variation \"" + setting + "\": " + why;
      return false;
    };
    std::vector<int> numbers;
    if (setting.rfind("frame ", 0) == 0) {
      if (!ReadNumbers(std::string_view(setting).substr(6), 1, numbers) || numbers[0] < kPictureStartFrame ||
          numbers[0] > kPictureEndFrame)
        return fail("a frame from 0 to 30");
      test_frame = numbers[0];
      continue;
    }
    if (setting.rfind("zone ", 0) == 0) {
      if (!ReadNumbers(std::string_view(setting).substr(5), 4, numbers)) return fail("four whole numbers");
      entry.full_screen = 0;
      for (int i = 0; i < 4; ++i) entry.zone[i] = numbers[size_t(i)];
      continue;
    }
    const size_t equals = setting.find('=');
    const std::string name = Trim(std::string_view(setting).substr(0, equals));
    const std::string value = equals == std::string::npos ? "on" : Trim(std::string_view(setting).substr(equals + 1));

    bool found = false;
    for (int k = 0; k < entry.parameter_count && !found; ++k) {
      ParameterRecord& p = entry.parameters[k];
      if (p.name[0] == '\0' || Trim(Utf8FromAnsi(p.name)) != name) continue;
      if (equals == std::string::npos) return fail("a parameter needs \"= value\"");
      SetText(p.value, IsFileKind(p.kind) ? platform::JoinPath(root, value) : value);
      found = true;
    }
    for (int k = 0; k < entry.option_count && !found; ++k) {
      OptionRecord& o = entry.options[k];
      if (o.name[0] == '\0' || Trim(Utf8FromAnsi(o.name)) != name) continue;
      if (value != "on" && value != "off") return fail("an option is on or off");
      if (value == "on")
        for (int j = 0; j < entry.option_count; ++j)
          if (j != k && entry.options[j].name[0] != '\0' && entry.options[j].group == o.group)
            entry.options[j].state = 0;
      o.state = value == "on" ? 1 : 0;
      found = true;
    }
    if (!found) return fail("no parameter or option of \"" + Utf8FromAnsi(entry.name) + "\" has that name");
  }
  return true;
}

}  // namespace ombrix::help
