// ombrix-render: applies an effect script to pictures and frame sequences by driving the
// image-filter module exactly as a renderer does.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "core/parameter_kinds.h"
#include "core/platform/environment.h"
#include "core/platform/file_system.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"
#include "core/platform/worker_processes.h"
#include "core/plugin/last_error.h"
#include "core/plugin/plugin_host.h"
#include "core/script/script_file.h"
#include "core/settings/private_store.h"
#include "core/settings/settings.h"
#include "core/text/numbers.h"
#include "tools/ombrix-render/effect_check.h"
#include "tools/ombrix-render/effect_edits.h"
#include "tools/ombrix-render/frame.h"
#include "tools/ombrix-render/lightwave_host.h"
#include "tools/ombrix-render/random_filters.h"
#include "tools/ombrix-render/sequence.h"
#include "tools/ombrix-render/workers.h"
#include "tools/picture-reader/read_picture.h"

namespace {

using namespace ombrix;
using namespace ombrix::render;

std::string SystemReason() { return std::make_error_code(platform::LastSystemError()).message(); }

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// An interrupted run exits with 128 + the signal: 130 Ctrl-C, 143 SIGTERM, 129 SIGHUP.
int InterruptedStatus() { return 128 + (platform::InterruptSignal() != 0 ? platform::InterruptSignal() : 2); }

struct Options {
  std::string effect, input, output;
  std::string root;
  std::string save_scene, scene;
  std::string describe;
  std::string check;
  std::vector<std::string> templates;
  std::vector<EntryEdit> edits;
  bool proportional = false;
  bool frames_given = false;
  int first = 0, last = 0;
  bool list_filters = false;
  bool edit = false;
  bool progress = true;
  FrameWriteOptions write;
  int jobs = 0;  // 0: as many as the processors this process may use
  bool keep_going = false;
};

// A message's text on one line: its line breaks become blanks.
std::string OneLine(const char* text) {
  std::string line = text != nullptr ? text : "";
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  return line;
}

// The messages with an error caption the engine showed while the current frame was rendered.
std::vector<std::string> g_frame_errors;
// Called before a message is printed, so that it does not land in the middle of a progress line.
void (*g_before_message)() = nullptr;

void Usage(FILE* out) {
  std::fprintf(out,
               "usage: ombrix-render [options] EFFECT.Oms INPUT OUTPUT\n"
               "       ombrix-render [options] --list-filters | --describe NAME\n"
               "       ombrix-render [options] --edit EFFECT.Oms\n"
               "       ombrix-render [options] --check EFFECT.Oms\n"
               "       ombrix-render [options] --template NAME [--template NAME ...] > EFFECT.Oms\n"
               "\n"
               "Applies an Ombrix effect script to a picture or a frame sequence through the image-filter\n"
               "module, as a renderer does. INPUT and OUTPUT are picture files (PNG, TIFF, JPEG, BMP,\n"
               "Targa, ...) or sequence patterns such as shot.%%04d.png. Alpha channels pass through.\n"
               "\n"
               "options:\n"
               "  --frames A-B       frames to render (required with sequence patterns)\n"
               "  --frame N          one frame (default for single pictures: the script's test frame)\n"
               "  --root DIR         installation root (default: the tree this program is installed in)\n"
               "  --save-scene FILE  write the instance's scene text to FILE\n"
               "  --scene FILE       load the instance from a scene text instead of EFFECT.Oms\n"
               "  --list-filters     list every registered filter\n"
               "  --describe NAME    show one filter's parameters and options\n"
               "  --check EFFECT     only check that the effect can be rendered here, and say what it holds\n"
               "  --template NAME    write an effect of these filters with the catalogue's values, over the\n"
               "                     whole frame at every frame, to standard output (repeat for a chain)\n"
               "  --set N:SLOT=V     for this run, parameter slot SLOT of entry N (from 0) gets the value V;\n"
               "                     also N:step:SLOT=V (its step per frame), N:zone=L,T,R,B, N:alpha=PERCENT\n"
               "  --proportional     for this run, zones scale from the script's based size to the frame size\n"
               "  --edit             open the effect in the editor and wait; the edited effect is saved back\n"
               "  --keep-going       write a frame the effect failed on as it came out, report it and go on\n"
               "  --no-progress      no progress line\n"
               "  --jobs N           render a sequence in N worker processes (default: one per usable\n"
               "                     processor; 1 renders in this process)\n"
               "  --png-compression N  zlib level of PNG frames, 0 (none) to 9 (smallest); default 1\n"
               "  --tiff-compression none|lzw|deflate  compression of TIFF frames (default none)\n"
               "  --help, --version\n"
               "\n"
               "A frame fails when the effect was not applied whole: the script cannot be read, a plug-in,\n"
               "filter or picture it names cannot be found, a filter fails or the engine shows an error.\n"
               "A failed frame is not written: the run stops there and names the frame and the reason.\n"
               "Questions the engine asks are answered \"No\"; nobody can answer them in this run.\n"
               "\n"
               "example:\n"
               "  ombrix-render --frames 1-24 Sepia.Oms 'in.%%04d.png' 'out.%%04d.png'\n"
               "\n"
               "exit status: 0 every frame written with the whole effect, 1 failure (also a failed frame\n"
               "under --keep-going), 2 usage, 130, 143, 129 interrupted by SIGINT, SIGTERM, SIGHUP\n");
}

bool ParseArguments(int argc, char** argv, Options& o, int& exit_code) {
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& target) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "ombrix-render: %s needs a value\n", a.c_str());
        return false;
      }
      target = argv[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      Usage(stdout);
      exit_code = 0;
      return false;
    } else if (a == "--version") {
      std::printf("ombrix-render 1.0\n");
      exit_code = 0;
      return false;
    } else if (a == "--frames" || a == "--frame") {
      std::string text;
      if (!value(text)) break;
      if (!ParseFrameRange(text, o.first, o.last) || (a == "--frame" && o.first != o.last)) {
        std::fprintf(stderr, "ombrix-render: bad frame range \"%s\"\n", text.c_str());
        exit_code = kExitUsage;
        return false;
      }
      o.frames_given = true;
    } else if (a == "--root") {
      if (!value(o.root)) break;
    } else if (a == "--save-scene") {
      if (!value(o.save_scene)) break;
    } else if (a == "--scene") {
      if (!value(o.scene)) break;
    } else if (a == "--describe") {
      if (!value(o.describe)) break;
    } else if (a == "--check") {
      if (!value(o.check)) break;
    } else if (a == "--template") {
      std::string name;
      if (!value(name)) break;
      o.templates.push_back(name);
    } else if (a == "--set") {
      std::string text, error;
      if (!value(text)) break;
      EntryEdit edit;
      if (!ParseEntryEdit(text, edit, error)) {
        std::fprintf(stderr, "ombrix-render: %s\n", error.c_str());
        exit_code = kExitUsage;
        return false;
      }
      o.edits.push_back(edit);
    } else if (a == "--proportional") {
      o.proportional = true;
    } else if (a == "--list-filters") {
      o.list_filters = true;
    } else if (a == "--edit") {
      o.edit = true;
    } else if (a == "--no-progress") {
      o.progress = false;
    } else if (a == "--jobs" || a == "--png-compression" || a == "--tiff-compression") {
      std::string text;
      if (!value(text)) break;
      size_t end = 0;
      int32_t n = 0;
      const bool number = text::ParseLeadingInt(text, end, n) && end == text.size();
      bool good = true;
      if (a == "--jobs")
        good = number && n >= 1 && n <= 1024, o.jobs = int(n);
      else if (a == "--png-compression")
        good = number && n >= 0 && n <= 9, o.write.png_compression = int(n);
      else
        good = ParseTiffCompression(text, o.write.tiff_compression);
      if (!good) {
        std::fprintf(stderr, "ombrix-render: bad value \"%s\" for %s (see --help)\n", text.c_str(), a.c_str());
        exit_code = kExitUsage;
        return false;
      }
    } else if (a == "--keep-going") {
      o.keep_going = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      std::fprintf(stderr, "ombrix-render: unknown option %s (see --help)\n", a.c_str());
      exit_code = kExitUsage;
      return false;
    } else {
      positional.push_back(a);
    }
  }
  exit_code = kExitUsage;
  if (o.list_filters || !o.describe.empty() || !o.check.empty() || !o.templates.empty())
    return positional.empty() || (Usage(stderr), false);
  if (o.edit) {
    if (positional.size() != 1) return Usage(stderr), false;
    o.effect = positional[0];
    return true;
  }
  const size_t needed = o.scene.empty() ? 3 : 2;
  if (positional.size() != needed) return Usage(stderr), false;
  size_t k = 0;
  if (o.scene.empty()) o.effect = positional[k++];
  o.input = positional[k++];
  o.output = positional[k];
  return true;
}

