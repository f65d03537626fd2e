// The preview window's zoom: a power of two from 1:65536 up to 32:1, where it starts for a
// picture and an area, and how it is labelled.
#pragma once

#include <string>

namespace ombrix::editor {

class PreviewZoom {
 public:
  static constexpr int kLargestExponent = 5;  // 32:1
  // Halving stops at 1:65536: a picture is at most 65535 pixels on a side, so below that
  // nothing of it is left to show, and the ratio would soon overflow its label.
  static constexpr int kSmallestExponent = -16;

  // 1:1 when the picture fits the area; otherwise halved until the height times the scale fits
  // the area's height, then further until the width times the scale fits its width.
  static PreviewZoom Start(int width, int height, int area_width, int area_height);

  int Exponent() const { return exponent_; }
  // The scale as a fraction numerator / denominator, one of them 1.
  int Numerator() const { return exponent_ > 0 ? 1 << exponent_ : 1; }
  int Denominator() const { return exponent_ < 0 ? 1 << -exponent_ : 1; }
  // A length in picture pixels at this scale, truncated.
  long long Scaled(long long length) const;
  // "%d:%d": 1:n for a scale of 1/n, n:1 for a scale of n.
  std::string Label() const;

  // Doubles the scale while it is below 32; false when it already is 32.
  bool ZoomIn();
  // Halves the scale; false at the smallest.
  bool ZoomOut();

 private:
  int exponent_ = 0;  // the scale is 2 to this power
};

}  // namespace ombrix::editor
