// The options window (template 137): the eight option flags, the based size, the content
// directory, the test picture, the plug-in database's "Add plug-in..." and the nine colours.
// Nothing is stored until it is confirmed; while it is shown the main window is disabled.
#pragma once

#include <wx/dialog.h>

#include <array>
#include <memory>
#include <string>

#include "core/picture/picture.h"
#include "editor/model/options.h"
#include "editor/model/session.h"
#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/dialogs.h"
#include "gui/window_face.h"

namespace ombrix::editor {

class MainWindow;

enum OptionsWindowId {
  kOptionsConfirm = 1000,
  kOptionsReset,
  kOptionsCancel,
  kOptionsHelp,
  kOptionsAddPlugin,
  kOptionsContentButton,
  kOptionsContentCaption,
  kOptionsContentLabel,
  kOptionsTestPicture,
  kOptionsPicture,
  kOptionsWidthCaption,
  kOptionsWidth,
  kOptionsHeightCaption,
  kOptionsHeight,
  kOptionsFlag1,                        // the eight flags in FlagRows() order
  kOptionsColour1 = kOptionsFlag1 + 8,  // the nine colour buttons in ColourRows() order
  kOptionsColourLabel1 = kOptionsColour1 + 9,
  kOptionsLastId = kOptionsColourLabel1 + 9
};

class OptionsWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 137;

  OptionsWindow(MainWindow* owner, EditorSession& session);

  // Shows the current options, colours and test picture; the owner disables itself.
  void Open();
  const gui::TemplateControls& Controls() const { return controls_; }
  // What the window shows and would store when confirmed.
  const std::string& PendingContentDirectory() const { return content_directory_; }
  const gui::ColourSet& PendingColours() const { return pending_colours_; }
  const Picture* PendingTestPicture() const { return pending_picture_.get(); }

 private:
  void ShowFlags(const OptionSet& options);
  void ShowColours();
  void ShowPicture(const Picture* picture);
  void Close(bool confirmed);
  void OnPaint(wxPaintEvent& event);
  void OnConfirm(wxCommandEvent& event);
  void OnReset(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnHelp(wxCommandEvent& event);
  void OnAddPlugin(wxCommandEvent& event);
  void OnContentDirectory(wxCommandEvent& event);
  void OnTestPicture(wxCommandEvent& event);
  void OnColour(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);

  MainWindow* owner_;
  EditorSession& session_;
  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  gui::ColourSet pending_colours_;
  std::string content_directory_;
  std::unique_ptr<Picture> pending_picture_;

  wxDECLARE_EVENT_TABLE();
};

// The label beside a colour button: red, green and blue as "%d %d %d".
wxString ColourLabel(gui::Colour colour);

}  // namespace ombrix::editor
