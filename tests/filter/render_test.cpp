// The render procedure end to end: the staged ombrix-filter.p applies scripts through
// Ombrix_Render_Proc, with a registry of the test's own, a stand-in progress module that
// records every call, the staged palette plug-in and a counting test module.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/import/picture_writers.h"
#include "core/picture/picture.h"
#include "core/platform/files.h"
#include "core/plugin/plugin_host.h"
#include "core/script/effect_script.h"
#include "core/settings/settings.h"

// The file dialog of a GUI host: records where it was asked to start, and is cancelled.
static std::vector<std::string> g_proposed;
extern "C" __attribute__((visibility("default"))) int Ombrix_File_Dialog_Handler(const char*, const char*,
                                                                                 const char* proposed, char*, int) {
  g_proposed.emplace_back(proposed != nullptr ? proposed : "");
  return 0;
}

namespace {

using namespace ombrix;

const std::string kStage = OMBRIX_STAGE_DIR;
const std::string kModules = TEST_MODULE_DIR;

struct CountRecord {
  int initialise, release, applies;
  ApplyContext last;
  float values[16];
  int16_t states[16];
  char value_text[5][256];
  int stop_answer;
};

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/render.XXXXXX";
    dir_ = platform::MakeTemporaryDirectory(pattern);
    ASSERT_FALSE(dir_.empty());
    setenv("OMBRIX_REGISTRY_DIR", (dir_ + "/registry").c_str(), 1);
    setenv("OMBRIX_CLIPBOARD_DIR", (dir_ + "/clipboard").c_str(), 1);
    count_path_ = kModules + "/CountFx.Omp";
    omout_path_ = kModules + "/FakeOmOut.Omw";
    // Our own handles keep both modules loaded across the engine's unloads, so their records last.
    count_ = dlopen(count_path_.c_str(), RTLD_NOW);
    omout_ = dlopen(omout_path_.c_str(), RTLD_NOW);
    ASSERT_NE(count_, nullptr) << dlerror();
    ASSERT_NE(omout_, nullptr) << dlerror();
    record_ = static_cast<CountRecord*>(
        const_cast<void*>(reinterpret_cast<const void* (*)()>(dlsym(count_, "CountFx_Record"))()));
    omout_log_ = reinterpret_cast<const char* (*)()>(dlsym(omout_, "FakeOmOut_Log"));
    omout_reset_ = reinterpret_cast<void (*)(int, int, int)>(dlsym(omout_, "FakeOmOut_Reset"));

    WriteSettingText(nullptr, "OmOutDll", omout_path_.c_str());
    const std::string pal = kStage + "/Plugins/ZvPal.Omp";
    const std::string oom = kModules + "/OomFx.Omp";
    WriteSettingNumber("Plug-ins", "N_Plug", 3);
    WriteSettingText("Plug-ins", "Plug-in_0", pal.c_str());
    WriteSettingText("Plug-ins", "Plug-in_1", count_path_.c_str());
    WriteSettingText("Plug-ins", "Plug-in_2", oom.c_str());
    WriteSettingText("References", "ZvPal.Omp", pal.c_str());
    WriteSettingText("References", "CountFx.Omp", count_path_.c_str());
    WriteSettingText("References", "OomFx.Omp", oom.c_str());
    WriteSettingNumber("Options", "ShowProgress", 1);
    ASSERT_EQ(LoadPluginFile(table_, pal.c_str()), 1);
    ASSERT_EQ(LoadPluginFile(table_, count_path_.c_str()), 1);
    ASSERT_EQ(LoadPluginFile(table_, oom.c_str()), 1);

    engine_ = dlopen((kStage + "/Programs/ombrix-filter.p").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(engine_, nullptr) << dlerror();
    render_ = reinterpret_cast<int32_t (*)(const char*, const void*, Picture*)>(dlsym(engine_, "Ombrix_Render_Proc"));
    ASSERT_NE(render_, nullptr);
  }

  void TearDown() override {
    for (FilterDescriptor* e : entries_) FreeDescriptor(e, true);
  }

  FilterDescriptor* Add(const char* name, const char* file) {
    FilterDescriptor* e = FindDescriptor(table_, name, file);
    EXPECT_NE(e, nullptr) << name;
    e->start_frame = 0;
    e->end_frame = 100;
    entries_.push_back(e);
    return e;
  }

  // Writes the chain as a script and renders it over picture; returns the render's result.
  int Render(Picture& picture, int test_frame, int based_width = 640, int based_height = 480) {
    ScriptHeader header;
    header.content_directory = dir_ + "/";
    header.based_width = based_width;
    header.based_height = based_height;
    const std::string script = dir_ + "/chain.Oms";
    EXPECT_EQ(WriteScript(script.c_str(), entries_.data(), int(entries_.size()), test_frame, header), 1);
    record_->initialise = record_->release = record_->applies = 0;
    omout_reset_(stop_bar_, stop_after_, question_answer_);
    char path[256] = {};
    std::snprintf(path, sizeof path, "%s", script.c_str());
    return render_("Zorvex\xA7Ombrix", path, &picture);
  }

  static void Noise(Picture& p, int w, int h) {
    ASSERT_TRUE(p.Create(w, h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < 3 * w; ++x) p.Row(y)[x] = uint8_t((x * 7 + y * 13) % 251);
  }

  std::string Log() const { return omout_log_(); }

  std::string dir_, count_path_, omout_path_;
  void* count_ = nullptr;
  void* omout_ = nullptr;
  void* engine_ = nullptr;
  CountRecord* record_ = nullptr;
  const char* (*omout_log_)() = nullptr;
  void (*omout_reset_)(int, int, int) = nullptr;
  int stop_after_ = 0;
  int32_t (*render_)(const char*, const void*, Picture*) = nullptr;
  PluginTable table_;
  std::vector<FilterDescriptor*> entries_;
  int stop_bar_ = 0;
  int question_answer_ = 0;
};

// A missing file the user agrees to replace: the dialog starts in the script's own content
// folder (not the settings' one) for a relative name, and at the name itself for an absolute
// path. Left missing, it makes the render a failure the renderer's binding reports.
TEST_F(RenderTest, MissingFilesAreProposedInTheScriptsFolder) {
  WriteSettingText("Options", "ContentDirectory", "/settings-folder/");
  question_answer_ = 1;
  FilterDescriptor* e = Add("Count", "CountFx.Omp");
  std::snprintf(e->xalpha->picture_path, sizeof e->xalpha->picture_path, "%s", "missing.png");
  FilterDescriptor* f = Add("Count", "CountFx.Omp");
  std::snprintf(f->xalpha->picture_path, sizeof f->xalpha->picture_path, "%s", "/elsewhere/gone.png");
  g_proposed.clear();
  Picture p;
  Noise(p, 4, 4);
  Render(p, 0);
  ASSERT_EQ(g_proposed.size(), 2u);
  EXPECT_EQ(g_proposed[0], dir_ + "/missing.png");
  EXPECT_EQ(g_proposed[1], "/elsewhere/gone.png");
}

TEST_F(RenderTest, FrameRangesAndTestFrame) {
  FilterDescriptor* e = Add("Count", "CountFx.Omp");
  e->start_frame = 10;
  e->end_frame = 20;
  Picture p;
  Noise(p, 8, 8);
  EXPECT_EQ(Render(p, 9), 1);
  EXPECT_EQ(record_->applies, 0);
  EXPECT_EQ(Render(p, 10), 1);
  EXPECT_EQ(record_->applies, 1);
  EXPECT_EQ(record_->last.frame_offset, 0);
  EXPECT_EQ(Render(p, 21), 1);
  EXPECT_EQ(record_->applies, 0);
  e->all_frames = 1;
  EXPECT_EQ(Render(p, 500), 1);
  EXPECT_EQ(record_->applies, 1);
  EXPECT_EQ(record_->last.frame_offset, 490);
}

TEST_F(RenderTest, AlphaZeroReplacesTheZoneAndAlphaHundredSkipsTheFilter) {
  FilterDescriptor* e = Add("Negative", "ZvPal.Omp");
  e->zone[0] = 2, e->zone[1] = 1, e->zone[2] = 6, e->zone[3] = 5;
  Picture p, before;
  Noise(p, 9, 7);
  before.CopyFrom(&p);
  ASSERT_EQ(Render(p, 0), 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x)
      for (int c = 0; c < 3; ++c) {
        const bool inside = x >= 2 && x < 6 && y >= 1 && y < 5;
        const int old = before.Row(y)[3 * x + c];
        ASSERT_EQ(p.Row(y)[3 * x + c], inside ? 255 - old : old) << x << "," << y;
      }

  entries_.clear();
  FreeDescriptor(e, true);
  FilterDescriptor* hidden = Add("Count", "CountFx.Omp");
  hidden->full_screen = 1;
  hidden->alpha_init = 100;
  Picture q;
  Noise(q, 4, 4);
  before.CopyFrom(&q);
  ASSERT_EQ(Render(q, 0), 1);
  EXPECT_EQ(record_->applies, 0);
  EXPECT_EQ(std::memcmp(q.Bits(), before.Bits(), size_t(q.Stride()) * 4), 0);
}

TEST_F(RenderTest, ZoneStepsProportionalScalingAndValues) {
  FilterDescriptor* e = Add("Count", "CountFx.Omp");
  e->zone[2] = 10, e->zone[3] = 10;
  e->zone_step[0] = 1, e->zone_step[2] = 1;
  Picture p;
  Noise(p, 32, 16);
  ASSERT_EQ(Render(p, 5), 1);
  EXPECT_EQ(record_->last.x0, 5);
  EXPECT_EQ(record_->last.y0, 0);
  EXPECT_EQ(record_->last.x1, 15);
  EXPECT_EQ(record_->last.y1, 10);
  EXPECT_FLOAT_EQ(record_->values[1], 4.5f);    // "2" + 5 * "0.5"
  EXPECT_FLOAT_EQ(record_->values[2], 10.0f);   // "10 %" with step "0 %"
  EXPECT_FLOAT_EQ(record_->values[3], 320.0f);  // not proportional: as written
  EXPECT_EQ(record_->states[1], 1);
  EXPECT_EQ(record_->states[2], 0);
  // The unfound picture file was joined to the content directory.
  EXPECT_EQ(std::string(record_->value_text[4]), dir_ + "/(none)");

  // Proportional: x1 320 of a 640 base on a 1280-wide frame is 640; kind 5 scales too.
  e->zone[0] = 0, e->zone[2] = 320, e->zone[3] = 240;
  e->zone_step[0] = e->zone_step[2] = 0;
  e->proportional = 1;
  Picture wide;
  ASSERT_TRUE(wide.Create(1280, 960));
  ASSERT_EQ(Render(wide, 0), 1);
  EXPECT_EQ(record_->last.x1, 640);
  EXPECT_EQ(record_->last.y1, 480);
  EXPECT_FLOAT_EQ(record_->values[3], 640.0f);
}

TEST_F(RenderTest, CancelStopsTheChainAndKeepsEarlierResults) {
  FilterDescriptor* negative = Add("Negative", "ZvPal.Omp");
  negative->full_screen = 1;
  Add("Count", "CountFx.Omp")->full_screen = 1;
  Picture p, before;
  Noise(p, 12, 12);
  before.CopyFrom(&p);
  stop_bar_ = 2;  // the first StepProgress of a filter says stop
  // The chain's own "update 2 0" stops first, before any filter: nothing applied, and the
  // result says it was cancelled.
  EXPECT_EQ(Render(p, 0), 0);
  EXPECT_EQ(std::memcmp(p.Bits(), before.Bits(), size_t(p.Stride()) * 12), 0);

  // The chain's update before Count and Negative's own steps go on (bar 2: chain 0, Negative 0
  // and 10, chain 0); Count's first step is refused: result 0, Negative's result stays.
  stop_after_ = 4;
  ASSERT_EQ(Render(p, 0), 0);
  EXPECT_EQ(record_->applies, 1);
  EXPECT_EQ(record_->stop_answer, 0);
  EXPECT_EQ(p.Row(3)[5], 255 - before.Row(3)[5]);
  EXPECT_NE(Log().find("close"), std::string::npos);
}

// Memory that runs out inside a filter fails that filter's apply, as the module reports it; the
// chain stops there and keeps what came before, and the host goes on living.
TEST_F(RenderTest, AFilterOutOfMemoryFailsItsApplyOnly) {
  Add("Negative", "ZvPal.Omp")->full_screen = 1;
  Add("Out Of Memory", "OomFx.Omp")->full_screen = 1;
  Add("Negative", "ZvPal.Omp")->full_screen = 1;
  Picture p, before;
  Noise(p, 9, 7);
  before.CopyFrom(&p);
  ASSERT_EQ(Render(p, 0), 1);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 27; ++x) ASSERT_EQ(p.Row(y)[x], 255 - before.Row(y)[x]) << x << ", " << y;
}

// A module that lets an exception out of its entry ends the render, not the host: the result is
// 0, the filters before it stay applied, the progress window closes and the next render runs.
TEST_F(RenderTest, AnExceptionFromAModuleEndsTheRenderOnly) {
  Add("Negative", "ZvPal.Omp")->full_screen = 1;
  Add("Unguarded Throw", "OomFx.Omp")->full_screen = 1;
  Picture p, before;
  Noise(p, 9, 7);
  before.CopyFrom(&p);
  ASSERT_EQ(Render(p, 0), 0);
  EXPECT_EQ(p.Row(2)[4], 255 - before.Row(2)[4]);
  EXPECT_NE(Log().find("close"), std::string::npos);

  for (FilterDescriptor* e : entries_) FreeDescriptor(e, true);
  entries_.clear();
  Add("Negative", "ZvPal.Omp")->full_screen = 1;
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_EQ(std::memcmp(p.Bits(), before.Bits(), size_t(p.Stride()) * 7), 0);
}

TEST_F(RenderTest, ProgressCallingOrder) {
  Add("Negative", "ZvPal.Omp")->full_screen = 1;
  Picture p;
  Noise(p, 20, 20);
  ASSERT_EQ(Render(p, 7), 1);
  const std::string log = Log();
  const std::vector<std::string> expected = {
      "open 0 flag 0",
      "range 1 0 1",
      "message \"Ombrix Working - Frame 7 ...\" \"Loading filters...\" (null) (null)",
      "range 1 0 2",
      "message (null) \"Total work (1/1)\" (null) (null)",
      "update 1 1",
      "message (null) (null) \"Applying \"Negative\"...\" \"Applying \"Negative\"...\"",
      "update 2 0",
      "range 2 0 20",
      "update 2 0",
      "update 2 10",
      "update 1 2",
      "close",
  };
  size_t at = 0;
  for (const std::string& line : expected) {
    const size_t found = log.find(line + "\n", at);
    ASSERT_NE(found, std::string::npos) << "missing in order: " << line << "\n" << log;
    at = found + line.size();
  }
}

TEST_F(RenderTest, ModulesLoadOncePerRenderAndFailuresAreReported) {
  for (int i = 0; i < 3; ++i) Add(i == 1 ? "Count Again" : "Count", "CountFx.Omp")->full_screen = 1;
  Picture p;
  Noise(p, 6, 6);
  // The first render also reads every registered module's catalogue; count the second.
  ASSERT_EQ(Render(p, 0), 1);
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_EQ(record_->applies, 3);
  EXPECT_EQ(record_->initialise, 1);
  EXPECT_EQ(record_->release, 1);

  // A module without "References": its entry reports, the chain's later entries are not reached.
  WriteSettingText("References", "CountFx.Omp", "");
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_EQ(record_->applies, 0);
  EXPECT_NE(Log().find("window \"Ombrix - Error\" \"Cannot find path for\n\"CountFx.Omp\".\" 1"), std::string::npos)
      << Log();

  // A module without a filter entry.
  WriteSettingText("References", "CountFx.Omp", (kModules + "/NoEntryFx.Omp").c_str());
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_NE(Log().find("Cannot find plug-in entry point\n\"" + kModules + "/NoEntryFx.Omp\"."), std::string::npos)
      << Log();
}

TEST_F(RenderTest, MissingScriptAndMissingProgressModule) {
  Picture p;
  Noise(p, 4, 4);
  char path[256] = {};
  std::snprintf(path, sizeof path, "%s/no-such.Oms", dir_.c_str());
  omout_reset_(0, 0, 0);
  EXPECT_EQ(render_(nullptr, path, &p), 1);
  EXPECT_NE(Log().find("close"), std::string::npos);  // the window opened for it closes again

  Add("Count", "CountFx.Omp")->full_screen = 1;
  WriteSettingText(nullptr, "OmOutDll", "");
  EXPECT_EQ(Render(p, 0), 1);
  EXPECT_EQ(record_->applies, 0);  // no progress module: nothing rendered
}

TEST_F(RenderTest, ProgressOffUsesMessageWindowsOnly) {
  WriteSettingNumber("Options", "ShowProgress", 0);
  Add("Count", "CountFx.Omp")->full_screen = 1;
  Picture p;
  Noise(p, 6, 6);
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_EQ(record_->applies, 1);
  EXPECT_EQ(record_->stop_answer, 1);
  const std::string log = Log();
  EXPECT_NE(log.find("init-dll"), std::string::npos);
  EXPECT_EQ(log.find("open"), std::string::npos);
  EXPECT_EQ(log.find("update"), std::string::npos);
}

TEST_F(RenderTest, XAlphaMaskFromAPictureFile) {
  // A 2 x 1 mask, black then white, tiled over the picture: as a threshold mask the filtered
  // pixel stays under black and INPUT comes back under white.
  Picture mask;
  ASSERT_TRUE(mask.Create(2, 1));
  const uint8_t white[3] = {255, 255, 255};
  mask.SetPixel(1, 0, white);
  const std::string mask_path = dir_ + "/mask.tga";
  ASSERT_TRUE(WriteTargaFile(mask, mask_path.c_str(), 24));
  FilterDescriptor* e = Add("Negative", "ZvPal.Omp");
  e->full_screen = 1;
  std::snprintf(e->xalpha->picture_path, sizeof e->xalpha->picture_path, "%s", mask_path.c_str());
  e->xalpha->type = 2;
  Picture p, before;
  Noise(p, 6, 3);
  before.CopyFrom(&p);
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_NE(Log().find("Load X Alpha picture \"mask.tga\"..."), std::string::npos) << Log();
  for (int x = 0; x < 6; ++x) {
    const int old = before.Row(1)[size_t(3) * size_t(x)];
    EXPECT_EQ(p.Row(1)[size_t(3) * size_t(x)], x % 2 == 0 ? 255 - old : old) << x;
  }

  // Inverted, the mask swaps the two; a mask that cannot be read leaves the filter unmasked.
  e->xalpha->negative = 1;
  p.CopyFrom(&before);
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_EQ(p.Row(0)[0], before.Row(0)[0]);
  EXPECT_EQ(p.Row(0)[3], 255 - before.Row(0)[3]);
  std::snprintf(e->xalpha->picture_path, sizeof e->xalpha->picture_path, "%s/missing.tga", dir_.c_str());
  p.CopyFrom(&before);
  ASSERT_EQ(Render(p, 0), 1);
  EXPECT_NE(Log().find("\"Cannot open an X Alpha picture\""), std::string::npos) << Log();
  EXPECT_EQ(p.Row(0)[0], 255 - before.Row(0)[0]);
  EXPECT_EQ(p.Row(0)[3], 255 - before.Row(0)[3]);
}

}  // namespace
