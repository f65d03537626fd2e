// The test render and the picture views on a private X server: a two-filter chain rendered in
// the main window gives the pixels ombrix-render gives for the same script and frame, and shows
// them in the preview; the preview zooms, saves and goes full screen; "ShowPic" off renders
// without it. Dialogs are answered by the scripted stand-in.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/scrolbar.h>
#include <wx/timer.h>

#include <cstring>
#include <string>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"
#include "core/settings/settings.h"
#include "editor/model/picture_save.h"
#include "editor/windows/full_screen_view.h"
#include "editor/windows/main_window.h"
#include "editor/windows/preview_window.h"
#include "gui/ani_button.h"
#include "gui/masked_edit.h"
#include "tests/editor/editor_gui_support.h"
#include "tests/editor/editor_test_support.h"
#include "tests/progress/gui_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
using test::ClickControl;
using test::PumpFor;

class PreviewTest : public test::EditorWindowTest {
 protected:
  gui::AniButton* Button(int id) { return window_->Controls().Button(id); }
  void Choose(const char* filter) {
    for (int k = 0; k < session_->plugins.Count(); ++k)
      if (std::string(session_->plugins.At(k)->name) == filter) {
        window_->ChooseFilter(k + 1);
        return;
      }
    ADD_FAILURE() << filter;
  }
  // Twirl, its angle growing by 20 degrees a frame, then Mosaic in blocks of 6, tested at
  // frame 3; both over the whole picture.
  void BuildTwoFilterChain() {
    Choose("Twirl");
    ClickControl(Button(kMainFullScreen));
    std::snprintf(session_->chain.At(0)->parameters[8].step, 256, "%s", "20");
    ClickControl(Button(kMainAddFilter));
    Choose("Mosaic");
    if (Button(kMainFullScreen)->Frame() != 1) ClickControl(Button(kMainFullScreen));
    window_->Controls().Field(kMainParameterValue1 + 1)->ChangeValue("6");
    window_->Controls().Field(kMainParameterValue1 + 2)->ChangeValue("6");
    window_->Controls().Field(kTestFrameField)->ChangeValue("3");
  }
  // ombrix-render's output of the script over the installation's test picture.
  wxImage RenderedByTheCommand(const std::string& script) {
    const std::string output = test::FreshDirectory(name_ + "/command") + "/out.png";
    platform::Process process;
    const std::string program = std::string(OMBRIX_STAGE_DIR) + "/Programs/ombrix-render";
    EXPECT_TRUE(process.Start({program, {"--no-progress", script, install_ + "/Images/Back.Bmp", output}, {}}));
    EXPECT_TRUE(process.Wait({}, 60000));
    EXPECT_EQ(process.ExitCode(), 0) << script;
    wxImage image;
    EXPECT_TRUE(image.LoadFile(output, wxBITMAP_TYPE_PNG)) << output;
    return image;
  }
  static bool SamePixels(const Picture& picture, const wxImage& image) {
    if (!image.IsOk() || image.GetWidth() != picture.Width() || image.GetHeight() != picture.Height()) return false;
    const unsigned char* rgb = image.GetData();
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x, rgb += 3) {
        const uint8_t* bgr = picture.Row(y) + 3 * ptrdiff_t(x);
        if (bgr[0] != rgb[2] || bgr[1] != rgb[1] || bgr[2] != rgb[0]) return false;
      }
    return true;
  }
};

