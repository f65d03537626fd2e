// The preview's zoom steps.
#include "editor/model/preview_zoom.h"

#include <cstdio>

namespace ombrix::editor {

PreviewZoom PreviewZoom::Start(int width, int height, int area_width, int area_height) {
  PreviewZoom zoom;
  if (width <= area_width && height <= area_height) return zoom;
  // length * 2^e <= area, worked out exactly as length <= area * 2^-e.
  const auto fits = [&zoom](int length, int area) { return (long long)length <= ((long long)area << -zoom.exponent_); };
  while (zoom.exponent_ > kSmallestExponent && !fits(height, area_height)) --zoom.exponent_;
  while (zoom.exponent_ > kSmallestExponent && !fits(width, area_width)) --zoom.exponent_;
  return zoom;
}

long long PreviewZoom::Scaled(long long length) const {
  return exponent_ >= 0 ? length << exponent_ : length >> -exponent_;
}

std::string PreviewZoom::Label() const {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%d", Numerator(), Denominator());
  return text;
}

bool PreviewZoom::ZoomIn() {
  if (exponent_ >= kLargestExponent) return false;
  ++exponent_;
  return true;
}

bool PreviewZoom::ZoomOut() {
  if (exponent_ <= kSmallestExponent) return false;
  --exponent_;
  return true;
}

}  // namespace ombrix::editor
