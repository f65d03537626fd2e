// The main window (template 131, "Ombrix - v1.0e"): one entry of the filter chain with its
// fields, the commands that move through and change the chain, and the ways out of the editor.
// It runs the start-up sequence and owns the secondary windows it opens.
#pragma once

#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/timer.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "editor/model/chain_commands.h"
#include "editor/model/picture_areas.h"
#include "editor/model/session.h"
#include "editor/model/startup.h"
#include "editor/windows/drag_controller.h"
#include "editor/windows/parameter_row_controls.h"
#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/dialogs.h"
#include "gui/window_face.h"

class wxScrollBar;

namespace ombrix::gui {
class AniButton;
class AniMouseEvent;
class MaskedEdit;
}  // namespace ombrix::gui

namespace ombrix::editor {

class SplashWindow;
class OptionsWindow;
class AboutWindow;
class ColourSelectorWindow;
class PreviewWindow;
class XAlphaWindow;
class ExtendedOptionsWindow;

// Control ids of template 131.
enum MainWindowId {
  kMainBanner = 1000,
  kMainLoad,
  kMainSave,
  kMainOption,
  kMainAddFilter,
  kMainPrevious,
  kMainNext,
  kMainDelete,
  kMainRender,
  kMainFilterHelp,  // "About": help for the current filter
  kMainHelp,
  kMainCancel,
  kMainConfirm,  // no caption, lower left
  kMainFilterName,
  kMainFilterNameCaption,
  kMainIndex,
  kMainChainBar,
  kMainAllFrames,
  kMainFullScreen,
  kMainProportional,
  kMainOption1,                                // .. kMainOption1 + 3
  kMainParameter1 = kMainOption1 + 4,          // name buttons
  kMainParameterValue1 = kMainParameter1 + 4,  // value fields
  kMainParameterStep1 = kMainParameterValue1 + 4,
  kMainParameterValueDrag1 = kMainParameterStep1 + 4,
  kMainParameterStepDrag1 = kMainParameterValueDrag1 + 4,
  kMainZoneLabel1 = kMainParameterStepDrag1 + 4,  // "Left", "Top", "Right", "Bottom"
  kMainZoneInitCaption = kMainZoneLabel1 + 4,
  kMainZoneStepCaption,
  kMainZone1,  // Left, Top, Right, Bottom fields
  kMainZoneDrag1 = kMainZone1 + 4,
  kMainZoneStep1 = kMainZoneDrag1 + 4,
  kMainZoneStepDrag1 = kMainZoneStep1 + 4,
  kMainFrameLabel1 = kMainZoneStepDrag1 + 4,  // "Start Frame", "End Frame", "Test Frame"
  kMainFrame1 = kMainFrameLabel1 + 3,
  kMainFrameDrag1 = kMainFrame1 + 3,
  kMainXAlpha = kMainFrameDrag1 + 3,
  kMainExtended,
  kMainPreviewLabel,
  kMainPreviewImage,
  kMainParameterImage,
  kMainOptionImage,
  kMainStatus,
  kMainLastId
};
inline constexpr int kStartFrameField = kMainFrame1;
inline constexpr int kEndFrameField = kMainFrame1 + 1;
inline constexpr int kTestFrameField = kMainFrame1 + 2;
// Menu commands of the filter menu: kFilterMenuBase + the item's command number.
inline constexpr int kFilterMenuBase = 20000;

class MainWindow : public wxDialog, private StartupView {
 public:
  static constexpr int kTemplate = 131;

  // Called once when the window ends, with wxID_OK (confirmed) or wxID_CANCEL.
  using EndHandler = std::function<void(int result)>;
  MainWindow(EditorSession& session, EndHandler on_end);
  ~MainWindow() override;

  // Runs the start-up sequence; the window is shown when it stays open. The result tells what
  // became of it.
  StartupResult StartUp();
  // Tests look at the splash window after each step.
  void SetStepObserver(std::function<void(SplashWindow&)> observer) { step_observer_ = std::move(observer); }

  bool Ended() const { return ended_; }
  int EndResult() const { return end_result_; }
  EditorSession& Session() { return session_; }
  const gui::TemplateControls& Controls() const { return controls_; }
  const wxMenu* FilterMenu() const { return filter_menu_.get(); }
  OptionsWindow* Options() const { return options_; }
  AboutWindow* About() const { return about_; }
  wxTimer& DragTimer() { return drag_timer_; }

  // Copies the fields of the current filter (zone, zone steps, frames, flags) and the test
  // frame from the window into the chain. A field whose text holds no number keeps the value.
  void TakeFields();
  // Writes the current filter into the window's fields.
  void ShowCurrentFilter();
  // The filter menu's choice: table entry command - 1 becomes the current filter.
  void ChooseFilter(int command);
  // Called by the options window when it closes.
  void OptionsClosed(bool confirmed);
  // Called by the about window when it closes.
  void AboutClosed();
  // The X-Alpha window on an entry, for this window or the extended options window (the owner,
  // disabled while it is shown); `closed` runs when it closes.
  void OpenXAlphaFor(FilterDescriptor& entry, int index, wxWindow* owner, std::function<void()> closed);
  // Called by the extended options window when it closes.
  void ExtendedOptionsClosed();
  XAlphaWindow* XAlpha() const { return x_alpha_; }
  ExtendedOptionsWindow* Extended() const { return extended_; }
  // Chooses the pictures of the three picture areas again and fits them in (at start-up, after
  // a render, when the test picture changed and when the options window closes).
  void RefreshPictures();
  // Render: the whole chain at the test frame on the test picture; the result in the areas and,
  // with "ShowPic" on, in the preview window, for `from` (this window when null, or the
  // extended options window, which takes its own fields first). True when it rendered.
  bool Render(wxWindow* from = nullptr);
  // Shows a picture in the preview window (made on first use) for owner, which stays disabled
  // until the preview closes; then on_close runs. The picture must live until then.
  void ShowPreview(Picture* picture, wxWindow* owner, std::function<void()> on_close = {});
  // The picture of a picture parameter in the preview window for owner; the window keeps it
  // until the view closes. A second request closes the view open before.
  void ViewPicture(std::unique_ptr<Picture> picture, wxWindow* owner);
  // Reads the colour set again and recolours every control.
  void ReadColours() override;

