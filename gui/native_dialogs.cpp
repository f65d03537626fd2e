// File, folder, colour and message dialogs of the toolkit.
#include "gui/native_dialogs.h"

#include <wx/colordlg.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/window.h>

#include <cstring>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "gui/frames.h"
#include "gui/gui_app.h"

namespace ombrix::gui {
namespace {

// Dialogs belong to the window the user is working in.
wxWindow* DialogParent() {
  wxWindow* focus = wxWindow::FindFocus();
  return focus != nullptr ? wxGetTopLevelParent(focus) : nullptr;
}

Colour FromWxColour(const wxColour& colour) { return MakeColour(colour.Red(), colour.Green(), colour.Blue()); }

}  // namespace

wxString ToolkitWildcard(const std::string& filter) {
  std::string wildcard = filter;
  while (!wildcard.empty() && wildcard.back() == '|') wildcard.pop_back();
  return FromAnsi(wildcard.c_str());
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty() || std::strchr(platform::FileNamePart(path.c_str()), '.') != nullptr) return path;
  return path + "." + extension;
}

std::optional<std::string> NativeDialogs::ChooseFile(const FileDialogRequest& request) {
  const bool save = request.mode == FileDialogRequest::Mode::kSave;
  std::string folder = request.start_path;
  std::string name;
  if (!platform::DirectoryExists(folder.c_str())) {
    name = platform::FileNamePart(request.start_path.c_str());
    folder = platform::DirectoryPart(request.start_path);
  }
  long style = save ? wxFD_SAVE : wxFD_OPEN;
  if (save && request.confirm_overwrite) style |= wxFD_OVERWRITE_PROMPT;
  if (!save && request.must_exist) style |= wxFD_FILE_MUST_EXIST;
  wxFileDialog dialog(DialogParent(), FromAnsi(request.title.c_str()), FromAnsi(folder.c_str()), FromAnsi(name.c_str()),
                      ToolkitWildcard(request.filter), style);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const std::string chosen = ToAnsi(dialog.GetPath());
  return save ? WithDefaultExtension(chosen, request.default_extension) : chosen;
}

std::optional<std::string> NativeDialogs::ChooseFolder(const FolderDialogRequest& request) {
  wxDirDialog dialog(DialogParent(), FromAnsi(request.title.c_str()), FromAnsi(request.start_folder.c_str()),
                     wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return ToAnsi(dialog.GetPath());
}

std::optional<Colour> NativeDialogs::ChooseColour(Colour start, CustomColours& custom) {
  wxColourData data;
  data.SetChooseFull(true);
  data.SetColour(ToWxColour(start));
  for (size_t i = 0; i < custom.size(); ++i) data.SetCustomColour(int(i), ToWxColour(custom[i]));
  wxColourDialog dialog(DialogParent(), &data);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  const wxColourData& chosen = dialog.GetColourData();
  for (size_t i = 0; i < custom.size(); ++i) custom[i] = FromWxColour(chosen.GetCustomColour(int(i)));
  return FromWxColour(chosen.GetColour());
}

int NativeDialogs::ShowMessage(const MessageRequest& request) {
  if (presenter_) return presenter_(request);
  wxMessageDialog dialog(DialogParent(), FromAnsi(request.text.c_str()), FromAnsi(request.caption.c_str()),
                         request.question ? wxYES_NO | wxICON_QUESTION : wxOK | wxICON_INFORMATION);
  const int result = dialog.ShowModal();
  return result == wxID_YES || result == wxID_OK ? 1 : 0;
}

}  // namespace ombrix::gui
