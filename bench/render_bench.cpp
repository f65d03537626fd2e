// The render procedure of the image-filter module on five-filter chains, and ombrix-render over
// a sequence of PNG frames.
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/pictures.h"
#include "bench/sections.h"
#include "core/platform/dynamic_library.h"
#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"
#include "core/platform/worker_processes.h"
#include "core/plugin/last_error.h"
#include "core/plugin/plugin_host.h"
#include "core/script/effect_script.h"
#include "core/settings/installation.h"
#include "core/settings/settings.h"
#include "tools/ombrix-render/frame.h"

namespace ombrix::bench {
namespace {

using RenderProc = int32_t (*)(const char* text, const void* record, Picture* picture);

constexpr const char* kPaletteModule = "ZvPal.Omp";
// A filter that returns at once (Shift RGB with a shift of 0), so that a chain of it measures
// only what the render engine does around each filter.
constexpr const char* kNoOpFilter = "Shift RGB";
constexpr const char* kNoOpParameter = "Shift Value";

// A private settings store with the initial settings of the staged tree, the progress window
// off and the silent progress module bound instead of the real one.
bool PrepareSettings(const BenchConfig& config, std::string& error) {
  const std::string dir = platform::JoinPath(config.work_dir, "registry");
  if (!platform::MakeDirectories(dir.c_str())) {
    error = "cannot make " + dir;
    return false;
  }
  platform::SetEnvironment("OMBRIX_REGISTRY_DIR", dir);
  WriteInstallationDefaults(config.stage_dir);
  WriteSettingNumber("Options", "ShowProgress", 0);
  WriteSettingText(nullptr, "OmOutDll", config.progress_module.c_str());
  if (ReadSettingNumber("Options", "ShowProgress", 1) != 0) {
    error = "cannot write the settings store in " + dir;
    return false;
  }
  return true;
}

// Writes a script of the named filters (full screen, every frame); a filter given with a
// parameter value gets it. False when a filter is not in the table.
struct ChainEntry {
  std::string filter;
  std::string parameter;  // name of a parameter to set, or empty
  std::string value;
};

bool WriteChain(const PluginTable& table, const std::vector<ChainEntry>& chain, const std::string& path,
                const std::string& content_dir, std::string& error) {
  std::vector<FilterDescriptor*> entries;
  bool ok = true;
  for (const ChainEntry& c : chain) {
    FilterDescriptor* d = FindDescriptor(table, c.filter.c_str(), kPaletteModule);
    if (d == nullptr) {
      error = "no filter \"" + c.filter + "\"";
      ok = false;
      break;
    }
    d->full_screen = 1;
    d->start_frame = 0;
    d->end_frame = 0;
    d->all_frames = 1;
    for (int k = 0; k < d->parameter_count && !c.parameter.empty(); ++k)
      if (c.parameter == d->parameters[k].name)
        std::snprintf(d->parameters[k].value, sizeof d->parameters[k].value, "%s", c.value.c_str());
    entries.push_back(d);
  }
  if (ok && !WriteScript(path.c_str(), entries.data(), int(entries.size()), 0, ScriptHeader{content_dir, 0, 0})) {
    error = "cannot write " + path;
    ok = false;
  }
  for (FilterDescriptor* d : entries) FreeDescriptor(d, true);
  return ok;
}

const Row* FindRow(const Report& report, const std::string& section, const std::string& name) {
  for (const Row& row : report.Rows())
    if (row.section == section && row.name == name && row.ok) return &row;
  return nullptr;
}

Row MakeRow(const char* section, const std::string& name, const Sample& s, double pixels) {
  Row row;
  row.section = section;
  row.name = name;
  row.ms = s.median_ms;
  row.reps = s.reps;
  row.wall_ms = s.wall_median_ms;
  row.ok = s.ok;
  row.pixels = pixels;
  return row;
}

bool SamePixels(const Picture& a, const Picture& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), 3 * size_t(a.Width())) != 0) return false;
  return true;
}

