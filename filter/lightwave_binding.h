// The image-filter module's side of the renderer interface: the module descriptor, the handler
// server (instances with their script files) and the options interface that starts the editor.
#pragma once

#include "core/plugin/plugin_host.h"
#include "core/records.h"

namespace ombrix::engine {

// One use of the filter in a scene. The script path comes first, so a pointer to the instance is
// also a pointer to the path, as the render procedure takes it.
struct FilterInstance {
  char script_path[512];
  PluginTable* table;
  // Why the last processed frame did not get the whole effect; empty when it did.
  char failure[512];
  // The last scene text could not be written: the script file is not the scene's.
  bool load_failed;
};

// Answers OMBRIX_FRAME_FAILURE_EXPORT for an instance.
int32_t FrameFailure(LWInstance instance, char* reason, int32_t size);

}  // namespace ombrix::engine