TEST_F(PreviewTest, ARenderedChainShowsTheCommandsPixelsInThePreview) {
  Start();
  ASSERT_NE(session_->test_picture, nullptr);
  EXPECT_EQ(Button(kMainPreviewLabel)->GetLabel(), "Original");
  BuildTwoFilterChain();
  ClickControl(Button(kMainRender));
  EXPECT_TRUE(dialogs_->messages.empty()) << dialogs_->messages.front().text;
  EXPECT_EQ(Button(kMainPreviewLabel)->GetLabel(), "Last Render");
  EXPECT_EQ(test::FindTopLevel("Ombrix - Working..."), nullptr);  // the render's progress window closed
  const Picture& render = session_->last_render;
  ASSERT_FALSE(render.IsEmpty());
  EXPECT_STREQ(render.SourceText(), "Render");
  EXPECT_STREQ(render.TypeText(), "Raw Memory");

  // The same chain saved and rendered by the command at the same frame.
  const std::string script = test::FreshDirectory(name_ + "/scripts") + "/two.Oms";
  ASSERT_TRUE(window_->SaveScript(script));
  const wxImage expected = RenderedByTheCommand(script);
  EXPECT_TRUE(SamePixels(render, expected));
  EXPECT_FALSE(SamePixels(*session_->test_picture, expected));

  PreviewWindow* preview = window_->Preview();
  ASSERT_NE(preview, nullptr);
  ASSERT_TRUE(preview->IsShown());
  EXPECT_EQ(preview->Shown(), &render);
  EXPECT_EQ(preview->GetTitle(), "Render (640x480) - Raw Memory");
  EXPECT_FALSE(window_->IsEnabled());
  const gui::TemplateControls& controls = preview->Controls();
  EXPECT_EQ(controls.Button(kPreviewZoomLabel)->GetLabel(), preview->Zoom().Label());
  test::SaveEditorScreenshot(preview, "preview");

  // Zoom In stops at 32:1, where the area shows a part of the picture and scrolls.
  for (int i = 0; i < 8; ++i) ClickControl(controls.Button(kPreviewZoomIn));
  EXPECT_EQ(controls.Button(kPreviewZoomLabel)->GetLabel(), "32:1");
  test::PressKey(preview, WXK_PAGEDOWN);
  test::PressKey(preview, WXK_RIGHT);
  EXPECT_GT(preview->Offset().y, 0);
  EXPECT_GT(preview->Offset().x, 0);
  ClickControl(controls.Button(kPreviewZoomOut));
  EXPECT_EQ(controls.Button(kPreviewZoomLabel)->GetLabel(), "16:1");

  // Save: the bitmap file, the folder remembered, the picture renamed after it.
  const std::string saved = test::FreshDirectory(name_ + "/saved") + "/frame3.bmp";
  dialogs_->AnswerFile(saved);
  ClickControl(controls.Button(kPreviewSave));
  ASSERT_FALSE(dialogs_->files.empty());
  EXPECT_EQ(dialogs_->files.back().title, "Save Picture");
  EXPECT_EQ(ReadSetting(nullptr, kPictureSaveFolder), platform::DirectoryPart(saved));
  wxImage bitmap;
  ASSERT_TRUE(bitmap.LoadFile(saved, wxBITMAP_TYPE_BMP));
  EXPECT_TRUE(SamePixels(render, bitmap));
  EXPECT_EQ(preview->GetTitle(), "frame3.bmp (640x480) - Raw Memory");
  // A file that cannot be written is said so.
  dialogs_->AnswerFile("/no/such/folder/x.bmp");
  ClickControl(controls.Button(kPreviewSave));
  ASSERT_FALSE(dialogs_->messages.empty());
  EXPECT_EQ(dialogs_->messages.back().text, "Cannot save picture\n\"/no/such/folder/x.bmp\".");

  // Close gives the main window back; a press on its preview area opens the render again.
  ClickControl(controls.Button(kPreviewClose));
  EXPECT_FALSE(preview->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  ClickControl(Button(kMainPreviewImage));
  EXPECT_TRUE(preview->IsShown());
  EXPECT_EQ(preview->Shown(), &render);
  test::PressKey(preview, WXK_ESCAPE);
  EXPECT_FALSE(preview->IsShown());
}

TEST_F(PreviewTest, WithShowPicOffTheRenderOpensNoPreview) {
  Start();
  session_->options.show_picture = false;
  BuildTwoFilterChain();
  ClickControl(Button(kMainRender));
  EXPECT_EQ(Button(kMainPreviewLabel)->GetLabel(), "Last Render");
  EXPECT_FALSE(session_->last_render.IsEmpty());
  EXPECT_TRUE(window_->Preview() == nullptr || !window_->Preview()->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
}

// Cancel in the render's progress window stops the render: no preview, the areas unchanged.
TEST_F(PreviewTest, CancelInTheProgressWindowStopsTheRender) {
  Start();
  BuildTwoFilterChain();
  bool pressed = false;
  wxTimer watch;
  watch.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    wxWindow* progress = test::FindTopLevel("Ombrix - Working...");
    if (progress == nullptr || pressed) return;
    constexpr int kProgressCancel = 1008;
    if (wxWindow* cancel = progress->FindWindow(kProgressCancel)) {
      wxCommandEvent press(wxEVT_BUTTON, kProgressCancel);
      press.SetEventObject(cancel);
      cancel->ProcessWindowEvent(press);
      pressed = true;
    }
  });
  watch.Start(5);
  ClickControl(Button(kMainRender));
  watch.Stop();
  ASSERT_TRUE(pressed) << "the progress window never showed";
  EXPECT_EQ(Button(kMainPreviewLabel)->GetLabel(), "Original");
  EXPECT_TRUE(window_->Preview() == nullptr || !window_->Preview()->IsShown());
  EXPECT_TRUE(session_->last_render.IsEmpty());  // the unfinished chain is not kept either
  EXPECT_TRUE(window_->IsEnabled());
}

