// The image-filter module through the renderer's interface, driven by the same host class as
// ombrix-render: servers and activation, instance script files, scene text, copies, frame
// processing with alpha, the monitor, and the options interface that starts the editor.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/settings/settings.h"
#include "tools/ombrix-render/lightwave_host.h"

// The test program plays a GUI renderer: the module pumps its events while it waits.
int g_pumped = 0;
extern "C" __attribute__((visibility("default"))) void Ombrix_Event_Pump() { ++g_pumped; }

namespace {

using namespace ombrix;
using namespace ombrix::render;

const std::string kStage = OMBRIX_STAGE_DIR;

class BindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/binding.XXXXXX";
    install_ = platform::MakeTemporaryDirectory(pattern);
    ASSERT_FALSE(install_.empty());
    temp_ = install_ + "/Programs/Temp";
    ASSERT_TRUE(platform::MakeDirectories(temp_.c_str()));
    setenv("OMBRIX_REGISTRY_DIR", (install_ + "/registry").c_str(), 1);
    setenv("OMBRIX_CLIPBOARD_DIR", (install_ + "/clipboard").c_str(), 1);
    WriteSettingText(nullptr, "InstallDir", install_.c_str());
    WriteSettingText(nullptr, "OmOutDll", (std::string(TEST_MODULE_DIR) + "/FakeOmOut.Omw").c_str());
    const std::string pal = kStage + "/Plugins/ZvPal.Omp";
    WriteSettingNumber("Plug-ins", "N_Plug", 1);
    WriteSettingText("Plug-ins", "Plug-in_0", pal.c_str());
    WriteSettingText("References", "ZvPal.Omp", pal.c_str());
    std::string error;
    ASSERT_TRUE(host_.Open(kStage + "/Programs/ombrix-filter.p", error)) << error;
    ASSERT_TRUE(host_.ActivateHandler(error)) << error;
  }

  // A script with one full-screen Negative, as scene texts.
  static std::vector<std::string> NegativeScene() {
    return SceneTextsFromScript(
        "1\r\n[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=1\r\n\tTestFrame=0\r\n\r\n"
        "[Filter_0]\r\n\tDllName=ZvPal.Omp\r\n\tFilterName=Negative\r\n\tFullScreen=1\r\n\tAllFrames=1\r\n\r\n");
  }

  static Frame TwoByTwo() {
    Frame f;
    f.Resize(2, 2);
    f.has_alpha = true;
    for (int i = 0; i < 4; ++i) f.red[size_t(i)] = uint8_t(10 * i), f.green[size_t(i)] = 100, f.blue[size_t(i)] = 200;
    f.alpha = {1, 2, 10, 20};
    return f;
  }

  std::string install_, temp_;
  LightWaveHost host_;
};

TEST_F(BindingTest, ActivationChecksTheVersion) {
  EXPECT_EQ(host_.ActivateHandlerVersion(2), 1);
  LWInstance instance = host_.Create();
  EXPECT_EQ(host_.ActivateInterface(instance, 2), 1);
  host_.Destroy(instance);
}

TEST_F(BindingTest, InstancesTakeTheFirstFreeScriptName) {
  ASSERT_TRUE(platform::ReplaceFileAtomically((temp_ + "/Script0.Oms").c_str(), "x"));
  ASSERT_TRUE(platform::ReplaceFileAtomically((temp_ + "/Script1.Oms").c_str(), "x"));
  LWInstance instance = host_.Create();
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(instance)), temp_ + "/Script2.Oms");
  host_.Destroy(instance);
}

TEST_F(BindingTest, InstancesClaimTheirNamesSoNoTwoShareAScript) {
  // Two instances made before either loads a script (two renderers starting together) must not
  // take the same name: each claims its own with an empty file, which counts as no script yet.
  LWInstance a = host_.Create();
  LWInstance b = host_.Create();
  const std::string path_a = static_cast<const char*>(a), path_b = static_cast<const char*>(b);
  EXPECT_EQ(path_a, temp_ + "/Script0.Oms");
  EXPECT_EQ(path_b, temp_ + "/Script1.Oms");
  EXPECT_EQ(platform::ReadWholeFile(path_b.c_str()).value_or("missing"), "");
  Frame f = TwoByTwo();
  ASSERT_TRUE(host_.Process(b, f, 0, {}));
  EXPECT_EQ(f.red[1], 10);  // passed through, no message about an unreadable script
  // A copy gives up the target's unused name.
  host_.LoadScene(a, NegativeScene());
  host_.Copy(a, b);
  EXPECT_FALSE(platform::FileExists(path_b.c_str()));
  host_.Destroy(b);
  host_.Destroy(a);
  EXPECT_FALSE(platform::FileExists(path_a.c_str()));
}

