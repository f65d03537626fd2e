// The whole loop from the renderer: "ombrix-render --edit EFFECT.Oms" starts ombrix-editor on
// the instance's script and waits; the editor takes the test picture an earlier start left on
// the clipboard and keeps it there while it runs; a test render in the editor shows its
// preview; a value typed into the editor and confirmed comes back into EFFECT.Oms; and the
// picture leaves the clipboard with the instance. The editor runs in a process of its own and
// is driven like a person would, with the pointer and the keyboard of the private X server.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/uiaction.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "core/platform/clipboard.h"
#include "core/platform/files.h"
#include "core/platform/process.h"
#include "core/settings/settings.h"
#include "editor/model/test_picture.h"
#include "gui/gui_app.h"
#include "tests/editor/editor_test_support.h"
#include "tests/editor/x_windows.h"
#include "tests/progress/gui_test_support.h"
#include "tests/progress/screen_reader.h"

namespace {

using namespace ombrix;
namespace fs = std::filesystem;

// The centre of a control of the main window's template, on the screen. The probe has the
// templates' font, so its dialog units are the editor's.
wxPoint ControlCentre(wxWindow* probe, const test::ScreenRect& window, int x, int y, int width, int height) {
  const wxPoint corner = probe->ConvertDialogToPixels(wxPoint(x, y));
  const wxSize size = probe->ConvertDialogToPixels(wxSize(width, height));
  return wxPoint(window.x + corner.x + size.x / 2, window.y + corner.y + size.y / 2);
}

std::optional<test::ScreenRect> WaitForWindow(const std::string& title, platform::Process& process) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  while (std::chrono::steady_clock::now() < end) {
    if (auto found = test::FindXWindow(title)) return found;
    if (process.Wait({}, 0)) return std::nullopt;  // ended before its window showed
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return std::nullopt;
}

TEST(EditFromRender, TheEditorEditsTheEffectAndTheRendererWaitsForIt) {
  ASSERT_TRUE(gui::EnsureGuiApplication());
  test::UsePrivateStores("EditFromRender");
  test::MakeInstallation("EditFromRender");
  WriteSettingNumber("Options", "AskExit", 0);
  const std::string effect = test::FreshDirectory("EditFromRender/effect") + "/Demo.Oms";
  fs::copy_file(std::string(OMBRIX_STAGE_DIR) + "/Samples/Demo.Oms", effect);
  ASSERT_EQ(platform::ReadWholeFile(effect.c_str())->find("TestFrame=5\r\n"), std::string::npos);

  // What an earlier start from this instance left: a small red picture in the clipboard format.
  Picture left;
  ASSERT_TRUE(left.Create(64, 48));
  const uint8_t red[3] = {0, 0, 255};
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) left.SetPixel(x, y, red);
  ASSERT_TRUE(editor::KeepTestPictureOnClipboard(left));

  platform::Process render;
  ASSERT_TRUE(render.Start({std::string(OMBRIX_STAGE_DIR) + "/Programs/ombrix-render", {"--edit", effect}, {}}));
  const auto window = WaitForWindow("Ombrix - v1.0e", render);
  ASSERT_TRUE(window.has_value()) << "the editor's main window did not show";
  test::PumpFor(500);
  EXPECT_FALSE(render.Wait({}, 0)) << "the renderer must wait for the editor";
  {
    const std::unique_ptr<Picture> kept = editor::TakeClipboardTestPicture();
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->Width(), 64);
    EXPECT_EQ(kept->Height(), 48);
  }

  std::vector<uint32_t> pixels;
  ASSERT_TRUE(test::ReadScreen(window->x, window->y, window->width, window->height, pixels));
  wxImage shot(window->width, window->height);
  for (int y = 0; y < window->height; ++y)
    for (int x = 0; x < window->width; ++x) {
      const uint32_t p = pixels[size_t(y) * size_t(window->width) + size_t(x)];
      shot.SetRGB(x, y, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  fs::create_directories(fs::path(OMBRIX_TEST_OUTPUT_DIR) / "editor");
  EXPECT_TRUE(shot.SaveFile((fs::path(OMBRIX_TEST_OUTPUT_DIR) / "editor" / "edit_from_render.png").string(),
                            wxBITMAP_TYPE_PNG));

  // Test Frame field, then the unlabelled confirm button at the lower left. The simulated
  // pointer belongs to a window of this process, kept out of the editor's way.
  auto* probe = new wxDialog(nullptr, wxID_ANY, "probe", wxPoint(900, 700), wxSize(40, 30));
  probe->SetFont(gui::DialogFont());
  probe->Show();
  wxTheApp->SetTopWindow(probe);
  // The main preview area shows the picture found on the clipboard, fitted: red.
  const wxPoint area = ControlCentre(probe, *window, 308, 71, 108, 81);
  std::vector<uint32_t> centre;
  ASSERT_TRUE(test::ReadScreen(area.x, area.y, 1, 1, centre));
  EXPECT_EQ(centre[0] & 0xFFFFFF, 0xFF0000u);
  wxUIActionSimulator person;
  person.MouseMove(ControlCentre(probe, *window, 52, 102, 36, 11));
  person.MouseClick();
  test::PumpFor(300);
  person.Char('5');
  test::PumpFor(300);
  // F9 renders the chain on it in the editor's process and shows the result in the preview.
  person.Char(WXK_F9);
  const auto preview = WaitForWindow("Render (64x48) - Raw Memory", render);
  ASSERT_TRUE(preview.has_value()) << "no preview of the render";
  test::PumpFor(300);
  person.MouseMove(ControlCentre(probe, *preview, 246, 214, 50, 13));  // "Close"
  person.MouseClick();
  test::PumpFor(500);
  EXPECT_FALSE(test::FindXWindow("Render (64x48) - Raw Memory").has_value());
  person.MouseMove(ControlCentre(probe, *window, 4, 199, 44, 13));
  person.MouseClick();
  probe->Destroy();

  ASSERT_TRUE(render.Wait({}, 40000)) << "the renderer did not end after the editor was confirmed";
  EXPECT_TRUE(render.ExitedNormally());
  EXPECT_EQ(render.ExitCode(), 0);
  const std::string edited = *platform::ReadWholeFile(effect.c_str());
  EXPECT_NE(edited.find("TestFrame=5\r\n"), std::string::npos) << edited.substr(0, 200);
  EXPECT_NE(edited.find("nFilter=8\r\n"), std::string::npos);
  EXPECT_NE(edited.find("FilterName=Twirl\r\n"), std::string::npos);
  // The instance is gone, and its test picture with it.
  EXPECT_FALSE(platform::Clipboard::HasFormat(platform::kClipboardTemporaryPicture));
}

}  // namespace