// Runs a program and waits; the time it took, or a negative number when it failed.
double TimeProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& working_directory = {}) {
  platform::Process process;
  const double start = NowMs();
  if (!process.Start(platform::StartRequest{program, arguments, working_directory})) return -1;
  if (!process.Wait() || !process.ExitedNormally() || process.ExitCode() != 0) return -1;
  return NowMs() - start;
}

void FrameFromPicture(const Picture& picture, render::Frame& frame) {
  frame.Resize(picture.Width(), picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* p = picture.Row(y);
    const size_t base = size_t(y) * size_t(picture.Width());
    for (int x = 0; x < picture.Width(); ++x, p += 3) {
      frame.blue[base + size_t(x)] = p[0];
      frame.green[base + size_t(x)] = p[1];
      frame.red[base + size_t(x)] = p[2];
    }
  }
}

}  // namespace

const std::vector<std::string>& PaletteChain() {
  static const std::vector<std::string> chain = {"Negative", "Brightness", "Contrast", "Gray Scale", "Swap RGB"};
  return chain;
}

void MeasureRenders(const BenchConfig& config, const BenchPictures& pictures, Report& report) {
  std::string error;
  auto fail = [&](const std::string& what) {
    Row row;
    row.section = "render";
    row.name = "Ombrix_Render_Proc";
    row.note = what;
    report.Add(row);
    std::fprintf(stderr, "bench: render: %s\n", what.c_str());
  };
  if (!PrepareSettings(config, error)) return fail(error);
  PluginTable table;
  const std::string palette = platform::JoinPath(platform::JoinPath(config.stage_dir, "Plugins"), kPaletteModule);
  if (!LoadPluginFile(table, palette.c_str())) return fail(LastErrorText());

  std::vector<ChainEntry> palette_chain, one_no_op, five_no_ops;
  for (const std::string& name : PaletteChain()) palette_chain.push_back({name, "", ""});
  for (int i = 0; i < 5; ++i) five_no_ops.push_back({kNoOpFilter, kNoOpParameter, "0"});
  one_no_op.push_back({kNoOpFilter, kNoOpParameter, "0"});
  const std::string scripts = platform::JoinPath(config.work_dir, "scripts");
  platform::MakeDirectories(scripts.c_str());
  const std::string palette_script = platform::JoinPath(scripts, "Palette.Oms");
  const std::string five_script = platform::JoinPath(scripts, "FiveNoOps.Oms");
  const std::string one_script = platform::JoinPath(scripts, "OneNoOp.Oms");
  if (!WriteChain(table, palette_chain, palette_script, config.stage_dir, error) ||
      !WriteChain(table, five_no_ops, five_script, config.stage_dir, error) ||
      !WriteChain(table, one_no_op, one_script, config.stage_dir, error))
    return fail(error);

  const std::string module_path =
      platform::JoinPath(platform::JoinPath(config.stage_dir, "Programs"), "ombrix-filter.p");
  platform::LibraryHandle module = platform::OpenLibrary(module_path.c_str());
  auto render = reinterpret_cast<RenderProc>(platform::LibrarySymbol(module, "Ombrix_Render_Proc"));
  if (render == nullptr) return fail("cannot load " + module_path + ": " + platform::LibraryError());

  Picture picture;
  const double pixels = double(pictures.source.Width()) * pictures.source.Height();
  auto measure = [&](const std::string& script) {
    char record[256] = {};
    std::snprintf(record, sizeof record, "%s", script.c_str());
    return Repeat(
        config.plan, [&] { picture.CopyFrom(&pictures.source); },
        [&] { return render("Zorvex\xA7Ombrix", record, &picture) == 1; });
  };

  const Sample palette_sample = measure(palette_script);
  // A render that could not bind the progress module or read the script changes nothing.
  const bool rendered = palette_sample.ok && !SamePixels(picture, pictures.source);
  Row palette_row = MakeRow("render", "Render, 5 palette filters", palette_sample, pixels);
  palette_row.ok = rendered;
  if (!rendered) palette_row.note = "the render left the picture unchanged";
  report.Add(palette_row);
  if (!rendered) {
    platform::CloseLibrary(module);
    return;
  }
  const Sample five = measure(five_script);
  const Sample one = measure(one_script);
  report.Add(MakeRow("render", "Render, 5 no-op filters", five, pixels));
  report.Add(MakeRow("render", "Render, 1 no-op filter", one, pixels));

  double filters_ms = 0;
  bool all_filters = true;
  for (const std::string& name : PaletteChain()) {
    const Row* row = FindRow(report, "filter", name);
    if (row == nullptr)
      all_filters = false;
    else
      filters_ms += row->ms;
  }
  if (all_filters) {
    Row outside;
    outside.section = "render";
    outside.name = "Outside the filters, per applied filter";
    outside.ms = (palette_sample.median_ms - filters_ms) / 5;
    outside.ok = true;
    outside.pixels = pixels;
    outside.note = "(palette chain − its filters) / 5";
    report.Add(outside);
    char line[256];
    std::snprintf(line, sizeof line,
                  "Render of the 5 palette filters: %s ms, of which %s ms in the filters (measured alone) and %s ms "
                  "outside them.",
                  FormatMs(palette_sample.median_ms).c_str(), FormatMs(filters_ms).c_str(),
                  FormatMs(palette_sample.median_ms - filters_ms).c_str());
    report.AddNote(line);
  }
  if (five.ok && one.ok) {
    Row per_filter;
    per_filter.section = "render";
    per_filter.name = "Engine work per applied filter";
    per_filter.ms = (five.median_ms - one.median_ms) / 4;
    per_filter.ok = true;
    per_filter.pixels = pixels;
    per_filter.note = "(5 no-ops − 1 no-op) / 4";
    report.Add(per_filter);
    Row fixed;
    fixed.section = "render";
    fixed.name = "Engine work per frame, besides the filters";
    fixed.ms = one.median_ms - per_filter.ms;
    fixed.ok = true;
    fixed.note = "settings, script, module loading";
    report.Add(fixed);
  }
  platform::CloseLibrary(module);
}

