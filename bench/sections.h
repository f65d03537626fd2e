// The parts of one benchmark run. Each adds its rows to the report.
#pragma once

#include <string>
#include <vector>

#include "bench/measure.h"
#include "bench/report.h"
#include "core/picture/picture.h"

namespace ombrix::bench {

struct BenchConfig {
  std::string stage_dir;        // the staged installation tree
  std::string progress_module;  // the silent progress module renders bind
  std::string work_dir;         // a private folder for the files a run makes
  int width = 1920;
  int height = 1080;
  int frames = 24;                        // frames of the ombrix-render pass
  int sequence_frames = 48;               // frames of the end-to-end sequence
  int yardstick_reps = 25;                // copies per batch; a batch before and after each part
  RepeatPlan plan;                        // filters, merges and renders
  bool one_filter = false;                // only the first filter of the first module (smoke runs)
  std::vector<std::string> only_filters;  // when not empty, only these filters
  std::string vips;                       // peer tools; empty when not run
  std::string convert;
  std::string gm;  // GraphicsMagick's gm, for the end-to-end pass-throughs; empty when missing
};

struct BenchPictures {
  Picture source;            // what every measure starts from
  Picture second;            // a different picture of the same size (filtered result, second picture)
  std::string second_targa;  // the second picture as a 24-bit Targa file
};

// The yardstick: copies of the source picture's DIB block into an already-touched block of the
// same size. Copies are taken in batches between the other measures, so that the yardstick
// sees the same state of the machine as they do; its value is the median of every copy.
class Yardstick {
 public:
  explicit Yardstick(const Picture& source);
  void Sample(int copies);
  // Sets the report's yardstick and puts its row first.
  void Finish(Report& report) const;

 private:
  const Picture& source_;
  Picture target_;
  std::vector<double> times_;
};
void MeasureFilters(const BenchConfig& config, const BenchPictures& pictures, Report& report);
void MeasureMerges(const BenchConfig& config, const BenchPictures& pictures, Report& report);
// Ombrix_Render_Proc on five-filter chains, and the engine's own share; needs the filter rows.
void MeasureRenders(const BenchConfig& config, const BenchPictures& pictures, Report& report);
// ombrix-render over a sequence of PNG frames, with the share of reading and writing.
void MeasureFrameSequence(const BenchConfig& config, const BenchPictures& pictures, Report& report);
// ombrix-render with the demo effect over a noisy PNG sequence, to PNG and TIFF, in one process
// and on every core, beside GraphicsMagick's (and libvips') pass-throughs of the same frames.
void MeasureEndToEnd(const BenchConfig& config, Report& report);
// libvips and ImageMagick on the same picture, net of their own reading and writing.
void MeasurePeers(const BenchConfig& config, const BenchPictures& pictures, Report& report);

// The chain of palette filters the render measures use.
const std::vector<std::string>& PaletteChain();

}  // namespace ombrix::bench
