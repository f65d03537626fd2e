// The preview window and its picture area.
#include "editor/windows/preview_window.h"

#include <wx/dcbuffer.h>

#include <algorithm>

#include "core/platform/paths.h"
#include "editor/model/picture_save.h"
#include "editor/windows/full_screen_view.h"
#include "editor/windows/picture_painter.h"
#include "gui/ani_button.h"
#include "gui/dialogs.h"
#include "gui/gui_app.h"

namespace ombrix::editor {

// The picture area: the picture drawn by the painter, scrolled by the window's own scroll bars,
// which the toolkit shows only while the scaled picture is larger than the area.
class PreviewCanvas : public wxWindow {
 public:
  // The arrow keys move by this many pixels; Page Up and Page Down by the area's height.
  static constexpr int kLineStep = 32;

  PreviewCanvas(wxWindow* parent, const wxRect& rect)
      : wxWindow(parent, kPreviewPicture, rect.GetPosition(), rect.GetSize(), wxHSCROLL | wxVSCROLL | wxBORDER_SUNKEN) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &PreviewCanvas::OnPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
      UpdateScrollBars();
      event.Skip();
    });
    for (const auto& type :
         {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP, wxEVT_SCROLLWIN_LINEDOWN,
          wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN, wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
      Bind(type, &PreviewCanvas::OnScroll, this);
  }

  void SetPicture(const Picture* picture, const PreviewZoom& zoom) {
    painter_.SetPicture(picture);
    painter_.SetZoom(zoom);
    offset_ = {0, 0};
    UpdateScrollBars();
    Refresh();
  }
  // A new zoom keeps the point at the centre of the area where it was.
  void SetZoom(const PreviewZoom& zoom, int old_exponent) {
    const wxSize client = GetClientSize();
    const double factor = zoom.Exponent() >= old_exponent ? double(1 << (zoom.Exponent() - old_exponent))
                                                          : 1.0 / double(1 << (old_exponent - zoom.Exponent()));
    painter_.SetZoom(zoom);
    const wxPoint half(client.x / 2, client.y / 2);
    offset_ = {int((offset_.x + half.x) * factor) - half.x, int((offset_.y + half.y) * factor) - half.y};
    UpdateScrollBars();
    Refresh();
  }
  wxPoint Offset() const { return offset_; }
  void ScrollTo(wxPoint offset) {
    offset_ = offset;
    UpdateScrollBars();
    Refresh();
  }
  // The arrows and Page Up / Page Down; false for other keys.
  bool ScrollByKey(int key) {
    const int page = std::max(1, GetClientSize().y);
    switch (key) {
      case WXK_LEFT:
        ScrollTo(offset_ - wxPoint(kLineStep, 0));
        return true;
      case WXK_RIGHT:
        ScrollTo(offset_ + wxPoint(kLineStep, 0));
        return true;
      case WXK_UP:
        ScrollTo(offset_ - wxPoint(0, kLineStep));
        return true;
      case WXK_DOWN:
        ScrollTo(offset_ + wxPoint(0, kLineStep));
        return true;
      case WXK_PAGEUP:
        ScrollTo(offset_ - wxPoint(0, page));
        return true;
      case WXK_PAGEDOWN:
        ScrollTo(offset_ + wxPoint(0, page));
        return true;
      default:
        return false;
    }
  }

 private:
  void UpdateScrollBars() {
    const wxSize client = GetClientSize();
    const wxPoint largest = painter_.LargestOffset(client);
    offset_.x = std::clamp(offset_.x, 0, largest.x);
    offset_.y = std::clamp(offset_.y, 0, largest.y);
    const wxSize size = painter_.ScaledSize();
    SetScrollbar(wxHORIZONTAL, offset_.x, client.x, largest.x > 0 ? size.x : 0);
    SetScrollbar(wxVERTICAL, offset_.y, client.y, largest.y > 0 ? size.y : 0);
  }
  void OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    painter_.Paint(dc, GetClientSize(), offset_);
  }
  void OnScroll(wxScrollWinEvent& event) {
    const bool horizontal = event.GetOrientation() == wxHORIZONTAL;
    int& position = horizontal ? offset_.x : offset_.y;
    const int page = horizontal ? GetClientSize().x : GetClientSize().y;
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLLWIN_TOP)
      position = 0;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
      position = 1 << 30;
    else if (type == wxEVT_SCROLLWIN_LINEUP)
      position -= kLineStep;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
      position += kLineStep;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
      position -= page;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
      position += page;
    else
      position = event.GetPosition();
    UpdateScrollBars();
    Refresh();
  }

  PicturePainter painter_;
  wxPoint offset_{0, 0};
};

namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr const char* kUntitled = "Ombrix - Preview";
constexpr int kWidth = 300;
constexpr int kHeight = 232;

const ControlTemplate kTemplateControls[] = {
    {kPreviewFullScreen, ControlRole::kActionButton, "Full Screen", 4, 214, 50, 13},
    {kPreviewSave, ControlRole::kActionButton, "Save", 58, 214, 40, 13},
    {kPreviewZoomIn, ControlRole::kActionButton, "Zoom In", 102, 214, 40, 13},
    {kPreviewZoomOut, ControlRole::kActionButton, "Zoom Out", 146, 214, 40, 13},
    {kPreviewZoomLabel, ControlRole::kInfoArea, "1:1", 190, 215, 46, 11},
    {kPreviewClose, ControlRole::kActionButton, "Close", 246, 214, 50, 13},
};

}  // namespace

