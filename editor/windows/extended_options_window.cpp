// The extended options window.
#include "editor/windows/extended_options_window.h"

#include <wx/dcclient.h>

#include <vector>

#include "core/import/picture_import.h"
#include "core/parameter_kinds.h"
#include "core/text/numbers.h"
#include "editor/model/number_formats.h"
#include "editor/model/parameter_rows.h"
#include "editor/model/picture_fit.h"
#include "editor/model/picture_invert.h"
#include "editor/model/test_render.h"
#include "editor/model/x_alpha_settings.h"
#include "editor/windows/field_keys.h"
#include "editor/windows/help.h"
#include "editor/windows/main_window.h"
#include "editor/windows/x_alpha_window.h"
#include "gui/ani_button.h"
#include "gui/frames.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"
#include "gui/picture_bitmap.h"

namespace ombrix::editor {

// The picture area: the shown copy centred on the background colour. Its mouse activity goes to
// the window, which shows the coordinates and draws the zone.
class ZonePictureArea : public wxWindow {
 public:
  ZonePictureArea(ExtendedOptionsWindow* window, const wxRect& rect)
      : wxWindow(window, kExtendedPicture, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE), window_(window) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &ZonePictureArea::OnPaint, this);
    for (const auto& type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_RIGHT_DOWN, wxEVT_LEAVE_WINDOW})
      Bind(type, &ExtendedOptionsWindow::OnAreaMouse, window);
  }
  void SetPicture(const Picture* picture, gui::Colour background) {
    bitmap_ = picture != nullptr ? gui::PictureBitmap(*picture) : wxBitmap();
    background_ = background;
    Refresh();
  }
  // Where the shown copy's top-left pixel lies in the area.
  wxPoint Origin() const {
    if (!bitmap_.IsOk()) return {0, 0};
    return {(GetClientSize().x - bitmap_.GetWidth()) / 2, (GetClientSize().y - bitmap_.GetHeight()) / 2};
  }
  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    gui::FillArea(dc, wxRect(GetClientSize()), background_);
    if (bitmap_.IsOk()) dc.DrawBitmap(bitmap_, Origin());
  }

  ExtendedOptionsWindow* window_;
  wxBitmap bitmap_;
  gui::Colour background_ = 0;
};

namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr const char* kUnfilledTitle = "Extended Panel";
constexpr const char* kErrorCaption = "Ombrix - Error";
constexpr const char* kTestPictureLabel = "Orignal Picture";
constexpr const char* kRenderLabel = "Rendered Picture";
constexpr int kWidth = 568;
constexpr int kHeight = 210;
constexpr int kAreaX = 394, kAreaY = 18, kAreaWidth = 170, kAreaHeight = 128;

constexpr const char* kFrameCaptions[] = {"Start Frame", "End Frame", "Test Frame"};
constexpr DragField kFrameDrags[] = {DragField::kStartFrame, DragField::kEndFrame, DragField::kTestFrame};
constexpr DragField kZoneDrags[] = {DragField::kZoneLeft, DragField::kZoneTop, DragField::kZoneRight,
                                    DragField::kZoneBottom};

