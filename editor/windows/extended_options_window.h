// The extended options window (template 135, "Extended Panel"): the whole current filter on one
// panel, with all ten parameter and option rows, the frames, the zone, the alpha level and the
// X-Alpha settings, a picture area on which the zone is drawn with the mouse, and renders of the
// filter alone or of the whole chain. It edits the entry in place; "Close" takes the fields.
// While it is shown the main window is disabled.
#pragma once

#include <wx/dialog.h>
#include <wx/timer.h>

#include <memory>

#include "core/picture/picture.h"
#include "editor/model/session.h"
#include "editor/model/zone_drawing.h"
#include "editor/windows/drag_controller.h"
#include "editor/windows/parameter_row_controls.h"
#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/window_face.h"

namespace ombrix::gui {
class AniButton;
class AniMouseEvent;
}  // namespace ombrix::gui

namespace ombrix::editor {

class MainWindow;
class ZonePictureArea;

enum ExtendedWindowId {
  kExtendedFrameLabel1 = 1000,  // "Start Frame", "End Frame", "Test Frame"
  kExtendedFrame1 = kExtendedFrameLabel1 + 3,
  kExtendedFrameDrag1 = kExtendedFrame1 + 3,
  kExtendedCoordCaption = kExtendedFrameDrag1 + 3,
  kExtendedZone1,  // Left, Top, Right, Bottom
  kExtendedZoneDrag1 = kExtendedZone1 + 4,
  kExtendedParametersCaption = kExtendedZoneDrag1 + 4,
  kExtendedParameter1,  // name buttons of rows 1 to 10
  kExtendedParameterValue1 = kExtendedParameter1 + 10,
  kExtendedParameterValueDrag1 = kExtendedParameterValue1 + 10,
  kExtendedParameterStep1 = kExtendedParameterValueDrag1 + 10,
  kExtendedParameterStepDrag1 = kExtendedParameterStep1 + 10,
  kExtendedOptionsCaption = kExtendedParameterStepDrag1 + 10,
  kExtendedOption1,
  kExtendedXAlphaCaption = kExtendedOption1 + 10,
  kExtendedGradual,  // "X Alpha"
  kExtendedClipMap,
  kExtendedRepeat,
  kExtendedStretch,
  kExtendedNegative,
  kExtendedMask,  // "Image": the mask thumbnail; a press opens the X-Alpha window
  kExtendedInitCaption,
  kExtendedInit,
  kExtendedInitDrag,
  kExtendedStepCaption,
  kExtendedStep,
  kExtendedStepDrag,
  kExtendedPreviewCaption,
  kExtendedPicture,       // the picture area
  kExtendedPictureLabel,  // the shown picture's name, or the coordinates under the cursor
  kExtendedShowTest,      // the picture pair
  kExtendedShowRender,
  kExtendedZoneMode,
  kExtendedOut,
  kExtendedAbout,
  kExtendedHelp,
  kExtendedClose,
  kExtendedRenderFilter,
  kExtendedRenderAll,
  kExtendedLastId
};
inline constexpr int kExtendedStartFrame = kExtendedFrame1;
inline constexpr int kExtendedEndFrame = kExtendedFrame1 + 1;
inline constexpr int kExtendedTestFrame = kExtendedFrame1 + 2;

class ExtendedOptionsWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 135;

  ExtendedOptionsWindow(MainWindow* owner, EditorSession& session);
  ~ExtendedOptionsWindow() override;

  // Shows the entry (the main window has taken its fields) and disables the main window.
  void Open(FilterDescriptor& entry, int index);
  // Copies every field into the entry and the test frame into the session.
  void TakeFields();

  const gui::TemplateControls& Controls() const { return controls_; }
  wxWindow* PictureArea() const;
  // The picture the area shows: the test picture (false) or the last render (true).
  bool ShowsRender() const { return shows_render_; }
  // The picture area's copy as drawn, the zone's outline inverted on it; null when empty.
  const Picture* DrawnPicture() const { return drawn_.get(); }
  const Drag& CurrentDrag() const { return drag_.Current(); }

 private:
  friend class ZonePictureArea;

  // The entry's values in the fields, rows, buttons and mask thumbnail.
  void ShowEntry();
  void ShowMask();
  // The area shows the test picture or the last render, fitted, with the zone drawn on it.
  void ShowPicture(bool render);
  void DrawZone();
  Zone FieldZone() const;
  void Close();
  // The render of this entry alone, or of the whole chain through the main window.
  void RenderFilter();
  void RenderAll();
  void SetField(int id, const std::string& text);
  std::string FieldText(int id) const;
  std::optional<int32_t> FieldKind(int id) const;
  DragFieldTexts CurrentDragTexts() const;
  gui::AniButton* Button(int id) const { return controls_.Button(id); }

  void OnPaint(wxPaintEvent& event);
  void OnCommand(wxCommandEvent& event);
  void OnPair(wxCommandEvent& event);
  void OnNegative(wxCommandEvent& event);
  void OnMask(wxCommandEvent& event);
  void OnPictureButton(wxCommandEvent& event);
  void OnParameterName(wxCommandEvent& event);
  void OnParameterMouseDown(gui::AniMouseEvent& event);
  void OnSmallButton(wxCommandEvent& event);
  void OnOptionButton(wxCommandEvent& event);
  void OnDragMouseDown(gui::AniMouseEvent& event);
  void OnDragTimer(wxTimerEvent& event);
  void OnAreaMouse(wxMouseEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void PressParameter(int k, int which, bool right);

  MainWindow* owner_;
  EditorSession& session_;
  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  ZonePictureArea* area_ = nullptr;
  ParameterRowControls rows_;
  wxTimer drag_timer_;
  DragController drag_;
  FilterDescriptor* entry_ = nullptr;
  int index_ = 0;
  bool shows_render_ = false;
  std::unique_ptr<Picture> test_fitted_;    // the test picture fitted into the area
  std::unique_ptr<Picture> render_fitted_;  // the last render fitted into the area
  std::unique_ptr<Picture> drawn_;          // the shown copy with the zone drawn on it
  DisplayScale scale_;
  bool zone_drawn_ = false;
  Zone drawn_zone_;  // the zone drawn on drawn_, in its pixels

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