void MeasureFrameSequence(const BenchConfig& config, const BenchPictures& pictures, Report& report) {
  const int frames = config.frames;
  Row row;
  row.section = "ombrix-render";
  row.name = "ombrix-render, " + std::to_string(frames) + " PNG frames, per frame";
  row.pixels = double(pictures.source.Width()) * pictures.source.Height();
  const std::string dir = platform::JoinPath(config.work_dir, "frames");
  const std::string script = platform::JoinPath(platform::JoinPath(config.work_dir, "scripts"), "Palette.Oms");
  const std::string program = platform::JoinPath(platform::JoinPath(config.stage_dir, "Programs"), "ombrix-render");
  if (!platform::MakeDirectories(dir.c_str()) || !platform::FileExists(script.c_str())) {
    row.note = "no chain script (the render measures did not run)";
    report.Add(row);
    return;
  }
  auto name = [&](const char* stem, int i) {
    char file[64];
    std::snprintf(file, sizeof file, "%s.%04d.png", stem, i);
    return platform::JoinPath(dir, file);
  };

  // The input frames; writing them is timed with the same calls ombrix-render makes.
  std::string error;
  double write_ms = 0;
  render::Frame frame;
  Picture picture;
  for (int i = 1; i <= frames; ++i) {
    MakeBenchPicture(picture, pictures.source.Width(), pictures.source.Height(), uint32_t(100 + i), false);
    FrameFromPicture(picture, frame);
    const double t0 = NowMs();
    if (!render::WriteFrame(name("in", i), frame, error)) {
      row.note = error;
      report.Add(row);
      return;
    }
    write_ms += NowMs() - t0;
  }

  const double run_ms =
      TimeProgram(program, {"--no-progress", "--frames", "1-" + std::to_string(frames), script,
                            platform::JoinPath(dir, "in.%04d.png"), platform::JoinPath(dir, "out.%04d.png")});
  double read_ms = 0;
  for (int i = 1; i <= frames; ++i) {
    const double t0 = NowMs();
    if (!render::ReadFrame(name("in", i), frame, error)) {
      row.note = error;
      report.Add(row);
      return;
    }
    read_ms += NowMs() - t0;
  }
  row.ok = run_ms > 0 && platform::FileExists(name("out", frames).c_str());
  row.reps = 1;
  if (!row.ok) {
    row.note = "ombrix-render failed";
    report.Add(row);
    return;
  }
  row.ms = run_ms / frames;
  row.wall_clock = true;
  char note[160];
  std::snprintf(note, sizeof note, "%.1f frames/s; reading %.0f %%, writing %.0f %%", 1000.0 * frames / run_ms,
                100.0 * read_ms / run_ms, 100.0 * write_ms / run_ms);
  row.note = note;
  report.Add(row);

  Row read;
  read.section = "ombrix-render";
  read.name = "PNG read per frame";
  read.ms = read_ms / frames;
  read.reps = frames;
  read.ok = true;
  read.wall_clock = true;
  read.pixels = row.pixels;
  report.Add(read);
  Row write = read;
  write.name = "PNG write per frame";
  write.ms = write_ms / frames;
  report.Add(write);
  char line[256];
  std::snprintf(
      line, sizeof line,
      "ombrix-render: %d frames in %s ms (%.1f frames/s); reading and writing the pictures take %.0f %% of it.", frames,
      FormatMs(run_ms).c_str(), 1000.0 * frames / run_ms, 100.0 * (read_ms + write_ms) / run_ms);
  report.AddNote(line);
}

