// The X-Alpha window.
#include "editor/windows/x_alpha_window.h"

#include <wx/dcclient.h>

#include <vector>

#include "core/import/picture_import.h"
#include "core/parameter_kinds.h"
#include "editor/model/parameter_rows.h"
#include "editor/model/picture_chooser.h"
#include "editor/model/picture_fit.h"
#include "editor/model/picture_invert.h"
#include "editor/windows/field_keys.h"
#include "editor/windows/help.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"
#include "gui/picture_bitmap.h"

namespace ombrix::editor {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr const char* kUnfilledTitle = "Ombrix - X Alpha Panel";
constexpr int kWidth = 300;
constexpr int kHeight = 150;

// In Tab order: the settings, the picture commands, then the ways out.
const std::vector<ControlTemplate>& Template() {
  static const std::vector<ControlTemplate> t = {
      {kXAlphaPicture, ControlRole::kLabel, "", 6, 6, 128, 96},
      {kXAlphaInformation, ControlRole::kInfoArea, "(no picture loaded)", 6, 106, 128, 38,
       gui::kAniWrap | gui::kAniAlignLeft},
      {kXAlphaGradual, ControlRole::kStateButton, "X Alpha", 142, 6, 74, 11},
      {kXAlphaClipMap, ControlRole::kStateButton, "Clip Map", 220, 6, 74, 11},
      {kXAlphaStretch, ControlRole::kStateButton, "Stretch to picture", 142, 20, 74, 11},
      {kXAlphaRepeat, ControlRole::kStateButton, "Repeat", 220, 20, 74, 11},
      {kXAlphaNegative, ControlRole::kStateButton, "Negative", 142, 34, 74, 11},
      {kXAlphaInitCaption, ControlRole::kLabel, "Init.", 142, 54, 30, 11},
      {kXAlphaInit, ControlRole::kNumberField, "0.0 %", 174, 54, 50, 11},
      {kXAlphaInitDrag, ControlRole::kDragButton, "", 226, 54, 8, 11},
      {kXAlphaStepCaption, ControlRole::kLabel, "Step", 142, 67, 30, 11},
      {kXAlphaStep, ControlRole::kNumberField, "0.0 %", 174, 67, 50, 11},
      {kXAlphaStepDrag, ControlRole::kDragButton, "", 226, 67, 8, 11},
      {kXAlphaLoad, ControlRole::kDialogButton, "Load", 142, 88, 48, 13},
      {kXAlphaClear, ControlRole::kActionButton, "Clear", 194, 88, 48, 13},
      {kXAlphaReset, ControlRole::kActionButton, "Reset", 246, 88, 48, 13},
      {kXAlphaConfirm, ControlRole::kActionButton, "", 142, 131, 44, 13},
      {kXAlphaHelp, ControlRole::kActionButton, "Help", 194, 131, 48, 13},
      {kXAlphaCancel, ControlRole::kActionButton, "Cancel", 246, 131, 48, 13},
  };
  return t;
}

// The pairs: each button and its partner.
constexpr std::pair<int, int> kPairs[] = {
    {kXAlphaGradual, kXAlphaClipMap},
    {kXAlphaClipMap, kXAlphaGradual},
    {kXAlphaStretch, kXAlphaRepeat},
    {kXAlphaRepeat, kXAlphaStretch},
};

int16_t StateFrame(bool on) { return on ? 1 : 2; }

}  // namespace

XAlphaWindow::XAlphaWindow(wxWindow* parent, EditorSession& session)
    : session_(session),
      drag_timer_(this, kDragTimerId),
      drag_(this, drag_timer_,
            {[this](int id) { return controls_.Field(id)->Text(); },
             [this](int id, const std::string& text) { controls_.Field(id)->SetText(text); },
             [] { return DragFieldTexts{}; }}) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(parent, wxID_ANY, kUnfilledTitle, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  gui::PlaceControls(this, Template(), colours_, face_, controls_);
  gui::AniButton* confirm = Button(kXAlphaConfirm);
  confirm->SetFramePictures({gui::ConfirmPicture(confirm->GetSize().y - 2)});
  for (const int id : {kXAlphaInitDrag, kXAlphaStepDrag})
    Button(id)->SetFramePictures(gui::SmallButtonPictures(Button(id)->GetSize()));
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 2, 136, 146));
  face_.AddPanel(gui::DialogUnitsRect(this, 138, 2, 160, 146));
}

