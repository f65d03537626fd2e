// Finding and running the outside converter, and reading its picture reports.
#include "core/import/converter.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/platform/clipboard.h"
#include "core/platform/dynamic_library.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"
#include "core/settings/settings.h"

namespace ombrix {
namespace {

struct ConverterState {
  std::string chosen;      // set by SetConverterPath
  std::string remembered;  // worked out from the settings or the installation
};

ConverterState& State() {
  static ConverterState state;
  return state;
}

struct ReportCache {
  bool valid = false;
  std::string path;
  PictureReport report;
};

ReportCache& Cache() {
  static ReportCache cache;
  return cache;
}

std::string WorkOutConverterPath() {
  std::string path = ReadSetting(nullptr, "Im_pp", "");
  if (!path.empty()) return path;
  std::string root = ReadSetting(nullptr, "InstallDir", "");
  if (root.empty()) {
    const std::string module_dir = platform::ModuleDirectoryOf(reinterpret_cast<const void*>(&WorkOutConverterPath));
    root = platform::DirectoryPart(module_dir);
  }
  if (root.empty()) return {};
  return platform::JoinPath(platform::JoinPath(root, "UGIO"), "Im_pp");
}

bool EqualIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return *a == *b;
}

// The value as a decimal number: its leading digits (with a sign), 0 when there are none,
// clamped to the range of int.
int DecimalValue(const char* text) {
  errno = 0;
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}

// A path that names an existing file, made absolute, because the converter runs in another
// working folder.
std::string AbsoluteForm(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

}  // namespace

std::string ConverterPath() {
  ConverterState& state = State();
  if (!state.chosen.empty()) return state.chosen;
  if (state.remembered.empty() || !platform::FileExists(state.remembered.c_str()))
    state.remembered = WorkOutConverterPath();
  return state.remembered;
}

void SetConverterPath(const char* path) { State().chosen = path != nullptr ? path : ""; }

bool RunConverter(const char* command, const char* input, const char* output, const Pump& pump) {
  const std::string converter = ConverterPath();
  std::string working = platform::DirectoryPart(converter);
  std::string in = input != nullptr ? input : "";
  std::string out = output != nullptr ? output : "";
  if (!in.empty() && platform::FileExists(in.c_str())) {
    in = AbsoluteForm(in);
    working = platform::DirectoryPart(in);
  }
  if (!out.empty() && platform::FileExists(out.c_str())) {
    out = AbsoluteForm(out);
    working = platform::DirectoryPart(out);
  }
  if (converter.empty() || !platform::FileExists(converter.c_str())) return false;

  platform::StartRequest request;
  request.program = converter;
  request.arguments = {"[" + std::string(command != nullptr ? command : "") + "]", "[" + in + "]", "[" + out + "]"};
  request.working_directory = working;
  platform::Process process;
  if (!process.Start(request)) return false;
  process.Wait(pump);
  return true;
}

bool ConvertToClipboard(const char* path, const Pump& pump) {
  const std::string converter = ConverterPath();
  if (converter.empty() || !platform::FileExists(converter.c_str())) {
    platform::ShowMessageBox("Cannot find UGIO module", "Ombrix - Error", platform::kIconError);
    return false;
  }
  if (path == nullptr || !platform::FileExists(path)) return false;
  return RunConverter("Load", path, "", pump);
}

const char* FormatNameFor(const char* value) {
  struct Row {
    const char* value;
    const char* name;
  };
  static constexpr Row kFormats[] = {
      {"RLE", "Windows compressed bitmap (RLE)"},
      {"BMP", "Windows bitmap (BMP)"},
      {"PCX", "Zsoft PaintBrush (PCX)"},
      {"GIF", "CompuServe Graphic Interchange Format (GIF)"},
      {"TIF", "Tagged Image File Format (TIFF,TIF)"},
      {"TIFF", "Tagged Image File Format (TIFF,TIF)"},
      {"JPG", "Join Photographic Expert Group (JPEG,JPG)"},
      {"WMF", "Windows MetaFile (WMF)"},
      {"ICO", "Windows Icon (ICO)"},
      {"ICW", "Windows Hyper Screen Icon (ICW)"},
      {"OS2", "OS2 Bitmap (OS2,BMP)"},
  };
  if (value != nullptr)
    for (const Row& row : kFormats)
      if (EqualIgnoringCase(value, row.value)) return row.name;
  return kUnknownFormatName;
}

void ApplyReportLine(const char* line, PictureReport* report) {
  if (line == nullptr || report == nullptr) return;
  // A line holds at most 255 characters, so neither word can overflow its field.
  char key[256];
  char value[256];
  char separator = 0;
  if (std::sscanf(line, "%255s %c %255s", key, &separator, value) != 3) return;
  if (EqualIgnoringCase(key, "Width")) {
    report->width = DecimalValue(value);
  } else if (EqualIgnoringCase(key, "Height")) {
    report->height = DecimalValue(value);
  } else if (EqualIgnoringCase(key, "BPP")) {
    report->bits_per_pixel = DecimalValue(value);
  } else if (EqualIgnoringCase(key, "Format")) {
    report->format_name = FormatNameFor(value);
  }
}

void ApplyReportText(const std::string& text, PictureReport* report) {
  // Lines are read into a 256-byte buffer: a longer line arrives in pieces of 255 characters,
  // each read as a line of its own.
  constexpr size_t kLineCharacters = 255;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (end - at > kLineCharacters) end = at + kLineCharacters;
    ApplyReportLine(text.substr(at, end - at).c_str(), report);
    at = end;
  }
}

bool GetPictureReport(const char* path, PictureReport* report, const Pump& pump) {
  PictureReport result;
  ReportCache& cache = Cache();
  if (path != nullptr && cache.valid && cache.path == path) {
    result = cache.report;
    if (report != nullptr) *report = result;
    return result.format_name != kUnknownFormatName;
  }
  if (report != nullptr) *report = result;
  if (path == nullptr || !platform::FileExists(path)) return false;

  // A report file of our own, made fresh for this request, so no one else's file or link can
  // stand in its place.
  const std::string report_path = platform::CreatePrivateFile("report");
  if (report_path.empty()) return false;
  if (!RunConverter("Info", path, report_path.c_str(), pump)) {
    platform::RemoveFile(report_path.c_str());
    return false;
  }
  const std::optional<std::string> text = platform::ReadWholeFile(report_path.c_str());
  platform::RemoveFile(report_path.c_str());
  if (!text) return false;
  ApplyReportText(*text, &result);
  cache.valid = true;
  cache.path = path;
  cache.report = result;
  if (report != nullptr) *report = result;
  return result.format_name != kUnknownFormatName;
}

void ForgetPictureReport() { Cache() = ReportCache{}; }

}  // namespace ombrix
