// The frame every composition filter shares: its messages and progress, loading the second
// picture from Targa and PNG files, the fallback copy of the WORK zone, a missing converter, and
// stopping between rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/com/com_test_support.h"

namespace com_test {
namespace {

const char* const kFilters[] = {"Compose", "Displace Map", "Combinate ", "Rub"};

// Settings under which each filter changes most pixels of the host picture.
Entry Configured(const std::string& filter, const std::string& path) {
  Entry e = Com().MakeEntry(filter);
  e.Value(1, path);
  if (filter == "Compose") e.Value(4, "25 %").Select(3);
  if (filter == "Displace Map") e.Value(5, "0.5").Value(6, "-0.75").Select(9);
  if (filter == "Combinate ") e.Select(3).Value(2, "1.5");
  if (filter == "Rub") e.Select(2).Select(10).Value(3, "-7");
  return e;
}

class ComFrame : public ComTest {
 protected:
  Outcome Run(const std::string& filter, const std::string& path, const Picture& host, Corners zone = kZone) {
    ApplyCall call;
    call.zone = zone;
    return Com().Apply(Configured(filter, path), host, call);
  }
};

TEST_F(ComFrame, MessagesProgressAndLoadingForEveryFilter) {
  std::filesystem::create_directories(Path("pictures"));
  const std::string path = WriteTarga(*SecondPicture(23, 17, 2), "pictures/logo.tga");
  auto host = HostPicture();
  for (const char* filter : kFilters) {
    SCOPED_TRACE(filter);
    const Outcome loaded = Run(filter, path, *host);
    EXPECT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.info_texts, (std::vector<std::string>{"Loading \"logo.tga\"...", ""}));
    EXPECT_EQ(loaded.show_commands, (std::vector<int32_t>{1}));
    EXPECT_EQ(loaded.starts, (std::vector<std::pair<int32_t, int32_t>>{{3, 29}}));
    EXPECT_EQ(loaded.steps, (std::vector<int32_t>{10, 20}));
    EXPECT_NE(CheckUnchanged(*host, *loaded.work), "");

    // A file that is not there: the name part after either separator, no ShowProgress.
    const Outcome missing = Run(filter, "C:\\Pictures/more\\missing.tga", *host);
    EXPECT_EQ(missing.result, 1);
    EXPECT_EQ(missing.info_texts, (std::vector<std::string>{"Loading \"missing.tga\"...", ""}));
    EXPECT_TRUE(missing.show_commands.empty());
    EXPECT_EQ(Run(filter, "(none)", *host).info_texts, (std::vector<std::string>{"Loading \"(none)\"...", ""}));
  }
}

TEST_F(ComFrame, ZoneOutsideThePictureDoesNothing) {
  auto host = HostPicture();
  for (const char* filter : kFilters) {
    const Outcome out = Run(filter, "(none)", *host, Corners{42, 0, 60, 10});
    EXPECT_EQ(out.result, 1) << filter;
    EXPECT_TRUE(out.info_texts.empty()) << filter;
    EXPECT_TRUE(out.starts.empty()) << filter;
    EXPECT_EQ(CheckUnchanged(*host, *out.work), "") << filter;
  }
}

TEST_F(ComFrame, TargaAndPngSecondPicturesGiveTheSameResult) {
  auto second = SecondPicture(23, 17, 2);
  const std::string targa = WriteTarga(*second, "second.tga");
  const std::string png = WritePng(*second, "second.png");
  auto host = HostPicture();
  for (const char* filter : kFilters) {
    SCOPED_TRACE(filter);
    const Outcome a = Run(filter, targa, *host);
    const Outcome b = Run(filter, png, *host);
    EXPECT_EQ(b.result, 1);
    EXPECT_EQ(b.show_commands, (std::vector<int32_t>{1}));
    EXPECT_EQ(CheckUnchanged(*a.work, *b.work), "");
    EXPECT_NE(CheckUnchanged(*Run(filter, "(none)", *host).work, *b.work), "") << "the PNG was not loaded";
  }
}

TEST_F(ComFrame, FallbackIsTheWorkZoneWithBothEndsInclusive) {
  auto host = HostPicture();
  // Corners (4, 3) and (37, 29), both included: 34 x 27 pixels from WORK, one column and one
  // row more than the zone the filter works on.
  auto copy = MakePicture(34, 27, [&](int x, int y) { return PixelAt(*host, 4 + x, 3 + y); });
  for (Mode mode : {Mode::kNormal, Mode::kStretch, Mode::kRepeat}) {
    Entry e = Com().MakeEntry("Combinate ");
    e.Value(1, "(none)").Select(2).Select(mode == Mode::kNormal ? 8 : mode == Mode::kStretch ? 9 : 10);
    ExpectMatchesReference(e, *host, [&](Bgr p, int x, int y) {
      const Bgr s = ReferenceSecond(*copy, *host, x, y, 0, 0, mode);
      return Bgr{uint8_t(p.blue | s.blue), uint8_t(p.green | s.green), uint8_t(p.red | s.red)};
    });
  }
}

TEST_F(ComFrame, FallbackOfAnUnorderedOversizedZoneIsTheWholePicture) {
  auto host = HostPicture();
  Entry e = Com().MakeEntry("Combinate ");
  e.Value(1, "(none)").Select(6);  // Difference with itself
  ApplyCall call;
  call.zone = Corners{60, 50, -7, -9};
  const Outcome out = Com().Apply(e, *host, call);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckPixels(*host, *out.work, Corners{0, 0, 41, 33}, [](Bgr, int, int) { return Rgb(0, 0, 0); }), "");
}

