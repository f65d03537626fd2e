// What every module knows about the seventeen parameter kinds, one row per kind in kind order:
// the name listings show, the range the editor's drag control keeps a value in, how a host turns
// the value and step texts into the number a filter gets, how an effect script stores the value,
// and how the editor shows, drags and acts on the slot.
//
// Tables with more columns per kind (a cursor, say) are kept beside this one, one row per kind in
// the same order, and check themselves with static_assert(CoversEveryKind(their_rows)); or they
// become more columns of this table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/records.h"

namespace ombrix {

inline constexpr int kParameterKindCount = 17;

// How a host turns a slot into the number of the filter's value array.
enum class KindReading : uint8_t {
  kNumber,        // value and step texts read as numbers: value + frame offset * step
  kWidthScaled,   // the same, each text's number scaled by picture width / based width when the
                  // entry is proportional
  kHeightScaled,  // the same by height
  kColourText,    // 0: the filter reads its "red green blue" texts from the descriptor
  kFilePath,      // 0: the text is a path; a render completes it with the content directory
                  // when it names no file, and a script reader looks for the file
};

// The values the editor's drag control allows; `bounded` false for kinds it does not drag.
struct KindRange {
  bool bounded;
  int32_t low;
  int32_t high;
};
inline constexpr KindRange kNoRange = {false, 0, 0};

// How the editor writes a value or step text into its field.
enum class KindDisplay : uint8_t {
  kWhole,     // read as a whole number, written as decimal digits
  kDecimal,   // read as a real, written "%f" with the trailing zeros trimmed (one digit kept)
  kPercent,   // kDecimal followed by " %"
  kAsStored,  // the text as it is
  kFileText,  // the text, shortened when it is 64 characters or more
  kHidden,    // neither field is shown
};

// What a press on the slot's name button (and, for the dialog kinds, its two small buttons)
// does in the editor.
enum class KindAction : uint8_t {
  kFilterHelp,      // the help of the current filter
  kColourSelector,  // the colour selector on the value or the step
  kOpenFile,        // the file-open dialog "Load"
  kPictureFile,     // the picture dialog; the right button views the picture
  kSaveFile,        // the file-save dialog "Save"
  kEditorLink,      // calls the linked editor procedure
};

struct ParameterKindRow {
  ParameterKind kind;
  const char* name;
  KindRange range;
  KindReading reading;
  bool path_value;  // the value text names a file: written relative to the content directory
  bool in_script;   // false: never read from or written to a script
  KindDisplay display;
  // Change of a dragged value per pixel of mouse travel; 0 for kinds that are not dragged. The
  // dragged kinds are exactly the ones whose typed text is evaluated as arithmetic.
  double drag_factor;
  KindAction action;
};

// The editor link reads as a number like every kind without its own rule; its "module
// procedure" text gives 0 unless the module name starts with digits.
// clang-format off
inline constexpr std::array<ParameterKindRow, kParameterKindCount> kParameterKinds = {{
    {kKindInteger, "integer", {true, -32000, 32000}, KindReading::kNumber, false, true,
     KindDisplay::kWhole, 0.5, KindAction::kFilterHelp},
    {kKindColour, "colour", kNoRange, KindReading::kColourText, false, true,
     KindDisplay::kAsStored, 0, KindAction::kColourSelector},
    {kKindInputFile, "input file", kNoRange, KindReading::kFilePath, true, true,
     KindDisplay::kFileText, 0, KindAction::kOpenFile},
    {kKindPlain3, "number", kNoRange, KindReading::kNumber, false, true,
     KindDisplay::kAsStored, 0, KindAction::kFilterHelp},
    {kKindPictureFile, "picture file", kNoRange, KindReading::kFilePath, true, true,
     KindDisplay::kFileText, 0, KindAction::kPictureFile},
    {kKindHorizontal, "horizontal", {true, -32000, 32000}, KindReading::kWidthScaled, false, true,
     KindDisplay::kWhole, 0.5, KindAction::kFilterHelp},
    {kKindVertical, "vertical", {true, -32000, 32000}, KindReading::kHeightScaled, false, true,
     KindDisplay::kWhole, 0.5, KindAction::kFilterHelp},
    {kKindOutputFile, "output file", kNoRange, KindReading::kNumber, true, true,
     KindDisplay::kFileText, 0, KindAction::kSaveFile},
    {kKindPlain8, "number", kNoRange, KindReading::kNumber, false, true,
     KindDisplay::kAsStored, 0, KindAction::kFilterHelp},
    {kKindSignedPercentage, "signed percentage", {true, -100, 100}, KindReading::kNumber, false, true,
     KindDisplay::kPercent, 0.1, KindAction::kFilterHelp},
    {kKindReal, "real", {true, -32000, 32000}, KindReading::kNumber, false, true,
     KindDisplay::kDecimal, 0.1, KindAction::kFilterHelp},
    {kKindPercentage, "percentage", {true, 0, 100}, KindReading::kNumber, false, true,
     KindDisplay::kPercent, 0.1, KindAction::kFilterHelp},
    {kKindPositiveInteger, "positive integer", {true, 0, 32000}, KindReading::kNumber, false, true,
     KindDisplay::kWhole, 0.5, KindAction::kFilterHelp},
    {kKindSignedByteRange, "signed byte range", {true, -255, 255}, KindReading::kNumber, false, true,
     KindDisplay::kWhole, 0.5, KindAction::kFilterHelp},
    {kKindByteRange, "byte range", {true, 0, 255}, KindReading::kNumber, false, true,
     KindDisplay::kWhole, 0.5, KindAction::kFilterHelp},
    {kKindPositiveReal, "positive real", {true, 0, 32000}, KindReading::kNumber, false, true,
     KindDisplay::kDecimal, 0.1, KindAction::kFilterHelp},
    {kKindEditorLink, "editor link", kNoRange, KindReading::kNumber, false, false,
     KindDisplay::kHidden, 0, KindAction::kEditorLink},
}};
// clang-format on

// True when `rows` holds one row per kind, in kind order (row k has kind k).
template <typename Row, size_t N>
constexpr bool CoversEveryKind(const std::array<Row, N>& rows) {
  if (N != size_t(kParameterKindCount)) return false;
  for (size_t k = 0; k < N; ++k)
    if (size_t(rows[k].kind) != k) return false;
  return true;
}
static_assert(CoversEveryKind(kParameterKinds));

// The row of a kind; null for a number outside 0..16, which a module may still send.
constexpr const ParameterKindRow* FindParameterKind(int32_t kind) {
  return kind >= 0 && kind < kParameterKindCount ? &kParameterKinds[size_t(kind)] : nullptr;
}

// Unknown kinds have no rule of their own: they read as numbers, keep their value text as it
// is and go to the script.
constexpr KindReading ReadingOf(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row != nullptr ? row->reading : KindReading::kNumber;
}
constexpr bool HoldsPath(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row != nullptr && row->path_value;
}
constexpr bool StoredInScript(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row == nullptr || row->in_script;
}
// An unknown kind is shown as stored, not dragged, and its name button opens the filter's help.
constexpr KindDisplay DisplayOf(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row != nullptr ? row->display : KindDisplay::kAsStored;
}
constexpr double DragFactorOf(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row != nullptr ? row->drag_factor : 0.0;
}
// Typed text in the slot's fields is evaluated as arithmetic (and the small buttons drag).
constexpr bool IsTypedNumber(int32_t kind) { return DragFactorOf(kind) != 0.0; }
constexpr KindAction ActionOf(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row != nullptr ? row->action : KindAction::kFilterHelp;
}
// Every dragged kind has a range to keep its value in.
constexpr bool DraggedKindsAreBounded() {
  for (const ParameterKindRow& row : kParameterKinds)
    if ((row.drag_factor != 0.0) != row.range.bounded) return false;
  return true;
}
static_assert(DraggedKindsAreBounded());

// "unknown" for a number outside 0..16.
constexpr const char* KindName(int32_t kind) {
  const ParameterKindRow* row = FindParameterKind(kind);
  return row != nullptr ? row->name : "unknown";
}

}  // namespace ombrix