PreviewWindow::PreviewWindow(wxWindow* parent, const std::string* content_directory)
    : content_directory_(content_directory) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(parent, wxID_ANY, kUntitled, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  canvas_ = new PreviewCanvas(this, gui::DialogUnitsRect(this, 4, 4, kWidth - 8, 206));
  gui::PlaceControls(this, kTemplateControls, colours_, face_, controls_);
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 212, kWidth - 4, 17));
}

wxPoint PreviewWindow::Offset() const { return canvas_->Offset(); }
wxWindow* PreviewWindow::PictureArea() const { return canvas_; }

void PreviewWindow::ShowPicture(Picture* picture, wxWindow* owner, std::function<void()> on_close) {
  // One picture at a time: one shown before is closed first, with its callback.
  if (IsShown()) ClosePreview();
  picture_ = picture;
  owner_ = owner;
  on_close_ = std::move(on_close);
  const wxSize area = canvas_->GetSize();
  zoom_ = picture_ != nullptr && !picture_->IsEmpty()
              ? PreviewZoom::Start(picture_->Width(), picture_->Height(), area.x, area.y)
              : PreviewZoom();
  canvas_->SetPicture(picture_, zoom_);
  controls_.Button(kPreviewZoomLabel)->SetLabel(zoom_.Label());
  SetTitleFromPicture();
  if (owner_ != nullptr) CentreOnParent();
  Show();
  Raise();
  controls_.Button(kPreviewClose)->SetFocus();
  if (owner_ != nullptr) owner_->Enable(false);
}

void PreviewWindow::SetTitleFromPicture() {
  if (picture_ == nullptr || picture_->IsEmpty()) {
    SetTitle(kUntitled);
    return;
  }
  SetTitle(wxString::Format("%s (%dx%d) - %s", gui::FromAnsi(platform::FileNamePart(picture_->SourceText())),
                            picture_->Width(), picture_->Height(), gui::FromAnsi(picture_->TypeText())));
}

void PreviewWindow::ClosePreview() {
  if (!IsShown()) return;
  wxWindow* owner = owner_;
  if (owner != nullptr) owner->Refresh();
  Hide();
  if (owner != nullptr) {
    owner->Enable(true);
    owner->Raise();
  }
  // The callback may free the picture: nothing refers to it afterwards.
  picture_ = nullptr;
  canvas_->SetPicture(nullptr, zoom_);
  owner_ = nullptr;
  const std::function<void()> callback = std::move(on_close_);
  on_close_ = {};
  if (callback) callback();
}

void PreviewWindow::ZoomChanged() { controls_.Button(kPreviewZoomLabel)->SetLabel(zoom_.Label()); }

void PreviewWindow::RunCommand(int id) {
  gui::WindowFace::Pressed pressed(face_, controls_.Button(id));
  const int before = zoom_.Exponent();
  switch (id) {
    case kPreviewZoomIn:
      if (zoom_.ZoomIn()) canvas_->SetZoom(zoom_, before);
      ZoomChanged();
      break;
    case kPreviewZoomOut:
      if (zoom_.ZoomOut()) canvas_->SetZoom(zoom_, before);
      ZoomChanged();
      break;
    case kPreviewSave:
      Save();
      break;
    case kPreviewFullScreen:
      if (picture_ != nullptr && !picture_->IsEmpty()) {
        FullScreenView view(this, *picture_);
        full_screen_ = &view;
        view.ShowModal();
        full_screen_ = nullptr;
      }
      break;
    case kPreviewClose:
      ClosePreview();
      break;
    default:
      break;
  }
}

// A picture that cannot be written is said so: the user would otherwise take it as saved.
void PreviewWindow::Save() {
  if (picture_ == nullptr || picture_->IsEmpty()) return;
  const auto chosen =
      gui::CurrentDialogs().ChooseFile(SavePictureRequest(content_directory_ ? *content_directory_ : ""));
  if (!chosen) return;
  bool saved = false;
  {
    wxBusyCursor wait;
    saved = SavePictureAs(*picture_, *chosen);
  }
  if (!saved) gui::Inform("Cannot save picture\n\"" + *chosen + "\".", "Ombrix - Error");
  SetTitleFromPicture();
}

void PreviewWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

void PreviewWindow::OnCommand(wxCommandEvent& event) { RunCommand(event.GetId()); }

void PreviewWindow::OnClose(wxCloseEvent&) { ClosePreview(); }

// Esc closes; + and - zoom; the arrows and Page Up / Page Down scroll; Enter moves on as Tab.
void PreviewWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    ClosePreview();
    return;
  }
  if (!event.HasAnyModifiers() || event.GetModifiers() == wxMOD_SHIFT) {
    if (key == '+' || key == '=' || key == WXK_NUMPAD_ADD) {
      RunCommand(kPreviewZoomIn);
      return;
    }
    if (key == '-' || key == WXK_NUMPAD_SUBTRACT) {
      RunCommand(kPreviewZoomOut);
      return;
    }
    if (canvas_->ScrollByKey(key)) return;
  }
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    if (wxWindow* focus = wxWindow::FindFocus())
      focus->Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
    return;
  }
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(PreviewWindow, wxDialog)
  EVT_PAINT(PreviewWindow::OnPaint)
  EVT_BUTTON(kPreviewFullScreen, PreviewWindow::OnCommand)
  EVT_BUTTON(kPreviewSave, PreviewWindow::OnCommand)
  EVT_BUTTON(kPreviewZoomIn, PreviewWindow::OnCommand)
  EVT_BUTTON(kPreviewZoomOut, PreviewWindow::OnCommand)
  EVT_BUTTON(kPreviewClose, PreviewWindow::OnCommand)
  EVT_CLOSE(PreviewWindow::OnClose)
  EVT_CHAR_HOOK(PreviewWindow::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
