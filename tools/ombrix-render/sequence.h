// Picture paths and frame-sequence patterns ("shot.%04d.png"), and frame ranges ("1-24").
#pragma once

#include <optional>
#include <string>

namespace ombrix::render {

class PathPattern {
 public:
  // A path with at most one integer conversion: %d or %0Nd (N up to 9); "%%" stands for "%".
  // Nothing when the pattern holds any other conversion.
  static std::optional<PathPattern> Parse(const std::string& text, std::string& error);
  bool IsSequence() const { return sequence_; }
  std::string ForFrame(int frame) const;

 private:
  std::string prefix_, suffix_;
  int width_ = 0;
  bool sequence_ = false;
};

// "A-B" (A <= B) or "N"; negative frame numbers are allowed ("-5--1").
bool ParseFrameRange(const std::string& text, int& first, int& last);

}  // namespace ombrix::render