namespace {

// Bytes of the files a pattern's frames 1..n make up; 0 when one is missing.
double SequenceBytes(const std::string& dir, const std::string& stem, const char* extension, int frames) {
  double total = 0;
  for (int i = 1; i <= frames; ++i) {
    char file[64];
    std::snprintf(file, sizeof file, "%s.%04d.%s", stem.c_str(), i, extension);
    const auto data = platform::ReadWholeFile(platform::JoinPath(dir, file).c_str());
    if (!data) return 0;
    total += double(data->size());
  }
  return total;
}

// Runs a program with OMP_NUM_THREADS set for it (GraphicsMagick's threads), the time or -1.
double TimeWithThreads(const std::string& program, const std::vector<std::string>& arguments, int threads,
                       const std::string& working_directory = {}) {
  const std::string omp = platform::GetEnvironment("OMP_NUM_THREADS");
  const std::string magick = platform::GetEnvironment("MAGICK_THREAD_LIMIT");
  platform::SetEnvironment("OMP_NUM_THREADS", std::to_string(threads));
  platform::SetEnvironment("MAGICK_THREAD_LIMIT", std::to_string(threads));
  const double ms = TimeProgram(program, arguments, working_directory);
  platform::SetEnvironment("OMP_NUM_THREADS", omp);
  platform::SetEnvironment("MAGICK_THREAD_LIMIT", magick);
  return ms;
}

}  // namespace

