// The moving filters (Rotate, Flag, Polar Coordinates, Reverse Polar, Zoom, Speed Zoom) with
// combinations the one-change variant sweep does not reach: each background mode together with
// centres, angles, scales and zones that send source points outside the picture, against stored
// digests. Their pixel loops choose a path per background mode and take shortcuts for points
// well inside the picture, so the outside cases of every mode are pinned here.
//
// After an intended change of one of these results, regenerate the stored digests with
//   OMBRIX_UPDATE_DIGESTS=1 build/release/tests/pic/resample_cases_test
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/digest_file.h"
#include "tests/support/test_host.h"

namespace {

using namespace ombrix::testing;

const char* const kDigestFile = OMBRIX_SOURCE_DIR "/tests/pic/resample_digests.txt";

struct Case {
  std::string filter;
  std::string name;
  std::function<void(Entry&)> change;
  std::optional<Corners> zone;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  auto add = [&cases](const std::string& filter, const std::string& name, std::function<void(Entry&)> change,
                      std::optional<Corners> zone = std::nullopt) {
    cases.push_back({filter, name, std::move(change), zone});
  };
  const Corners part{9, 6, 120, 70};
  // Rotate: every background with box and ellipse, angles that are and are not quarter turns.
  for (const int option : {2, 3, 4})
    for (const char* angle : {"45", "-90", "180", "33.7", "-1000"})
      for (const int shape : {7, 8}) {
        const std::string name =
            "option " + std::to_string(option) + " angle " + angle + " shape " + std::to_string(shape);
        add("Rotate", name, [=](Entry& e) {
          e.Select(option).Select(shape).Value(1, "60").Value(2, "30").Value(4, angle).Value(5, "10 200 30");
          e.Value(7, "50").Value(8, "40").Value(9, "35").Value(10, "-25");
        });
        add(
            "Rotate", name + " zone", [=](Entry& e) { e.Select(option).Select(shape).Value(4, angle); }, part);
      }
  // Flag: every background with large waves that leave the picture.
  for (const int option : {1, 2, 3})
    for (const char* amplitude : {"15", "-40", "90"}) {
      const std::string name = "option " + std::to_string(option) + " amplitude " + amplitude;
      add("Flag", name, [=](Entry& e) {
        e.Select(option).Value(1, amplitude).Value(2, amplitude).Value(3, "7").Value(4, "-5").Value(10, "1 2 3");
      });
      add(
          "Flag", name + " zone", [=](Entry& e) { e.Select(option).Value(1, amplitude).Value(5, "13"); }, part);
    }
  // Polar Coordinates and Reverse Polar: every background, centres inside and outside.
  for (const char* filter : {"Polar Coordinates", "Reverse Polar"})
    for (const int option : {1, 2, 3, 4})
      for (const char* centre : {"65 38", "0 0", "-30 200", "130 76"}) {
        const std::string c(centre);
        const std::string x = c.substr(0, c.find(' ')), y = c.substr(c.find(' ') + 1);
        const std::string name = "option " + std::to_string(option) + " centre " + c;
        add(filter, name, [=](Entry& e) { e.Select(option).Value(2, x).Value(3, y).Value(5, "-90"); });
        add(
            filter, name + " turned", [=](Entry& e) { e.Select(option).Value(2, x).Value(3, y).Value(5, "123.4"); },
            part);
      }
  // Zoom: solid and transparent, cleared and kept, scaled and resized, cut-outs inside and across.
  for (const int background : {2, 3})
    for (const int level : {6, 7})
      for (const bool extrapolate : {false, true})
        for (const char* cut : {"10 5 70 40", "100 60 -20 -9"}) {
          const std::string c(cut);
          const std::string name = "options " + std::to_string(background) + " " + std::to_string(level) +
                                   (extrapolate ? " 9" : "") + " cut " + c;
          add("Zoom", name, [=](Entry& e) {
            e.Select(background).Select(level).State(9, extrapolate ? 1 : 0).Value(8, "37 %");
            size_t at = 0;
            for (int slot = 1; slot <= 4; ++slot) {
              const size_t end = c.find(' ', at);
              e.Value(slot, c.substr(at, end - at));
              at = end == std::string::npos ? end : end + 1;
            }
          });
          add(
              "Zoom", name + " zone", [=](Entry& e) { e.Select(background).Select(level).Value(8, "80 %"); }, part);
        }
  // Speed Zoom: every background with copies that shrink and that grow past the picture.
  for (const int option : {2, 3, 4})
    for (const char* scale : {"0.5", "1.7", "4", "0.01"})
      for (const char* steps : {"5", "3"}) {
        const std::string name = "option " + std::to_string(option) + " scale " + scale + " steps " + steps;
        add("Speed Zoom", name,
            [=](Entry& e) { e.Select(option).Value(1, scale).Value(2, steps).Value(4, "9 99 199"); });
        add(
            "Speed Zoom", name + " zone", [=](Entry& e) { e.Select(option).Value(1, scale).Value(2, steps); }, part);
      }
  return cases;
}

TEST(ResampleCases, EveryCombinationMatchesItsStoredDigest) {
  const auto picture = NoisePicture(131, 77, 4242);
  std::map<std::string, std::string> computed;
  TestHost host("ZvPic.Omp");
  ASSERT_TRUE(host.Loaded()) << host.Error();
  for (const Case& c : Cases()) {
    Entry entry = host.MakeEntry(c.filter);
    c.change(entry);
    ApplyCall call;
    call.zone = c.zone;
    const Outcome out = host.Apply(entry, *picture, call);
    computed[DigestKey({c.filter, c.name})] = ResultDigest(out.result, *out.work);
  }

  ExpectDigests(kDigestFile, "filter|case|apply result and digest of WORK on a 131 x 77 noise picture", computed);
}

}  // namespace
