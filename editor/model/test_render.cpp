// The test render through the filter module's render procedure.
#include "editor/model/test_render.h"

#include <cstdio>
#include <cstring>

#include "core/script/effect_script.h"
#include "editor/model/ending.h"
#include "gui/dialogs.h"

namespace ombrix::editor {
namespace {

constexpr const char* kErrorCaption = "Ombrix - Error";

}  // namespace

bool RenderTestPicture(EditorSession& session, const FilterDescriptor* const* entries, int count, int test_frame) {
  if (!session.test_picture || session.test_picture->IsEmpty()) {
    gui::Inform(kNoTestPicture, kErrorCaption);
    return false;
  }
  const auto render = reinterpret_cast<RenderProcedure>(session.filter_module.Export(kRenderProcedureName));
  if (render == nullptr) {
    gui::Inform("Cannot find Render module in file\n\"" + session.filter_module.Path() + "\".", kErrorCaption);
    return false;
  }
  // The procedure takes the path from a record of at most 255 characters; a longer one would be
  // cut and name another file.
  char record[kScriptPathBytes] = {};
  const std::string& script = session.paths.render_script;
  if (script.size() >= sizeof record || !WriteScript(script.c_str(), entries, count, test_frame, session.header)) {
    gui::Inform(CannotSaveMessage(script), kErrorCaption);
    return false;
  }
  std::memcpy(record, script.c_str(), script.size());
  // The chain works on a copy: a render that is cancelled or fails leaves the last render as it
  // was, so no picture area ever shows a chain the render did not finish.
  Picture rendered;
  if (!rendered.CopyFrom(session.test_picture.get())) return false;
  if (render(kRenderCallerText, record, &rendered) == 0) return false;
  if (!session.last_render.CopyFrom(&rendered)) return false;
  session.last_render.SetSourceText(kRenderSourceText);
  session.last_render.SetTypeText(kRenderTypeText);
  return true;
}

}  // namespace ombrix::editor
