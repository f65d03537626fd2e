// Scripted dialog answers.
#include "gui/scripted_dialogs.h"

namespace ombrix::gui {
namespace {

template <typename T>
T Take(std::deque<T>& answers, T cancelled, int& unexpected) {
  if (answers.empty()) {
    ++unexpected;
    return cancelled;
  }
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

}  // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(&CurrentDialogs()) { InstallDialogs(this); }

// Puts back what was installed before; the headless default is installed as null.
ScriptedDialogs::~ScriptedDialogs() {
  InstallDialogs(nullptr);
  if (previous_ != &CurrentDialogs()) InstallDialogs(previous_);
}

std::optional<std::string> ScriptedDialogs::ChooseFile(const FileDialogRequest& request) {
  files.push_back(request);
  return Take(file_answers_, std::optional<std::string>(), unexpected);
}

std::optional<std::string> ScriptedDialogs::ChooseFolder(const FolderDialogRequest& request) {
  folders.push_back(request);
  return Take(folder_answers_, std::optional<std::string>(), unexpected);
}

std::optional<Colour> ScriptedDialogs::ChooseColour(Colour start, CustomColours&) {
  colour_starts.push_back(start);
  return Take(colour_answers_, std::optional<Colour>(), unexpected);
}

int ScriptedDialogs::ShowMessage(const MessageRequest& request) {
  messages.push_back(request);
  if (!request.question) return 1;
  return Take(question_answers_, 0, unexpected);
}

size_t ScriptedDialogs::Unused() const {
  return file_answers_.size() + folder_answers_.size() + colour_answers_.size() + question_answers_.size();
}

}  // namespace ombrix::gui