TEST_F(PreviewTest, RenderSaysWhyItCannotRun) {
  Start();
  ClickControl(Button(kMainRender));
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Nothing to render");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Error");
  Choose("Emboss");
  session_->test_picture.reset();
  window_->RefreshPictures();
  EXPECT_EQ(Button(kMainPreviewLabel)->GetLabel(), "No picture");
  ClickControl(Button(kMainRender));
  EXPECT_EQ(dialogs_->messages.back().text, "There is no test picture.");
  EXPECT_TRUE(session_->last_render.IsEmpty());
}

// A picture larger than the screen: the scroll bars come with the mouse near their edges, and
// the keys go to the ends and page through it.
TEST_F(PreviewTest, TheFullScreenViewScrollsByEdgesAndKeys) {
  Start();
  Picture large;
  ASSERT_TRUE(large.Create(4000, 3000));
  for (int y = 0; y < 3000; y += 7) std::memset(large.Row(y), 200, size_t(3) * 4000);
  large.SetSourceText("/pictures/large.bmp");
  large.SetTypeText("Windows Bitmap");
  bool closed = false;
  window_->ShowPreview(&large, window_, [&closed] { closed = true; });
  PreviewWindow* preview = window_->Preview();
  EXPECT_EQ(preview->GetTitle(), "large.bmp (4000x3000) - Windows Bitmap");
  bool seen = false;
  preview->CallAfter([&] {
    FullScreenView* view = preview->FullScreen();
    ASSERT_NE(view, nullptr);
    seen = true;
    PumpFor(100);
    const wxSize size = view->GetClientSize();
    EXPECT_EQ(view->Offset(), wxPoint(0, 0));
    view->MouseAt({size.x - 10, size.y / 2});
    EXPECT_TRUE(view->VerticalBar()->IsShown());
    EXPECT_FALSE(view->HorizontalBar()->IsShown());
    view->MouseAt({size.x / 2, size.y - 10});
    EXPECT_FALSE(view->VerticalBar()->IsShown());
    EXPECT_TRUE(view->HorizontalBar()->IsShown());
    test::SaveEditorScreenshot(view, "full_screen");
    view->MouseAt({size.x / 2, size.y / 2});
    EXPECT_FALSE(view->HorizontalBar()->IsShown());
    test::PressKey(view, WXK_PAGEDOWN);
    EXPECT_EQ(view->Offset().y, 3000 - size.y);
    test::PressKey(view, WXK_END);
    EXPECT_EQ(view->Offset().x, 4000 - size.x);
    test::PressKey(view, WXK_DOWN);  // already at the bottom: stays within the picture
    EXPECT_EQ(view->Offset().y, 3000 - size.y);
    test::PressKey(view, WXK_HOME);
    test::PressKey(view, WXK_PAGEUP);
    EXPECT_EQ(view->Offset(), wxPoint(0, 0));
    test::PressKey(view, WXK_RIGHT);
    EXPECT_EQ(view->Offset().x, std::min(size.x, 4000 - size.x));
    test::PressKey(view, WXK_ESCAPE);
  });
  ClickControl(preview->Controls().Button(kPreviewFullScreen));
  EXPECT_TRUE(seen);
  EXPECT_EQ(preview->FullScreen(), nullptr);
  EXPECT_TRUE(preview->IsShown());
  ClickControl(preview->Controls().Button(kPreviewClose));
  EXPECT_TRUE(closed);
  EXPECT_EQ(preview->Shown(), nullptr);
}

}  // namespace
