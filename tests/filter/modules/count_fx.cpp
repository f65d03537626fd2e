// A test filter module that records what the render engine sends it: commands, and for every
// apply the context it got. Tests keep their own handle on it so the record survives the
// engine's unload at the end of a render.
#include <cstring>

#include "core/kit/plugin_kit.h"
#include "core/picture/picture.h"

namespace {

struct Record {
  int initialise = 0, release = 0, applies = 0;
  ApplyContext last{};
  float values[16] = {};
  int16_t states[16] = {};
  char value_text[5][256] = {};
  int stop_answer = 1;  // what StepProgress answered in the last apply
};
Record g_record;

int32_t Apply(ApplyContext* context) {
  ++g_record.applies;
  g_record.last = *context;
  for (int k = 0; k < context->parameter_count && k < 16; ++k) g_record.values[k] = context->values[k];
  for (int k = 0; k < context->option_count && k < 16; ++k) g_record.states[k] = context->option_states[k];
  for (int k = 0; k < 5; ++k) std::memcpy(g_record.value_text[k], context->descriptor->parameters[k].value, 256);
  HostBlock* block = ombrix::kit::CurrentHostBlock();
  block->progress->StartProgress(0, 10);
  g_record.stop_answer = block->progress->StepProgress(0);
  if (g_record.stop_answer == 0) return 0;
  // Paint the whole picture: only the zone may reach the result.
  Picture* work = block->picture->WorkPicture();
  for (int y = 0; y < work->Height(); ++y) std::memset(work->Row(y), 0x55, size_t(work->Width()) * 3);
  return 1;
}

int32_t Setup(intptr_t) {
  SetHelp("Count.Hlp", 1);
  SetParam(1, "Amount", "2", "0.5", kKindInteger, nullptr);
  SetParam(2, "Share", "10 %", "0 %", kKindSignedPercentage, nullptr);
  SetParam(3, "Across", "320", "0", kKindHorizontal, nullptr);
  SetParam(4, "Texture", "(none)", "", kKindPictureFile, nullptr);
  SetOption(1, "One", 1, 1);
  SetOption(2, "Two", 0, 1);
  return 1;
}

void Catalogue() {
  RegisterFilter("Count", Apply, Setup, 0);
  RegisterFilter("Count Again", Apply, Setup, 0);
}

const PluginRights kRights = {"Test", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {1, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, Catalogue, 0};
const PluginInfo kInfo = ombrix::MakePluginInfo("Count Test Module", &kRights, kKinds, &kExtension, nullptr);

}  // namespace

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {
  return ombrix::kit::PluginEntry(&kInfo, type, a, out);
}

OMBRIX_EXPORT int32_t Ombrix_Filter_Plugin_Entry(int32_t command, int32_t zero, HostBlock* block) {
  if (command == kCommandInitialise) ++g_record.initialise;
  if (command == kCommandRelease) ++g_record.release;
  return ombrix::kit::FilterEntry(&kInfo, command, zero, block);
}

OMBRIX_EXPORT const void* CountFx_Record() { return &g_record; }