XAlphaWindow::~XAlphaWindow() { drag_timer_.Stop(); }

void XAlphaWindow::Open(FilterDescriptor& entry, int index, wxWindow* owner, std::function<void()> closed) {
  colours_ = gui::ReadColourSet();
  gui::RecolourControls(Template(), colours_, face_, controls_);
  entry_ = &entry;
  owner_ = owner;
  closed_ = std::move(closed);
  const XAlphaRecord none{};
  const XAlphaRecord& record = entry.xalpha != nullptr ? *entry.xalpha : none;
  pending_name_ = record.picture_path;
  pending_.reset();
  if (const Picture* mask = MaskPictureOf(entry)) {
    pending_ = std::make_unique<Picture>();
    if (!pending_->CopyFrom(mask)) pending_.reset();
  } else if (record.picture_path[0] != '\0') {
    // A mask read from its file is shown as it acts: inverted when its negative flag is set.
    pending_ = LoadPictureWithMessages(record.picture_path, [] { gui::DispatchPendingEvents(); });
    if (pending_ && record.negative != 0) InvertPicture(*pending_);
  }
  ShowButtons(ShowXAlphaButtons(record));
  SetTitle(wxString::Format("X Alpha Options - %s (%d)", gui::FromAnsi(entry.name), index));
  controls_.Field(kXAlphaInit)->SetText(AlphaText(entry.alpha_init));
  controls_.Field(kXAlphaStep)->SetText(AlphaText(entry.alpha_step));
  fitted_.reset();
  ShowPending();
  CentreOnParent();
  Show();
  Raise();
  if (owner_ != nullptr) owner_->Enable(false);
  drag_timer_.Start(kDragTimerMilliseconds);
}

XAlphaButtons XAlphaWindow::Buttons() const {
  XAlphaButtons buttons;
  buttons.gradual = Button(kXAlphaGradual)->Frame() == 1;
  buttons.negative = Button(kXAlphaNegative)->Frame() == 1;
  buttons.stretch = Button(kXAlphaStretch)->Frame() == 1;
  return buttons;
}

void XAlphaWindow::ShowButtons(const XAlphaButtons& buttons) {
  Button(kXAlphaGradual)->SetFrame(StateFrame(buttons.gradual));
  Button(kXAlphaClipMap)->SetFrame(StateFrame(!buttons.gradual));
  Button(kXAlphaNegative)->SetFrame(StateFrame(buttons.negative));
  Button(kXAlphaStretch)->SetFrame(StateFrame(buttons.stretch));
  Button(kXAlphaRepeat)->SetFrame(StateFrame(!buttons.stretch));
}

void XAlphaWindow::ShowPending() {
  gui::AniButton* area = Button(kXAlphaPicture);
  if (pending_ && !fitted_)
    fitted_ = FitPicture(*pending_, area->GetSize().x, area->GetSize().y, session_.options.compute_extra);
  if (!pending_) fitted_.reset();
  std::vector<wxBitmap> frames;
  if (fitted_) frames.push_back(gui::PictureBitmap(*fitted_));
  area->SetFramePictures(std::move(frames));
  area->SetFrame(1);
  Button(kXAlphaInformation)->SetLabel(gui::FromAnsi(XAlphaInformation(pending_.get()).c_str()));
}

void XAlphaWindow::Close() {
  drag_.End();
  drag_timer_.Stop();
  pending_.reset();
  fitted_.reset();
  Hide();
  entry_ = nullptr;
  if (owner_ != nullptr) {
    owner_->Enable(true);
    owner_->Refresh();
  }
  if (auto closed = std::move(closed_)) closed();
}

void XAlphaWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

void XAlphaWindow::OnConfirm(wxCommandEvent&) {
  if (entry_ != nullptr) {
    XAlphaConfirmation confirmation;
    confirmation.buttons = Buttons();
    confirmation.init_text = controls_.Field(kXAlphaInit)->Text();
    confirmation.step_text = controls_.Field(kXAlphaStep)->Text();
    confirmation.pending = pending_.get();
    confirmation.pending_name = pending_name_;
    if (!ConfirmXAlpha(*entry_, confirmation))
      gui::Inform("Not enough memory to keep the X Alpha picture", "Ombrix - Error");
  }
  Close();
}

void XAlphaWindow::OnCancel(wxCommandEvent&) { Close(); }

