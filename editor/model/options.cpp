// Reading and storing the option set.
#include "editor/model/options.h"

#include "core/settings/settings.h"
#include "core/text/numbers.h"

namespace ombrix::editor {
namespace {

constexpr FlagRow kFlagRows[] = {
    {"ComputeExtra", "Compute Extrapolations", &OptionSet::compute_extra},
    {"AskDel", "Ask before deleting filter", &OptionSet::ask_delete},
    {"StartLast", "Load last cession at startup", &OptionSet::start_last},
    {"ShowXPic", "Always load XAlpha Pictures", &OptionSet::show_xalpha_pictures},
    {"KeepXPic", "Keep XAlpha pictures in memory", &OptionSet::keep_xalpha_pictures},
    {"ShowProgress", "Show progress bar", &OptionSet::show_progress},
    {"AskExit", "Ask before exit", &OptionSet::ask_exit},
    {"ShowPic", "Show Picture After Render", &OptionSet::show_picture},
};

}  // namespace

std::span<const FlagRow> FlagRows() { return kFlagRows; }

bool ReadFlag(const char* name, bool default_value) {
  const std::string stored = ReadSetting(kOptionsSection, name);
  return text::LeadingInt(stored, default_value ? 1 : 0) == 1;
}

int ClampBasedSize(int value) { return value < 1 ? 1 : value; }

OptionSet ReadOptionSet() {
  const OptionSet defaults;
  OptionSet options;
  for (const FlagRow& row : FlagRows()) options.*row.member = ReadFlag(row.name, defaults.*row.member);
  options.content_directory = ReadSetting(kOptionsSection, "ContentDirectory");
  if (options.content_directory.size() > kMaxContentDirectory) options.content_directory.resize(kMaxContentDirectory);
  options.test_picture = ReadSetting(kOptionsSection, "TestPicture");
  options.based_width = ClampBasedSize(ReadSettingNumber(kOptionsSection, "B-Width", kDefaultBasedWidth));
  options.based_height = ClampBasedSize(ReadSettingNumber(kOptionsSection, "B-Height", kDefaultBasedHeight));
  return options;
}

void SaveOptionSet(const OptionSet& options) {
  WriteSettingText(nullptr, "Version", kVersionValue);
  WriteSettingText(nullptr, "Copyright", kCopyrightValue);
  for (const FlagRow& row : FlagRows()) WriteSettingText(kOptionsSection, row.name, options.*row.member ? "1" : "0");
  WriteSettingText(kOptionsSection, "ContentDirectory", options.content_directory.c_str());
  WriteSettingText(kOptionsSection, "TestPicture", options.test_picture.c_str());
  WriteSettingNumber(kOptionsSection, "B-Width", ClampBasedSize(options.based_width));
  WriteSettingNumber(kOptionsSection, "B-Height", ClampBasedSize(options.based_height));
}

OptionSet ResetOptions(const OptionSet& shown) {
  OptionSet reset = shown;
  reset.ask_delete = true;
  reset.start_last = false;
  reset.show_progress = true;
  reset.ask_exit = true;
  reset.keep_xalpha_pictures = false;
  reset.show_xalpha_pictures = true;
  reset.show_picture = true;
  reset.based_width = kDefaultBasedWidth;
  reset.based_height = kDefaultBasedHeight;
  return reset;
}

}  // namespace ombrix::editor
