// GUI test helpers.
#include "tests/progress/gui_test_support.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/event.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/progress/screen_reader.h"

namespace ombrix::test {

wxWindow* FindTopLevel(const wxString& title) {
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->IsShown() && window->GetLabel() == title) return window;
  }
  return nullptr;
}

int CountTopLevel(const wxString& title) {
  int count = 0;
  for (wxWindow* window : wxTopLevelWindows) {
    if (window->GetLabel() == title) ++count;
  }
  return count;
}

void PumpFor(int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) {
    if (wxAppConsole::GetInstance() != nullptr) wxAppConsole::GetInstance()->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void ClickControl(wxWindow* control) {
  const wxPoint middle(control->GetClientSize().x / 2, control->GetClientSize().y / 2);
  for (const wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
    wxMouseEvent event(type);
    event.SetEventObject(control);
    event.SetId(control->GetId());
    event.SetPosition(middle);
    event.SetLeftDown(type == wxEVT_LEFT_DOWN);
    control->HandleWindowEvent(event);
  }
}

void PressKey(wxWindow* window, int key_code) {
  wxKeyEvent event(wxEVT_CHAR_HOOK);
  event.m_keyCode = key_code;
  event.SetEventObject(window);
  wxGetTopLevelParent(window)->HandleWindowEvent(event);
}

wxImage CaptureWindow(wxWindow* window) {
  window->Raise();
  window->Refresh();
  PumpFor(300);
  const wxRect rect(window->ClientToScreen(wxPoint(0, 0)), window->GetClientSize());
  wxImage image(rect.GetSize());
  std::vector<uint32_t> pixels;
  if (!ReadScreen(rect.x, rect.y, rect.width, rect.height, pixels)) {
    ADD_FAILURE() << "cannot read the screen";
    return image;
  }
  for (int y = 0; y < rect.height; ++y) {
    for (int x = 0; x < rect.width; ++x) {
      const uint32_t pixel = pixels[static_cast<size_t>(y) * static_cast<size_t>(rect.width) + static_cast<size_t>(x)];
      image.SetRGB(x, y, static_cast<unsigned char>(pixel >> 16), static_cast<unsigned char>(pixel >> 8),
                   static_cast<unsigned char>(pixel));
    }
  }
  return image;
}

std::string SaveScreenshot(const wxImage& image, const std::string& name) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  const std::filesystem::path directory = std::filesystem::path(OMBRIX_TEST_OUTPUT_DIR) / "progress";
  std::filesystem::create_directories(directory);
  std::string path = (directory / (name + ".png")).string();
  EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG)) << path;
  return path;
}

uint32_t PixelAt(const wxImage& image, int x, int y) {
  return static_cast<uint32_t>(image.GetRed(x, y)) | static_cast<uint32_t>(image.GetGreen(x, y)) << 8 |
         static_cast<uint32_t>(image.GetBlue(x, y)) << 16;
}

void UsePrivateSettings(const std::string& test_name) {
  const std::filesystem::path directory =
      std::filesystem::path(OMBRIX_TEST_OUTPUT_DIR) / "progress" / "registry" / test_name;
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  setenv("OMBRIX_REGISTRY_DIR", directory.c_str(), 1);
}

}  // namespace ombrix::test
