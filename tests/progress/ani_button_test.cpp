// The GUI library on a private X server: AniButton's properties, painting and events, edges and
// frames pixel by pixel, icons, clips, text conversion, dialog units and the application start.
#include "gui/ani_button.h"

#include <gtest/gtest.h>
#include <wx/animate.h>
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "gui/frames.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "tests/progress/gui_test_support.h"

namespace {

using namespace ombrix::gui;
using ombrix::test::CaptureWindow;
using ombrix::test::ClickControl;
using ombrix::test::PixelAt;
using ombrix::test::PumpFor;

std::string StagedClip(const char* name) { return std::string(OMBRIX_STAGE_DIR) + "/Programs/" + name; }

// A parent that records what its AniButton reports, through the event table macros.
class RecordingPanel : public wxPanel {
 public:
  explicit RecordingPanel(wxWindow* parent) : wxPanel(parent) {}
  int clicks = 0;
  int downs = 0;
  int moves = 0;
  struct Seen {
    int id = 0, button = 0, shift = 0, x = 0, y = 0;
  };
  Seen last_down;
  Seen last_move;

 private:
  void OnClick(wxCommandEvent&) { ++clicks; }
  void OnDown(AniMouseEvent& event) {
    ++downs;
    last_down = {event.GetId(), event.Button(), event.Shift(), event.X(), event.Y()};
  }
  void OnMove(AniMouseEvent& event) {
    ++moves;
    last_move = {event.GetId(), event.Button(), event.Shift(), event.X(), event.Y()};
  }
  wxDECLARE_EVENT_TABLE();
};

class GuiLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(EnsureGuiApplication()); }

  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "AniButton test", wxPoint(40, 40), wxSize(340, 200));
    panel_ = new RecordingPanel(frame_);
    button_ = new AniButton(panel_, 501, "Cancel", wxPoint(20, 20), wxSize(120, 40));
    frame_->Show();
    PumpFor(100);
  }
  void TearDown() override { delete frame_; }

  wxMouseEvent Mouse(wxEventType type, int x, int y) {
    wxMouseEvent event(type);
    event.SetEventObject(button_);
    event.SetPosition(wxPoint(x, y));
    return event;
  }

  wxFrame* frame_ = nullptr;
  RecordingPanel* panel_ = nullptr;
  AniButton* button_ = nullptr;
};

TEST_F(GuiLibrary, ApplicationStartsOnceAndStays) {
  EXPECT_TRUE(HasGuiApplication());
  EXPECT_TRUE(OwnsGuiApplication());
  wxAppConsole* app = wxAppConsole::GetInstance();
  EXPECT_TRUE(EnsureGuiApplication());
  EXPECT_EQ(wxAppConsole::GetInstance(), app);
}

TEST_F(GuiLibrary, PropertiesKeepWhatWasSetAndShowIt) {
  EXPECT_EQ(button_->Frame(), 1);
  button_->SetFrame(4);
  EXPECT_EQ(button_->Frame(), 4);
  button_->SetBackColour(0x12A0B0C0);  // the top byte is not part of a colour
  EXPECT_EQ(button_->BackColour(), 0xA0B0C0u);
  button_->SetForeColour(0xFFFFFF);
  EXPECT_EQ(button_->ForeColour(), 0xFFFFFFu);
  button_->SetLabel("Yes");
  EXPECT_EQ(button_->GetLabel(), "Yes");

  wxImage shot = CaptureWindow(button_);
  EXPECT_EQ(PixelAt(shot, 1, 1), 0xA0B0C0u);
  button_->SetBackColour(0x203040);
  shot = CaptureWindow(button_);
  EXPECT_EQ(PixelAt(shot, 1, 1), 0x203040u);
  EXPECT_EQ(PixelAt(shot, 118, 38), 0x203040u);
}

