// Fitting sizes and the point resize.
#include "editor/model/picture_fit.h"

#include <cstring>

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
      std::memcpy(to + 3 * x, from + 3 * sx, 3);
    }
  }
  target->SetSourceText(source.SourceText());
  target->SetTypeText(source.TypeText());
  return target;
}

std::unique_ptr<Picture> FitPicture(const Picture& source, int area_width, int area_height) {
  if (source.IsEmpty()) return nullptr;
  const FittedSize size = FitSize(source.Width(), source.Height(), area_width, area_height);
  return PointResize(source, size.width, size.height);
}

}  // namespace ombrix::editor
