// The callers' side of the outside picture converter Im_pp: finding it, running it, taking the
// bitmap it leaves on the clipboard and reading the report it writes about a picture file.
//
// The converter is started with four separate arguments: its own path, "[Load]" or "[Info]",
// "[input path]" and "[output path]" (an empty path gives "[]"). "Load" leaves the picture on
// the clipboard store as a packed DIB under the standard bitmap format; "Info" writes the
// report file named by the output path, lines of the form "Key = value" with the keys Width,
// Height, BPP and Format.
//
// These calls keep module-wide state (the converter path, the report cache) and are meant for
// one thread, like every caller in the system.
#pragma once

#include <string>

#include "core/platform/process.h"

namespace ombrix {

using platform::Pump;

inline constexpr const char* kUnknownFormatName = "Unknown Format (?)";

// Where the converter is, in this order:
//  1. the path given to SetConverterPath, when one is set (hosts and tests);
//  2. the settings value "Im_pp" of the product key;
//  3. when that is empty, "UGIO/Im_pp" under the installation root: the settings value
//     "InstallDir", or when that is empty too, the folder above the one that holds the running
//     module (an installation keeps programs in Programs/ and plug-ins in Plugins/).
// The result of 2 and 3 is remembered and worked out again when the remembered path does not
// name an existing file.
std::string ConverterPath();
// Null or empty returns to the rule above.
void SetConverterPath(const char* path);

// Runs the converter and waits for it, calling pump meanwhile. An input or output path that
// names an existing file is passed in its absolute form, and the folder of the last such path
// is the converter's working folder (else the converter's own folder). False when the
// converter does not exist or cannot be started; true once it has ended, whatever its exit
// status.
bool RunConverter(const char* command, const char* input, const char* output, const Pump& pump = {});

// Runs "Load" on a picture file. When the converter is missing, shows "Cannot find UGIO
// module" (caption "Ombrix - Error") and returns false; false as well when the picture file
// does not exist or the converter cannot be started.
bool ConvertToClipboard(const char* path, const Pump& pump = {});

struct PictureReport {
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
  std::string format_name = kUnknownFormatName;
};

// The report about a picture file, from the converter's "Info" run or from the cache of the last
// path asked about (exact comparison). True when the format is a known one. The converter writes
// into a private file created for the purpose in the clipboard store's directory, removed
// afterwards.
bool GetPictureReport(const char* path, PictureReport* report, const Pump& pump = {});
// Drops the cached report, so that the next request runs the converter.
void ForgetPictureReport();

// The format name for a report's Format value, compared without regard to case.
const char* FormatNameFor(const char* format_value);
// Applies one report line, read as "%s %c %s" (key, one separator character, value); a line
// without all three parts is ignored. Keys compare without regard to case.
void ApplyReportLine(const char* line, PictureReport* report);
// Applies every line of a report text, cut into lines of at most 255 characters.
void ApplyReportText(const std::string& text, PictureReport* report);

}  // namespace ombrix
