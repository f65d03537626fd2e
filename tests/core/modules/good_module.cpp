// A well-formed test module with two filters; its apply routines record how they were called.
#include <cstring>

#include "core/kit/plugin_kit.h"

namespace {

int32_t FirstApply(ApplyContext* context) { return context != nullptr ? 1 : 0; }
int32_t SecondApply(ApplyContext* context) { return context != nullptr ? 2 : 0; }

int32_t FirstSetup(intptr_t) {
  SetHelp("Test.Hlp", 7);
  SetParam(1, "Amount", "2", "0.5", kKindInteger, nullptr);
  SetParam(3, "Tint", "1 2 3", "0 0 0", kKindColour, "extra text");
  SetOption(1, "Left", 1, 1);
  SetOption(2, "Right", 0, 1);
  return 1;
}

int32_t SecondSetup(intptr_t) {
  SetHelp("Test.Hlp", 8);
  return 1;
}

void Catalogue() {
  RegisterFilter("First Filter", FirstApply, FirstSetup, 0);
  RegisterFilter("Second Filter", SecondApply, SecondSetup, 0);
}

}  // namespace

OMBRIX_FILTER_PLUGIN("Test Good Module", Catalogue)
