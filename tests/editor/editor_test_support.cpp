// Private stores and installations for the editor's tests.
#include "tests/editor/editor_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/settings/installation.h"
#include "editor/model/startup.h"
#include "gui/scripted_dialogs.h"

namespace ombrix::test {

namespace fs = std::filesystem;

std::string FreshDirectory(const std::string& name) {
  const fs::path directory = fs::path(OMBRIX_TEST_OUTPUT_DIR) / "editor" / "work" / name;
  std::error_code error;
  fs::remove_all(directory, error);
  fs::create_directories(directory);
  return directory.string();
}

void UsePrivateStores(const std::string& test_name) {
  setenv("OMBRIX_REGISTRY_DIR", FreshDirectory(test_name + "/registry").c_str(), 1);
  setenv("OMBRIX_CLIPBOARD_DIR", FreshDirectory(test_name + "/clipboard").c_str(), 1);
  fs::permissions(fs::path(std::getenv("OMBRIX_CLIPBOARD_DIR")), fs::perms::owner_all, fs::perm_options::replace);
}

std::string MakeInstallation(const std::string& test_name) {
  const fs::path root = FreshDirectory(test_name + "/install");
  const fs::path stage = OMBRIX_STAGE_DIR;
  fs::create_directories(root / "Programs" / "Temp");
  for (const char* name : {"ombrix-editor", "ombrix-filter.p", "OmOutX.Omw", "Info.Dta", "Ask.Dta", "Work.Dta"})
    fs::create_symlink(stage / "Programs" / name, root / "Programs" / name);
  for (const char* folder : {"Plugins", "UGIO", "Images"}) fs::create_directory_symlink(stage / folder, root / folder);
  fs::create_directories(root / "Help");
  WriteInstallationDefaults(root.string());
  return root.string();
}

std::string TestModule(const char* file_name) { return std::string(OMBRIX_TEST_MODULE_DIR) + "/" + file_name; }

std::string WriteOneFilterScript(const std::string& test_name, const char* filter_name, const std::string& file,
                                 int test_frame) {
  struct QuietView : editor::StartupView {
    void ShowStep(const char*) override {}
    void BuildFilterMenus() override {}
    void ShowInitialState() override {}
    void TestPictureChanged() override {}
    void CloseSplash() override {}
    void ReadColours() override {}
    void ScriptLoaded() override {}
  } view;
  editor::EditorSession probe;
  gui::ScriptedDialogs quiet;
  EXPECT_EQ(editor::RunStartup(probe, view, quiet), editor::StartupResult::kOpen);
  if (filter_name != nullptr) {
    for (int k = 0; k < probe.plugins.Count(); ++k)
      if (std::string(probe.plugins.At(k)->name) == filter_name) probe.chain.SetCurrentFilter(*probe.plugins.At(k));
    EXPECT_STREQ(probe.chain.At(0)->name, filter_name);
  }
  const std::string path = FreshDirectory(test_name + "/scripts") + "/" + file;
  EXPECT_TRUE(probe.chain.Write(path.c_str(), test_frame, probe.header));
  return path;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.good()) << path;
}

}  // namespace ombrix::test