// In Tab order: frames and zone, the X-Alpha settings, the rows, the options, the picture
// buttons and the commands.
std::vector<ControlTemplate> ExtendedTemplate() {
  std::vector<ControlTemplate> t;
  for (int i = 0; i < 3; ++i) {
    const int y = 6 + 13 * i;
    t.push_back({kExtendedFrameLabel1 + i, ControlRole::kLabel, kFrameCaptions[i], 4, y, 46, 11});
    t.push_back({kExtendedFrame1 + i, ControlRole::kNumberField, "0", 52, y, 36, 11});
    t.push_back({kExtendedFrameDrag1 + i, ControlRole::kDragButton, "", 90, y, 8, 11});
  }
  t.push_back({kExtendedCoordCaption, ControlRole::kLabel, "Coord.", 4, 50, 46, 11});
  for (int i = 0; i < 4; ++i) {
    const int x = 52 + 51 * (i % 2), y = 50 + 13 * (i / 2);
    t.push_back({kExtendedZone1 + i, ControlRole::kNumberField, "0", x, y, 36, 11});
    t.push_back({kExtendedZoneDrag1 + i, ControlRole::kDragButton, "", x + 38, y, 8, 11});
  }
  const ControlTemplate x_alpha[] = {
      {kExtendedXAlphaCaption, ControlRole::kLabel, "X Alpha", 4, 82, 144, 10},
      {kExtendedGradual, ControlRole::kStateButton, "X Alpha", 4, 94, 70, 11},
      {kExtendedClipMap, ControlRole::kStateButton, "Clip Map", 78, 94, 70, 11},
      {kExtendedRepeat, ControlRole::kStateButton, "Repeat", 4, 107, 70, 11},
      {kExtendedStretch, ControlRole::kStateButton, "Stretch", 78, 107, 70, 11},
      {kExtendedNegative, ControlRole::kStateButton, "Negative", 4, 120, 70, 11},
      {kExtendedMask, ControlRole::kInfoArea, "Image", 4, 136, 64, 48, gui::kAniFocusable},
      {kExtendedInitCaption, ControlRole::kLabel, "Init.", 72, 136, 26, 11},
      {kExtendedInit, ControlRole::kNumberField, "0.0 %", 100, 136, 38, 11},
      {kExtendedInitDrag, ControlRole::kDragButton, "", 140, 136, 8, 11},
      {kExtendedStepCaption, ControlRole::kLabel, "Step", 72, 149, 26, 11},
      {kExtendedStep, ControlRole::kNumberField, "0.0 %", 100, 149, 38, 11},
      {kExtendedStepDrag, ControlRole::kDragButton, "", 140, 149, 8, 11},
  };
  t.insert(t.end(), std::begin(x_alpha), std::end(x_alpha));
  t.push_back({kExtendedParametersCaption, ControlRole::kLabel, "Parameters", 156, 6, 150, 10});
  for (int i = 0; i < 10; ++i) {
    const int y = 18 + 13 * i;
    t.push_back({kExtendedParameter1 + i, ControlRole::kActionButton, "Parameter", 156, y, 52, 12});
    t.push_back({kExtendedParameterValue1 + i, ControlRole::kNumberField, "", 210, y, 36, 11});
    t.push_back({kExtendedParameterValueDrag1 + i, ControlRole::kDragButton, "", 248, y, 8, 11});
    t.push_back({kExtendedParameterStep1 + i, ControlRole::kNumberField, "", 258, y, 36, 11});
    t.push_back({kExtendedParameterStepDrag1 + i, ControlRole::kDragButton, "", 296, y, 8, 11});
  }
  t.push_back({kExtendedOptionsCaption, ControlRole::kLabel, "Options", 312, 6, 76, 10});
  for (int i = 0; i < 10; ++i)
    t.push_back({kExtendedOption1 + i, ControlRole::kStateButton, "Option", 312, 18 + 13 * i, 76, 11});
  const ControlTemplate rest[] = {
      {kExtendedPreviewCaption, ControlRole::kLabel, "Preview", 394, 6, 170, 10},
      {kExtendedPictureLabel, ControlRole::kInfoArea, kTestPictureLabel, 394, 150, 170, 11},
      {kExtendedShowTest, ControlRole::kStateButton, "Original", 394, 165, 50, 11},
      {kExtendedShowRender, ControlRole::kStateButton, "Rendered", 446, 165, 50, 11},
      {kExtendedZoneMode, ControlRole::kStateButton, "Zone", 498, 165, 36, 11},
      {kExtendedOut, ControlRole::kLabel, "Out", 536, 165, 28, 11},
      {kExtendedAbout, ControlRole::kActionButton, "About", 4, 193, 50, 13},
      {kExtendedHelp, ControlRole::kActionButton, "Help", 58, 193, 50, 13},
      {kExtendedClose, ControlRole::kActionButton, "Close", 112, 193, 50, 13},
      {kExtendedRenderFilter, ControlRole::kActionButton, "Render Filter", 394, 193, 84, 13},
      {kExtendedRenderAll, ControlRole::kActionButton, "Render All", 480, 193, 84, 13},
  };
  t.insert(t.end(), std::begin(rest), std::end(rest));
  return t;
}

