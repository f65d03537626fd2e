// Mask sampling and the merge of a filter's result.
//
// The weights are applied as (WORK - INPUT) * weight * c with c the single-precision value
// nearest to 1/255; the products are taken in extended precision (long double) in that order
// and truncated toward zero. Because the difference takes only 511 values, each merge builds a
// small table of the truncated products once and the pixel loops only look them up.
#include "filter/mask_merge.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "core/kit/simd.h"
#include "filter/merge_kernels.h"

namespace ombrix::engine {
namespace {

constexpr float kC = 1.0f / 255.0f;  // the single-precision value nearest to 1/255

// table[d + 255] = truncate(d * weight * c) for d in -255..255.
struct WeightTable {
  int16_t shift[511];
  explicit WeightTable(long double weight) {
    for (int d = -255; d <= 255; ++d) shift[d + 255] = int16_t(std::trunc(static_cast<long double>(d) * weight * kC));
  }
  int operator()(int d) const { return shift[d + 255]; }
};

int Grey(const uint8_t* p) { return (p[0] + p[1] + p[2]) / 3; }

// Remainder that is never negative, so a coordinate left of or above the picture still tiles.
int Wrap(int v, int n) {
  const int r = v % n;
  return r < 0 ? r + n : r;
}

// The mask pixel at (truncate(fx), truncate(fy)), kept inside the mask: the running sums can
// drift past its last column by float error.
const uint8_t* StretchedPixel(const Picture& m, float fx, float fy) {
  int mx = int(fx), my = int(fy);
  if (mx >= m.Width()) mx = m.Width() - 1;
  if (my >= m.Height()) my = m.Height() - 1;
  if (mx < 0) mx = 0;
  if (my < 0) my = 0;
  return m.Row(my) + 3 * size_t(mx);
}

// The gradual mask's tables, one per weight k = 255 - grey, built when a grey level first occurs.
class GradualTables {
 public:
  const WeightTable& For(int k) {
    if (!tables_[k]) tables_[k] = std::make_unique<WeightTable>(k);
    return *tables_[k];
  }