// Chooses the settings store: the current one (OMBRIX_REGISTRY_DIR, else the user's) when it
// knows an installation and no root was named; otherwise a private store filled with the
// defaults of the installation root, so that nothing of the user's is needed or changed.
std::string ChooseSettings(const Options& o, const std::string& root, std::string& private_dir) {
  // A store that knows an installation is used as it is, unless another root was named.
  if (o.root.empty() && !ReadSetting(nullptr, "InstallDir").empty()) {
    return platform::HasEnvironment("OMBRIX_REGISTRY_DIR") ? platform::GetEnvironment("OMBRIX_REGISTRY_DIR")
                                                           : "the user's settings store";
  }
  private_dir = CreatePrivateSettingsStore(root);
  if (private_dir.empty()) return "the user's settings store";
  return private_dir + " (defaults of " + root + ")";
}

// What would make every frame pass through untouched, checked before any work: the module
// renders nothing without its progress module, and without plug-ins no filter is found.
std::string InstallationProblem() {
  const std::string progress = ReadSetting(nullptr, "OmOutDll");
  if (!platform::CanOpenForReading(progress.c_str()))
    return "the progress module \"" + progress + "\" named by the settings cannot be opened";
  if (ReadSettingNumber("Plug-ins", "N_Plug", 0) <= 0) return "the settings register no filter plug-ins";
  return {};
}

