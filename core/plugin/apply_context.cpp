// The per-frame evaluation of a chain entry: zone, parameter values and option states.
#include "core/plugin/apply_context.h"

#include <cstring>
#include <string_view>

#include "core/kit/pixel_math.h"
#include "core/parameter_kinds.h"
#include "core/text/numbers.h"

namespace ombrix {
namespace {

// A fixed-size text field, which may lack its terminating zero.
template <size_t N>
std::string_view Field(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

}  // namespace

float ScaleToPicture(float x, int32_t size, int32_t based) {
  if (based <= 0) return x;
  return float(static_cast<long double>(x) * size / based);
}

BuiltApplyContext BuildApplyContext(const FilterDescriptor& entry, int32_t frame_offset,
                                    const ProportionalScale& scale) {
  const int32_t s = frame_offset;
  const bool proportional = entry.proportional != 0;
  auto scale_x = [&](float v) { return ScaleToPicture(v, scale.width, scale.based_width); };
  auto scale_y = [&](float v) { return ScaleToPicture(v, scale.height, scale.based_height); };
  // Even zone coordinates (x0, x1) scale with the width, odd ones (y0, y1) with the height.
  auto scale_corner = [&](int i, float v) { return i % 2 == 0 ? scale_x(v) : scale_y(v); };

  int32_t zone[4] = {entry.zone[0], entry.zone[1], entry.zone[2], entry.zone[3]};
  float zone_step[4] = {entry.zone_step[0], entry.zone_step[1], entry.zone_step[2], entry.zone_step[3]};
  if (entry.full_screen != 0) {
    zone[0] = 0;
    zone[1] = 0;
    zone[2] = scale.width;
    zone[3] = scale.height;
  } else if (proportional) {
    for (int i = 0; i < 4; ++i) zone[i] = kit::TruncateToInt(scale_corner(i, float(zone[i])));
  }
  if (proportional)
    for (int i = 0; i < 4; ++i) zone_step[i] = scale_corner(i, zone_step[i]);

  BuiltApplyContext built;
  ApplyContext& context = built.context;
  int32_t* corner = &context.x0;
  for (int i = 0; i < 4; ++i) corner[i] = kit::TruncateToInt(float(float(s) * zone_step[i] + float(zone[i])));
  context.frame_offset = s;

  const int32_t parameters = entry.parameter_count > 0 ? entry.parameter_count : 0;
  const int32_t options = entry.option_count > 0 ? entry.option_count : 0;
  built.values.assign(size_t(parameters) + 1, 0.0f);
  built.states.assign(size_t(options) + 1, 0);
  for (int32_t k = 0; entry.parameters != nullptr && k < parameters; ++k) {
    const ParameterRecord& p = entry.parameters[k];
    const KindReading reading = ReadingOf(p.kind);
    if (reading == KindReading::kColourText || reading == KindReading::kFilePath) continue;
    float value = text::LeadingFloat(Field(p.value), 0.0f);
    float step = text::LeadingFloat(Field(p.step), 0.0f);
    if (proportional && reading == KindReading::kWidthScaled) {
      value = scale_x(value);
      step = scale_x(step);
    } else if (proportional && reading == KindReading::kHeightScaled) {
      value = scale_y(value);
      step = scale_y(step);
    }
    built.values[size_t(k)] = float(step * float(s) + value);
  }
  for (int32_t k = 0; entry.options != nullptr && k < options; ++k) built.states[size_t(k)] = entry.options[k].state;

  context.parameter_count = parameters;
  context.option_count = options;
  context.values = built.values.data();
  context.option_states = built.states.data();
  context.descriptor = const_cast<FilterDescriptor*>(&entry);
  return built;
}

}  // namespace ombrix
