// The picture filters' shared helpers.
#include "plugins/pic/pic_helpers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/kit/plugin_kit.h"
#include "core/kit/random.h"

namespace ombrix::pic {

using kit::TruncateToInt;

std::optional<HostPictures> Pictures() {
  HostPictures p;
  p.input = kit::InputPicture();
  p.work = kit::WorkPicture();
  p.in = kit::InputRows();
  p.out = kit::WorkRows();
  if (p.in == nullptr || p.out == nullptr) return std::nullopt;
  p.width = p.input->Width();
  p.height = p.input->Height();
  const int32_t host_width = kit::PictureWidth(), host_height = kit::PictureHeight();
  if (p.width < host_width || p.height < host_height || p.work->Width() < host_width || p.work->Height() < host_height)
    return std::nullopt;
  // Filters index both pictures with the same coordinates; never beyond the smaller one.
  p.width = std::min(p.width, p.work->Width());
  p.height = std::min(p.height, p.work->Height());
  return p;
}

Bgr ColourParameter(const ApplyContext& context, int32_t slot) {
  Bgr bgr;
  if (const auto colour = kit::ReadColour(context, slot)) {
    bgr.c[kit::kBlue] = colour->blue;
    bgr.c[kit::kGreen] = colour->green;
    bgr.c[kit::kRed] = colour->red;
  }
  return bgr;
}

void SetInfoText(const char* text) {
  const HostBlock* host = kit::CurrentHostBlock();
  if (host != nullptr && host->progress != nullptr && host->progress->SetInfoText != nullptr)
    host->progress->SetInfoText(text);
}

void FillZone(uint8_t* const* rows, const Zone& zone, const uint8_t bgr[3]) {
  if (zone.Width() <= 0 || zone.Height() <= 0) return;
  uint8_t* first = PixelAt(rows, zone.x0, zone.y0);
  for (int32_t x = 0; x < zone.Width(); ++x) CopyPixel(first + 3 * size_t(x), bgr);
  const size_t bytes = 3 * size_t(zone.Width());
  for (int32_t y = zone.y0 + 1; y < zone.y1; ++y) std::memcpy(PixelAt(rows, zone.x0, y), first, bytes);
}

int32_t LevelFromPercent(float percent) { return TruncateToInt(static_cast<long double>(percent) * 0.01 * 255); }

namespace {

constexpr double kOneIn255 = 0.003921569;

// truncate(|f| * difference / 255) as the overlay takes it.
int32_t OverlayChange(float f, int32_t difference) {
  const long double magnitude = f < 0 ? -static_cast<long double>(f) : static_cast<long double>(f);
  return TruncateToInt(magnitude * difference * kOneIn255);
}

}  // namespace

// The sum is taken modulo 2^32 before it is kept as a byte, so that a factor far beyond 255
// (a saturated change) wraps instead of overflowing.
uint8_t OverlayChannel(int32_t c, int32_t s, float f) {
  if (f < 0) return uint8_t(uint32_t(c) + uint32_t(OverlayChange(f, s - c)));
  return uint8_t(uint32_t(s) + uint32_t(OverlayChange(f, c - s)));
}

void OverlayRamp::Fill(float factor) {
  toward_source = factor < 0;
  copies = !toward_source;
  for (int32_t difference = -255; difference <= 255; ++difference) {
    change[difference + 255] = uint8_t(OverlayChange(factor, difference));
    copies = copies && change[difference + 255] == 0;
  }
}

void OverlayTable::Fill(float factor) {
  for (int32_t c = 0; c < 256; ++c)
    for (int32_t s = 0; s < 256; ++s) value[c][s] = OverlayChannel(c, s, factor);
}

// ---- Span mask -----------------------------------------------------------------------------------

bool SpanMask::Reset(int32_t rows) {
  rows_ = rows < 0 ? 0 : rows;
  left_ = Scratch<int32_t>(size_t(rows_) + 1);
  right_ = Scratch<int32_t>(size_t(rows_) + 1);
  for (int32_t y = 0; y <= rows_; ++y) left_[y] = 32000, right_[y] = 0;
  top_ = 0;
  bottom_ = -1;
  return true;
}

void SpanMask::Mark(int64_t x, int64_t y) {
  if (y < 0 || y > rows_) return;  // the table covers the picture's rows only
  const int32_t column = int32_t(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
  left_[y] = std::min(left_[y], column);
  right_[y] = std::max(right_[y], column);
  if (bottom_ < top_) {
    top_ = bottom_ = int32_t(y);
  } else {
    top_ = std::min<int32_t>(top_, int32_t(y));
    bottom_ = std::max<int32_t>(bottom_, int32_t(y));
  }
}

void SpanMask::AddLine(int32_t xa, int32_t ya, int32_t xb, int32_t yb) {
  const int64_t dx = int64_t(xb) - xa, dy = int64_t(yb) - ya;
  if (std::llabs(dy) > std::llabs(dx)) {
    const int64_t step = dy > 0 ? 1 : -1;
    for (int64_t y = ya;; y += step) {
      Mark(xa + dx * (y - ya) / dy, y);
      if (y == yb) break;
    }
  } else if (dx == 0) {
    Mark(xa, ya);
  } else {
    const int64_t step = dx > 0 ? 1 : -1;
    for (int64_t x = xa;; x += step) {
      Mark(x, ya + dy * (x - xa) / dx);
      if (x == xb) break;
    }
  }
}

void SpanMask::AddEllipse(int32_t ex, int32_t ey, int32_t r1, int32_t r2) {
  int32_t px = 0, py = 0;
  for (int32_t i = 0; i < 360; ++i) {
    const double a = i * kOutlineRadiansPerDegree;
    const int32_t x = TruncateToInt(std::cos(a) * r1 + ex);
    const int32_t y = TruncateToInt(std::sin(a) * r2 + ey);
    if (i > 0) AddLine(px, py, x, y);
    px = x, py = y;
  }
  AddLine(px, py, int32_t(std::clamp<int64_t>(int64_t(ex) + r1, INT32_MIN, INT32_MAX)), ey);
}

bool SpanMask::Inside(int64_t x, int64_t y) const {
  if (y < top_ || y > bottom_) return false;
  return left_[y] <= x && x <= right_[y];
}

// ---- Resizing -------------------------------------------------------------------------------------

namespace {

// For narrowing old -> new: target i averages source indices first[i] .. first[i] + count[i] - 1.
struct Narrowing {
  std::unique_ptr<int32_t[]> first, count;
  bool Build(int32_t old_size, int32_t new_size) {
    first = Scratch<int32_t>(size_t(new_size));
    count = Scratch<int32_t>(size_t(new_size));
    const float step = float(old_size) / float(new_size);
    float pos = 0;
    for (int32_t i = 0; i < new_size; ++i, pos += step) {
      const int32_t start = TruncateToInt(pos);
      const long double limit = static_cast<long double>(start) + step;
      // At least one index; never beyond the source, whatever the accumulated rounding.
      const int32_t from = std::clamp(start, 0, old_size - 1);
      int32_t n = 1;
      while (from + n < old_size && from + n < limit) ++n;
      first[i] = from;
      count[i] = n;
    }
    return true;
  }
};

// For widening old -> new: source index c spreads over targets from[c] .. to[c].
struct Widening {
  std::unique_ptr<int32_t[]> from, to;
  bool Build(int32_t old_size, int32_t new_size) {
    from = Scratch<int32_t>(size_t(old_size));
    to = Scratch<int32_t>(size_t(old_size));
    const float step = float(new_size) / float(old_size - 1);  // infinite for one source index
    float pos = 0;
    for (int32_t c = 0; c < old_size; ++c, pos += step) {
      from[c] = TruncateToInt(pos);
      to[c] = std::min(TruncateToInt(static_cast<long double>(pos) + step), new_size - 1);
    }
    return true;
  }
  // The value at target t between a (at from[c]) and b (at to[c]).
  static uint8_t Interpolate(int32_t a, int32_t b, int32_t s, int32_t e, int32_t t) {
    if (e == s) return uint8_t(a);  // a single target: no interval to divide
    return uint8_t(TruncateToInt(a + static_cast<long double>(b - a) / (e - s) * (t - s)));
  }
};

bool ResizeHeight(Picture& picture, int32_t new_height) {
  Picture old;
  if (old.CopyFrom(&picture) == 0) return false;
  const int32_t width = old.Width(), old_height = old.Height();
  if (picture.Create(width, new_height) == 0) return false;
  StartProgress(0, width);
  static const uint8_t kBlack[3] = {0, 0, 0};
  if (new_height < old_height) {
    Narrowing plan;
    if (!plan.Build(old_height, new_height)) return false;
    for (int32_t x = 0; x < width; ++x) {
      if (x % 5 == 0 && !Continue(x)) return false;
      for (int32_t i = 0; i < new_height; ++i) {
        int32_t sum[3] = {0, 0, 0};
        for (int32_t r = plan.first[i]; r < plan.first[i] + plan.count[i]; ++r) {
          const uint8_t* s = old.Row(r) + 3 * size_t(x);
          sum[0] += s[0], sum[1] += s[1], sum[2] += s[2];
        }
        uint8_t* t = picture.Row(i) + 3 * size_t(x);
        for (int ch = 0; ch < 3; ++ch) t[ch] = uint8_t(sum[ch] / plan.count[i]);
      }
    }
    return true;
  }
  Widening plan;
  if (!plan.Build(old_height, new_height)) return false;
  for (int32_t x = 0; x < width; ++x) {
    // Widening steps at the columns that are not multiples of 5.
    if (x % 5 != 0 && !Continue(x)) return false;
    for (int32_t r = 0; r < old_height; ++r) {
      const uint8_t* a = old.Row(r) + 3 * size_t(x);
      // The pixel below the last row counts as black.
      const uint8_t* b = r + 1 < old_height ? old.Row(r + 1) + 3 * size_t(x) : kBlack;
      for (int32_t t = plan.from[r]; t <= plan.to[r]; ++t) {
        uint8_t* p = picture.Row(t) + 3 * size_t(x);
        for (int ch = 0; ch < 3; ++ch) p[ch] = Widening::Interpolate(a[ch], b[ch], plan.from[r], plan.to[r], t);
      }
    }
  }
  return true;
}

bool ResizeWidth(Picture& picture, int32_t new_width) {
  Picture old;
  if (old.CopyFrom(&picture) == 0) return false;
  const int32_t old_width = old.Width(), height = old.Height();
  if (picture.Create(new_width, height) == 0) return false;
  StartProgress(0, height);
  if (new_width < old_width) {
    Narrowing plan;
    if (!plan.Build(old_width, new_width)) return false;
    for (int32_t y = 0; y < height; ++y) {
      if (y % 5 == 0 && !Continue(y)) return false;
      const uint8_t* row = old.Row(y);
      uint8_t* t = picture.Row(y);
      for (int32_t j = 0; j < new_width; ++j, t += 3) {
        int32_t sum[3] = {0, 0, 0};
        const uint8_t* s = row + 3 * size_t(plan.first[j]);
        for (int32_t n = 0; n < plan.count[j]; ++n, s += 3) sum[0] += s[0], sum[1] += s[1], sum[2] += s[2];
        for (int ch = 0; ch < 3; ++ch) t[ch] = uint8_t(sum[ch] / plan.count[j]);
      }
    }
    return true;
  }
  Widening plan;
  if (!plan.Build(old_width, new_width)) return false;
  for (int32_t y = 0; y < height; ++y) {
    if (y % 5 == 0 && !Continue(y)) return false;
    // Every row is interpolated, and the last source column is its own right neighbour, so
    // no row is left black and nothing is read beyond the row.
    const uint8_t* row = old.Row(y);
    uint8_t* target = picture.Row(y);
    for (int32_t c = 0; c < old_width; ++c) {
      const uint8_t* a = row + 3 * size_t(c);
      const uint8_t* b = c + 1 < old_width ? a + 3 : a;
      for (int32_t t = plan.from[c]; t <= plan.to[c]; ++t) {
        uint8_t* p = target + 3 * size_t(t);
        for (int ch = 0; ch < 3; ++ch) p[ch] = Widening::Interpolate(a[ch], b[ch], plan.from[c], plan.to[c], t);
      }
    }
  }
  return true;
}

}  // namespace

bool ResizePicture(Picture& picture, int32_t width, int32_t height) {
  if (width < 1 || height < 1 || picture.IsEmpty()) return false;
  if (width == picture.Width() && height == picture.Height()) return true;
  Picture before;
  if (before.CopyFrom(&picture) == 0) return false;
  bool done = true;
  if (height != picture.Height()) {
    SetInfoText("Computing extrapolations...");
    done = ResizeHeight(picture, height);
  }
  if (done && width != picture.Width()) {
    SetInfoText("Resizing picture...");
    done = ResizeWidth(picture, width);
  }
  if (!done) picture.CopyFrom(&before);
  return done;
}

bool ScalePicture(Picture& picture, int32_t width, int32_t height) {
  if (width < 1 || height < 1 || picture.IsEmpty()) return false;
  SetInfoText("Scaling picture...");
  Picture old;
  if (old.CopyFrom(&picture) == 0) return false;
  const int32_t old_width = old.Width(), old_height = old.Height();
  auto columns = Scratch<int32_t>(size_t(width));
  const float step_x = float(old_width) / float(width);
  const float step_y = float(old_height) / float(height);
  float pos = 0;
  for (int32_t j = 0; j < width; ++j, pos += step_x) columns[j] = std::min(TruncateToInt(pos), old_width - 1);
  if (picture.Create(width, height) == 0) {
    picture.CopyFrom(&old);
    return false;
  }
  StartProgress(0, height);
  pos = 0;
  for (int32_t i = 0; i < height; ++i, pos += step_y) {
    if (i % 5 == 0 && !Continue(i)) {
      picture.CopyFrom(&old);
      return false;
    }
    const uint8_t* source = old.Row(std::min(TruncateToInt(pos), old_height - 1));
    uint8_t* target = picture.Row(i);
    for (int32_t j = 0; j < width; ++j, target += 3) CopyPixel(target, source + 3 * size_t(columns[j]));
  }
  return true;
}

bool CutOut(uint8_t* const* rows, const Zone& zone, Picture& out) {
  if (zone.Width() < 1 || zone.Height() < 1 || out.Create(zone.Width(), zone.Height()) == 0) return false;
  for (int32_t y = 0; y < zone.Height(); ++y)
    std::memcpy(out.Row(y), PixelAt(rows, zone.x0, zone.y0 + y), 3 * size_t(zone.Width()));
  return true;
}

void SmoothDiscEdge(uint8_t* const* rows, int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t r) {
  const int64_t r2 = int64_t(r) * r;
  const int64_t inner = r2 * 7 / 8, outer = r2 + 2;
  // The walk covers the square of half side r * r around the centre; every pixel that meets the
  // condition lies within r + 1 of the centre, so the smaller square visits the same pixels in
  // the same order.
  const int64_t half = std::min<int64_t>(r2, int64_t(r) + 1);
  const int64_t x0 = std::max<int64_t>(cx - half, 0), x1 = std::min<int64_t>(cx + half, width - 1);
  const int64_t y0 = std::max<int64_t>(cy - half, 0), y1 = std::min<int64_t>(cy + half, height - 1);
  for (int64_t y = y0; y <= y1; ++y)
    for (int64_t x = x0; x <= x1; ++x) {
      const int64_t e = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (e <= inner || e > outer) continue;
      int32_t sum[3] = {0, 0, 0}, n = 0;
      for (int64_t ny = std::max<int64_t>(y - 1, 0); ny <= std::min<int64_t>(y + 1, height - 1); ++ny)
        for (int64_t nx = std::max<int64_t>(x - 1, 0); nx <= std::min<int64_t>(x + 1, width - 1); ++nx) {
          const uint8_t* p = PixelAt(rows, nx, ny);
          sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], ++n;
        }
      uint8_t* p = PixelAt(rows, x, y);
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t(sum[ch] / n);
    }
}

}  // namespace ombrix::pic