int ListFilters(const Options& o) {
  PluginTable table;
  std::vector<std::string> problems;
  BuildHostPluginTable(table, &problems);
  for (const std::string& problem : problems)
    std::fprintf(stderr, "ombrix-render: %s\n", OneLine(problem.c_str()).c_str());
  bool found = o.describe.empty();
  for (int i = 0; i < table.Count(); ++i) {
    const FilterDescriptor& d = *table.At(i);
    if (o.describe.empty()) {
      std::printf("%-28s %s\n", (std::string("\"") + d.name + "\"").c_str(), d.file_name);
      continue;
    }
    if (o.describe != d.name) continue;
    found = true;
    std::printf("\"%s\" in %s (%s), help %s topic %d\n", d.name, d.file_name, d.title, d.help_file, d.help_topic);
    for (int k = 0; k < d.parameter_count; ++k)
      if (d.parameters[k].name[0] != '\0')
        std::printf("  Parameter_%d  %-22s value \"%s\" step \"%s\" (%s)\n", k, d.parameters[k].name,
                    d.parameters[k].value, d.parameters[k].step, KindName(d.parameters[k].kind));
    for (int k = 0; k < d.option_count; ++k)
      if (d.options[k].name[0] != '\0')
        std::printf("  Option_%d     %-22s %s (group %d)\n", k, d.options[k].name,
                    d.options[k].state > 0 ? "on" : "off", d.options[k].group);
  }
  if (!found) {
    std::fprintf(stderr, "ombrix-render: no filter named \"%s\"\n", o.describe.c_str());
    return kExitFailure;
  }
  return 0;
}

// Says what is wrong with the effect, one line each; true when nothing is.
bool EffectIsSound(const std::string& name, const std::string& script, EffectCheck* result = nullptr) {
  const EffectCheck check = CheckEffect(script);
  for (const std::string& problem : check.problems)
    std::fprintf(stderr, "ombrix-render: \"%s\": %s\n", name.c_str(), OneLine(problem.c_str()).c_str());
  if (result != nullptr) *result = check;
  return check.problems.empty();
}

int WriteTemplate(const Options& o) {
  PluginTable table;
  BuildHostPluginTable(table);
  std::string script, error;
  if (!TemplateEffect(o.templates, table, script, error)) {
    std::fprintf(stderr, "ombrix-render: %s\n", error.c_str());
    return kExitFailure;
  }
  if (std::fwrite(script.data(), 1, script.size(), stdout) != script.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "ombrix-render: cannot write the effect: %s\n", std::strerror(errno));
    return kExitFailure;
  }
  return 0;
}

