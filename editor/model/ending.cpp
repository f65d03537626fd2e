// Writing the chain on confirm and tidying up at the end.
#include "editor/model/ending.h"

#include "editor/model/test_picture.h"

namespace ombrix::editor {

std::string ConfirmTarget(const EditorSession& session) {
  if (!session.ready) return {};
  if (session.launched_with_script) return session.launch_script;
  if (session.options.start_last) return session.paths.last_script;
  return {};
}

bool WriteChainOnConfirm(const EditorSession& session, std::string* failed_path) {
  const std::string target = ConfirmTarget(session);
  if (target.empty() || session.chain.Write(target.c_str(), session.test_frame, session.header)) return true;
  if (failed_path != nullptr) *failed_path = target;
  return false;
}

std::string CannotSaveMessage(const std::string& path) { return "Cannot save script\n\"" + path + "\"."; }

void ForgetTestPictureAtEnd(const EditorSession& session) {
  if (!session.launched_with_script) ForgetClipboardTestPicture();
}

}  // namespace ombrix::editor