const std::vector<ControlTemplate>& Template() {
  static const std::vector<ControlTemplate> t = ExtendedTemplate();
  return t;
}

int16_t StateFrame(bool on) { return on ? 1 : 2; }

// The cursor over a parameter row's name tells what the row does: typed numbers drag left and
// right, colours open the colour selector, files, pictures and editor links open their dialog
// or editor, the other kinds show the filter's help.
wxCursor KindCursor(int32_t kind) {
  if (IsTypedNumber(kind)) return wxCursor(wxCURSOR_SIZEWE);
  switch (ActionOf(kind)) {
    case KindAction::kColourSelector:
      return wxCursor(wxCURSOR_PAINT_BRUSH);
    case KindAction::kFilterHelp:
      return wxCursor(wxCURSOR_QUESTION_ARROW);
    default:
      return wxCursor(wxCURSOR_HAND);
  }
}

// The pairs: each button and its partner.
constexpr std::pair<int, int> kPairs[] = {
    {kExtendedGradual, kExtendedClipMap},
    {kExtendedClipMap, kExtendedGradual},
    {kExtendedRepeat, kExtendedStretch},
    {kExtendedStretch, kExtendedRepeat},
};

}  // namespace

ExtendedOptionsWindow::ExtendedOptionsWindow(MainWindow* owner, EditorSession& session)
    : owner_(owner),
      session_(session),
      rows_(controls_,
            {kExtendedParameter1, kExtendedParameterValue1, kExtendedParameterStep1, kExtendedParameterValueDrag1,
             kExtendedParameterStepDrag1, kExtendedOption1},
            10),
      drag_timer_(this, kDragTimerId),
      drag_(this, drag_timer_,
            {[this](int id) { return FieldText(id); }, [this](int id, const std::string& text) { SetField(id, text); },
             [this] { return CurrentDragTexts(); }}) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(owner, wxID_ANY, kUnfilledTitle, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  gui::PlaceControls(this, Template(), colours_, face_, controls_);
  area_ = new ZonePictureArea(this, gui::DialogUnitsRect(this, kAreaX, kAreaY, kAreaWidth, kAreaHeight));
  rows_.SetUpButtons();
  for (int i = 0; i < 3; ++i)
    Button(kExtendedFrameDrag1 + i)
        ->SetFramePictures(gui::SmallButtonPictures(Button(kExtendedFrameDrag1 + i)->GetSize()));
  // The four zone fields share the caption "Coord."; each names its corner when pointed at.
  constexpr const char* kZoneNames[] = {"Left", "Top", "Right", "Bottom"};
  for (int i = 0; i < 4; ++i) {
    Button(kExtendedZoneDrag1 + i)
        ->SetFramePictures(gui::SmallButtonPictures(Button(kExtendedZoneDrag1 + i)->GetSize()));
    controls_.Field(kExtendedZone1 + i)->SetToolTip(kZoneNames[i]);
  }
  for (const int id : {kExtendedInitDrag, kExtendedStepDrag})
    Button(id)->SetFramePictures(gui::SmallButtonPictures(Button(id)->GetSize()));
  Button(kExtendedZoneMode)->SetFrame(2);  // drawing starts off
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 2, 150, 186));
  face_.AddPanel(gui::DialogUnitsRect(this, 154, 2, 154, 186));
  face_.AddPanel(gui::DialogUnitsRect(this, 310, 2, 80, 186));
  face_.AddPanel(gui::DialogUnitsRect(this, 392, 2, 174, 186));
}

ExtendedOptionsWindow::~ExtendedOptionsWindow() { drag_timer_.Stop(); }

wxWindow* ExtendedOptionsWindow::PictureArea() const { return area_; }

