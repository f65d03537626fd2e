// A filter module for the script tests: two filters whose slots cover the parameter kinds the
// script reader treats differently (file kinds, the editor link kind, plain values) and options.
#include "core/kit/plugin_kit.h"

namespace {

int32_t Apply(ApplyContext*) { return 1; }

int32_t TintSetup(intptr_t) {
  SetHelp("ScriptFx.Hlp", 1);
  SetParam(1, "Amount", "2", "0", kKindInteger, nullptr);
  SetParam(2, "Colour", "10 20 30", "0 0 0", kKindColour, nullptr);
  SetParam(3, "Texture", "(none)", "", kKindPictureFile, nullptr);
  SetParam(4, "Data", "", "", kKindInputFile, nullptr);
  SetParam(5, "Link", "ZvExt Edit", "", kKindEditorLink, nullptr);
  SetParam(6, "Strength", "10 %", "0 %", kKindSignedPercentage, nullptr);
  SetParam(7, "Output", "out.txt", "", kKindOutputFile, nullptr);
  SetOption(1, "Red", 1, 1);
  SetOption(2, "Green", 0, 1);
  SetOption(3, "Wrap", 1, 2);
  return 1;
}

int32_t BlurSetup(intptr_t) {
  SetHelp("ScriptFx.Hlp", 2);
  SetParam(1, "Radius", "3", "1", kKindHorizontal, nullptr);
  SetOption(1, "Fast", 1, 1);
  return 1;
}

void Catalogue() {
  RegisterFilter("Tint", Apply, TintSetup, 0);
  RegisterFilter("Blur", Apply, BlurSetup, 0);
}

}  // namespace

OMBRIX_FILTER_PLUGIN("Script Test Effects", Catalogue)
