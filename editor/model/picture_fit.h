// Fitting a picture into a picture area for display, with the single-pass point resize or the
// two-pass resize the "ComputeExtra" option chooses.
#pragma once

#include <memory>

#include "core/picture/picture.h"

namespace ombrix::editor {

struct FittedSize {
  int width = 0;
  int height = 0;
};

// The size of a picture of width x height fitted into an area of area_width x area_height:
// scaled by r = min(area_width / width, area_height / height), each product truncated towards
// zero (a small picture is enlarged as well). The products are worked out exactly: the side that
// sets r gets the area's size, the other side is other * area / side in integer division, so
// no rounding of r can lose a pixel. Never below 1 x 1; 0 x 0 for an empty picture or area.
FittedSize FitSize(int width, int height, int area_width, int area_height);

// The single-pass point resize to width x height: source row and column are the whole parts of
// running sums of step y = source height / height and step x = source width / width, added up
// in single precision from 0. Null when the source is empty or the size is not positive.
std::unique_ptr<Picture> PointResize(const Picture& source, int width, int height);

// The two-pass resize to width x height: first the height, then the width, each pass only when
// that size changes, so a picture of the same size comes back byte for byte. A pass that
// enlarges places the source pixels at equal distances over the new length, the first and the
// last on the first and the last destination pixel, and fills between two neighbours by linear
// interpolation of each colour byte. A pass that shrinks gives each destination pixel the
// average of the source pixels its span covers, each weighted by how much of it the span
// covers. Both are worked out in integers and rounded to the nearest value (halves up), so a
// uniform picture stays uniform. Null when the source is empty or the size is not positive.
std::unique_ptr<Picture> TwoPassResize(const Picture& source, int width, int height);

// A copy of the picture fitted into the area (FitSize), with the two-pass resize when
// compute_extra is set (the "ComputeExtra" option), else the point resize; null for an empty
// picture.
std::unique_ptr<Picture> FitPicture(const Picture& source, int area_width, int area_height, bool compute_extra);

}  // namespace ombrix::editor