 private:
  std::unique_ptr<WeightTable> tables_[256];
};

void MaskStage(const Picture& input, Picture& work, const MaskState& mask, int type, int x0, int y0, int x1, int y1) {
  const Picture& m = *mask.picture;
  const bool stretched = mask.scale_x > 0 && mask.scale_y > 0;
  const int mw = m.Width(), mh = m.Height();
  GradualTables tables;
  // Stretched masks advance their coordinates by addition; the sums are kept as floats.
  float fy = float(y0) * mask.scale_y;
  for (int y = y0; y < y1; ++y, fy += mask.scale_y) {
    const uint8_t* in = input.Row(y) + 3 * size_t(x0);
    uint8_t* out = work.Row(y) + 3 * size_t(x0);
    float fx = float(x0) * mask.scale_x;
    const uint8_t* tile_row = stretched ? nullptr : m.Row(Wrap(y, mh));
    int tx = stretched ? 0 : Wrap(x0, mw);
    for (int x = x0; x < x1; ++x, in += 3, out += 3) {
      const uint8_t* mp;
      if (stretched) {
        mp = StretchedPixel(m, fx, fy);
        fx += mask.scale_x;
      } else {
        mp = tile_row + 3 * size_t(tx);
        if (++tx == mw) tx = 0;
      }
      const int g = Grey(mp);
      if (type == 1) {
        const WeightTable& t = tables.For(255 - g);
        for (int c = 0; c < 3; ++c) out[c] = uint8_t(in[c] + t(out[c] - in[c]));
      } else if (g > 128) {
        std::memcpy(out, in, 3);
      }
    }
  }
}

void AlphaStage(Picture& input, const Picture& work, float alpha, int x0, int y0, int x1, int y1) {
  const size_t bytes = size_t(x1 - x0) * 3;
  if (alpha == 0.0f) {
    for (int y = y0; y < y1; ++y) std::memcpy(input.Row(y) + 3 * size_t(x0), work.Row(y) + 3 * size_t(x0), bytes);
    return;
  }
  const long double l = 255.0L - 255.0L * static_cast<long double>(alpha);
  // l >= 0: INPUT + trunc((WORK - INPUT) * l * c); l < 0: WORK + trunc((INPUT - WORK) * -l * c).
  const bool from_input = l >= 0;
  const WeightTable table(from_input ? l : -l);
  for (int y = y0; y < y1; ++y) {
    uint8_t* in = input.Row(y) + 3 * size_t(x0);
    const uint8_t* out = work.Row(y) + 3 * size_t(x0);
    for (size_t i = 0; i < bytes; ++i) {
      in[i] = from_input ? uint8_t(in[i] + table(out[i] - in[i])) : uint8_t(out[i] + table(in[i] - out[i]));
    }
  }
}

// ---- The fast path --------------------------------------------------------------------------

// The mask's weight for every byte of one zone row: k = 255 - grey (gradual) or 0xFF where the
// INPUT pixel is kept (threshold). A weight row is built once per mask row it comes from: kept
// for every mask row when a tiled mask repeats its rows over the zone, else only for the latest
// mask row (consecutive zone rows of a stretched mask share it).
class MaskWeights {
 public:
  MaskWeights(const MaskState& mask, int type, int x0, int x1, int rows) : mask_(*mask.picture), type_(type) {
    const bool stretched = mask.scale_x > 0 && mask.scale_y > 0;
    const int mw = mask_.Width();
    std::vector<int> columns(size_t(x1 - x0));
    // The same column walk as the plain mask stage: a float sum restarted at every row, or
    // the tile column.
    float fx = float(x0) * mask.scale_x;
    int tx = stretched ? 0 : Wrap(x0, mw);
    for (int x = x0; x < x1; ++x) {
      if (stretched) {
        int mx = int(fx);
        if (mx >= mw) mx = mw - 1;
        if (mx < 0) mx = 0;
        columns[size_t(x - x0)] = mx;
        fx += mask.scale_x;
      } else {
        columns[size_t(x - x0)] = tx;
        if (++tx == mw) tx = 0;
      }
    }
    // Runs of consecutive mask columns (a tile's width, or the whole zone when the mask is as
    // large as the picture) take their weights straight from the mask pixels; a map that
    // repeats or skips columns (stretching) weighs the columns it uses once and spreads them.
    for (size_t i = 0; i < columns.size();) {
      size_t end = i + 1;
      while (end < columns.size() && columns[end] == columns[end - 1] + 1) ++end;
      runs_.push_back({i, columns[i], end - i});
      i = end;
    }
    if (runs_.size() * 16 > columns.size()) {
      first_ = *std::min_element(columns.begin(), columns.end());
      const int last = *std::max_element(columns.begin(), columns.end());
      for (int& c : columns) c -= first_;
      used_ = size_t(last - first_) + 1;
      // 16 spare bytes: the spread reads 16 bytes from any used column
      column_weights_.assign(used_ + 16, 0);
      spread_ = std::make_unique<WeightSpread>(columns);
    }
    row_bytes_ = 3 * columns.size();
    const size_t mh = size_t(mask_.Height());
    keep_all_ = !stretched && mh < size_t(rows) && mh * row_bytes_ <= kMaxKeptBytes;
    weights_.resize(keep_all_ ? mh * row_bytes_ : row_bytes_);
    if (keep_all_) built_.assign(mh, false);
  }

  const uint8_t* ForMaskRow(int my) {
    uint8_t* const row = weights_.data() + (keep_all_ ? size_t(my) * row_bytes_ : 0);
    if (keep_all_ ? built_[size_t(my)] : my == latest_) return row;
    if (keep_all_) built_[size_t(my)] = true;
    latest_ = my;
    const uint8_t* source = mask_.Row(my);
    if (spread_) {
      PixelWeights(source + 3 * size_t(first_), used_, type_, 1, column_weights_.data());
      spread_->Row(column_weights_.data(), row);
    } else {
      for (const Run& r : runs_) PixelWeights(source + 3 * size_t(r.column), r.length, type_, 3, row + 3 * r.start);
    }
    return row;
  }