TEST_F(GuiLibrary, FrameIndexChoosesThePicture) {
  auto solid = [](unsigned char r, unsigned char g, unsigned char b) {
    wxImage image(8, 8);
    image.SetRGB(wxRect(0, 0, 8, 8), r, g, b);
    return wxBitmap(image);
  };
  button_->SetLabel(wxString());
  button_->SetBackColour(0x808080);
  button_->SetFramePictures({solid(255, 0, 0), solid(0, 0, 255)});
  const int cx = 60;
  const int cy = 20;
  button_->SetFrame(1);
  EXPECT_EQ(PixelAt(CaptureWindow(button_), cx, cy), 0x0000FFu);
  button_->SetFrame(2);
  EXPECT_EQ(PixelAt(CaptureWindow(button_), cx, cy), 0xFF0000u);
  for (const int16_t without_picture : {int16_t{3}, int16_t{0}, int16_t{-1}}) {
    button_->SetFrame(without_picture);
    EXPECT_EQ(PixelAt(CaptureWindow(button_), cx, cy), 0x808080u) << without_picture;
  }
}

TEST_F(GuiLibrary, TextIsDrawnInTheForeColourWhereTheStyleSays) {
  button_->SetBackColour(0xFFFFFF);
  button_->SetForeColour(0x000000);
  button_->SetLabel("MMMM");
  auto first_dark_column = [](const wxImage& image) {
    for (int x = 0; x < image.GetWidth(); ++x) {
      for (int y = 0; y < image.GetHeight(); ++y) {
        if (image.GetRed(x, y) < 100) return x;
      }
    }
    return -1;
  };
  const int centred = first_dark_column(CaptureWindow(button_));
  auto* left = new AniButton(panel_, 502, "MMMM", wxPoint(20, 80), wxSize(120, 40), kAniAlignLeft);
  left->SetBackColour(0xFFFFFF);
  const int at_left = first_dark_column(CaptureWindow(left));
  EXPECT_GT(centred, 15);
  EXPECT_GE(at_left, 0);
  EXPECT_LT(at_left, 6);
}

TEST_F(GuiLibrary, OnePressGivesOneClick) {
  ClickControl(button_);
  EXPECT_EQ(panel_->clicks, 1);
  EXPECT_EQ(panel_->downs, 1);

  // Released outside the control: no press.
  wxMouseEvent down = Mouse(wxEVT_LEFT_DOWN, 10, 10);
  button_->HandleWindowEvent(down);
  wxMouseEvent up_outside = Mouse(wxEVT_LEFT_UP, 200, 10);
  button_->HandleWindowEvent(up_outside);
  EXPECT_EQ(panel_->clicks, 1);
  // A release without a press before it: no press either.
  wxMouseEvent up = Mouse(wxEVT_LEFT_UP, 10, 10);
  button_->HandleWindowEvent(up);
  EXPECT_EQ(panel_->clicks, 1);

  // The real pointer, through the X server.
  wxUIActionSimulator pointer;
  pointer.MouseMove(button_->GetScreenRect().GetPosition() + wxPoint(30, 20));
  pointer.MouseClick();
  for (int i = 0; i < 100 && panel_->clicks < 2; ++i) PumpFor(10);
  EXPECT_EQ(panel_->clicks, 2);
}

TEST_F(GuiLibrary, MouseDownAndMoveReachTheParentWithParameters) {
  wxMouseEvent right = Mouse(wxEVT_RIGHT_DOWN, 3, 4);
  right.SetShiftDown(true);
  right.SetControlDown(true);
  button_->HandleWindowEvent(right);
  EXPECT_EQ(panel_->downs, 1);
  EXPECT_EQ(panel_->last_down.button, 2);
  EXPECT_EQ(panel_->last_down.shift, 3);
  EXPECT_EQ(panel_->last_down.x, 3);
  EXPECT_EQ(panel_->last_down.y, 4);
  EXPECT_EQ(panel_->last_down.id, 501);
  EXPECT_EQ(panel_->clicks, 0);  // only the left button presses

  wxMouseEvent middle = Mouse(wxEVT_MIDDLE_DOWN, 0, 0);
  middle.SetAltDown(true);
  button_->HandleWindowEvent(middle);
  EXPECT_EQ(panel_->last_down.button, 4);
  EXPECT_EQ(panel_->last_down.shift, 4);

  wxMouseEvent drag = Mouse(wxEVT_MOTION, 50, 7);
  drag.SetLeftDown(true);
  button_->HandleWindowEvent(drag);
  EXPECT_EQ(panel_->moves, 1);
  EXPECT_EQ(panel_->last_move.button, 1);
  EXPECT_EQ(panel_->last_move.x, 50);
  EXPECT_EQ(panel_->last_move.y, 7);
}