void ExtendedOptionsWindow::SetField(int id, const std::string& text) {
  if (gui::MaskedEdit* field = controls_.Field(id)) field->SetText(text);
}

std::string ExtendedOptionsWindow::FieldText(int id) const {
  const gui::MaskedEdit* field = controls_.Field(id);
  return field != nullptr ? field->Text() : std::string();
}

void ExtendedOptionsWindow::Open(FilterDescriptor& entry, int index) {
  colours_ = gui::ReadColourSet();
  gui::RecolourControls(Template(), colours_, face_, controls_);
  face_.SetBackground(colours_.background);
  entry_ = &entry;
  index_ = index;
  // The two pictures fitted into the area; the test picture shown first.
  const wxSize area = area_->GetClientSize();
  const bool extra = session_.options.compute_extra;
  test_fitted_ = session_.test_picture ? FitPicture(*session_.test_picture, area.x, area.y, extra) : nullptr;
  render_fitted_ = FitPicture(session_.last_render, area.x, area.y, extra);
  // A mask named but not in memory is loaded, as it acts.
  if (entry.xalpha != nullptr && entry.xalpha->picture_path[0] != '\0' && MaskPictureOf(entry) == nullptr) {
    if (std::unique_ptr<Picture> mask =
            LoadPictureWithMessages(entry.xalpha->picture_path, [] { gui::DispatchPendingEvents(); })) {
      if (entry.xalpha->negative != 0) InvertPicture(*mask);
      delete entry.xalpha->picture;
      entry.xalpha->picture = mask.release();
    }
  }
  SetTitle(wxString::Format("Extended Options - %s [%d]", gui::FromAnsi(entry.name), index));
  ShowEntry();
  ShowPicture(false);
  CentreOnParent();
  Show();
  Raise();
  owner_->Enable(false);
  drag_timer_.Start(kDragTimerMilliseconds);
}

void ExtendedOptionsWindow::ShowEntry() {
  if (entry_ == nullptr) return;
  const FilterDescriptor& entry = *entry_;
  for (int i = 0; i < 4; ++i) SetField(kExtendedZone1 + i, WholeNumberText(entry.zone[i]));
  SetField(kExtendedStartFrame, WholeNumberText(entry.start_frame));
  SetField(kExtendedEndFrame, WholeNumberText(entry.end_frame));
  SetField(kExtendedTestFrame, WholeNumberText(session_.test_frame));
  SetField(kExtendedInit, AlphaText(entry.alpha_init));
  SetField(kExtendedStep, AlphaText(entry.alpha_step));
  rows_.Show(entry);
  for (int i = 0; i < 10; ++i)
    if (const std::optional<int32_t> kind = rows_.FieldKind(kExtendedParameterValue1 + i))
      Button(kExtendedParameter1 + i)->SetCursor(KindCursor(*kind));
  const XAlphaRecord none{};
  const XAlphaButtons buttons = ShowXAlphaButtons(entry.xalpha != nullptr ? *entry.xalpha : none);
  Button(kExtendedGradual)->SetFrame(StateFrame(buttons.gradual));
  Button(kExtendedClipMap)->SetFrame(StateFrame(!buttons.gradual));
  Button(kExtendedNegative)->SetFrame(StateFrame(buttons.negative));
  Button(kExtendedRepeat)->SetFrame(StateFrame(!buttons.stretch));
  Button(kExtendedStretch)->SetFrame(StateFrame(buttons.stretch));
  ShowMask();
  Refresh();
}

void ExtendedOptionsWindow::ShowMask() {
  gui::AniButton* thumbnail = Button(kExtendedMask);
  std::vector<wxBitmap> frames;
  if (const Picture* mask = entry_ != nullptr ? MaskPictureOf(*entry_) : nullptr) {
    const wxSize size = thumbnail->GetSize();
    if (auto fitted = FitPicture(*mask, size.x, size.y, session_.options.compute_extra))
      frames.push_back(gui::PictureBitmap(*fitted));
  }
  thumbnail->SetLabel(frames.empty() ? wxString("Image") : wxString());
  thumbnail->SetFramePictures(std::move(frames));
  thumbnail->SetFrame(1);
}