 private:
  struct Run {
    size_t start;  // zone pixel
    int column;    // its mask column
    size_t length;
  };
  static constexpr size_t kMaxKeptBytes = size_t(4) << 20;
  const Picture& mask_;
  const int type_;
  std::vector<Run> runs_;
  std::unique_ptr<WeightSpread> spread_;  // set when the runs are short
  int first_ = 0;                         // lowest mask column the zone uses
  size_t used_ = 0;                       // mask columns from the lowest to the highest used
  std::vector<uint8_t> column_weights_;
  size_t row_bytes_ = 0;
  bool keep_all_ = false;
  std::vector<bool> built_;
  int latest_ = -1;
  std::vector<uint8_t> weights_;
};

// Mask stage and alpha stage row by row; the merged zone goes into INPUT and into WORK. Then
// only what lies outside the zone is copied into WORK.
void FastMerge(Picture& input, Picture& work, const MaskState& mask, bool use_mask, int type, float alpha, int x0,
               int y0, int x1, int y1) {
  const size_t bytes = 3 * size_t(x1 - x0);
  const int rows = y1 - y0;
  std::unique_ptr<MaskWeights> weights;
  std::vector<int> mask_rows;
  if (use_mask) {
    weights = std::make_unique<MaskWeights>(mask, type, x0, x1, rows);
    // The mask row of every zone row, by the same walk as the plain mask stage: fy starts at
    // y0 * scale and grows by addition, so the rows are found in order before the pixels are
    // visited in whatever order suits the memory.
    const bool stretched = mask.scale_x > 0 && mask.scale_y > 0;
    const int mh = mask.picture->Height();
    mask_rows.resize(size_t(rows));
    float fy = float(y0) * mask.scale_y;
    for (int y = y0; y < y1; ++y, fy += mask.scale_y) {
      int my;
      if (stretched) {
        my = int(fy);
        if (my >= mh) my = mh - 1;
        if (my < 0) my = 0;
      } else {
        my = Wrap(y, mh);
      }
      mask_rows[size_t(y - y0)] = my;
    }
  }
  std::unique_ptr<AlphaBlend> blend;
  if (alpha != 0.0f) blend = std::make_unique<AlphaBlend>(alpha);
  // Rows in ascending addresses (the block keeps them bottom-up), so that the processor's
  // prefetch streams on from one row into the next.
  const bool bottom_up = rows > 1 && input.Row(y0) > input.Row(y1 - 1);
  for (int i = 0; i < rows; ++i) {
    const int y = bottom_up ? y1 - 1 - i : y0 + i;
    uint8_t* in = input.Row(y) + 3 * size_t(x0);
    uint8_t* out = work.Row(y) + 3 * size_t(x0);
    if (use_mask) {
      const uint8_t* w = weights->ForMaskRow(mask_rows[size_t(y - y0)]);
      // Without an alpha stage the masked bytes are the result: into both pictures at once.
      uint8_t* also = blend ? nullptr : in;
      if (type == 1)
        GradualMaskRow(in, out, w, bytes, also);
      else
        ThresholdMaskRow(in, out, w, bytes, also);
      if (blend) blend->Row(in, out, bytes);
    } else if (blend) {
      blend->Row(in, out, bytes);
    } else {
      std::memcpy(in, out, bytes);
    }
  }
  if (!work.CopyFromOutside(&input, x0, y0, x1, y1)) work.CopyFrom(&input);
}

}  // namespace

void SetMaskScale(MaskState& mask, const XAlphaRecord& xalpha, const Picture& input) {
  if (mask.picture == nullptr) return;
  if (xalpha.stretch != 0 && input.Width() > 0 && input.Height() > 0) {
    mask.scale_x = float(mask.picture->Width()) / float(input.Width());
    mask.scale_y = float(mask.picture->Height()) / float(input.Height());
  } else {
    mask.scale_x = -1.0f;
    mask.scale_y = -1.0f;
  }
}

uint8_t MaskGrey(const MaskState& mask, int x, int y) {
  const Picture* m = mask.picture;
  if (m == nullptr || m->IsEmpty()) return 0;
  int mx, my;
  if (mask.scale_x > 0 && mask.scale_y > 0) {
    const float fx = float(x) * mask.scale_x, fy = float(y) * mask.scale_y;
    // A filter may ask about any coordinate; outside the mask there is no grey.
    if (!(fx >= 0 && fy >= 0 && fx < float(m->Width()) && fy < float(m->Height()))) return 0;
    mx = int(fx);
    my = int(fy);
  } else {
    mx = Wrap(x, m->Width());
    my = Wrap(y, m->Height());
  }
  return uint8_t(Grey(m->Row(my) + 3 * size_t(mx)));
}

void InvertMask(Picture& mask) {
  for (int y = 0; y < mask.Height(); ++y) {
    uint8_t* p = mask.Row(y);
    for (int i = 0; i < 3 * mask.Width(); ++i) p[i] = uint8_t(255 - p[i]);
  }
}

void Merge(Picture& input, Picture& work, const MaskState& mask, bool mask_present, int type, float alpha, int x0,
           int y0, int x1, int y1) {
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  const int width = input.Width(), height = input.Height();
  const bool inside = !(x0 > width || y0 > height || x1 < 0 || y1 < 0);
  if (inside && !input.IsEmpty() && work.Width() == width && work.Height() == height) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > width) x1 = width;
    if (y1 > height) y1 = height;
    if (x0 < x1 && y0 < y1) {
      const bool use_mask =
          mask_present && (type == 1 || type == 2) && mask.picture != nullptr && !mask.picture->IsEmpty();
      if (kit::simd::Uses(kit::simd::Level::kSse2)) {
        FastMerge(input, work, mask, use_mask, type, alpha, x0, y0, x1, y1);
        return;
      }
      if (use_mask) MaskStage(input, work, mask, type, x0, y0, x1, y1);
      AlphaStage(input, work, alpha, x0, y0, x1, y1);
    }
  }
  work.CopyFrom(&input);
}

}  // namespace ombrix::engine