// Edges and frames, drawn into a picture and read back pixel by pixel.
TEST_F(GuiLibrary, EdgesAndFramesLandOnTheirPixels) {
  wxBitmap bitmap(40, 30, 24);
  wxMemoryDC dc(bitmap);
  FillArea(dc, wxRect(0, 0, 40, 30), 0x0000FF);
  DrawRaisedEdge(dc, wxRect(2, 2, 10, 8), 0x909090);
  DrawSunkenEdge(dc, wxRect(20, 2, 10, 8), 0x909090);
  DrawPanelFrame(dc, wxRect(2, 14, 10, 8), 0x909090);
  ButtonRecord normal = MakeButtonRecord(wxRect(22, 16, 6, 4), 0xA89C9C);
  DrawButtonFrame(dc, normal);
  dc.SelectObject(wxNullBitmap);
  const wxImage image = bitmap.ConvertToImage();
  auto at = [&](int x, int y) { return PixelAt(image, x, y); };

  // Raised: light top and left, dark bottom and right, the colour itself at bottom-left and
  // top-right, the inside untouched.
  EXPECT_EQ(at(2, 2), 0xD0D0D0u);
  EXPECT_EQ(at(6, 2), 0xD0D0D0u);
  EXPECT_EQ(at(2, 5), 0xD0D0D0u);
  EXPECT_EQ(at(11, 5), 0x505050u);
  EXPECT_EQ(at(6, 9), 0x505050u);
  EXPECT_EQ(at(11, 9), 0x505050u);
  EXPECT_EQ(at(2, 9), 0x909090u);
  EXPECT_EQ(at(11, 2), 0x909090u);
  EXPECT_EQ(at(6, 5), 0x0000FFu);
  EXPECT_EQ(at(12, 5), 0x0000FFu);
  // Sunken: the shades swapped.
  EXPECT_EQ(at(20, 2), 0x505050u);
  EXPECT_EQ(at(29, 9), 0xD0D0D0u);
  EXPECT_EQ(at(20, 9), 0x909090u);
  // Panel: black outline, raised edge of the background inside it.
  EXPECT_EQ(at(2, 14), 0x000000u);
  EXPECT_EQ(at(11, 21), 0x000000u);
  EXPECT_EQ(at(3, 15), 0xD0D0D0u);
  EXPECT_EQ(at(10, 20), 0x505050u);
  EXPECT_EQ(at(3, 20), 0x909090u);
  // Button: record one pixel outside the control, black one further out, face inside.
  EXPECT_EQ(normal.rect, wxRect(21, 15, 8, 6));
  EXPECT_EQ(normal.lit, 0xFFD0D0u);
  EXPECT_EQ(at(20, 14), 0x000000u);
  EXPECT_EQ(at(29, 21), 0x000000u);
  EXPECT_EQ(at(21, 15), 0xE8DCDCu);
  EXPECT_EQ(at(28, 20), 0x685C5Cu);
  EXPECT_EQ(at(24, 17), 0xA89C9Cu);

  // Pressed: flat in the lit colour, still inside a black outline.
  ButtonRecord pressed = normal;
  pressed.pressed = true;
  dc.SelectObject(bitmap);
  DrawButtonFrame(dc, pressed);
  dc.SelectObject(wxNullBitmap);
  const wxImage lit = bitmap.ConvertToImage();
  EXPECT_EQ(PixelAt(lit, 21, 15), 0xFFD0D0u);
  EXPECT_EQ(PixelAt(lit, 28, 20), 0xFFD0D0u);
  EXPECT_EQ(PixelAt(lit, 24, 17), 0xFFD0D0u);
  EXPECT_EQ(PixelAt(lit, 20, 14), 0x000000u);
}

