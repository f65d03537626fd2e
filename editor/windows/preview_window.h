// The preview window (template 149, "Ombrix - Preview" until a picture is set): one picture at
// a power-of-two zoom over a patterned background, scrolled when larger than its area, saved as
// a bitmap file or shown full screen. It is created once and reused: while it shows a picture
// its owner is disabled; Close hides it, enables the owner and runs the callback it was given.
#pragma once

#include <wx/dialog.h>

#include <functional>

#include "core/picture/picture.h"
#include "editor/model/preview_zoom.h"
#include "gui/colour_set.h"
#include "gui/dialog_template.h"
#include "gui/window_face.h"

namespace ombrix::editor {

class PreviewCanvas;
class FullScreenView;

enum PreviewWindowId {
  kPreviewFullScreen = 1000,
  kPreviewSave,
  kPreviewZoomIn,
  kPreviewZoomOut,
  kPreviewZoomLabel,
  kPreviewClose,
  kPreviewPicture,
};

class PreviewWindow : public wxDialog {
 public:
  static constexpr int kTemplate = 149;

  // content_directory is where the first Save starts.
  PreviewWindow(wxWindow* parent, const std::string* content_directory);

  // Shows the picture (kept by the caller until the callback has run) for owner, which is
  // disabled until Close; on_close, when given, runs after Close.
  void ShowPicture(Picture* picture, wxWindow* owner, std::function<void()> on_close = {});
  // Close: the owner repainted and enabled, the window hidden, then the callback.
  void ClosePreview();

  const Picture* Shown() const { return picture_; }
  wxWindow* Owner() const { return owner_; }
  const PreviewZoom& Zoom() const { return zoom_; }
  // The scroll offset, in screen pixels of the scaled picture.
  wxPoint Offset() const;
  const gui::TemplateControls& Controls() const { return controls_; }
  wxWindow* PictureArea() const;
  // The full-screen view while it is shown (it is modal).
  FullScreenView* FullScreen() const { return full_screen_; }

 private:
  void SetTitleFromPicture();
  void ZoomChanged();
  void RunCommand(int id);
  void Save();
  void OnPaint(wxPaintEvent& event);
  void OnCommand(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);

  const std::string* content_directory_;
  gui::ColourSet colours_;
  gui::WindowFace face_;
  gui::TemplateControls controls_;
  PreviewCanvas* canvas_ = nullptr;
  Picture* picture_ = nullptr;
  wxWindow* owner_ = nullptr;
  std::function<void()> on_close_;
  PreviewZoom zoom_;
  FullScreenView* full_screen_ = nullptr;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
