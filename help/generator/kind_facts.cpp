// The stand-in rows of the parameter kinds, in kind order (see kind_facts.h).
#include "help/generator/kind_facts.h"

#include <array>
#include <string_view>

namespace ombrix::help {
namespace {

constexpr std::array<KindFacts, 17> kKinds = {{
    {"integer", true, -32000, 32000},
    {"colour", false, 0, 0},
    {"input file", false, 0, 0},
    {"number", false, 0, 0},
    {"picture file", false, 0, 0},
    {"horizontal", true, -32000, 32000},
    {"vertical", true, -32000, 32000},
    {"output file", false, 0, 0},
    {"number", false, 0, 0},
    {"signed percentage", true, -100, 100},
    {"real", true, -32000, 32000},
    {"percentage", true, 0, 100},
    {"positive integer", true, 0, 32000},
    {"signed byte range", true, -255, 255},
    {"byte range", true, 0, 255},
    {"positive real", true, 0, 32000},
    {"editor link", false, 0, 0},
}};

constexpr KindFacts kUnknown = {"unknown", false, 0, 0};

}  // namespace

const KindFacts& FactsOfKind(int32_t kind) {
  return kind >= 0 && kind < int32_t(kKinds.size()) ? kKinds[size_t(kind)] : kUnknown;
}

std::string RangeText(int32_t kind) {
  const KindFacts& facts = FactsOfKind(kind);
  if (!facts.bounded) return {};
  std::string text = std::to_string(facts.low) + " to " + std::to_string(facts.high);
  // The percentage kinds show their values with a percent sign.
  if (std::string_view(facts.name).find("percentage") != std::string_view::npos) text += " %";
  return text;
}

}  // namespace ombrix::help