TEST_F(BindingTest, SceneTextRoundTripKeepsCarriageReturns) {
  LWInstance instance = host_.Create();
  const std::string path = static_cast<const char*>(instance);
  EXPECT_EQ(host_.LoadScene(instance, {"first\r", "second", "third\r", "- \xA7 -", "never written"}), "");
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()).value_or(""), "first\r\nsecond\nthird\r\n");
  const std::vector<std::string> texts = host_.SaveScene(instance);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "first\r");
  EXPECT_EQ(texts[3], "- \xA7 -");

  // Without the end line the load stops at the end of the host's data.
  host_.LoadScene(instance, {"only", "lines"});
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()).value_or(""), "only\nlines\n");

  // An end line after a line feed inside a text ends the scene there, as it would end the next
  // load of the saved scene: what is saved loads back to the same file.
  host_.LoadScene(instance, {"kept\n- \xA7 -\nlost", "lost too"});
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()).value_or(""), "kept\n");
  host_.LoadScene(instance, host_.SaveScene(instance));
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()).value_or(""), "kept\n");
  host_.Destroy(instance);
  EXPECT_FALSE(platform::FileExists(path.c_str()));
}

TEST_F(BindingTest, TheHostLearnsWhetherAFrameGotTheWholeEffect) {
  LWInstance instance = host_.Create();
  Frame f = TwoByTwo();
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_NE(host_.FrameFailure(instance).find("no script"), std::string::npos);

  host_.LoadScene(instance, NegativeScene());
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_EQ(host_.FrameFailure(instance), "");

  // A filter no plug-in offers is dropped by the reader: the frame lacks it.
  std::vector<std::string> scene = NegativeScene();
  for (std::string& text : scene)
    if (text.rfind("\tFilterName=", 0) == 0) text = "\tFilterName=Negativ\r";
  host_.LoadScene(instance, scene);
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_EQ(host_.FrameFailure(instance), "Unknown filter \"Negativ\" of ZvPal.Omp");

  // Bytes that are no script at all.
  host_.LoadScene(instance, {"\x01\x02 not a script"});
  f = TwoByTwo();
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_EQ(f.red[1], 10);
  EXPECT_EQ(host_.FrameFailure(instance).rfind("Cannot open Script", 0), 0u) << host_.FrameFailure(instance);
  host_.Destroy(instance);
}

TEST_F(BindingTest, AScriptThatCannotBeWrittenLeavesTheSceneUnread) {
  LWInstance instance = host_.Create();
  const std::string path = static_cast<const char*>(instance);
  host_.LoadScene(instance, NegativeScene());
  // The folder goes away and a file takes its name: the script can be made neither there nor
  // in its place.
  ASSERT_TRUE(platform::RemoveFile(path.c_str()));
  ASSERT_TRUE(platform::RemoveDirectory(temp_.c_str()));
  ASSERT_TRUE(platform::ReplaceFileAtomically(temp_.c_str(), "not a folder"));
  const std::vector<std::string> scene = NegativeScene();
  const std::string error = host_.LoadScene(instance, scene);
  EXPECT_NE(error.find("cannot write the script \"" + path + "\""), std::string::npos) << error;
  EXPECT_EQ(host_.SceneTextsRead(), 0u);
  Frame f = TwoByTwo();
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_EQ(f.red[1], 10);
  EXPECT_NE(host_.FrameFailure(instance).find("cannot write the script"), std::string::npos);
  host_.Destroy(instance);
  ASSERT_TRUE(platform::RemoveFile(temp_.c_str()));
}

