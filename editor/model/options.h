// The editor's option set: eight flags, the content directory, the test picture and the based
// size, kept under "Options" of the product key, with their defaults and stored forms.
#pragma once

#include <span>
#include <string>

namespace ombrix::editor {

inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kVersionValue = "X 1.0e";
inline constexpr const char* kCopyrightValue = "Ombrix image effects, copyright Zorvex. All rights reserved.";
// A content directory is kept to this many characters.
inline constexpr size_t kMaxContentDirectory = 255;
inline constexpr int kDefaultBasedWidth = 640;
inline constexpr int kDefaultBasedHeight = 480;

struct OptionSet {
  bool compute_extra = false;  // resize previews with the two-pass resize
  bool ask_delete = true;
  bool start_last = false;  // start on the last-run script, and save to it on confirm
  bool show_xalpha_pictures = true;
  bool keep_xalpha_pictures = true;
  bool show_progress = true;  // read by the image-filter module
  bool ask_exit = true;       // Cancel and closing the window ask first
  bool show_picture = true;   // show the picture after a render and after a new test picture
  std::string content_directory;
  std::string test_picture;
  int based_width = kDefaultBasedWidth;
  int based_height = kDefaultBasedHeight;
};

// One flag: its value name under "Options", its caption in the options window and where it lives
// in the option set (whose member initialisers are the defaults), in the options window's order.
struct FlagRow {
  const char* name;
  const char* caption;
  bool OptionSet::*member;
};
std::span<const FlagRow> FlagRows();

// A stored flag is on when the number it holds is exactly 1 ("2" or "-1" are off); a value that
// is missing or holds no decimal number gives the flag's default.
bool ReadFlag(const char* name, bool default_value);
// The option set from the settings store, each value with its default. A based size stored
// below 1 reads as 1, so no script is ever written with a based size of 0 (the render engine
// divides by it); the content directory is cut to kMaxContentDirectory characters.
OptionSet ReadOptionSet();
// Writes "Version" and "Copyright" under the product key, then every option under "Options":
// flags as "1" or "0", the two texts, and the based size (each at least 1).
void SaveOptionSet(const OptionSet& options);

// A based size as the options window stores it: a value below 1 becomes 1.
int ClampBasedSize(int value);
// What "Reset" in the options window shows: the flags below set, the based size 640 x 480, and
// everything else (the compute-extrapolations flag, the texts) as shown before.
OptionSet ResetOptions(const OptionSet& shown);

}  // namespace ombrix::editor
