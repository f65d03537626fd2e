// omout-try: binds the progress module by name, as the render engine does, and runs a pretend
// render through it: a window under a display, a progress line on a terminal without one.
//
//   omout-try [--module PATH] [--filters N] [--rows N] [--delay-ms N] [--lightwave] [--ask] [--help]
//
// The module is PATH, else the settings value "OmOutDll", else the staged Programs/OmOutX.Omw.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "core/omout_binding.h"
#include "core/platform/dynamic_library.h"
#include "core/settings/settings.h"

namespace {

using namespace ombrix;

// Loads the module and binds its names; the pretend render needs all but OmShowProgress and
// OmInitOmOutDll.
bool Load(const std::string& path, platform::LibraryHandle& library, ProgressFunctions& om) {
  library = platform::OpenLibrary(path.c_str());
  if (library == nullptr) {
    std::fprintf(stderr, "omout-try: cannot load %s: %s\n", path.c_str(), platform::LibraryError().c_str());
    return false;
  }
  om = BindOmOut(library);
  for (const char* name : UnboundOmOutNames(om))
    std::fprintf(stderr, "omout-try: the module does not export %s\n", name);
  return om.OmOpenProgress != nullptr && om.OmInitProgress != nullptr && om.OmSetMessage != nullptr &&
         om.OmUpdateProgress != nullptr && om.OmCloseProgress != nullptr && om.OpenMessageWin != nullptr &&
         om.OmOutLightWaveCall != nullptr;
}

constexpr const char* kUsage =
    "usage: %s [--module PATH] [--filters N] [--rows N] [--delay-ms N] [--lightwave] [--ask] [--help]\n";

int Number(const char* text, int fallback) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= 0 && value <= 100000 ? static_cast<int>(value) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path;
  int filters = 4;
  int rows = 120;
  int delay_ms = 8;
  bool lightwave = false;
  bool ask = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--module" && has_value) {
      path = argv[++i];
    } else if (arg == "--filters" && has_value) {
      filters = Number(argv[++i], filters);
    } else if (arg == "--rows" && has_value) {
      rows = Number(argv[++i], rows);
    } else if (arg == "--delay-ms" && has_value) {
      delay_ms = Number(argv[++i], delay_ms);
    } else if (arg == "--lightwave") {
      lightwave = true;
    } else if (arg == "--ask") {
      ask = true;
    } else if (arg == "--help") {
      std::printf(kUsage, argv[0]);
      std::printf(
          "Loads the progress module by path, binds its names as the render engine does and runs a\n"
          "pretend render: a progress window under a display, a progress line on the terminal\n"
          "without one (OMBRIX_HEADLESS=1). Ctrl-C or the window's Cancel stops it.\n"
          "options:\n"
          "  --module PATH   the module (default: the settings' OmOutDll, else the staged\n"
          "                  Programs/OmOutX.Omw)\n"
          "  --filters N     filters of the pretend render (default 4)\n"
          "  --rows N        rows per filter (default 120)\n"
          "  --delay-ms N    pause per row (default 8)\n"
          "  --lightwave     as when called from the renderer (sets OmOutLightWaveCall)\n"
          "  --ask           show a question first\n"
          "  --help          this text\n"
          "example: OMBRIX_HEADLESS=1 omout-try --filters 2 --rows 60\n");
      return 0;
    } else {
      std::fprintf(stderr, kUsage, argv[0]);
      return 2;
    }
  }
  if (path.empty()) path = ReadSetting(nullptr, "OmOutDll", "");
  if (path.empty()) path = std::string(OMBRIX_STAGE_DIR) + "/Programs/OmOutX.Omw";

  platform::LibraryHandle library = nullptr;
  ProgressFunctions om;
  if (!Load(path, library, om)) return 1;
  *om.OmOutLightWaveCall = lightwave ? 1 : 0;

  if (ask) {
    const int32_t answer = om.OpenMessageWin(
        "Ombrix - Warning", "Cannot find file\n\"Brushes/Stone.tga\".\nDo you want to replace it with a new file.",
        kOmOutQuestion);
    std::printf("question answered %d\n", answer);
  }

  static const char* const kNames[] = {"Blur", "Twirl", "Emboss", "Colour Balance", "Spherize", "Noise"};
  om.OmOpenProgress(lightwave ? 1 : 0);
  om.OmInitProgress(1, 0, filters);
  char text[256];
  std::snprintf(text, sizeof text, "Ombrix Working - Frame %d ...", 1);
  om.OmSetMessage(text, "Loading filters...", nullptr, nullptr);

  bool cancelled = false;
  for (int i = 1; i <= filters && !cancelled; ++i) {
    const char* name = kNames[(i - 1) % 6];
    std::snprintf(text, sizeof text, "Total work (%d/%d)", i, filters);
    om.OmSetMessage(nullptr, text, nullptr, nullptr);
    cancelled = om.OmUpdateProgress(1, i) == 0;
    std::snprintf(text, sizeof text, "Applying \"%s\"...", name);
    om.OmSetMessage(nullptr, nullptr, text, text);
    cancelled = cancelled || om.OmUpdateProgress(2, 0) == 0;
    om.OmInitProgress(2, 0, rows);
    for (int row = 0; row < rows && !cancelled; ++row) {
      if (row == rows / 2) {
        std::snprintf(text, sizeof text, "Second half of \"%s\"...", name);
        om.OmSetMessage(nullptr, nullptr, nullptr, text);
      }
      cancelled = om.OmUpdateProgress(2, row + 1) == 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    }
  }
  om.OmUpdateProgress(1, filters + 1);
  om.OmCloseProgress();

  if (cancelled) om.OpenMessageWin("Ombrix - Message", "The render was cancelled.", kOmOutInformation);
  std::printf("%s\n", cancelled ? "cancelled" : "completed");
  platform::CloseLibrary(library);
  return 0;
}