void ExtendedOptionsWindow::TakeFields() {
  if (entry_ == nullptr) return;
  FilterDescriptor& entry = *entry_;
  rows_.Take(entry);
  for (int i = 0; i < 4; ++i) entry.zone[i] = text::LeadingInt(FieldText(kExtendedZone1 + i), entry.zone[i]);
  entry.start_frame = text::LeadingInt(FieldText(kExtendedStartFrame), entry.start_frame);
  entry.end_frame = text::LeadingInt(FieldText(kExtendedEndFrame), entry.end_frame);
  session_.test_frame = text::LeadingInt(FieldText(kExtendedTestFrame), session_.test_frame);
  entry.alpha_init = ReadAlphaText(FieldText(kExtendedInit), entry.alpha_init);
  entry.alpha_step = ReadAlphaText(FieldText(kExtendedStep), entry.alpha_step);
  if (entry.xalpha != nullptr) {
    XAlphaButtons buttons;
    buttons.gradual = Button(kExtendedGradual)->Frame() == 1;
    buttons.negative = Button(kExtendedNegative)->Frame() == 1;
    buttons.stretch = Button(kExtendedRepeat)->Frame() != 1;
    TakeXAlphaButtons(*entry.xalpha, buttons);
    entry.xalpha->percent = 0;
  }
}

// ---- The picture area ------------------------------------------------------------------------

void ExtendedOptionsWindow::ShowPicture(bool render) {
  shows_render_ = render;
  Button(kExtendedShowTest)->SetFrame(StateFrame(!render));
  Button(kExtendedShowRender)->SetFrame(StateFrame(render));
  Button(kExtendedPictureLabel)->SetLabel(render ? kRenderLabel : kTestPictureLabel);
  const Picture* fitted = render ? render_fitted_.get() : test_fitted_.get();
  const Picture* source = render ? &session_.last_render : session_.test_picture.get();
  drawn_.reset();
  scale_ = {};
  zone_drawn_ = false;
  if (fitted != nullptr && source != nullptr && !source->IsEmpty()) {
    drawn_ = std::make_unique<Picture>();
    if (!drawn_->CopyFrom(fitted)) drawn_.reset();
    scale_ = {source->Width(), source->Height(), fitted->Width(), fitted->Height()};
  }
  DrawZone();
}

Zone ExtendedOptionsWindow::FieldZone() const {
  Zone zone;
  int* corners[] = {&zone.left, &zone.top, &zone.right, &zone.bottom};
  for (int i = 0; i < 4; ++i) *corners[i] = text::LeadingInt(FieldText(kExtendedZone1 + i), 0);
  return zone;
}

// The zone drawn before is inverted back and the zone the fields hold now inverted on the copy.
void ExtendedOptionsWindow::DrawZone() {
  if (drawn_) {
    if (zone_drawn_) InvertOutline(*drawn_, drawn_zone_.left, drawn_zone_.top, drawn_zone_.right, drawn_zone_.bottom);
    const Zone zone = FieldZone();
    drawn_zone_ = {ShownX(scale_, zone.left), ShownY(scale_, zone.top), ShownX(scale_, zone.right),
                   ShownY(scale_, zone.bottom)};
    InvertOutline(*drawn_, drawn_zone_.left, drawn_zone_.top, drawn_zone_.right, drawn_zone_.bottom);
    zone_drawn_ = true;
  }
  area_->SetPicture(drawn_.get(), colours_.background);
}

