// The yardstick, every registered filter of every staged module, and the merge of a result.
#include <cstdio>
#include <cstring>
#include <memory>

#include "bench/lean_host.h"
#include "bench/pictures.h"
#include "bench/sections.h"
#include "core/platform/environment.h"
#include "core/platform/paths.h"
#include "filter/mask_merge.h"

namespace ombrix::bench {
namespace {

volatile uint8_t g_sink = 0;

double Pixels(const Picture& p) { return double(p.Width()) * double(p.Height()); }

bool Wanted(const BenchConfig& config, const char* name) {
  if (config.only_filters.empty()) return true;
  for (const std::string& n : config.only_filters)
    if (n == name) return true;
  return false;
}

}  // namespace

Yardstick::Yardstick(const Picture& source) : source_(source) {
  target_.CopyFrom(&source);  // touches every page of the target block
}

void Yardstick::Sample(int copies) {
  const size_t bytes = source_.Info()->block_size;
  for (int i = 0; i < copies; ++i) {
    const double t0 = CpuMs();
    std::memcpy(target_.Dib(), source_.Dib(), bytes);
    const double t1 = CpuMs();
    g_sink = g_sink + target_.Dib()[bytes / 2];
    times_.push_back(t1 - t0);
  }
}

void Yardstick::Finish(Report& report) const {
  report.SetYardstick(Median(times_));
  Row row;
  row.section = "yardstick";
  row.name = "Yardstick: one copy of the DIB block";
  row.ms = report.Yardstick();
  row.reps = int(times_.size());
  row.ok = !times_.empty();
  row.pixels = Pixels(source_);
  row.note = std::to_string(source_.Info()->block_size) + " bytes";
  report.Rows().insert(report.Rows().begin(), row);
}

void MeasureFilters(const BenchConfig& config, const BenchPictures& pictures, Report& report) {
  const std::string plugins = platform::JoinPath(config.stage_dir, "Plugins");
  Picture input, work;
  for (const std::string& file : platform::ListDirectory(plugins)) {
    if (file.size() < 4 || file.compare(file.size() - 4, 4, ".Omp") != 0) continue;
    FilterModule module;
    std::string error;
    if (!module.Load(platform::JoinPath(plugins, file), error)) {
      Row row;
      row.section = "filter";
      row.name = "(catalogue)";
      row.module = file;
      row.note = error;
      report.Add(row);
      continue;
    }
    for (int i = 0; i < module.Catalogue().Count(); ++i) {
      const FilterDescriptor& catalogue = *module.Catalogue().At(i);
      if (!Wanted(config, catalogue.name)) continue;
      BenchEntry entry(catalogue, pictures.second_targa);
      const int messages_before = module.Messages();
      const Sample s = Repeat(
          config.plan,
          [&] {
            input.CopyFrom(&pictures.source);
            work.CopyFrom(&pictures.source);
            module.Prepare(entry.Descriptor(), input, work);
          },
          [&] { return module.Call() != 0; });
      Row row;
      row.section = "filter";
      row.name = catalogue.name;
      row.module = file;
      row.ms = s.median_ms;
      row.reps = s.reps;
      row.wall_ms = s.wall_median_ms;
      row.ok = s.ok;
      row.pixels = Pixels(pictures.source);
      if (module.Messages() != messages_before) row.note = "said \"" + module.LastMessage() + "\"";
      report.Add(row);
      std::fprintf(stderr, "bench: %-24s %8s ms\n", catalogue.name, FormatMs(s.median_ms).c_str());
      if (config.one_filter) return;
    }
  }
}

void MeasureMerges(const BenchConfig& config, const BenchPictures& pictures, Report& report) {
  using engine::MaskState;
  const int w = pictures.source.Width(), h = pictures.source.Height();
  Picture full_mask, tile_mask, small_mask;
  MakeBenchPicture(full_mask, w, h, 7);
  MakeBenchPicture(tile_mask, w / 10 + 1, h / 7 + 1, 8);
  MakeBenchPicture(small_mask, w / 3 + 1, h / 3 + 1, 9);

  struct Case {
    const char* name;
    Picture* mask;
    int type;
    float alpha;
    bool stretched;
  };
  const Case cases[] = {
      {"Merge, alpha 0", nullptr, 0, 0.0f, false},
      {"Merge, alpha 0.5", nullptr, 0, 0.5f, false},
      {"Merge, gradual mask", &full_mask, 1, 0.0f, false},
      {"Merge, gradual mask tiled", &tile_mask, 1, 0.0f, false},
      {"Merge, gradual mask stretched", &small_mask, 1, 0.0f, true},
      {"Merge, threshold mask stretched", &small_mask, 2, 0.0f, true},
  };
  Picture input, work;
  for (const Case& c : cases) {
    MaskState mask;
    mask.picture = c.mask;
    if (c.stretched) {
      mask.scale_x = float(c.mask->Width()) / float(w);
      mask.scale_y = float(c.mask->Height()) / float(h);
    }
    const Sample s = Repeat(
        config.plan,
        [&] {
          input.CopyFrom(&pictures.source);
          work.CopyFrom(&pictures.second);
        },
        [&] {
          engine::Merge(input, work, mask, c.mask != nullptr, c.type, c.alpha, 0, 0, w, h);
          return true;
        });
    Row row;
    row.section = "merge";
    row.name = c.name;
    row.ms = s.median_ms;
    row.reps = s.reps;
    row.wall_ms = s.wall_median_ms;
    row.ok = s.ok;
    row.pixels = double(w) * h;
    if (c.mask != nullptr)
      row.note = std::to_string(c.mask->Width()) + " × " + std::to_string(c.mask->Height()) + " mask";
    report.Add(row);
  }
}

}  // namespace ombrix::bench
