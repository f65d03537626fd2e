// Fitting sizes, the point resize and the two-pass resize.
#include "editor/model/picture_fit.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ombrix::editor {

FittedSize FitSize(int width, int height, int area_width, int area_height) {
  if (width <= 0 || height <= 0 || area_width <= 0 || area_height <= 0) return {};
  FittedSize fitted;
  // area_width / width <= area_height / height, compared without division.
  if (int64_t(area_width) * height <= int64_t(area_height) * width) {
    fitted.width = area_width;
    fitted.height = int(int64_t(height) * area_width / width);
  } else {
    fitted.height = area_height;
    fitted.width = int(int64_t(width) * area_height / height);
  }
  if (fitted.width < 1) fitted.width = 1;
  if (fitted.height < 1) fitted.height = 1;
  return fitted;
}

std::unique_ptr<Picture> PointResize(const Picture& source, int width, int height) {
  if (source.IsEmpty() || width <= 0 || height <= 0) return nullptr;
  auto target = std::make_unique<Picture>();
  if (!target->Create(width, height)) return nullptr;
  const float step_x = float(source.Width()) / float(width);
  const float step_y = float(source.Height()) / float(height);
  const int last_row = source.Height() - 1;
  const int last_column = source.Width() - 1;
  float sum_y = 0;
  for (int y = 0; y < height; ++y, sum_y += step_y) {
    const int sy = int(sum_y) < last_row ? int(sum_y) : last_row;
    const uint8_t* from = source.Row(sy);
    uint8_t* to = target->Row(y);
    float sum_x = 0;
    for (int x = 0; x < width; ++x, sum_x += step_x) {
      const int sx = int(sum_x) < last_column ? int(sum_x) : last_column;
      std::memcpy(to + 3 * ptrdiff_t(x), from + 3 * ptrdiff_t(sx), 3);
    }
  }
  target->SetSourceText(source.SourceText());
  target->SetTypeText(source.TypeText());
  return target;
}

namespace {

// One destination pixel of a pass: the source pixels it is made of, each with its weight; the
// weights add up to the divisor.
struct Tap {
  int source;
  uint32_t weight;
};
struct Taps {
  std::vector<Tap> taps;
  uint32_t divisor = 1;
};

// The taps of every destination pixel of a line of `from` pixels resized to `to` pixels.
std::vector<Taps> LineTaps(int from, int to) {
  std::vector<Taps> line(static_cast<size_t>(to));
  if (to > from) {
    // Destination i lies at i * (from - 1) / (to - 1) in the source: between source pixels
    // whole and whole + 1, fraction / (to - 1) of the way.
    const int64_t span = to - 1;
    for (int i = 0; i < to; ++i) {
      const int64_t position = int64_t(i) * (from - 1);
      const int whole = int(position / span);
      const uint32_t fraction = uint32_t(position % span);
      Taps& taps = line[size_t(i)];
      taps.divisor = uint32_t(span);
      taps.taps.push_back({whole, uint32_t(span) - fraction});
      if (fraction != 0) taps.taps.push_back({whole + 1, fraction});
    }
  } else {
    // Measured in 1/to of a source pixel, destination i spans [i * from, (i + 1) * from) and
    // source pixel k spans [k * to, (k + 1) * to); each overlap is the weight.
    for (int i = 0; i < to; ++i) {
      Taps& taps = line[size_t(i)];
      taps.divisor = uint32_t(from);
      const int64_t begin = int64_t(i) * from;
      const int64_t end = begin + from;
      for (int64_t k = begin / to; k * to < end; ++k) {
        const int64_t overlap = std::min(end, (k + 1) * to) - std::max(begin, k * to);
        if (overlap > 0) taps.taps.push_back({int(k), uint32_t(overlap)});
      }
    }
  }
  return line;
}

uint8_t Rounded(uint64_t sum, uint32_t divisor) { return uint8_t((sum + divisor / 2) / divisor); }

std::unique_ptr<Picture> ResizedHeight(const Picture& source, int height) {
  auto target = std::make_unique<Picture>();
  if (!target->Create(source.Width(), height)) return nullptr;
  const size_t bytes = 3 * size_t(source.Width());
  std::vector<uint64_t> sums(bytes);
  const std::vector<Taps> rows = LineTaps(source.Height(), height);
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const Tap& tap : rows[size_t(y)].taps) {
      const uint8_t* from = source.Row(tap.source);
      for (size_t i = 0; i < bytes; ++i) sums[i] += uint64_t(tap.weight) * from[i];
    }
    uint8_t* to = target->Row(y);
    for (size_t i = 0; i < bytes; ++i) to[i] = Rounded(sums[i], rows[size_t(y)].divisor);
  }
  return target;
}

std::unique_ptr<Picture> ResizedWidth(const Picture& source, int width) {
  auto target = std::make_unique<Picture>();
  if (!target->Create(width, source.Height())) return nullptr;
  const std::vector<Taps> columns = LineTaps(source.Width(), width);
  for (int y = 0; y < source.Height(); ++y) {
    const uint8_t* from = source.Row(y);
    uint8_t* to = target->Row(y);
    for (int x = 0; x < width; ++x) {
      uint64_t sums[3] = {0, 0, 0};
      for (const Tap& tap : columns[size_t(x)].taps)
        for (int c = 0; c < 3; ++c) sums[c] += uint64_t(tap.weight) * from[3 * tap.source + c];
      for (int c = 0; c < 3; ++c) to[3 * x + c] = Rounded(sums[c], columns[size_t(x)].divisor);
    }
  }
  return target;
}

}  // namespace

std::unique_ptr<Picture> TwoPassResize(const Picture& source, int width, int height) {
  if (source.IsEmpty() || width <= 0 || height <= 0) return nullptr;
  std::unique_ptr<Picture> result;
  if (height != source.Height() && !(result = ResizedHeight(source, height))) return nullptr;
  const Picture& tall = result ? *result : source;
  if (width != source.Width() && !(result = ResizedWidth(tall, width))) return nullptr;
  if (!result) {
    result = std::make_unique<Picture>();
    if (!result->CopyFrom(&source)) return nullptr;
  }
  result->SetSourceText(source.SourceText());
  result->SetTypeText(source.TypeText());
  return result;
}

std::unique_ptr<Picture> FitPicture(const Picture& source, int area_width, int area_height, bool compute_extra) {
  if (source.IsEmpty()) return nullptr;
  const FittedSize size = FitSize(source.Width(), source.Height(), area_width, area_height);
  return compute_extra ? TwoPassResize(source, size.width, size.height) : PointResize(source, size.width, size.height);
}

}  // namespace ombrix::editor