  // Whether a command's control is available (not greyed) now.
  bool Available(ChainCommand command) const;
  // Reads a script into the chain, as Load does after its dialog.
  bool LoadScript(const std::string& path);
  // Takes the fields and writes the chain, as Save does after its dialog.
  bool SaveScript(const std::string& path);
  // A press on parameter row k's buttons (which 0: value, 1: step; right: the right mouse
  // button), by the slot's kind. True when the entry changed; the window then shows it again.
  bool PressParameter(int k, int which, bool right);
  // The action of slot k's kind on the entry's value (which 0) or step (1), for this window and
  // the extended options window (the owner of a picture view it opens). True when it changed
  // the entry; the caller shows it again.
  bool RunParameterAction(FilterDescriptor& entry, int k, int which, bool right, wxWindow* owner);
  // The drag in progress, for tests.
  const Drag& CurrentDrag() const { return drag_.Current(); }
  // The colour selector while one is open, for tests; and the preview window once made.
  ColourSelectorWindow* OpenColourSelector() const { return colour_selector_; }
  PreviewWindow* Preview() const { return preview_; }

 private:
  // Start-up steps shown by the window.
  void ShowStep(const char* text) override;
  void BuildFilterMenus() override;
  void ShowInitialState() override;
  void TestPictureChanged() override;
  void CloseSplash() override;
  void ScriptLoaded() override;
  platform::Pump EventPump() override;

  void CreateControls();
  // The parameter and option rows 1 to 4 of the entry, or the picture areas in their place.
  void ShowRows(const FilterDescriptor* entry);
  void End(int result);
  void SetField(int id, const std::string& text);
  std::string FieldText(int id) const;
  gui::AniButton* Button(int id) const { return controls_.Button(id); }

  void OnPaint(wxPaintEvent& event);
  void OnBanner(wxCommandEvent& event);
  void OnOption(wxCommandEvent& event);
  void OnFilterName(wxCommandEvent& event);
  void OnFilterMenu(wxCommandEvent& event);
  void OnConfirm(wxCommandEvent& event);
  void OnCancel(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnDragTimer(wxTimerEvent& event);
  void OnPictureArea(wxCommandEvent& event);
  // The picture an area shows; null for none.
  Picture* AreaPictureOf(AreaPicture shown) const;
  void LeaveWithoutSaving();

  // The chain commands and the buttons around them.
  void UpdateAvailability();
  void UpdateChainBar();
  // False, after showing the command's warning, when it is not available.
  bool Offer(ChainCommand command);
  void RunCommand(int id);
  void AddFilter();
  void DeleteFilter();
  void MoveTo(int index);
  gui::FileDialogRequest ScriptDialog(bool save) const;
  void Load();
  void Save();
  void ShowFilterHelp();
  void ShowMainHelp();
  void OnCommand(wxCommandEvent& event);
  void OnChainBar(wxScrollEvent& event);

  // Parameter and option rows.
  void OnParameterName(wxCommandEvent& event);
  void OnParameterMouseDown(gui::AniMouseEvent& event);
  void OnSmallButton(wxCommandEvent& event);
  void OnOptionButton(wxCommandEvent& event);
  bool EditFileValue(char (&text)[256], bool save);
  bool EditPictureValue(char (&text)[256], bool right, wxWindow* owner);
  // The X-Alpha window and the extended options window on the current filter.
  void OpenXAlpha();
  void OpenExtended();
  // The kind a number field is evaluated and dragged as; nothing for a field of another kind.
  std::optional<int32_t> FieldKind(int id) const;
  // Evaluates a number field's text after Tab or Enter left it and shows it in its kind's format.
  void ReformatField(int id);

  // Drag buttons.
  void OnDragMouseDown(gui::AniMouseEvent& event);
  DragFieldTexts CurrentDragTexts() const;

  EditorSession& session_;
  EndHandler on_end_;
  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  wxScrollBar* chain_bar_ = nullptr;
  std::unique_ptr<wxMenu> filter_menu_;
  bool filter_menu_showing_ = false;
  wxTimer drag_timer_;
  std::vector<wxCursor> cursors_;
  SplashWindow* splash_ = nullptr;
  std::function<void(SplashWindow&)> step_observer_;
  OptionsWindow* options_ = nullptr;
  AboutWindow* about_ = nullptr;
  ColourSelectorWindow* colour_selector_ = nullptr;
  PreviewWindow* preview_ = nullptr;
  std::unique_ptr<Picture> viewed_picture_;  // a picture parameter's picture while it is viewed
  XAlphaWindow* x_alpha_ = nullptr;
  ExtendedOptionsWindow* extended_ = nullptr;
  // What the three picture areas show (main preview, parameter area, option area), as last
  // chosen, and whether the current filter leaves the parameter and option areas in use.
  PictureAreaChoice areas_;
  bool parameter_area_in_use_ = false;
  bool option_area_in_use_ = false;
  // Parameter and option rows 1 to 4, and the drag buttons.
  ParameterRowControls rows_;
  DragController drag_;
  bool ended_ = false;
  int end_result_ = wxID_CANCEL;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