void ExtendedOptionsWindow::OnAreaMouse(wxMouseEvent& event) {
  event.Skip();
  const wxPoint at = event.GetPosition() - area_->Origin();
  PicturePoint point;
  if (event.GetEventType() == wxEVT_LEAVE_WINDOW || !PicturePointAt(scale_, at.x, at.y, &point)) {
    Button(kExtendedPictureLabel)->SetLabel(shows_render_ ? kRenderLabel : kTestPictureLabel);
    return;
  }
  Button(kExtendedPictureLabel)->SetLabel(CoordinateText(point));
  if (Button(kExtendedZoneMode)->Frame() != 1) return;
  const bool left = event.LeftIsDown() || event.GetEventType() == wxEVT_LEFT_DOWN;
  const bool right = event.RightIsDown() || event.GetEventType() == wxEVT_RIGHT_DOWN;
  if (!left && !right) return;
  const Zone zone =
      MoveZoneCorner(FieldZone(), left ? ZoneCorner::kLeftTop : ZoneCorner::kRightBottom, point.x, point.y);
  const int corners[] = {zone.left, zone.top, zone.right, zone.bottom};
  for (int i = 0; i < 4; ++i) SetField(kExtendedZone1 + i, WholeNumberText(corners[i]));
  DrawZone();
}

// ---- Commands --------------------------------------------------------------------------------

void ExtendedOptionsWindow::Close() {
  drag_.End();
  drag_timer_.Stop();
  TakeFields();
  Hide();
  entry_ = nullptr;
  owner_->ExtendedOptionsClosed();
}

void ExtendedOptionsWindow::RenderFilter() {
  if (!session_.test_picture) {
    gui::Inform(kNoTestPicture, kErrorCaption);
    return;
  }
  TakeFields();
  const FilterDescriptor* alone[] = {entry_};
  bool rendered = false;
  {
    wxBusyCursor wait;
    rendered = RenderTestPicture(session_, alone, 1, session_.test_frame);
  }
  if (!rendered) return;
  const wxSize area = area_->GetClientSize();
  render_fitted_ = FitPicture(session_.last_render, area.x, area.y, session_.options.compute_extra);
  ShowPicture(true);
}

void ExtendedOptionsWindow::RenderAll() {
  TakeFields();
  if (!owner_->Render(this)) return;
  const wxSize area = area_->GetClientSize();
  render_fitted_ = FitPicture(session_.last_render, area.x, area.y, session_.options.compute_extra);
  ShowPicture(true);
}

void ExtendedOptionsWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

void ExtendedOptionsWindow::OnCommand(wxCommandEvent& event) {
  if (entry_ == nullptr) return;
  gui::WindowFace::Pressed pressed(face_, Button(event.GetId()));
  switch (event.GetId()) {
    case kExtendedClose:
      Close();
      break;
    case kExtendedRenderFilter:
      RenderFilter();
      break;
    case kExtendedRenderAll:
      RenderAll();
      break;
    case kExtendedAbout:
      OpenFilterHelp(session_, entry_);
      break;
    case kExtendedHelp:
      OpenMainHelp(session_, kExtendedOptionsHelpTopic);
      break;
    default:
      break;
  }
}

// The pressed button keeps the state the press gave it; its partner takes the opposite.
void ExtendedOptionsWindow::OnPair(wxCommandEvent& event) {
  for (const auto& [pressed, partner] : kPairs)
    if (pressed == event.GetId()) Button(partner)->SetFrame(StateFrame(PartnerOf(Button(pressed)->Frame() == 1)));
}

// The mask in memory is inverted at once, so the thumbnail shows it as it will act; the flag
// itself is taken with the fields.
void ExtendedOptionsWindow::OnNegative(wxCommandEvent&) {
  if (entry_ != nullptr && entry_->xalpha != nullptr && entry_->xalpha->picture != nullptr)
    InvertPicture(*entry_->xalpha->picture);
  ShowMask();
}

// A press on the mask thumbnail opens the X-Alpha window on this entry; when it closes, this
// window shows the entry again.
void ExtendedOptionsWindow::OnMask(wxCommandEvent&) {
  if (entry_ == nullptr) return;
  TakeFields();
  owner_->OpenXAlphaFor(*entry_, index_, this, [this] {
    ShowEntry();
    Raise();
  });
}

