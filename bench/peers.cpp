// The closest operations of libvips and ImageMagick on the same picture, single thread, net of
// each tool's own start, reading and writing (a pass-through run of the same tool).
#include <algorithm>
#include <cstdio>

#include "bench/pictures.h"
#include "bench/sections.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"

namespace ombrix::bench {
namespace {

// The operation a peer runs, and our measure it stands beside.
struct PeerOperation {
  const char* name;
  const char* ours;                    // the name of our row, or null
  std::vector<std::string> arguments;  // {in}, {in2}, {over}, {out}, {dir} are replaced
  bool two_pictures = false;           // reads a second picture: netted against the second pass-through
};

double RunOnce(const std::string& program, const std::vector<std::string>& arguments) {
  platform::Process process;
  const double start = NowMs();
  if (!process.Start(platform::StartRequest{program, arguments, {}})) return -1;
  if (!process.Wait() || !process.ExitedNormally() || process.ExitCode() != 0) return -1;
  return NowMs() - start;
}

// The fastest of several runs, or a negative number when a run failed. A tool's run is mostly
// its start and its reading and writing, which vary by tens of milliseconds on a shared machine;
// the fastest run is the one least disturbed, and the difference of two fastest runs is a far
// steadier net time than a difference of medians. Runs that take long are repeated less.
double TimeTool(const std::string& program, const std::vector<std::string>& arguments, int runs) {
  double best = RunOnce(program, arguments);
  if (best < 0) return -1;
  if (best > 1000) runs = std::min(runs, 2);
  for (int i = 1; i < runs; ++i) {
    const double t = RunOnce(program, arguments);
    if (t < 0) return -1;
    best = std::min(best, t);
  }
  return best;
}

std::vector<std::string> Expand(const std::vector<std::string>& arguments, const std::string& dir,
                                const std::string& ext) {
  std::vector<std::string> out;
  for (std::string a : arguments) {
    auto replace = [&](const std::string& key, const std::string& value) {
      for (size_t at = a.find(key); at != std::string::npos; at = a.find(key, at + value.size()))
        a.replace(at, key.size(), value);
    };
    replace("{in}", platform::JoinPath(dir, "in" + ext));
    replace("{in2}", platform::JoinPath(dir, "in2" + ext));
    replace("{over}", platform::JoinPath(dir, "over" + ext));
    replace("{out}", platform::JoinPath(dir, "out" + ext));
    replace("{dir}", dir);
    out.push_back(a);
  }
  return out;
}

void AddPeerNote(Report& report, const char* ours, const std::string& text) {
  if (ours == nullptr) return;
  for (Row& row : report.Rows()) {
    if (row.name != ours || (row.section != "filter" && row.section != "merge")) continue;
    row.peers += (row.peers.empty() ? "" : "; ") + text;
  }
}

// The pass-throughs: one picture read and written, and two read and one written.
struct PassThrough {
  std::vector<std::string> one;
  std::vector<std::string> two;
};

double MeasurePassThrough(const char* tool, const std::string& program, const std::string& label,
                          const std::vector<std::string>& arguments, const std::string& dir, const std::string& ext,
                          int runs, Report& report) {
  const double ms = TimeTool(program, Expand(arguments, dir, ext), runs);
  Row row;
  row.section = "peer";
  row.module = tool;
  row.name = std::string(tool) + " pass-through, " + label;
  row.ms = ms;
  row.reps = runs;
  row.ok = ms >= 0;
  row.wall_clock = true;
  report.Add(row);
  return ms;
}

void MeasureTool(const char* tool, const std::string& program, const std::string& dir, const std::string& ext,
                 const PassThrough& pass_through, const std::vector<PeerOperation>& operations, int runs, double pixels,
                 Report& report) {
  const double base_one = MeasurePassThrough(tool, program, "one picture", pass_through.one, dir, ext, runs, report);
  const double base_two = pass_through.two.empty() ? base_one
                                                   : MeasurePassThrough(tool, program, "two pictures", pass_through.two,
                                                                        dir, ext, runs, report);
  if (base_one < 0 || base_two < 0) return;
  for (const PeerOperation& op : operations) {
    const double base = op.two_pictures ? base_two : base_one;
    const double t = TimeTool(program, Expand(op.arguments, dir, ext), runs);
    Row row;
    row.section = "peer";
    row.module = tool;
    row.name = std::string(tool) + " " + op.name;
    row.ms = t < 0 ? 0 : (t > base ? t - base : 0);
    row.reps = runs;
    row.ok = t >= 0;
    row.pixels = pixels;
    row.note = "net of the pass-through";
    row.wall_clock = true;
    report.Add(row);
    if (row.ok) AddPeerNote(report, op.ours, std::string(tool) + " " + op.name + " " + FormatMs(row.ms));
    std::fprintf(stderr, "bench: %-40s %8s ms\n", row.name.c_str(), row.ok ? FormatMs(row.ms).c_str() : "failed");
  }
}

}  // namespace

void MeasurePeers(const BenchConfig& config, const BenchPictures& pictures, Report& report) {
  const std::string dir = platform::JoinPath(config.work_dir, "peers");
  platform::MakeDirectories(dir.c_str());
  if (!WritePpmFile(pictures.source, platform::JoinPath(dir, "in.ppm")) ||
      !WritePpmFile(pictures.second, platform::JoinPath(dir, "in2.ppm"))) {
    report.AddNote("Peers: cannot write the peer pictures.");
    return;
  }
  const double pixels = double(pictures.source.Width()) * pictures.source.Height();
  constexpr int kRuns = 7;
  // Kernels as libvips matrix files: an emboss and an 11-pixel horizontal streak.
  platform::ReplaceFileAtomically(platform::JoinPath(dir, "emboss.mat").c_str(), "3 3 1 128\n-1 -1 0\n-1 0 1\n0 1 1\n");
  platform::ReplaceFileAtomically(platform::JoinPath(dir, "motion.mat").c_str(), "11 1 11 0\n1 1 1 1 1 1 1 1 1 1 1\n");

  if (!config.vips.empty()) {
    // The native format is mapped, not decoded, so the pass-through costs little.
    const bool prepared =
        RunOnce(config.vips, {"copy", platform::JoinPath(dir, "in.ppm"), platform::JoinPath(dir, "in.v")}) >= 0 &&
        RunOnce(config.vips, {"copy", platform::JoinPath(dir, "in2.ppm"), platform::JoinPath(dir, "in2.v")}) >= 0 &&
        RunOnce(config.vips,
                {"bandjoin_const", platform::JoinPath(dir, "in2.v"), platform::JoinPath(dir, "over.v"), "128"}) >= 0;
    if (!prepared) {
      report.AddNote("Peers: vips could not convert the picture.");
    } else {
      const std::vector<PeerOperation> operations = {
          {"invert", "Negative", {"invert", "{in}", "{out}"}},
          {"gaussblur σ2", "Blur", {"gaussblur", "{in}", "{out}", "2"}},
          {"emboss 3×3", "Emboss", {"conv", "{in}", "{out}", "{dir}/emboss.mat", "--precision", "integer"}},
          {"streak 11×1", "Motion Blur", {"conv", "{in}", "{out}", "{dir}/motion.mat", "--precision", "integer"}},
          {"rotate 45°", "Rotate", {"rotate", "{in}", "{out}", "45"}},
          {"blend 50 %", "Merge, alpha 0.5", {"composite2", "{in}", "{over}", "{out}", "over"}, true},
      };
      // The mapped second picture costs next to nothing to open, so one pass-through serves.
      MeasureTool("vips", config.vips, dir, ".v", PassThrough{{"copy", "{in}", "{out}"}, {}}, operations, kRuns, pixels,
                  report);
    }
  }
  if (!config.convert.empty()) {
    const std::vector<PeerOperation> operations = {
        {"negate", "Negative", {"{in}", "-negate", "{out}"}},
        {"blur 0x2", "Blur", {"{in}", "-blur", "0x2", "{out}"}},
        {"emboss 1", "Emboss", {"{in}", "-emboss", "1", "{out}"}},
        // A sigma of 3 spreads over about 11 pixels, like the libvips streak.
        {"motion-blur 0x3", "Motion Blur", {"{in}", "-motion-blur", "0x3+0", "{out}"}},
        {"rotate 45° (SRT, bilinear)",
         "Rotate",
         {"{in}", "-interpolate", "bilinear", "-filter", "point", "-distort", "SRT", "45", "{out}"}},
        {"swirl 45°", "Twirl", {"{in}", "-swirl", "45", "{out}"}},
        {"blend 50 %",
         "Merge, alpha 0.5",
         {"{in}", "{in2}", "-compose", "blend", "-define", "compose:args=50", "-composite", "{out}"},
         true},
    };
    MeasureTool("convert", config.convert, dir, ".ppm",
                PassThrough{{"{in}", "{out}"}, {"{in}", "{in2}", "-delete", "1", "{out}"}}, operations, kRuns, pixels,
                report);
  }
}

}  // namespace ombrix::bench
