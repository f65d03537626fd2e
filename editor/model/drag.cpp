// Drag bounds and steps.
#include "editor/model/drag.h"

#include <algorithm>
#include <cmath>

#include "core/parameter_kinds.h"
#include "core/text/numbers.h"
#include "editor/model/number_formats.h"

namespace ombrix::editor {
namespace {

DragBounds KindBounds(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  if (row == nullptr || !row->range.bounded) return {0, 0};
  return {double(row->range.low), double(row->range.high)};
}

double HeldWithin(const std::string& text, const DragBounds& range) {
  return std::clamp(double(text::LeadingInt(text, 0)), range.low, range.high);
}

}  // namespace

int32_t DragKindOf(DragField field, int32_t parameter_kind) {
  switch (field) {
    case DragField::kStartFrame:
    case DragField::kEndFrame:
    case DragField::kTestFrame:
      return kKindPositiveInteger;
    case DragField::kParameter:
      return parameter_kind;
    default:
      return kKindInteger;
  }
}

DragBounds DragBoundsOf(DragField field, int32_t parameter_kind, const DragFieldTexts& texts) {
  const DragBounds kind = KindBounds(DragKindOf(field, parameter_kind));
  DragBounds b = kind;
  switch (field) {
    case DragField::kZoneLeft:
      b.high = HeldWithin(texts.zone[2], kind);
      break;
    case DragField::kZoneRight:
      b.low = HeldWithin(texts.zone[0], kind);
      break;
    case DragField::kZoneTop:
      b.high = HeldWithin(texts.zone[3], kind);
      break;
    case DragField::kZoneBottom:
      b.low = HeldWithin(texts.zone[1], kind);
      break;
    case DragField::kStartFrame:
      b.high = HeldWithin(texts.end_frame, kind);
      break;
    case DragField::kEndFrame:
      b.low = HeldWithin(texts.start_frame, kind);
      break;
    case DragField::kTestFrame:
      b.low = HeldWithin(texts.start_frame, kind);
      b.high = HeldWithin(texts.end_frame, kind);
      break;
    case DragField::kZoneStep:
    case DragField::kParameter:
      break;
  }
  return b;
}

void Drag::Begin(int target, int32_t kind, const std::string& field_text, int anchor_x) {
  active_ = true;
  target_ = target;
  kind_ = kind;
  value_ = double(text::LeadingFloat(field_text, 0.0f));
  if (!std::isfinite(value_)) value_ = 0;  // "inf" and "nan" read as numbers, but drag from 0
  anchor_x_ = anchor_x;
}

// The field's text is read as "%f" reads it (a float), but the value is then kept and moved in
// double: a float holds 50.3 as 50.2999992, which the one-digit drag format would show as 50.2
// after three pixels of travel from 50.0.
std::optional<std::string> Drag::Step(int x, const DragBounds& bounds) {
  if (!active_ || x == anchor_x_) return std::nullopt;
  value_ += double(x - anchor_x_) * DragFactorOf(kind_);
  value_ = std::max(std::min(value_, bounds.high), bounds.low);
  return DragText(kind_, value_);
}

}  // namespace ombrix::editor