void MeasureEndToEnd(const BenchConfig& config, Report& report) {
  const int frames = config.sequence_frames;
  const int cores = platform::UsableProcessorCount();
  const std::string dir = platform::JoinPath(config.work_dir, "sequence");
  const std::string program = platform::JoinPath(platform::JoinPath(config.stage_dir, "Programs"), "ombrix-render");
  const std::string effect = platform::JoinPath(platform::JoinPath(config.stage_dir, "Samples"), "Demo.Oms");
  std::string error;
  auto fail = [&](const std::string& what) {
    Row row;
    row.section = "end-to-end";
    row.name = "end-to-end sequence";
    row.note = what;
    report.Add(row);
    std::fprintf(stderr, "bench: end-to-end: %s\n", what.c_str());
  };
  if (!platform::MakeDirectories(dir.c_str())) return fail("cannot make " + dir);
  if (!PrepareSettings(config, error)) return fail(error);
  auto frame_name = [&](const std::string& stem, int i, const char* extension) {
    char file[64];
    std::snprintf(file, sizeof file, "%s.%04d.%s", stem.c_str(), i, extension);
    return platform::JoinPath(dir, file);
  };
  // A noisy picture, each frame its own noise: PNG speed depends on content, and a flat picture
  // would flatter every writer.
  {
    render::Frame frame;
    Picture picture;
    for (int i = 1; i <= frames; ++i) {
      MakeBenchPicture(picture, config.width, config.height, uint32_t(500 + i), true);
      FrameFromPicture(picture, frame);
      if (!render::WriteFrame(frame_name("in", i, "png"), frame, error)) return fail(error);
    }
  }
  const std::string range = "1-" + std::to_string(frames);

  struct Run {
    std::string name;
    double ms = -1;
    double bytes = 0;
    int jobs = 1;
    bool ours = false;
    std::string format;
  };
  std::vector<Run> runs;
  for (const char* format : {"png", "tif"}) {
    for (const int jobs : {1, cores}) {
      if (jobs == cores && cores == 1 && !runs.empty() && runs.back().format == format) continue;
      const std::string stem = std::string("ours-") + format + "-" + std::to_string(jobs);
      Run run;
      run.name = std::string("ombrix-render Demo.Oms to ") + (format[0] == 'p' ? "PNG" : "TIFF") + ", --jobs " +
                 std::to_string(jobs);
      run.ms = TimeProgram(program,
                           {"--no-progress", "--jobs", std::to_string(jobs), "--frames", range, effect,
                            platform::JoinPath(dir, "in.%04d.png"), platform::JoinPath(dir, stem + ".%04d." + format)});
      run.bytes = SequenceBytes(dir, stem, format, frames);
      run.jobs = jobs;
      run.ours = true;
      run.format = format;
      runs.push_back(run);
    }
  }
  Run convert;
  convert.name = "gm convert per frame (pass-through, 1 thread)";
  convert.format = "png";
  if (!config.gm.empty()) {
    convert.ms = 0;
    for (int i = 1; i <= frames && convert.ms >= 0; ++i) {
      const double t =
          TimeWithThreads(config.gm, {"convert", frame_name("in", i, "png"), frame_name("gm", i, "png")}, 1);
      convert.ms = t < 0 ? -1 : convert.ms + t;
    }
    convert.bytes = SequenceBytes(dir, "gm", "png", frames);
    runs.push_back(convert);
    for (const int threads : {1, cores}) {
      // mogrify puts the names it is given under its output folder, so they are relative ones.
      const std::string out = "mogrify-" + std::to_string(threads);
      platform::MakeDirectories(platform::JoinPath(dir, out).c_str());
      std::vector<std::string> arguments = {"mogrify", "-output-directory", out, "-format", "png"};
      for (int i = 1; i <= frames; ++i) arguments.push_back(platform::FileNamePart(frame_name("in", i, "png").c_str()));
      Run run;
      run.name = "gm mogrify over the sequence (pass-through, " + std::to_string(threads) + " thread" +
                 (threads == 1 ? ")" : "s)");
      run.ms = TimeWithThreads(config.gm, arguments, threads, dir);
      run.jobs = threads;
      run.format = "png";
      runs.push_back(run);
    }
  } else {
    report.AddNote("End to end: gm (GraphicsMagick) not found; its pass-through measures are left out.");
  }
  if (!config.vips.empty()) {
    Run run;
    run.name = "vips copy per frame (pass-through)";
    run.ms = 0;
    for (int i = 1; i <= frames && run.ms >= 0; ++i) {
      const double t = TimeProgram(config.vips, {"copy", frame_name("in", i, "png"), frame_name("vips", i, "png")});
      run.ms = t < 0 ? -1 : run.ms + t;
    }
    run.bytes = SequenceBytes(dir, "vips", "png", frames);
    run.format = "png";
    runs.push_back(run);
  } else {
    report.AddNote("End to end: vips not installed (scripts/bench.sh --peers installs it); vips copy is left out.");
  }

  // The table under the main one: frames per second and the ratio to gm convert's pass-through.
  char line[512];
  std::snprintf(line, sizeof line,
                "End to end, %d frames of %d × %d noisy PNG, %d usable processors (wall clock; the ratio is to gm "
                "convert's pass-through):",
                frames, config.width, config.height, cores);
  report.AddNote(line);
  std::string table = "| Run | frames/s | × gm convert | MB per frame |\n|---|--:|--:|--:|";
  auto rate = [&](const Run& r) { return r.ms > 0 ? 1000.0 * frames / r.ms : 0.0; };
  for (const Run& r : runs) {
    Row row;
    row.section = "end-to-end";
    row.name = r.name;
    row.module = r.ours ? "ombrix-render" : "peer";
    row.ok = r.ms > 0;
    row.ms = r.ms > 0 ? r.ms / frames : 0;
    row.reps = frames;
    row.wall_clock = true;
    row.pixels = double(config.width) * config.height;
    const double ratio = convert.ms > 0 && r.ms > 0 ? convert.ms / r.ms : 0;
    std::snprintf(line, sizeof line, "%.2f frames/s, %.2f × gm convert", rate(r), ratio);
    row.note = line;
    report.Add(row);
    auto number = [](bool known, const char* format, double value) {
      char text[32] = "–";
      if (known) std::snprintf(text, sizeof text, format, value);
      return std::string(text);
    };
    std::snprintf(line, sizeof line, "| %s | %s | %s | %s |", r.name.c_str(),
                  r.ms > 0 ? number(true, "%.2f", rate(r)).c_str() : "failed", number(ratio > 0, "%.2f", ratio).c_str(),
                  number(r.bytes > 0, "%.2f", r.bytes / frames / 1e6).c_str());
    table += std::string("\n") + line;
  }
  report.AddNote(table);
  // The goals: single process 3 × (PNG, files at most 30 % larger) and 5 × (TIFF) the
  // pass-through; all cores 0.8 × the core count times the single process.
  auto find = [&](const char* format, int jobs) -> const Run* {
    for (const Run& r : runs)
      if (r.ours && r.format == format && r.jobs == jobs) return &r;
    return nullptr;
  };
  auto verdict = [](bool met) { return met ? "met" : "missed"; };
  if (convert.ms > 0) {
    for (const auto& [format, goal] : std::vector<std::pair<const char*, double>>{{"png", 3.0}, {"tif", 5.0}}) {
      const Run* one = find(format, 1);
      if (one == nullptr || one->ms <= 0) continue;
      const double ratio = convert.ms / one->ms;
      std::snprintf(line, sizeof line, "Goal %s single process ≥ %.0f × gm convert: %.2f × (%s).",
                    format[0] == 'p' ? "PNG" : "TIFF", goal, ratio, verdict(ratio >= goal));
      report.AddNote(line);
      if (format[0] == 'p' && convert.bytes > 0) {
        const double larger = one->bytes / convert.bytes - 1;
        std::snprintf(line, sizeof line, "Goal PNG files ≤ 30 %% larger than gm's: %+.0f %% (%s).", 100 * larger,
                      verdict(larger <= 0.30));
        report.AddNote(line);
      }
    }
  }
  for (const char* format : {"png", "tif"}) {
    const Run* one = find(format, 1);
    const Run* all = find(format, cores);
    if (cores == 1 || one == nullptr || all == nullptr || one->ms <= 0 || all->ms <= 0) continue;
    const double speedup = one->ms / all->ms;
    std::snprintf(line, sizeof line, "Goal %s --jobs %d ≥ %.1f × the single process: %.2f × (%s).",
                  format[0] == 'p' ? "PNG" : "TIFF", cores, 0.8 * cores, speedup, verdict(speedup >= 0.8 * cores));
    report.AddNote(line);
  }
}

}  // namespace ombrix::bench