TEST_F(ComFrame, FallbackCarriesTheExtraPlane) {
  auto host = HostPicture();
  Entry e = Com().MakeEntry("Compose");
  e.Value(1, "(none)").Value(2, "3").Select(3);
  const Outcome plain = Com().Apply(e, *host);
  EXPECT_NE(CheckUnchanged(*host, *plain.work), "");
  // With an extra plane of zeros on WORK, the copy's alpha is 0 everywhere: nothing is laid.
  ASSERT_TRUE(host->AllocExtraPlane());
  const Outcome transparent = Com().Apply(e, *host);
  EXPECT_EQ(transparent.result, 1);
  EXPECT_EQ(CheckUnchanged(*host, *transparent.work), "");
}

TEST_F(ComFrame, EveryFilterStopsAtRowTenAndTheNextCallLoadsAfresh) {
  auto host = HostPicture();
  for (const char* filter : kFilters) {
    SCOPED_TRACE(filter);
    const std::string path = WriteTarga(*SecondPicture(23, 17, 3), "second.tga");
    const Outcome full = Run(filter, path, *host);
    Com().CancelFromRow(10);
    const Outcome stopped = Run(filter, path, *host);
    Com().CancelFromRow(-1);
    EXPECT_EQ(stopped.result, 0);
    EXPECT_EQ(stopped.steps, (std::vector<int32_t>{10}));
    for (int y = 0; y < host->Height(); ++y) {
      const Picture& want = y < 10 ? *full.work : *host;
      for (int x = 0; x < host->Width(); ++x)
        ASSERT_EQ(PixelAt(*stopped.work, x, y), PixelAt(want, x, y)) << "pixel (" << x << ", " << y << ")";
    }
    // The stopped call's picture stays in the filter's slot until the next call releases it
    // and loads again: with the file gone that call works on the fallback copy.
    ASSERT_TRUE(std::filesystem::remove(path));
    const Outcome next = Run(filter, path, *host);
    EXPECT_EQ(next.result, 1);
    EXPECT_TRUE(next.show_commands.empty());
    EXPECT_EQ(CheckUnchanged(*Run(filter, "(none)", *host).work, *next.work), "");
  }
}

TEST_F(ComFrame, MissingConverterShowsItsMessageAndTheFilterFallsBack) {
  // A copy of the module in an installation without UGIO/Im_pp, loaded afresh.
  const std::string stage = Path("stage");
  std::filesystem::create_directories(stage + "/Plugins");
  std::filesystem::copy_file(Com().Path(), stage + "/Plugins/ZvCom.Omp");
  TestHost lonely("ZvCom.Omp", stage);
  ASSERT_TRUE(lonely.Loaded()) << lonely.Error();

  auto host = HostPicture();
  auto second = SecondPicture(23, 17, 2);
  const std::string png = WritePng(*second, "second.png");
  const std::string targa = WriteTarga(*second, "second.tga");
  for (const char* filter : kFilters) {
    SCOPED_TRACE(filter);
    ApplyCall call;
    call.zone = kZone;
    ::testing::internal::CaptureStderr();
    const Outcome out = lonely.Apply(Configured(filter, png), *host, call);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(out.result, 1);
    EXPECT_NE(errors.find("Ombrix - Error: Cannot find UGIO module"), std::string::npos) << errors;
    EXPECT_EQ(CheckUnchanged(*Run(filter, "(none)", *host).work, *out.work), "");
    // Targa files need no converter.
    ::testing::internal::CaptureStderr();
    const Outcome tga = lonely.Apply(Configured(filter, targa), *host, call);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(CheckUnchanged(*Run(filter, targa, *host).work, *tga.work), "");
  }
}

}  // namespace
}  // namespace com_test
