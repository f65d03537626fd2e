// Medians and repetition counts.
#include "bench/measure.h"

#include <cmath>

namespace ombrix::bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(middle), values.end());
  const double upper = values[middle];
  if (values.size() % 2 == 1) return upper;
  const double lower = *std::max_element(values.begin(), values.begin() + std::ptrdiff_t(middle));
  return (lower + upper) / 2;
}

int RepetitionsFor(const RepeatPlan& plan, double warm_up_ms) {
  int reps = plan.max_reps;
  if (warm_up_ms > 0 && plan.budget_ms / warm_up_ms < double(reps)) reps = int(std::floor(plan.budget_ms / warm_up_ms));
  if (reps < plan.min_reps) reps = plan.min_reps;
  if (reps > plan.max_reps) reps = plan.max_reps;
  return reps;
}

}  // namespace ombrix::bench
