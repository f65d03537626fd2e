// The test render: a chain written to the test-render script and rendered over a copy of the
// test picture by the render procedure of the image-filter module the editor started with,
// called in this process.
#pragma once

#include "editor/model/session.h"

namespace ombrix::editor {

inline constexpr const char* kRenderProcedureName = "Ombrix_Render_Proc";
// How the editor names itself to the render procedure ("§" is the Windows-1252 byte 0xA7).
inline constexpr const char* kRenderCallerText = "Zorvex\xA7Ombrix";
inline constexpr const char* kNothingToRender = "Nothing to render";
inline constexpr const char* kNoTestPicture = "There is no test picture.";
// What a successful render names the last render.
inline constexpr const char* kRenderSourceText = "Render";
inline constexpr const char* kRenderTypeText = "Raw Memory";

// The render procedure's signature: caller text, a record starting with the script path, the
// picture changed in place; 0 when the render was cancelled.
using RenderProcedure = int32_t (*)(const char* text, const void* record, Picture* picture);

// Renders entries[0..count) at test_frame: checks that there is a test picture and that the
// filter module exports the render procedure, writes the entries with the test frame and the
// session's header to the test-render script, copies the test picture into the session's last
// render and has the procedure change it in place. On success the last render is named "Render"
// with the type "Raw Memory". What stops it is shown through the process's dialogs with the
// caption "Ombrix - Error": "There is no test picture.", "Cannot find Render module in
// file\n"<module>".", or the script that cannot be written (the procedure would otherwise
// render what an earlier render left there). A cancelled render fails without a message; the
// last render then holds what the procedure left of the copy.
bool RenderTestPicture(EditorSession& session, const FilterDescriptor* const* entries, int count, int test_frame);

}  // namespace ombrix::editor
