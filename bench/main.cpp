// ombrix_bench: times the filters, the merge and the render engine against one copy of the
// picture, and prints the results as a Markdown table (and JSON).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/pictures.h"
#include "bench/sections.h"
#include "bench/targets.h"
#include "core/import/picture_writers.h"
#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/text/numbers.h"
#include "tools/ombrix-render/frame.h"

namespace {

using namespace ombrix;
using namespace ombrix::bench;

struct Arguments {
  BenchConfig config;
  std::string out = "results.json";
  std::string markdown;
  std::string targets = OMBRIX_BENCH_TARGETS;
  std::string reasons = OMBRIX_BENCH_REASONS;
  bool smoke = false;
  std::vector<std::string> sections;  // empty: all
};

bool Runs(const Arguments& a, const char* section) {
  if (a.sections.empty()) return true;
  for (const std::string& s : a.sections)
    if (s == section) return true;
  return false;
}

void Usage(FILE* out) {
  std::fprintf(out,
               "usage: ombrix_bench [options]\n"
               "Measures every filter of the staged plug-ins, the merge, the render procedure and\n"
               "ombrix-render against the yardstick (one copy of the picture), and writes the table.\n"
               "example: ombrix_bench --filter \"Contrast\" --section filters\n"
               "options:\n"
               "  --out FILE          results as JSON (default results.json)\n"
               "  --markdown FILE     the table also into FILE\n"
               "  --targets FILE      the target table (default: the one beside the sources)\n"
               "  --reasons FILE      measured reasons of the misses (default: misses.tsv beside the sources)\n"
               "  --stage DIR         the staged installation tree (default: the build's)\n"
               "  --size WxH          picture size (default 1920x1080)\n"
               "  --reps N            most repetitions per measure (default 25)\n"
               "  --frames N          frames of the ombrix-render pass (default 24; 0 skips it)\n"
               "  --sequence-frames N frames of the end-to-end sequence (default 48)\n"
               "  --filter NAME       only this filter (repeatable)\n"
               "  --section NAME      only this part (repeatable): filters, merges, renders, frames, sequence, peers;\n"
               "                      the yardstick always runs\n"
               "  --vips PATH         also time libvips (path of the vips program)\n"
               "  --convert PATH      also time ImageMagick (path of the convert program)\n"
               "  --smoke             one filter once at a small size, every part once (for the tests)\n");
}

// The whole text as a decimal number.
bool WholeNumber(const char* text, int& value) {
  size_t pos = 0;
  int32_t number = 0;
  const std::string_view view(text);
  if (!text::ParseLeadingInt(view, pos, number) || pos != view.size()) return false;
  value = number;
  return true;
}

bool Parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (arg == "--smoke") {
      a.smoke = true;
    } else if (arg == "--help") {
      Usage(stdout);
      std::exit(0);
    } else if ((arg == "--out" || arg == "--markdown" || arg == "--targets" || arg == "--reasons" || arg == "--stage" ||
                arg == "--size" || arg == "--reps" || arg == "--frames" || arg == "--sequence-frames" ||
                arg == "--filter" || arg == "--section" || arg == "--vips" || arg == "--convert") &&
               (v = value()) != nullptr) {
      if (arg == "--out")
        a.out = v;
      else if (arg == "--markdown")
        a.markdown = v;
      else if (arg == "--targets")
        a.targets = v;
      else if (arg == "--reasons")
        a.reasons = v;
      else if (arg == "--stage")
        a.config.stage_dir = v;
      else if (arg == "--vips")
        a.config.vips = v;
      else if (arg == "--convert")
        a.config.convert = v;
      else if (arg == "--filter")
        a.config.only_filters.push_back(v);
      else if (arg == "--section")
        a.sections.push_back(v);
      else if (arg == "--size") {
        const std::string size = v;
        const size_t x = size.find('x');
        if (x == std::string::npos || !WholeNumber(size.substr(0, x).c_str(), a.config.width) ||
            !WholeNumber(size.substr(x + 1).c_str(), a.config.height) || a.config.width < 2 || a.config.height < 2 ||
            a.config.width > 0xFFFF || a.config.height > 0xFFFF)
          return false;
      } else if (arg == "--reps") {
        if (!WholeNumber(v, a.config.plan.max_reps) || a.config.plan.max_reps < 1) return false;
        if (a.config.plan.min_reps > a.config.plan.max_reps) a.config.plan.min_reps = a.config.plan.max_reps;
      } else if (arg == "--sequence-frames") {
        if (!WholeNumber(v, a.config.sequence_frames) || a.config.sequence_frames < 1) return false;
      } else if (arg == "--frames") {
        if (!WholeNumber(v, a.config.frames) || a.config.frames < 0) return false;
      }
    } else {
      return false;
    }
  }
  if (a.smoke) {
    a.config.width = 64;
    a.config.height = 36;
    a.config.plan = RepeatPlan{1, 1, 0.0};
    a.config.yardstick_reps = 3;
    a.config.frames = a.config.frames > 0 ? 2 : 0;
    a.config.sequence_frames = 2;
    a.config.one_filter = a.config.only_filters.empty();
  }
  return true;
}