// The picture pair works as a radio pair: the pressed button's picture is shown, whatever
// state the press left the button in.
void ExtendedOptionsWindow::OnPictureButton(wxCommandEvent& event) {
  ShowPicture(event.GetId() == kExtendedShowRender);
}

void ExtendedOptionsWindow::PressParameter(int k, int which, bool right) {
  if (entry_ == nullptr) return;
  TakeFields();
  if (owner_->RunParameterAction(*entry_, k, which, right, this)) ShowEntry();
}

void ExtendedOptionsWindow::OnParameterName(wxCommandEvent& event) {
  PressParameter(rows_.NameSlotOf(event.GetId()), 0, false);
}

void ExtendedOptionsWindow::OnParameterMouseDown(gui::AniMouseEvent& event) {
  if (event.Button() == 2) PressParameter(rows_.NameSlotOf(event.GetId()), 0, true);
}

void ExtendedOptionsWindow::OnSmallButton(wxCommandEvent& event) {
  const auto small = rows_.SmallButtonOf(event.GetId());
  if (!small || small->drags) return;
  gui::AniButton* button = Button(event.GetId());
  button->SetFrame(gui::kActionLook + 1);
  PressParameter(small->k, small->which, false);
  button->SetFrame(gui::kActionLook);
}

void ExtendedOptionsWindow::OnOptionButton(wxCommandEvent& event) { rows_.PressOption(event.GetId()); }

// ---- Number fields and drag buttons ------------------------------------------------------------

std::optional<int32_t> ExtendedOptionsWindow::FieldKind(int id) const {
  if (id >= kExtendedZone1 && id < kExtendedZone1 + 4) return kKindInteger;
  if (id >= kExtendedFrame1 && id < kExtendedFrame1 + 3) return kKindPositiveInteger;
  if (id == kExtendedInit || id == kExtendedStep) return kKindPercentage;
  return rows_.FieldKind(id);
}

DragFieldTexts ExtendedOptionsWindow::CurrentDragTexts() const {
  DragFieldTexts texts;
  for (int i = 0; i < 4; ++i) texts.zone[size_t(i)] = FieldText(kExtendedZone1 + i);
  texts.start_frame = FieldText(kExtendedStartFrame);
  texts.end_frame = FieldText(kExtendedEndFrame);
  return texts;
}

void ExtendedOptionsWindow::OnDragMouseDown(gui::AniMouseEvent& event) {
  if (event.Button() != 1 || !IsEnabled()) return;
  const int id = event.GetId();
  std::optional<DragController::Target> target = rows_.DragTargetOf(id);
  for (int i = 0; i < 3; ++i)
    if (id == kExtendedFrameDrag1 + i)
      target = DragController::Target{kExtendedFrame1 + i, kFrameDrags[i], DragKindOf(kFrameDrags[i], 0)};
  for (int i = 0; i < 4; ++i)
    if (id == kExtendedZoneDrag1 + i)
      target = DragController::Target{kExtendedZone1 + i, kZoneDrags[i], DragKindOf(kZoneDrags[i], 0)};
  if (id == kExtendedInitDrag || id == kExtendedStepDrag)
    target = DragController::Target{id == kExtendedInitDrag ? kExtendedInit : kExtendedStep, DragField::kParameter,
                                    kKindPercentage};
  if (target) drag_.Begin(Button(id), *target);
}

void ExtendedOptionsWindow::OnDragTimer(wxTimerEvent&) { drag_.Tick(); }

void ExtendedOptionsWindow::OnClose(wxCloseEvent&) { Close(); }

