// The benchmark's lean host applies every filter of a staged module exactly as the test host
// (and so the render engine) does: what the benchmark times is the work a render does.
#include "bench/lean_host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bench/pictures.h"
#include "tests/support/test_host.h"

namespace {

using namespace ombrix;
namespace host = ombrix::testing;

TEST(BenchLeanHost, AppliesEveryPaletteFilterAsTheTestHostDoes) {
  host::TestHost reference("ZvPal.Omp");
  ASSERT_TRUE(reference.Loaded()) << reference.Error();
  bench::FilterModule module;
  std::string error;
  ASSERT_TRUE(module.Load(reference.Path(), error)) << error;
  ASSERT_EQ(module.Catalogue().Count(), reference.Catalogue().Count());

  Picture source, input, work;
  ASSERT_TRUE(bench::MakeBenchPicture(source, 61, 17, 3));
  for (int i = 0; i < module.Catalogue().Count(); ++i) {
    const FilterDescriptor& catalogue = *module.Catalogue().At(i);
    bench::BenchEntry entry(catalogue, "");
    input.CopyFrom(&source);
    work.CopyFrom(&source);
    module.Prepare(entry.Descriptor(), input, work);
    ASSERT_EQ(module.Call(), 1) << catalogue.name;
    const host::Outcome expected = reference.Apply(catalogue.name, source);
    ASSERT_EQ(expected.result, 1) << catalogue.name;
    // The same bytes in WORK, compared pixel by pixel.
    EXPECT_EQ(host::CheckUnchanged(*expected.work, work), "") << catalogue.name;
  }
  EXPECT_EQ(module.Messages(), 0) << module.LastMessage();
}

TEST(BenchLeanHost, FileParametersNamingNoFileGetTheSecondPicture) {
  FilterDescriptor d{};
  ParameterRecord parameters[3] = {};
  d.parameters = parameters;
  d.parameter_count = 3;
  parameters[0].kind = kKindPictureFile;
  std::strcpy(parameters[0].value, "(none)");
  parameters[1].kind = kKindInputFile;
  std::strcpy(parameters[1].value, OMBRIX_STAGE_DIR);  // names something that exists
  parameters[2].kind = kKindPictureFile;
  std::strcpy(parameters[2].value, "12");
  std::strcpy(parameters[2].step, "1");
  bench::BenchEntry entry(d, "/tmp/second.tga");
  EXPECT_STREQ(entry.Descriptor().parameters[0].value, "/tmp/second.tga");
  EXPECT_STREQ(entry.Descriptor().parameters[1].value, OMBRIX_STAGE_DIR);
  // Files are not numbers: their slots get 0, as the render engine hands them.
  parameters[2].kind = kKindSignedPercentage;
  const std::vector<float> values = BuildApplyContext(d, 2, ProportionalScale{}).values;
  EXPECT_EQ(values.size(), 4u);
  EXPECT_EQ(values[0], 0.0f);
  EXPECT_EQ(values[2], 14.0f);
}

}  // namespace
