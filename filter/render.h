// The render procedure: applies an effect script to one picture for one frame.
#pragma once

#include <cstdint>
#include <string>

#include "core/plugin/plugin_host.h"
#include "core/records.h"
#include "filter/progress_binding.h"

class Picture;

namespace ombrix::engine {

inline constexpr int kMaxEntries = 256;

// Renders the script (the path at the start of record, when record is not null; else the one
// of the previous call) over picture in place. 0 when a filter reported a cancel, else 1. Never
// throws: a render that runs out of memory stops where it is, keeps the filters applied
// before, and gives 0 like a cancelled one.
int32_t RenderCall(const void* record, Picture* picture);

// Why the last RenderCall did not apply its whole chain (the first reason: an unreadable
// script, an unknown filter or plug-in, a missing picture, a filter that failed, a message with
// an error caption); empty when it did. A cancel is not a failure.
const std::string& LastRenderFailure();

// The frame given by the renderer; -1 renders the script's test frame.
void SetOutsideFrame(int32_t frame);
// The plug-in table scripts are read against: an instance's own while it renders; null makes
// the module-wide table (built from the settings store at the first render) current.
void SetCurrentPluginTable(PluginTable* table);
// The progress module binding shared by every render and every instance of the process.
ProgressBinding& Progress();
// Reads "OmOutDll" into the progress binding's module path.
void ReadProgressModulePath();

// One chain entry applied at a frame to INPUT and WORK, with the services a filter sees.
// Exposed for tests; RenderCall is the way in.
int ApplyEntry(FilterDescriptor& entry, int frame);

}  // namespace ombrix::engine
