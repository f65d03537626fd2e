// Feeds arbitrary bytes to ScriptFile's reader and the effect script reader, against a plug-in
// table of two filters with parameters of every kind the reader treats apart. A loaded script
// written out and loaded again must give the same text (for lines within the length limit).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/plugin/plugin_host.h"
#include "core/script/effect_script.h"
#include "core/script/script_file.h"

namespace {

using namespace ombrix;

// Two catalogue descriptors as a module would register them, copied into a table.
PluginTable& Table() {
  static PluginTable table;
  if (table.Count() == 0) {
    static ParameterRecord parameters[kSlotCount] = {};
    static OptionRecord options[kSlotCount] = {};
    static XAlphaRecord xalpha = {};
    const int16_t kinds[kSlotCount] = {kKindInteger,    kKindColour,     kKindInputFile,        kKindPictureFile,
                                       kKindEditorLink, kKindOutputFile, kKindSignedPercentage, kKindInteger,
                                       kKindInteger,    kKindInteger,    kKindInteger};
    for (int k = 0; k < kSlotCount; ++k) {
      std::snprintf(parameters[k].name, sizeof parameters[k].name, "P%d", k);
      std::snprintf(parameters[k].value, sizeof parameters[k].value, "%d", k);
      parameters[k].kind = kinds[k];
      options[k].state = int16_t(k % 3 - 1);
    }
    for (const char* name : {"A", "B"}) {
      FilterDescriptor d{};
      std::strcpy(d.name, name);
      d.parameter_count = kHighestSlot;
      d.option_count = kHighestSlot;
      d.parameters = parameters;
      d.options = options;
      d.xalpha = &xalpha;
      AppendDescriptor(table, &d, "/plugins/F.Omp");
    }
  }
  return table;
}

bool LinesFit(const ScriptFile& file) {
  for (const ScriptFile::Section& s : file.Sections())
    for (const ScriptFile::Pair& p : s.pairs)
      if (p.key.size() + p.value.size() + 2 > ScriptFile::kMaxLineBytes) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte picks a prefix: none, a good header, or a header and two filter sections
  // naming filters of the table, so most runs reach the filter section reader. The rest of the
  // input continues the last section.
  std::string text;
  const int prefix = size > 0 ? data[0] % 3 : 0;
  if (prefix >= 1) text = "[Header]\n\tIdentification=Zorvex\xA7OmbrixScript\n\tnFilter=4\n";
  if (prefix == 2) text += "[Filter_0]\n\tDllName=F.Omp\n\tFilterName=A\n[Filter_1]\n\tDllName=F.Omp\n\tFilterName=B\n";
  if (size > 0) text.append(reinterpret_cast<const char*>(data) + 1, size - 1);

  ScriptFile file;
  file.LoadText(text);
  const std::string once = file.Format();
  ScriptFile again;
  again.LoadText(once);
  if (LinesFit(file) && again.Format() != once) std::abort();

  constexpr int kCapacity = 4;
  FilterDescriptor* entries[kCapacity] = {};
  int count = 0;
  int frame = 0;
  ScriptHeader header{"/nonexistent-content/", 640, 480};
  const MissingFileHandler handler = [](char* name) {
    std::memset(name, 'n', kScriptPathBytes);  // an answer as long as the buffer allows
    return 1;
  };
  const int result = ReadScriptFrom(file, entries, kCapacity, &count, &frame, header, Table(), handler);
  if (result == 1 && (count < 0 || count > kCapacity)) std::abort();
  for (int i = 0; i < kCapacity; ++i) {
    if (entries[i] == nullptr) continue;
    if (i >= count) std::abort();
    for (int k = 0; k < entries[i]->parameter_count; ++k)
      if (strnlen(entries[i]->parameters[k].value, 256) == 256 || strnlen(entries[i]->parameters[k].step, 256) == 256)
        std::abort();
  }
  // Writing the entries back gives a script that reads again (for every other input: writing is
  // the slower half under the sanitizers).
  if (result == 1 && (data[0] / 3) % 2 == 0) {
    ScriptFile written;
    WriteScriptTo(written, entries, kCapacity, frame, header);
    int recount = count;
    if (ReadScriptFrom(written, entries, kCapacity, &recount, &frame, header, Table(), handler) != 1) std::abort();
    if (recount != count) std::abort();
    count = recount;
  }
  for (FilterDescriptor*& e : entries) FreeDescriptor(e, true);
  return 0;
}