int CheckOnly(const Options& o) {
  const auto data = platform::ReadWholeFile(o.check.c_str());
  if (!data) {
    std::fprintf(stderr, "ombrix-render: cannot read effect \"%s\": %s\n", o.check.c_str(), SystemReason().c_str());
    return kExitFailure;
  }
  EffectCheck check;
  const bool sound = EffectIsSound(o.check, *data, &check);
  std::printf("%s: %zu filter%s\n", o.check.c_str(), check.filters.size(), check.filters.size() == 1 ? "" : "s");
  for (size_t i = 0; i < check.filters.size(); ++i) std::printf("  %zu  %s\n", i, check.filters[i].c_str());
  std::printf("%s\n", sound ? "ready to render" : "not ready to render (see the messages)");
  return sound ? 0 : kExitFailure;
}

// Frame numbers as a short list: "3, 7-9".
std::string FrameList(const std::vector<int>& frames) {
  std::string list;
  for (size_t i = 0; i < frames.size();) {
    size_t j = i;
    while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1) ++j;
    if (!list.empty()) list += ", ";
    list += std::to_string(frames[i]);
    if (j > i) list += "-" + std::to_string(frames[j]);
    i = j + 1;
  }
  return list;
}

// The script's test frame, the frame a single picture is rendered at by default.
int TestFrameOf(const std::vector<std::string>& texts) {
  ScriptFile script;
  script.LoadText(ScriptFromSceneTexts(texts));
  return int16_t(script.GetInt("Header", "TestFrame"));
}

class ProgressLine {
 public:
  ProgressLine(bool on, int frames) : on_(on && platform::StandardErrorIsTerminal()), frames_(frames) {}
  ~ProgressLine() { Finish(); }
  void Frame(int index, int number) {
    index_ = index;
    number_ = number;
  }
  bool Rows(uint32_t done, uint32_t total) {
    if (on_) {
      std::fprintf(stderr, "\rombrix-render: frame %d/%d (#%d)  %3u%%", index_ + 1, frames_, number_,
                   total > 0 ? unsigned(100ull * done / total) : 100u);
      std::fflush(stderr);
      shown_ = true;
    }
    return !platform::InterruptRequested();
  }
  void Finish() {
    if (shown_) std::fputc('\n', stderr);
    shown_ = false;
  }

 private:
  bool on_;
  int frames_;
  int index_ = 0, number_ = 0;
  bool shown_ = false;
};

int Run(const Options& o, LightWaveHost& host, LWInstance instance) {
  std::string error;
  std::vector<std::string> texts;
  if (!o.scene.empty()) {
    auto data = platform::ReadWholeFile(o.scene.c_str());
    if (!data) {
      std::fprintf(stderr, "ombrix-render: cannot read scene \"%s\"\n", o.scene.c_str());
      return kExitFailure;
    }
    texts = SceneTextsFromScript(*data);
    // A saved scene already ends with its end line; keep only one.
    if (texts.size() >= 2 && texts[texts.size() - 2] == OMBRIX_LW_SCENE_END_LINE) texts.pop_back();
  } else {
    auto data = platform::ReadWholeFile(o.effect.c_str());
    if (!data) {
      std::fprintf(stderr, "ombrix-render: cannot read effect \"%s\": %s\n", o.effect.c_str(), SystemReason().c_str());
      return kExitFailure;
    }
    texts = SceneTextsFromScript(*data);
  }
  if (!o.edit && (!o.edits.empty() || o.proportional)) {
    std::string script = ScriptFromSceneTexts(texts), reason;
    if (!ApplyEntryEdits(script, o.edits, o.proportional, reason)) {
      std::fprintf(stderr, "ombrix-render: %s\n", reason.c_str());
      return kExitUsage;
    }
    texts = SceneTextsFromScript(script);
  }
  // What can be known before the first frame is checked before it: an effect that cannot be
  // rendered whole renders nothing.
  if (!o.edit && !EffectIsSound(o.scene.empty() ? o.effect : o.scene, ScriptFromSceneTexts(texts))) {
    std::fprintf(stderr, "ombrix-render: nothing rendered\n");
    return kExitFailure;
  }
  const std::string load_error = host.LoadScene(instance, texts);
  if (!load_error.empty()) {
    std::fprintf(stderr, "ombrix-render: %s\n", load_error.c_str());
    return kExitFailure;
  }

  if (o.edit) {
    const int result = host.ActivateInterface(instance);
    if (result != 0) {
      std::fprintf(stderr, "ombrix-render: the editor could not be started (result %d)\n", result);
      return kExitFailure;
    }
    const std::string edited = ScriptFromSceneTexts(host.SaveScene(instance));
    if (!edited.empty() && !platform::ReplaceFileAtomically(o.effect.c_str(), edited)) {
      std::fprintf(stderr, "ombrix-render: cannot write \"%s\"\n", o.effect.c_str());
      return kExitFailure;
    }
    return 0;
  }

  if (!o.save_scene.empty()) {
    std::string scene;
    for (const std::string& t : host.SaveScene(instance)) scene += t + "\n";
    if (!platform::ReplaceFileAtomically(o.save_scene.c_str(), scene)) {
      std::fprintf(stderr, "ombrix-render: cannot write \"%s\"\n", o.save_scene.c_str());
      return kExitFailure;
    }
  }

  auto input = PathPattern::Parse(o.input, error);
  auto output = input ? PathPattern::Parse(o.output, error) : std::nullopt;
  if (!input || !output) {
    std::fprintf(stderr, "ombrix-render: %s\n", error.c_str());
    return kExitUsage;
  }
  // A still INPUT may be rendered into an OUTPUT sequence (the effect animates over it); an
  // input sequence needs an output sequence.
  if (input->IsSequence() && !output->IsSequence()) {
    std::fprintf(stderr, "ombrix-render: an INPUT sequence needs an OUTPUT sequence pattern\n");
    return kExitUsage;
  }
  int first = o.first, last = o.last;
  if (!o.frames_given) {
    if (input->IsSequence() || output->IsSequence()) {
      std::fprintf(stderr, "ombrix-render: --frames is required with sequence patterns\n");
      return kExitUsage;
    }
    first = last = TestFrameOf(texts);
  }
  if (!output->IsSequence() && first != last) {
    std::fprintf(stderr, "ombrix-render: a single OUTPUT picture takes one frame (use --frame)\n");
    return kExitUsage;
  }

  const int count = last - first + 1;
  std::vector<std::string> inputs;
  for (int n = first; n <= last && (input->IsSequence() || inputs.empty()); ++n) inputs.push_back(input->ForFrame(n));
  const std::vector<int> missing = MissingFrames(inputs, first);
  if (!missing.empty()) {
    if (input->IsSequence())
      std::fprintf(stderr, "ombrix-render: input frames missing or unreadable (%s): %s; nothing rendered\n",
                   o.input.c_str(), FrameList(missing).c_str());
    else
      std::fprintf(stderr, "ombrix-render: cannot open \"%s\": %s; nothing rendered\n", o.input.c_str(),
                   SystemReason().c_str());
    return kExitFailure;
  }
  const std::string folder = platform::DirectoryPart(output->ForFrame(first));
  if (!platform::CanWriteDirectory(folder.c_str())) {
    std::fprintf(stderr, "ombrix-render: cannot write into the folder \"%s\": %s; nothing rendered\n", folder.c_str(),
                 SystemReason().c_str());
    return kExitFailure;
  }
  // Frames of an effect with a random filter depend on the frames the same process rendered
  // before them, so workers then take contiguous chunks.
  const std::vector<std::string> random = RandomFiltersOf(ScriptFromSceneTexts(texts));
  FrameDealer frames(count, o.jobs > 0 ? o.jobs : platform::UsableProcessorCount(), !random.empty(), o.progress);
  if (frames.Pooled() && !random.empty())
    std::fprintf(stderr,
                 "ombrix-render: \"%s\" draws random numbers, so each of the %d workers renders a contiguous chunk of "
                 "frames with its own random sequence (the grain of %d chunks; --jobs 1 keeps one sequence)\n",
                 random.front().c_str(), frames.Jobs(), frames.Jobs());
  ProgressLine progress(o.progress && !frames.Pooled(), count);
  static ProgressLine* current_progress = nullptr;
  current_progress = &progress;
  g_before_message = [] { current_progress->Finish(); };
  int status = 0;
  std::vector<int> failed;
  bool kept = false;  // the frame before failed and was written all the same (--keep-going)
  for (int i = 0; status == 0 && frames.Next(i, kept ? kFrameKeptFailed : 0);) {
    kept = false;
    const int number = first + i;
    if (platform::InterruptRequested()) {
      status = InterruptedStatus();
      break;
    }
    Frame frame;
    const std::string in_path = input->ForFrame(number), out_path = output->ForFrame(number);
    picture_reader::ReadNotes notes;
    if (!ReadFrame(in_path, frame, error, &notes)) {
      progress.Finish();
      std::fprintf(stderr, "ombrix-render: %s\n", error.c_str());
      status = kExitFailure;
      break;
    }
    if (!notes.damage.empty()) {
      progress.Finish();
      const std::string damage = OneLine(notes.damage.front().c_str());
      if (!o.keep_going) {
        std::fprintf(stderr, "ombrix-render: frame %d failed and was not written: \"%s\" is damaged: %s\n", number,
                     in_path.c_str(), damage.c_str());
        status = kExitFailure;
        break;
      }
      std::fprintf(stderr, "ombrix-render: warning: frame %d: \"%s\" is damaged (%s); rendered as it was read\n",
                   number, in_path.c_str(), damage.c_str());
      failed.push_back(number);
      kept = true;
    }
    // The renderer's interface gives the alpha back as it came: a filter that moves pixels moves
    // the colour away from its cut-out.
    if (frame.has_alpha && frames.FirstToSay("alpha kept")) {
      progress.Finish();
      std::fprintf(stderr,
                   "ombrix-render: \"%s\" has alpha: it goes out unchanged; filters that move pixels (Twirl, "
                   "Roll, the flips, ...) move the colour but not the cut-out\n",
                   in_path.c_str());
    }
    for (const std::string& change : notes.changes)
      if (frames.FirstToSay(change)) {
        progress.Finish();
        std::fprintf(stderr, "ombrix-render: \"%s\": %s\n", in_path.c_str(), change.c_str());
      }
    progress.Frame(i, number);
    g_frame_errors.clear();
    const bool done =
        host.Process(instance, frame, number, [&](uint32_t d, uint32_t t) { return progress.Rows(d, t); });
    if (!done || platform::InterruptRequested()) {
      status = InterruptedStatus();
      break;
    }
    std::string failure = host.FrameFailure(instance);
    if (failure.empty() && !g_frame_errors.empty()) failure = g_frame_errors.front();
    if (!failure.empty()) {
      progress.Finish();
      if (!o.keep_going) {
        std::fprintf(stderr, "ombrix-render: frame %d failed and was not written: %s\n", number,
                     OneLine(failure.c_str()).c_str());
        status = kExitFailure;
        break;
      }
      std::fprintf(stderr, "ombrix-render: frame %d failed and is written as the engine left it: %s\n", number,
                   OneLine(failure.c_str()).c_str());
      if (failed.empty() || failed.back() != number) failed.push_back(number);
      kept = true;
    }
    if (frame.has_alpha && !FormatHoldsAlpha(out_path) && frames.FirstToSay("alpha dropped")) {
      progress.Finish();
      std::fprintf(stderr, "ombrix-render: \"%s\": the format has no alpha channel; the alpha is dropped\n",
                   out_path.c_str());
    }
    if (!WriteFrame(out_path, frame, error, o.write)) {
      progress.Finish();
      std::fprintf(stderr, "ombrix-render: %s\n", error.c_str());
      status = kExitFailure;
    }
  }
  status = frames.Finish(status);
  progress.Finish();
  g_before_message = nullptr;
  // A worker ends here: the parent sums up the run and removes the instance, its script and
  // the settings store.
  frames.EndWorker(status);
  for (const int index : frames.KeptFailures()) failed.push_back(first + index);
  std::sort(failed.begin(), failed.end());
  if (platform::InterruptRequested()) {
    status = InterruptedStatus();
    std::fprintf(stderr, "ombrix-render: interrupted (%s); the frame in progress was not written\n",
                 platform::InterruptSignal() == SIGTERM  ? "SIGTERM"
                 : platform::InterruptSignal() == SIGHUP ? "SIGHUP"
                                                         : "SIGINT");
  } else if (status == 0 && !failed.empty()) {
    std::string list;
    for (const int n : failed) list += (list.empty() ? "" : ", ") + std::to_string(n);
    std::fprintf(stderr, "ombrix-render: %d frame%s written to %s; %zu failed: %s\n", count, count == 1 ? "" : "s",
                 o.output.c_str(), failed.size(), list.c_str());
    status = kExitFailure;
  } else if (status == 0) {
    std::fprintf(stderr, "ombrix-render: %d frame%s written to %s\n", count, count == 1 ? "" : "s", o.output.c_str());
  }
  return status;
}

}  // namespace

// The message boxes of the engine and of the modules it loads come here. Nobody can answer in
// this run: a question is answered "No", and the answer is said. A message with an error
// caption makes the frame being rendered a failure.
extern "C" __attribute__((visibility("default"))) int Ombrix_Message_Box_Handler(const char* text, const char* caption,
                                                                                 int icon, int question) {
  if (g_before_message != nullptr) g_before_message();
  std::fprintf(stderr, "ombrix-render: %s: %s\n", OneLine(caption).c_str(), OneLine(text).c_str());
  if (question != 0) {
    std::fprintf(stderr, "ombrix-render: answered \"No\" (nobody can answer questions in this run)\n");
    return 0;
  }
  if (icon == platform::kIconError || (caption != nullptr && std::strstr(caption, "Error") != nullptr))
    g_frame_errors.push_back(OneLine(text));
  return 1;
}
static_assert(std::is_same_v<decltype(&Ombrix_Message_Box_Handler), ombrix::platform::MessageBoxHandler>);

int main(int argc, char** argv) {
  Options o;
  int exit_code = 0;
  if (!ParseArguments(argc, argv, o, exit_code)) return exit_code;
  // The image-filter module changes the current directory when it binds the progress module,
  // so every path the user gave is made absolute first.
  const std::string cwd = platform::CurrentDirectory();
  for (std::string* path : {&o.effect, &o.input, &o.output, &o.root, &o.scene, &o.save_scene, &o.check})
    if (!path->empty() && !platform::IsAbsolutePath(path->c_str())) *path = platform::JoinPath(cwd, *path);

  // From here on an interrupt only raises a flag, so every way out removes what the run made
  // (the private settings store, the instance's script).
  platform::WatchInterrupt();
  const std::string root = o.root.empty() ? platform::DirectoryPart(platform::ExecutableDirectory()) : o.root;
  const std::string module = platform::JoinPath(platform::JoinPath(root, "Programs"), "ombrix-filter.p");
  std::string private_settings;
  const std::string settings = ChooseSettings(o, root, private_settings);
  std::fprintf(stderr, "ombrix-render: settings from %s\n", settings.c_str());

  int status = 0;
  const std::string problem = InstallationProblem();
  if (!problem.empty()) {
    std::fprintf(stderr, "ombrix-render: %s\n", problem.c_str());
    status = kExitFailure;
  } else if (!o.check.empty()) {
    status = CheckOnly(o);
  } else if (!o.templates.empty()) {
    status = WriteTemplate(o);
  } else if (o.list_filters || !o.describe.empty()) {
    status = ListFilters(o);
  } else {
    StartPictureLibrary(argv[0]);
    LightWaveHost host;
    std::string error;
    if (!host.Open(module, error) || !host.ActivateHandler(error)) {
      std::fprintf(stderr, "ombrix-render: %s\n", error.c_str());
      status = kExitFailure;
    } else if (LWInstance instance = host.Create()) {
      status = Run(o, host, instance);
      host.Destroy(instance);
    } else {
      std::fprintf(stderr, "ombrix-render: the image-filter module made no instance\n");
      status = kExitFailure;
    }
  }
  RemovePrivateSettingsStore(private_settings);
  if (platform::InterruptRequested() && status != 0) status = InterruptedStatus();
  platform::StopWatchingInterrupt();
  return status;
}
