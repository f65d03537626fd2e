// The render procedure over pictures of changing sizes: WORK keeps its block from render to
// render, and every render still starts WORK as a copy of its own picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/picture/picture.h"
#include "core/plugin/plugin_host.h"
#include "core/script/effect_script.h"
#include "core/settings/installation.h"
#include "core/settings/settings.h"
#include "filter/render.h"

namespace {

using namespace ombrix;

class RenderSizes : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/render.XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    setenv("OMBRIX_REGISTRY_DIR", (dir_ + "/registry").c_str(), 1);
    WriteInstallationDefaults(OMBRIX_STAGE_DIR);
    WriteSettingNumber("Options", "ShowProgress", 0);
    WriteSettingText(nullptr, "OmOutDll", OMBRIX_SILENT_PROGRESS_MODULE);
  }
  void TearDown() override { unsetenv("OMBRIX_REGISTRY_DIR"); }

  // A script of Negative over the whole picture, then Negative again over a zone at alpha 50.
  std::string WriteChain() {
    PluginTable table;
    const std::string palette = std::string(OMBRIX_STAGE_DIR) + "/Plugins/ZvPal.Omp";
    EXPECT_TRUE(LoadPluginFile(table, palette.c_str()));
    FilterDescriptor* full = FindDescriptor(table, "Negative", "ZvPal.Omp");
    FilterDescriptor* zone = FindDescriptor(table, "Negative", "ZvPal.Omp");
    EXPECT_NE(full, nullptr);
    EXPECT_NE(zone, nullptr);
    if (full == nullptr || zone == nullptr) return "";
    full->full_screen = 1;
    full->all_frames = zone->all_frames = 1;
    zone->full_screen = 0;
    const int32_t corners[4] = {1, 1, 3, 2};
    std::memcpy(zone->zone, corners, sizeof corners);
    zone->alpha_init = 50;
    const FilterDescriptor* chain[] = {full, zone};
    const std::string path = dir_ + "/Chain.Oms";
    EXPECT_TRUE(WriteScript(path.c_str(), chain, 2, 0, ScriptHeader{dir_, 0, 0}));
    FreeDescriptor(full, true);
    FreeDescriptor(zone, true);
    return path;
  }

  std::string dir_;
};

TEST_F(RenderSizes, EveryRenderStartsFromItsOwnPicture) {
  const std::string script = WriteChain();
  ASSERT_FALSE(script.empty());
  char record[256] = {};
  std::snprintf(record, sizeof record, "%s", script.c_str());
  std::mt19937 rng(7);
  // Larger, smaller and equal sizes in turn: the kept block is reused, outgrown and reused.
  const int sizes[][2] = {{7, 5}, {9, 4}, {7, 5}, {3, 8}, {40, 30}, {7, 5}};
  for (const auto& size : sizes) {
    Picture picture, original;
    ASSERT_TRUE(picture.Create(size[0], size[1]));
    for (int y = 0; y < size[1]; ++y)
      for (int x = 0; x < 3 * size[0]; ++x) picture.Row(y)[x] = uint8_t(rng());
    original.CopyFrom(&picture);
    ASSERT_EQ(engine::RenderCall(record, &picture), 1);
    for (int y = 0; y < size[1]; ++y)
      for (int x = 0; x < size[0]; ++x)
        for (int c = 0; c < 3; ++c) {
          const int v = original.Row(y)[3 * x + c];
          // Inside (1, 1)-(3, 2) the second Negative is mixed in at half strength: the first
          // result n = 255 - v moves halfway toward v, truncated toward n.
          const bool in_zone = x >= 1 && x < 3 && y == 1;
          const int n = 255 - v;
          const int expected =
              in_zone ? n + int(std::trunc((v - n) * 127.5L * static_cast<long double>(1.0f / 255.0f))) : n;
          ASSERT_EQ(picture.Row(y)[3 * x + c], expected) << size[0] << " x " << size[1] << " at " << x << ", " << y;
        }
  }
}

}  // namespace