void RemoveTree(const std::string& path) {
  if (platform::IsDirectory(path)) {
    for (const std::string& name : platform::ListDirectory(path)) RemoveTree(platform::JoinPath(path, name));
    platform::RemoveDirectory(path.c_str());
  } else {
    platform::RemoveFile(path.c_str());
  }
}

std::string FirstLineWith(const std::string& file, const std::string& key) {
  const auto text = platform::ReadWholeFile(file.c_str());
  if (!text) return "";
  const size_t at = text->find(key);
  if (at == std::string::npos) return "";
  const size_t colon = text->find(':', at);
  const size_t end = text->find('\n', at);
  if (colon == std::string::npos || colon > end) return "";
  std::string value = text->substr(colon + 1, end - colon - 1);
  while (!value.empty() && value[0] == ' ') value.erase(0, 1);
  return value;
}

std::string LoadAverage() {
  const auto text = platform::ReadWholeFile("/proc/loadavg");
  if (!text) return "";
  return text->substr(0, text->find(' '));
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a;
  a.config.stage_dir = OMBRIX_STAGE_DIR;
  a.config.progress_module = OMBRIX_BENCH_PROGRESS_MODULE;
  if (!Parse(argc, argv, a)) {
    Usage(stderr);
    return 2;
  }
  // Renders make the progress module's folder the current one; paths must not depend on it.
  auto absolute = [](std::string& path) {
    if (!path.empty() && !platform::IsAbsolutePath(path.c_str()))
      path = platform::JoinPath(platform::CurrentDirectory(), path);
  };
  absolute(a.out);
  absolute(a.markdown);
  absolute(a.targets);
  absolute(a.reasons);
  absolute(a.config.stage_dir);
  const auto target_text = platform::ReadWholeFile(a.targets.c_str());
  std::string error;
  const auto targets = target_text ? TargetTable::Parse(*target_text, error) : std::nullopt;
  if (!targets) {
    std::fprintf(stderr, "ombrix_bench: cannot read the targets %s %s\n", a.targets.c_str(), error.c_str());
    return 1;
  }
  const auto reason_text = platform::ReadWholeFile(a.reasons.c_str());
  const auto reasons = reason_text ? ReasonTable::Parse(*reason_text, error) : std::nullopt;
  if (!reasons) {
    std::fprintf(stderr, "ombrix_bench: cannot read the reasons %s %s\n", a.reasons.c_str(), error.c_str());
    return 1;
  }
  // One thread everywhere: GraphicsMagick here and in ombrix-render, the peer tools.
  platform::SetEnvironment("OMP_NUM_THREADS", "1");
  platform::SetEnvironment("VIPS_CONCURRENCY", "1");
  platform::SetEnvironment("MAGICK_THREAD_LIMIT", "1");
  platform::SetEnvironment("OMBRIX_HEADLESS", "1");
  render::StartPictureLibrary(argv[0]);

  const std::string tmp = platform::GetEnvironment("TMPDIR").empty() ? "/tmp" : platform::GetEnvironment("TMPDIR");
  a.config.work_dir = platform::MakeTemporaryDirectory(platform::JoinPath(tmp, "ombrix-bench.XXXXXX"));
  if (a.config.work_dir.empty()) {
    std::fprintf(stderr, "ombrix_bench: cannot make a folder in %s\n", tmp.c_str());
    return 1;
  }

  BenchPictures pictures;
  pictures.second_targa = platform::JoinPath(a.config.work_dir, "Second.tga");
  if (!MakeBenchPicture(pictures.source, a.config.width, a.config.height, 1) ||
      !MakeBenchPicture(pictures.second, a.config.width, a.config.height, 2) ||
      !WriteTargaFile(pictures.second, pictures.second_targa.c_str(), 24)) {
    std::fprintf(stderr, "ombrix_bench: cannot make the pictures\n");
    RemoveTree(a.config.work_dir);
    return 1;
  }

  Report report;
  const std::string load_before = LoadAverage();
  const double start = NowMs();
  Yardstick yardstick(pictures.source);
  const int batch = a.config.yardstick_reps;
  yardstick.Sample(batch);
  if (Runs(a, "filters")) {
    MeasureFilters(a.config, pictures, report);
    yardstick.Sample(batch);
  }
  if (Runs(a, "merges")) {
    MeasureMerges(a.config, pictures, report);
    yardstick.Sample(batch);
  }
  // The frame sequence renders the chain script the render measures write.
  if (Runs(a, "renders") || Runs(a, "frames")) {
    MeasureRenders(a.config, pictures, report);
    yardstick.Sample(batch);
  }
  if (Runs(a, "frames") && a.config.frames > 0) MeasureFrameSequence(a.config, pictures, report);
  if (Runs(a, "sequence")) {
    for (const char* gm : {"/usr/bin/gm", "/usr/local/bin/gm"})
      if (a.config.gm.empty() && platform::FileExists(gm)) a.config.gm = gm;
    MeasureEndToEnd(a.config, report);
  }
  if (Runs(a, "peers") && (!a.config.vips.empty() || !a.config.convert.empty()))
    MeasurePeers(a.config, pictures, report);
  yardstick.Finish(report);
  const double seconds = (NowMs() - start) / 1000.0;

  report.SetContext("size", std::to_string(a.config.width) + "x" + std::to_string(a.config.height));
  report.SetContext("cpu", FirstLineWith("/proc/cpuinfo", "model name"));
  report.SetContext("load_before", load_before);
  report.SetContext("load_after", LoadAverage());
  char line[256];
  std::snprintf(line, sizeof line,
                "%d × %d, one thread; yardstick %s ms; run of %.0f s; load average %s before, %s after (the machine is "
                "shared, so medians carry noise).",
                a.config.width, a.config.height, FormatMs(report.Yardstick()).c_str(), seconds, load_before.c_str(),
                LoadAverage().c_str());
  report.AddNote(line);
  report.AddNote(
      "Times are medians of the processor time this process used (wall time is in the JSON); ombrix-render "
      "and the peer tools run as programs of their own and are timed by the wall clock. A peer's time is its "
      "fastest run less its fastest pass-through run (start, read, write).");

  const std::string markdown = report.Markdown(*targets, *reasons);
  std::fputs(markdown.c_str(), stdout);
  bool written = platform::ReplaceFileAtomically(a.out.c_str(), report.Json(*targets, *reasons));
  if (!a.markdown.empty()) written = platform::ReplaceFileAtomically(a.markdown.c_str(), markdown) && written;
  RemoveTree(a.config.work_dir);
  if (!written) {
    std::fprintf(stderr, "ombrix_bench: cannot write %s\n", a.out.c_str());
    return 1;
  }
  // A missed target is a finding, not a failure of the run; a measure that did not run is.
  for (const Row& row : report.Rows())
    if (!row.ok) return 3;
  return 0;
}