TEST_F(GuiLibrary, FallbackIconsAndClips) {
  const std::vector<wxBitmap> icons = FallbackIconPictures(32);
  ASSERT_EQ(icons.size(), 3u);
  for (const wxBitmap& icon : icons) {
    const wxImage image = icon.ConvertToImage();
    EXPECT_EQ(image.GetSize(), wxSize(32, 32));
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.GetAlpha(0, 0), 0);      // transparent corner
    EXPECT_GT(image.GetAlpha(16, 16), 200);  // drawn middle
  }

  // The generated clips decode with the toolkit's own reader and with the control's.
  if (wxImage::FindHandler(wxBITMAP_TYPE_GIF) == nullptr) wxImage::AddHandler(new wxGIFHandler);
  int left = 20;
  for (const char* name : {"Work.Dta", "Ask.Dta", "Info.Dta"}) {
    const std::string path = StagedClip(name);
    EXPECT_GE(wxImage::GetImageCount(path, wxBITMAP_TYPE_GIF), 6) << name;
    wxImage first(path, wxBITMAP_TYPE_GIF);
    EXPECT_EQ(first.GetSize(), wxSize(32, 32)) << name;
    auto* control = new wxAnimationCtrl(panel_, wxID_ANY, wxNullAnimation, wxPoint(left, 70), wxSize(40, 40));
    EXPECT_TRUE(PlayClip(control, path)) << name;
    EXPECT_TRUE(control->IsPlaying()) << name;
    left += 50;
  }
  // The three still icons beside them, for a person to look at.
  for (int16_t frame = 1; frame <= 3; ++frame) {
    auto* icon = new AniButton(panel_, wxID_ANY, wxString(), wxPoint(left, 70), wxSize(40, 40));
    icon->SetBackColour(0x909090);
    icon->SetFramePictures(icons);
    icon->SetFrame(frame);
    left += 50;
  }
  ombrix::test::SaveScreenshot(CaptureWindow(panel_), "clips_and_icons");

  const std::string not_a_clip = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/progress/not_a_clip.Dta";
  std::ofstream(not_a_clip) << "plain text, no picture\n";
  auto* control = new wxAnimationCtrl(panel_, wxID_ANY, wxNullAnimation, wxPoint(20, 120), wxSize(40, 40));
  EXPECT_FALSE(PlayClip(control, ""));
  EXPECT_FALSE(PlayClip(control, StagedClip("Missing.Dta")));
  EXPECT_FALSE(PlayClip(control, not_a_clip));
  EXPECT_FALSE(PlayClip(control, OMBRIX_STAGE_DIR));  // a directory
  EXPECT_FALSE(control->IsPlaying());
}

TEST_F(GuiLibrary, AnsiTextsConvertBothWays) {
  EXPECT_EQ(FromAnsi("\xA7 \xB0 \x80"), wxString(L"\u00A7 \u00B0 \u20AC"));
  EXPECT_EQ(ToAnsi(wxString(L"Caf\u00E9 \u20AC")), "Caf\xE9 \x80");
  EXPECT_EQ(FromAnsi(nullptr), wxString());
  // A byte the code page leaves unassigned does not blank the whole text.
  EXPECT_EQ(FromAnsi("Filter \x81 name"), wxString("Filter ? name"));
}

// clang-format off
wxBEGIN_EVENT_TABLE(RecordingPanel, wxPanel)
  EVT_BUTTON(501, RecordingPanel::OnClick)
  EVT_ANI_MOUSE_DOWN_ID(501, RecordingPanel::OnDown)
  EVT_ANI_MOUSE_MOVE_ID(501, RecordingPanel::OnMove)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace
