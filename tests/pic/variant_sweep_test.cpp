// The variant sweep: every filter of every staged filter module over a noise picture, with its
// defaults and with variations derived from its catalogue entry (each number halved, doubled and
// negated, each colour and option, steps over frames, a partial zone, second pictures of the
// same and of a smaller size), compared with stored digests. It pins down the branches the
// default sweep does not reach, so that speed work on a filter cannot change its results.
//
// After an intended change of a filter's result, regenerate the stored digests with
//   OMBRIX_UPDATE_DIGESTS=1 build/release/tests/pic/variant_sweep_test
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/import/picture_writers.h"
#include "core/parameter_kinds.h"
#include "tests/support/digest_file.h"
#include "tests/support/test_host.h"

namespace {

using namespace ombrix::testing;
namespace fs = std::filesystem;

const char* const kDigestFile = OMBRIX_SOURCE_DIR "/tests/pic/variant_digests.txt";
constexpr int kWidth = 131;
constexpr int kHeight = 77;

std::string Number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

struct Variant {
  std::string name;
  std::function<void(Entry&)> change;
  ApplyCall call;
};

ApplyCall InZone(Corners zone) {
  ApplyCall call;
  call.zone = zone;
  return call;
}

ApplyCall AtFrame(int32_t offset) {
  ApplyCall call;
  call.frame_offset = offset;
  return call;
}

// The variations of a chain entry (as made from the catalogue). `same_size` and `small` are
// second pictures: every variation but "no picture" and "small picture" gives the file slots the
// same-size one.
std::vector<Variant> VariantsOf(const FilterDescriptor& d, const std::string& same_size, const std::string& small) {
  std::vector<Variant> variants;
  variants.push_back({"defaults", [](Entry&) {}, {}});
  variants.push_back({"zone", [](Entry&) {}, InZone({13, 9, 101, 55})});
  variants.push_back({"reversed zone", [](Entry&) {}, InZone({120, 70, -5, 30})});
  std::vector<int32_t> numbers, files;
  for (int32_t k = 0; k < d.parameter_count; ++k) {
    const ParameterRecord& p = d.parameters[k];
    if (p.name[0] == '\0') continue;
    if (ombrix::HoldsPath(p.kind)) {
      files.push_back(k);
    } else if (p.kind == kKindColour) {
      for (const char* colour : {"200 40 90", "0 255 17"}) {
        variants.push_back(
            {"slot " + std::to_string(k) + " = " + colour, [k, colour](Entry& e) { e.Value(k, colour); }, {}});
      }
    } else {
      numbers.push_back(k);
      const double v = std::strtod(p.value, nullptr);
      for (double changed : {v / 2, v * 2 + 3, -v - 7}) {
        const std::string text = Number(changed);
        variants.push_back({"slot " + std::to_string(k) + " = " + text, [k, text](Entry& e) { e.Value(k, text); }, {}});
      }
    }
  }
  if (!numbers.empty()) {
    variants.push_back({"steps at frame 4",
                        [numbers](Entry& e) {
                          for (int32_t k : numbers) e.Step(k, "0.75");
                        },
                        AtFrame(4)});
  }
  for (int32_t k = 0; k < d.option_count; ++k) {
    if (d.options[k].name[0] == '\0' || d.options[k].state < 0) continue;
    variants.push_back({"option " + std::to_string(k), [k](Entry& e) { e.Select(k); }, {}});
    variants.push_back({"option " + std::to_string(k) + " cleared", [k](Entry& e) { e.State(k, 0); }, {}});
  }
  if (!files.empty()) {
    for (Variant& variant : variants) {
      variant.change = [files, same_size, change = variant.change](Entry& e) {
        for (int32_t k : files) e.Value(k, same_size);
        change(e);
      };
    }
    auto set_files = [files](const std::string& path) {
      return [files, path](Entry& e) {
        for (int32_t k : files) e.Value(k, path);
      };
    };
    variants.push_back({"no picture", set_files(""), {}});
    variants.push_back({"small picture", set_files(small), {}});
    variants.push_back({"small picture in a zone", set_files(small), InZone({7, 5, 111, 60})});
  }
  return variants;
}

TEST(VariantSweep, EveryFilterVariationMatchesItsStoredDigest) {
  const auto picture = NoisePicture(kWidth, kHeight, 20261208);
  const fs::path dir = fs::path(OMBRIX_TEST_OUTPUT_DIR) / "variant_sweep";
  fs::create_directories(dir);
  const std::string same_size = (dir / "second.tga").string();
  const std::string small = (dir / "small.tga").string();
  ASSERT_TRUE(ombrix::WriteTargaFile(*NoisePicture(kWidth, kHeight, 7), same_size.c_str(), 24));
  ASSERT_TRUE(ombrix::WriteTargaFile(*NoisePicture(37, 23, 11), small.c_str(), 24));

  std::vector<std::string> modules;
  for (const auto& entry : fs::directory_iterator(std::string(OMBRIX_STAGE_DIR) + "/Plugins"))
    if (entry.path().extension() == ".Omp") modules.push_back(entry.path().filename().string());
  std::sort(modules.begin(), modules.end());
  ASSERT_FALSE(modules.empty());

  std::map<std::string, std::string> computed;
  for (const std::string& module : modules) {
    std::vector<std::string> filters;
    {
      TestHost host(module);
      ASSERT_TRUE(host.Loaded()) << host.Error();
      for (int i = 0; i < host.Catalogue().Count(); ++i) filters.emplace_back(host.Catalogue().At(i)->name);
    }
    for (const std::string& filter : filters) {
      TestHost host(module);  // a fresh load: the generator starts at seed 1 for every filter
      const Entry model = host.MakeEntry(filter);
      for (const Variant& variant : VariantsOf(model.descriptor(), same_size, small)) {
        Entry entry = model;
        variant.change(entry);
        const Outcome out = host.Apply(entry, *picture, variant.call);
        computed[DigestKey({module, filter, variant.name})] = ResultDigest(out.result, *out.work);
      }
    }
  }

  ExpectDigests(kDigestFile,
                "module|filter|variant|apply result and digest of WORK on a " + std::to_string(kWidth) + " x " +
                    std::to_string(kHeight) + " noise picture",
                computed);
}

}  // namespace
