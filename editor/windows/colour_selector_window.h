// The colour selector (template 163, "Palette Win - <filter> (<row>)"): a colour parameter's
// "red green blue" text in three number fields, "More..." for the colour dialog, confirm and
// Cancel.
#pragma once

#include <wx/dialog.h>

#include <string>

#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/dialogs.h"
#include "gui/window_face.h"

namespace ombrix::editor {

enum ColourSelectorId {
  kColourConfirm = 1000,
  kColourCancel,
  kColourMore,
  kColourSample,
  kColourCaption1,  // "Red", "Green", "Blue"
  kColourField1 = kColourCaption1 + 3,
  kColourLastId = kColourField1 + 3
};

class ColourSelectorWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 163;

  // row: the parameter row, counted from 0.
  ColourSelectorWindow(wxWindow* owner, const std::string& filter_name, int row, gui::CustomColours& custom);

  // Shows text ("%d %d %d") in the fields and runs the window until it is confirmed or
  // cancelled. Confirmed: text becomes the three numbers written "%d %d %d", and the result is
  // true. The window is modal; tests answer it through Confirm and Cancel below.
  bool Edit(std::string& text);

  const gui::TemplateControls& Controls() const { return controls_; }
  std::string Text() const;

 private:
  void ShowSample();
  void OnPaint(wxPaintEvent& event);
  void OnConfirm(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnMore(wxCommandEvent& event);
  void OnFieldChanged(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);

  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  gui::CustomColours& custom_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
