// The parameter-kind facts the help pages print: each kind's name and the range the editor's
// drag control keeps a value in.
//
// A stand-in: the shared kind table (core/parameter_kinds.h, with the same row names) is about
// to replace it. When it lands, this header becomes an include of that table and the two
// functions below read its rows; nothing else of the generator changes.
#pragma once

#include <cstdint>
#include <string>

namespace ombrix::help {

struct KindFacts {
  const char* name;
  bool bounded;  // false: the editor does not drag values of this kind
  int32_t low;
  int32_t high;
};

// The facts of a kind number; a number outside 0..16 gives the name "unknown", unbounded.
const KindFacts& FactsOfKind(int32_t kind);

// "-32000 to 32000", "0 to 100 %", or the empty text for kinds without a range.
std::string RangeText(int32_t kind);

}  // namespace ombrix::help
