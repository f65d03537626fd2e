// omout-try: binds the progress module by name, as the render engine does, and runs a pretend
// render through it: a window under a display, a progress line on a terminal without one.
//
//   omout-try [--module PATH] [--filters N] [--rows N] [--delay-ms N] [--lightwave] [--ask]
//
// The module is PATH, else the settings value "OmOutDll", else the staged Programs/OmOutX.Omw.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "core/omout_api.h"
#include "core/platform/dynamic_library.h"
#include "core/settings/settings.h"

namespace {

using namespace ombrix;

struct OmOut {
  platform::LibraryHandle library = nullptr;
  OmOpenProgressProc open_progress = nullptr;
  OmInitProgressProc init_progress = nullptr;
  OmSetMessageProc set_message = nullptr;
  OmUpdateProgressProc update_progress = nullptr;
  OmCloseProgressProc close_progress = nullptr;
  OmShowProgressProc show_progress = nullptr;
  OpenMessageWinProc open_message_win = nullptr;
  OmInitOmOutDllProc init_omout_dll = nullptr;
  int32_t* lightwave_call = nullptr;
};

template <typename T>
void Bind(const OmOut& module, const char* name, T& target) {
  target = reinterpret_cast<T>(platform::LibrarySymbol(module.library, name));
  if (target == nullptr) std::fprintf(stderr, "omout-try: the module does not export %s\n", name);
}

bool Load(const std::string& path, OmOut& module) {
  module.library = platform::OpenLibrary(path.c_str());
  if (module.library == nullptr) {
    std::fprintf(stderr, "omout-try: cannot load %s: %s\n", path.c_str(), platform::LibraryError().c_str());
    return false;
  }
  Bind(module, omout::kOpenProgress, module.open_progress);
  Bind(module, omout::kInitProgress, module.init_progress);
  Bind(module, omout::kSetMessage, module.set_message);
  Bind(module, omout::kUpdateProgress, module.update_progress);
  Bind(module, omout::kCloseProgress, module.close_progress);
  Bind(module, omout::kShowProgress, module.show_progress);
  Bind(module, omout::kOpenMessageWin, module.open_message_win);
  Bind(module, omout::kInitOmOutDll, module.init_omout_dll);
  Bind(module, omout::kLightWaveCall, module.lightwave_call);
  return module.open_progress != nullptr && module.init_progress != nullptr && module.set_message != nullptr &&
         module.update_progress != nullptr && module.close_progress != nullptr && module.open_message_win != nullptr &&
         module.lightwave_call != nullptr;
}

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
    } else {
      const bool help = arg == "--help";
      std::fprintf(help ? stdout : stderr,
                   "usage: omout-try [--module PATH] [--filters N] [--rows N] [--delay-ms N] [--lightwave] [--ask]\n"
                   "Loads the progress module by path, binds its names as the render engine does and runs a\n"
                   "pretend render: a progress window under a display, a progress line on the terminal\n"
                   "without one (OMBRIX_HEADLESS=1). Ctrl-C or the window's Cancel stops it.\n"
                   "options:\n"
                   "  --module PATH   the module (default: the settings' OmOutDll, else the staged one)\n"
                   "  --filters N     filters of the pretend render (default 4)\n"
                   "  --rows N        rows per filter (default 120)\n"
                   "  --delay-ms N    pause per row (default 8)\n"
                   "  --lightwave     as when called from the renderer\n"
                   "  --ask           show a question first\n"
                   "  --help          this text\n"
                   "example: OMBRIX_HEADLESS=1 omout-try --filters 2 --rows 60\n");
      return help ? 0 : 2;
    }
  }
  if (path.empty()) path = ReadSetting(nullptr, "OmOutDll", "");
  if (path.empty()) path = std::string(OMBRIX_STAGE_DIR) + "/Programs/OmOutX.Omw";

  OmOut om;
  if (!Load(path, om)) return 1;
  *om.lightwave_call = lightwave ? 1 : 0;

  if (ask) {
    const int32_t answer = om.open_message_win(
        "Ombrix - Warning", "Cannot find file\n\"Brushes/Stone.tga\".\nDo you want to replace it with a new file.",
        kOmOutQuestion);
    std::printf("question answered %d\n", answer);
  }

  static const char* const kNames[] = {"Blur", "Twirl", "Emboss", "Colour Balance", "Spherize", "Noise"};
  om.open_progress(lightwave ? 1 : 0);
  om.init_progress(1, 0, filters);
  char text[256];
  std::snprintf(text, sizeof text, "Ombrix Working - Frame %d ...", 1);
  om.set_message(text, "Loading filters...", nullptr, nullptr);

  bool cancelled = false;
  for (int i = 1; i <= filters && !cancelled; ++i) {
    const char* name = kNames[(i - 1) % 6];
    std::snprintf(text, sizeof text, "Total work (%d/%d)", i, filters);
    om.set_message(nullptr, text, nullptr, nullptr);
    cancelled = om.update_progress(1, i) == 0;
    std::snprintf(text, sizeof text, "Applying \"%s\"...", name);
    om.set_message(nullptr, nullptr, text, text);
    cancelled = cancelled || om.update_progress(2, 0) == 0;
    om.init_progress(2, 0, rows);
    for (int row = 0; row < rows && !cancelled; ++row) {
      if (row == rows / 2) {
        std::snprintf(text, sizeof text, "Second half of \"%s\"...", name);
        om.set_message(nullptr, nullptr, nullptr, text);
      }
      cancelled = om.update_progress(2, row + 1) == 0;
      std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    }
  }
  om.update_progress(1, filters + 1);
  om.close_progress();

  if (cancelled) om.open_message_win("Ombrix - Message", "The render was cancelled.", kOmOutInformation);
  std::printf("%s\n", cancelled ? "cancelled" : "completed");
  platform::CloseLibrary(om.library);
  return 0;
}
