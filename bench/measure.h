// Timing for the benchmark: a steady clock, medians, and the repeat loop that prepares every
// repetition outside the timed region.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <ctime>
#include <vector>

namespace ombrix::bench {

// Milliseconds since an arbitrary start, from the monotonic clock (wall time).
inline double NowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Processor time this process has used, in milliseconds. Measures inside the process are timed
// with it: on a machine shared with other work, wall time also counts the time the process
// waits for a core, which can double a measure of a few milliseconds, while the processor time
// of a single-threaded measure is what the code itself costs.
inline double CpuMs() { return 1000.0 * double(std::clock()) / double(CLOCKS_PER_SEC); }

// The middle value (the mean of the two middle values for an even count); 0 for none.
double Median(std::vector<double> values);

// How many repetitions to time: at least min_reps and at most max_reps, fewer than max_reps
// when the warm-up repetition shows they would take longer than budget_ms together.
struct RepeatPlan {
  int min_reps = 3;
  int max_reps = 25;
  double budget_ms = 1500.0;
};

// Repetitions that fit the plan for a warm-up repetition that took warm_up_ms.
int RepetitionsFor(const RepeatPlan& plan, double warm_up_ms);

struct Sample {
  double median_ms = 0.0;  // processor time
  double min_ms = 0.0;
  double wall_median_ms = 0.0;  // wall time, for comparison
  int reps = 0;
  bool ok = false;  // every repetition reported success
};

// One untimed warm-up, then the planned repetitions: prepare() outside the timed region, then
// run() timed. run() returns false on failure, which ends the measurement.
template <typename Prepare, typename Run>
Sample Repeat(const RepeatPlan& plan, Prepare&& prepare, Run&& run) {
  Sample sample;
  prepare();
  const double start = CpuMs();
  if (!run()) return sample;
  const int reps = RepetitionsFor(plan, CpuMs() - start);
  std::vector<double> times, walls;
  times.reserve(size_t(reps));
  walls.reserve(size_t(reps));
  for (int i = 0; i < reps; ++i) {
    prepare();
    const double w0 = NowMs(), t0 = CpuMs();
    const bool ok = run();
    const double t1 = CpuMs(), w1 = NowMs();
    if (!ok) return sample;
    times.push_back(t1 - t0);
    walls.push_back(w1 - w0);
  }
  sample.median_ms = Median(times);
  sample.wall_median_ms = Median(walls);
  sample.min_ms = times.empty() ? 0.0 : *std::min_element(times.begin(), times.end());
  sample.reps = reps;
  sample.ok = true;
  return sample;
}

}  // namespace ombrix::bench