// Enter moves on as Tab does, and a number field that either leaves shows its text evaluated in
// its kind's format; Esc and F1 are "Close" and "Help". The window has no cancel: Esc closes
// it with the fields taken, as "Close" does.
void ExtendedOptionsWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    Close();
    return;
  }
  if (key == WXK_F1 && !event.HasAnyModifiers()) {
    OpenMainHelp(session_, kExtendedOptionsHelpTopic);
    return;
  }
  const auto reformat = [this](int id) {
    if (const std::optional<int32_t> kind = FieldKind(id)) SetField(id, ReformatLeavingField(*kind, FieldText(id)));
  };
  if (MoveOnFromField(this, event, reformat)) return;
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(ExtendedOptionsWindow, wxDialog)
  EVT_PAINT(ExtendedOptionsWindow::OnPaint)
  EVT_BUTTON(kExtendedClose, ExtendedOptionsWindow::OnCommand)
  EVT_BUTTON(kExtendedRenderFilter, ExtendedOptionsWindow::OnCommand)
  EVT_BUTTON(kExtendedRenderAll, ExtendedOptionsWindow::OnCommand)
  EVT_BUTTON(kExtendedAbout, ExtendedOptionsWindow::OnCommand)
  EVT_BUTTON(kExtendedHelp, ExtendedOptionsWindow::OnCommand)
  EVT_BUTTON(kExtendedGradual, ExtendedOptionsWindow::OnPair)
  EVT_BUTTON(kExtendedClipMap, ExtendedOptionsWindow::OnPair)
  EVT_BUTTON(kExtendedRepeat, ExtendedOptionsWindow::OnPair)
  EVT_BUTTON(kExtendedStretch, ExtendedOptionsWindow::OnPair)
  EVT_BUTTON(kExtendedNegative, ExtendedOptionsWindow::OnNegative)
  EVT_BUTTON(kExtendedMask, ExtendedOptionsWindow::OnMask)
  EVT_BUTTON(kExtendedShowTest, ExtendedOptionsWindow::OnPictureButton)
  EVT_BUTTON(kExtendedShowRender, ExtendedOptionsWindow::OnPictureButton)
  EVT_COMMAND_RANGE(kExtendedParameter1, kExtendedParameter1 + 9, wxEVT_BUTTON, ExtendedOptionsWindow::OnParameterName)
  EVT_COMMAND_RANGE(kExtendedParameterValueDrag1, kExtendedParameterValueDrag1 + 9, wxEVT_BUTTON,
                    ExtendedOptionsWindow::OnSmallButton)
  EVT_COMMAND_RANGE(kExtendedParameterStepDrag1, kExtendedParameterStepDrag1 + 9, wxEVT_BUTTON,
                    ExtendedOptionsWindow::OnSmallButton)
  EVT_COMMAND_RANGE(kExtendedOption1, kExtendedOption1 + 9, wxEVT_BUTTON, ExtendedOptionsWindow::OnOptionButton)
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kExtendedParameter1, kExtendedParameter1 + 9,
                   OMBRIX_ANI_MOUSE_HANDLER(ExtendedOptionsWindow::OnParameterMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kExtendedParameterValueDrag1, kExtendedParameterValueDrag1 + 9,
                   OMBRIX_ANI_MOUSE_HANDLER(ExtendedOptionsWindow::OnDragMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kExtendedParameterStepDrag1, kExtendedParameterStepDrag1 + 9,
                   OMBRIX_ANI_MOUSE_HANDLER(ExtendedOptionsWindow::OnDragMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kExtendedFrameDrag1, kExtendedFrameDrag1 + 2,
                   OMBRIX_ANI_MOUSE_HANDLER(ExtendedOptionsWindow::OnDragMouseDown))
  wx__DECLARE_EVT2(gui::EVT_ANI_MOUSE_DOWN, kExtendedZoneDrag1, kExtendedZoneDrag1 + 3,
                   OMBRIX_ANI_MOUSE_HANDLER(ExtendedOptionsWindow::OnDragMouseDown))
  EVT_ANI_MOUSE_DOWN_ID(kExtendedInitDrag, ExtendedOptionsWindow::OnDragMouseDown)
  EVT_ANI_MOUSE_DOWN_ID(kExtendedStepDrag, ExtendedOptionsWindow::OnDragMouseDown)
  EVT_TIMER(kDragTimerId, ExtendedOptionsWindow::OnDragTimer)
  EVT_CLOSE(ExtendedOptionsWindow::OnClose)
  EVT_CHAR_HOOK(ExtendedOptionsWindow::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
