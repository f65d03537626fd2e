// The X-Alpha window (template 161, "Ombrix - X Alpha Panel" until it is filled): the mask
// picture of one chain entry, how the mask acts ("X Alpha" or "Clip Map", "Negative", "Stretch
// to picture" or "Repeat") and the entry's alpha level and step. Nothing of the entry changes
// until it is confirmed; while it is shown its owner (the main window or the extended options
// window) is disabled.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <functional>
#include <memory>
#include <string>

#include "core/picture/picture.h"
#include "editor/model/session.h"
#include "editor/model/x_alpha_settings.h"
#include "editor/windows/drag_controller.h"
#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/window_face.h"

namespace ombrix::gui {
class AniMouseEvent;
}

namespace ombrix::editor {

enum XAlphaWindowId {
  kXAlphaConfirm = 1000,  // no caption
  kXAlphaPicture,
  kXAlphaInformation,
  kXAlphaGradual,  // "X Alpha"
  kXAlphaClipMap,
  kXAlphaStretch,  // "Stretch to picture"
  kXAlphaRepeat,
  kXAlphaNegative,
  kXAlphaInitCaption,
  kXAlphaInit,
  kXAlphaInitDrag,
  kXAlphaStepCaption,
  kXAlphaStep,
  kXAlphaStepDrag,
  kXAlphaLoad,
  kXAlphaClear,
  kXAlphaReset,
  kXAlphaHelp,
  kXAlphaCancel,
  kXAlphaLastId
};

class XAlphaWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 161;

  XAlphaWindow(wxWindow* parent, EditorSession& session);
  ~XAlphaWindow() override;

  // Shows the entry's settings: its mask picture copied (or loaded from its file with messages),
  // the information text, the buttons, the title and the alpha texts; disables the owner.
  // `closed` runs when the window closes, confirmed or not, after the owner is enabled again.
  void Open(FilterDescriptor& entry, int index, wxWindow* owner, std::function<void()> closed);

  const gui::TemplateControls& Controls() const { return controls_; }
  // The pending mask picture (null when none) and the pending mask name.
  const Picture* PendingPicture() const { return pending_.get(); }
  const std::string& PendingName() const { return pending_name_; }
  const Drag& CurrentDrag() const { return drag_.Current(); }

 private:
  XAlphaButtons Buttons() const;
  void ShowButtons(const XAlphaButtons& buttons);
  // The information text and the picture area from the pending picture.
  void ShowPending();
  void Close();
  gui::AniButton* Button(int id) const { return controls_.Button(id); }

  void OnPaint(wxPaintEvent& event);
  void OnConfirm(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnPair(wxCommandEvent& event);
  void OnNegative(wxCommandEvent& event);
  void OnLoad(wxCommandEvent& event);
  void OnClear(wxCommandEvent& event);
  void OnReset(wxCommandEvent& event);
  void OnHelp(wxCommandEvent& event);
  void OnDragMouseDown(gui::AniMouseEvent& event);
  void OnDragTimer(wxTimerEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);

  EditorSession& session_;
  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  wxTimer drag_timer_;
  DragController drag_;
  FilterDescriptor* entry_ = nullptr;
  wxWindow* owner_ = nullptr;
  std::function<void()> closed_;
  std::unique_ptr<Picture> pending_;
  std::unique_ptr<Picture> fitted_;  // the pending picture fitted into the picture area
  std::string pending_name_;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