// The pressed button keeps the state the press gave it; its partner takes the opposite.
void XAlphaWindow::OnPair(wxCommandEvent& event) {
  for (const auto& [pressed, partner] : kPairs)
    if (pressed == event.GetId()) Button(partner)->SetFrame(StateFrame(PartnerOf(Button(pressed)->Frame() == 1)));
}

// Each press inverts the pending picture and its fitted copy, so the area shows the mask as it
// will act.
void XAlphaWindow::OnNegative(wxCommandEvent&) {
  if (pending_) InvertPicture(*pending_);
  if (fitted_) InvertPicture(*fitted_);
  ShowPending();
}

void XAlphaWindow::OnLoad(wxCommandEvent&) {
  std::unique_ptr<Picture> picture =
      OpenPictureDialog(1, nullptr, PictureChooser(), [] { gui::DispatchPendingEvents(); });
  if (!picture) return;
  pending_ = std::move(picture);
  pending_name_ = pending_->SourceText();
  fitted_.reset();
  ShowPending();
  if (Button(kXAlphaNegative)->Frame() == 1) {
    InvertPicture(*pending_);
    if (fitted_) InvertPicture(*fitted_);
    ShowPending();
  }
}

void XAlphaWindow::OnClear(wxCommandEvent&) {
  pending_.reset();
  fitted_.reset();
  ShowPending();
}

void XAlphaWindow::OnReset(wxCommandEvent&) { ShowButtons(ResetXAlphaButtons()); }

void XAlphaWindow::OnHelp(wxCommandEvent&) { OpenMainHelp(session_, kXAlphaHelpTopic); }

void XAlphaWindow::OnDragMouseDown(gui::AniMouseEvent& event) {
  if (event.Button() != 1) return;
  const int field = event.GetId() == kXAlphaInitDrag ? kXAlphaInit : kXAlphaStep;
  drag_.Begin(Button(event.GetId()), {field, DragField::kParameter, kKindPercentage});
}

void XAlphaWindow::OnDragTimer(wxTimerEvent&) { drag_.Tick(); }

void XAlphaWindow::OnClose(wxCloseEvent&) { Close(); }

// F1 is Help and Esc Cancel; Enter moves on as Tab does, and "Init." or "Step" left by either
// shows its text evaluated as a percentage.
void XAlphaWindow::OnCharHook(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  if (key == WXK_ESCAPE) {
    Close();
    return;
  }
  if (key == WXK_F1 && !event.HasAnyModifiers()) {
    OpenMainHelp(session_, kXAlphaHelpTopic);
    return;
  }
  const auto reformat = [this](int id) {
    if (id != kXAlphaInit && id != kXAlphaStep) return;
    controls_.Field(id)->SetText(ReformatLeavingField(kKindPercentage, controls_.Field(id)->Text()));
  };
  if (MoveOnFromField(this, event, reformat)) return;
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(XAlphaWindow, wxDialog)
  EVT_PAINT(XAlphaWindow::OnPaint)
  EVT_BUTTON(kXAlphaConfirm, XAlphaWindow::OnConfirm)
  EVT_BUTTON(kXAlphaCancel, XAlphaWindow::OnCancel)
  EVT_BUTTON(kXAlphaGradual, XAlphaWindow::OnPair)
  EVT_BUTTON(kXAlphaClipMap, XAlphaWindow::OnPair)
  EVT_BUTTON(kXAlphaStretch, XAlphaWindow::OnPair)
  EVT_BUTTON(kXAlphaRepeat, XAlphaWindow::OnPair)
  EVT_BUTTON(kXAlphaNegative, XAlphaWindow::OnNegative)
  EVT_BUTTON(kXAlphaLoad, XAlphaWindow::OnLoad)
  EVT_BUTTON(kXAlphaClear, XAlphaWindow::OnClear)
  EVT_BUTTON(kXAlphaReset, XAlphaWindow::OnReset)
  EVT_BUTTON(kXAlphaHelp, XAlphaWindow::OnHelp)
  EVT_ANI_MOUSE_DOWN_ID(kXAlphaInitDrag, XAlphaWindow::OnDragMouseDown)
  EVT_ANI_MOUSE_DOWN_ID(kXAlphaStepDrag, XAlphaWindow::OnDragMouseDown)
  EVT_TIMER(kDragTimerId, XAlphaWindow::OnDragTimer)
  EVT_CLOSE(XAlphaWindow::OnClose)
  EVT_CHAR_HOOK(XAlphaWindow::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
