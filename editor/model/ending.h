// The ways the editor ends: confirm-and-exit writes the chain, Cancel and closing the window may
// ask first, and an editor the user started leaves no test picture on the clipboard.
#pragma once

#include <string>

#include "editor/model/session.h"

namespace ombrix::editor {

inline constexpr const char* kQuitQuestion = "Are you sure you want to quit Ombrix ?";

// Where confirm-and-exit writes the chain: the launch script, else the last-run script when
// "StartLast" is on; empty when there is nothing to write (no launch script and "StartLast"
// off, or the session is not ready: no script was read and no filter chosen).
std::string ConfirmTarget(const EditorSession& session);
// Writes the chain with the test frame to ConfirmTarget. True when it was written or there was
// nothing to write; false, with *failed_path set, when the file could not be written.
bool WriteChainOnConfirm(const EditorSession& session, std::string* failed_path);
// The message for a chain that could not be written on confirm.
std::string CannotSaveMessage(const std::string& path);
// Whether Cancel and closing the window ask kQuitQuestion before ending.
inline bool AsksBeforeLeaving(const EditorSession& session) { return session.options.ask_exit; }
// At the very end: an editor the user started (no launch script) takes its test picture off
// the clipboard; one started on an instance's script leaves it for the next start.
void ForgetTestPictureAtEnd(const EditorSession& session);

}  // namespace ombrix::editor