TEST_F(BindingTest, AnInstallationThatCannotBeWrittenGivesScriptsAPerUserFolder) {
  // The installation's temporary folder is taken by a file: the per-user folder stands in.
  ASSERT_TRUE(platform::RemoveDirectory(temp_.c_str()));
  ASSERT_TRUE(platform::ReplaceFileAtomically(temp_.c_str(), "not a folder"));
  setenv("XDG_CACHE_HOME", (install_ + "/cache").c_str(), 1);
  LWInstance instance = host_.Create();
  const std::string path = static_cast<const char*>(instance);
  EXPECT_EQ(path, install_ + "/cache/zorvex/ombrix/Temp/Script0.Oms");
  struct stat st {};
  ASSERT_EQ(stat((install_ + "/cache/zorvex/ombrix/Temp").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(host_.LoadScene(instance, NegativeScene()), "");
  Frame f = TwoByTwo();
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_EQ(f.red[1], 255 - 10);
  EXPECT_EQ(host_.FrameFailure(instance), "");
  host_.Destroy(instance);
  EXPECT_FALSE(platform::FileExists(path.c_str()));
  unsetenv("XDG_CACHE_HOME");
  ASSERT_TRUE(platform::RemoveFile(temp_.c_str()));
}

TEST_F(BindingTest, CopiesShareOneScriptFile) {
  LWInstance a = host_.Create();
  LWInstance b = host_.Create();
  host_.LoadScene(a, NegativeScene());
  host_.Copy(a, b);
  const std::string path = static_cast<const char*>(b);
  EXPECT_EQ(path, std::string(static_cast<const char*>(a)));
  EXPECT_TRUE(platform::FileExists(path.c_str()));
  host_.Destroy(b);
  EXPECT_FALSE(platform::FileExists(path.c_str()));
  // The other instance has lost its script and passes frames through.
  Frame f = TwoByTwo();
  ASSERT_TRUE(host_.Process(a, f, 0, {}));
  EXPECT_EQ(f.red[1], 10);
  host_.Destroy(a);
}

TEST_F(BindingTest, FramesKeepTheirAlpha) {
  LWInstance instance = host_.Create();
  Frame f = TwoByTwo();
  // No script yet: pass-through.
  ASSERT_TRUE(host_.Process(instance, f, 0, {}));
  EXPECT_EQ(f.red[3], 30);
  host_.LoadScene(instance, NegativeScene());
  std::vector<uint32_t> steps;
  ASSERT_TRUE(host_.Process(instance, f, 0, [&](uint32_t done, uint32_t total) {
    steps.push_back(total * 1000 + done);
    return true;
  }));
  EXPECT_EQ(f.red[3], 255 - 30);
  EXPECT_EQ(f.green[0], 155);
  EXPECT_EQ(f.blue[2], 55);
  EXPECT_EQ(f.alpha, (std::vector<uint8_t>{1, 2, 10, 20}));
  // The monitor counts 2 x height steps: reading, then writing back.
  EXPECT_EQ(steps, (std::vector<uint32_t>{4001, 4002, 4003, 4004}));
  host_.Destroy(instance);
}

TEST_F(BindingTest, AbortWhileReadingLeavesTheFrame) {
  LWInstance instance = host_.Create();
  host_.LoadScene(instance, NegativeScene());
  Frame f = TwoByTwo();
  EXPECT_FALSE(host_.Process(instance, f, 0, [](uint32_t, uint32_t) { return false; }));
  EXPECT_EQ(f.red[3], 30);
  // Aborted in the write-back after the first row: that row carries the effect, the rest not.
  Frame g = TwoByTwo();
  EXPECT_FALSE(host_.Process(instance, g, 0, [](uint32_t done, uint32_t) { return done < 3; }));
  EXPECT_EQ(g.red[1], 255 - 10);
  EXPECT_EQ(g.red[3], 30);
  host_.Destroy(instance);
}

TEST_F(BindingTest, InterfaceStartsTheEditorOnTheScriptAndWaits) {
  LWInstance instance = host_.Create();
  host_.LoadScene(instance, NegativeScene());
  const std::string script = static_cast<const char*>(instance);
  const std::string editor = install_ + "/Programs/ombrix-editor";
  const std::string record = install_ + "/editor-arguments";

  // Missing editor: the renderer's error message, then -1; without the global, 2.
  EXPECT_EQ(host_.ActivateInterface(instance), -1);
  ASSERT_FALSE(host_.Messages().empty());
  EXPECT_EQ(host_.Messages().back(), "Cannot find file " + editor);
  LightWaveHost::OfferMessages(false);
  EXPECT_EQ(host_.ActivateInterface(instance), 2);
  LightWaveHost::OfferMessages(true);

  // A stand-in editor that records its arguments and edits the script in place.
  ASSERT_TRUE(platform::ReplaceFileAtomically(
      editor.c_str(), "#!/bin/sh\nsleep 0.2\nprintf '%s|' \"$@\" > '" + record + "'\nprintf 'edited\\n' >> \"$1\"\n"));
  ASSERT_EQ(chmod(editor.c_str(), 0755), 0);
  g_pumped = 0;
  EXPECT_EQ(host_.ActivateInterface(instance), 0);
  EXPECT_EQ(platform::ReadWholeFile(record.c_str()).value_or(""), script + "|");
  EXPECT_GT(g_pumped, 0);  // the renderer's windows were kept alive while the editor ran
  const std::vector<std::string> texts = host_.SaveScene(instance);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "edited");
  host_.Destroy(instance);
}

}  // namespace
