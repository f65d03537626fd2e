// Scripted answers to the standard dialogs, for tests: each kind of dialog takes the answers
// queued for it in order and records what it was asked. A dialog without a queued answer is
// cancelled (a question is answered "No", a message acknowledged) and counted as unexpected.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "gui/dialogs.h"

namespace ombrix::gui {

class ScriptedDialogs : public Dialogs {
 public:
  // Installs itself as the process's dialogs while it lives.
  ScriptedDialogs();
  ~ScriptedDialogs() override;
  ScriptedDialogs(const ScriptedDialogs&) = delete;
  ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

  void AnswerFile(std::optional<std::string> path) { file_answers_.push_back(std::move(path)); }
  void AnswerFolder(std::optional<std::string> path) { folder_answers_.push_back(std::move(path)); }
  void AnswerColour(std::optional<Colour> colour) { colour_answers_.push_back(colour); }
  // The answer of the next question (1 "Yes", 0 "No"); information messages take none.
  void AnswerQuestion(int answer) { question_answers_.push_back(answer); }

  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseFolder(const FolderDialogRequest& request) override;
  std::optional<Colour> ChooseColour(Colour start, CustomColours& custom) override;
  int ShowMessage(const MessageRequest& request) override;

  // What was asked, in order, per kind.
  std::vector<FileDialogRequest> files;
  std::vector<FolderDialogRequest> folders;
  std::vector<Colour> colour_starts;
  std::vector<MessageRequest> messages;
  // Dialogs that found no answer queued.
  int unexpected = 0;
  // Answers queued but never taken.
  size_t Unused() const;

 private:
  std::deque<std::optional<std::string>> file_answers_;
  std::deque<std::optional<std::string>> folder_answers_;
  std::deque<std::optional<Colour>> colour_answers_;
  std::deque<int> question_answers_;
  Dialogs* previous_ = nullptr;
};

}  // namespace ombrix::gui
