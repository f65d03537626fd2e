// The benchmark's own logic: reading the target table, judging a measure, medians and
// repetition counts, and the report's escaping.
#include <gtest/gtest.h>

#include "bench/measure.h"
#include "bench/report.h"
#include "bench/targets.h"

namespace {

using namespace ombrix::bench;

TEST(BenchTargets, ReadsRowsAndFindsByNameThenModule) {
  std::string error;
  const auto table = TargetTable::Parse(
      "# comment\n"
      "\n"
      "ZvPal.Omp:*\t10\tpalette filter\r\n"
      "Combinate \t125\tsecond picture\n"  // a catalogue name with its trailing blank
      "Negative\t8\n",
      error);
  ASSERT_TRUE(table) << error;
  ASSERT_EQ(table->Rows().size(), 3u);
  EXPECT_EQ(table->Find("ZvPal.Omp", "Negative")->max_multiple, 8);  // its own row wins
  EXPECT_EQ(table->Find("ZvPal.Omp", "Fade")->group, "palette filter");
  EXPECT_EQ(table->Find("ZvCom.Omp", "Combinate ")->max_multiple, 125);
  EXPECT_EQ(table->Find("ZvCom.Omp", "Combinate")->max_multiple, 125);
  EXPECT_EQ(table->Find("ZvPic.Omp", "Rotate"), nullptr);
  EXPECT_EQ(table->Find("", "Fade"), nullptr);  // no module, no module row
}

TEST(BenchTargets, RefusesMalformedTables) {
  std::string error;
  EXPECT_FALSE(TargetTable::Parse("Blur 25\n", error));  // blanks instead of a tab
  EXPECT_NE(error.find("line 1"), std::string::npos);
  EXPECT_FALSE(TargetTable::Parse("Blur\tfast\n", error));
  EXPECT_FALSE(TargetTable::Parse("Blur\t0\n", error));
  EXPECT_FALSE(TargetTable::Parse("Blur\t25x\n", error));
  EXPECT_FALSE(TargetTable::Parse("Blur\t25\nBlur \t30\n", error));
  EXPECT_NE(error.find("twice"), std::string::npos);
}

TEST(BenchTargets, Verdicts) {
  const Target target{"Blur", 25, ""};
  EXPECT_EQ(Judge(true, 25.0, &target), Verdict::kMet);
  EXPECT_EQ(Judge(true, 25.01, &target), Verdict::kMissed);
  EXPECT_EQ(Judge(false, 1.0, &target), Verdict::kFailed);
  EXPECT_EQ(Judge(true, 1000.0, nullptr), Verdict::kNoTarget);
}

TEST(BenchMeasure, MediansAndRepetitions) {
  EXPECT_EQ(Median({}), 0.0);
  EXPECT_EQ(Median({5, 1, 3}), 3.0);
  EXPECT_EQ(Median({4, 1, 3, 2}), 2.5);
  const RepeatPlan plan{3, 15, 1500};
  EXPECT_EQ(RepetitionsFor(plan, 1.0), 15);    // cheap: the most
  EXPECT_EQ(RepetitionsFor(plan, 300.0), 5);   // what fits the budget
  EXPECT_EQ(RepetitionsFor(plan, 5000.0), 3);  // never fewer than the least
  EXPECT_EQ(RepetitionsFor(plan, 0.0), 15);

  // Every timed repetition is prepared first; a failing run ends the measure.
  int prepared = 0, ran = 0;
  const Sample s = Repeat(
      RepeatPlan{4, 4, 0}, [&] { ++prepared; }, [&] { return ++ran > 0; });
  EXPECT_TRUE(s.ok);
  EXPECT_EQ(s.reps, 4);
  EXPECT_EQ(prepared, 5);  // the warm-up too
  EXPECT_EQ(ran, 5);
  const Sample failed = Repeat(
      RepeatPlan{4, 4, 0}, [] {}, [&] { return --ran > 3; });
  EXPECT_FALSE(failed.ok);
}

TEST(BenchReport, MultiplesVerdictsAndEscaping) {
  std::string error;
  const auto targets = TargetTable::Parse("A|B\t4\n", error);
  ASSERT_TRUE(targets);
  Report report;
  report.SetYardstick(2.0);
  Row row;
  row.name = "A|B";
  row.ms = 10.0;
  row.ok = true;
  row.pixels = 2e6;
  report.Add(row);
  EXPECT_EQ(report.MultipleOf(report.Rows()[0]), 5.0);
  EXPECT_EQ(report.Misses(*targets), 1);
  const std::string markdown = report.Markdown(*targets);
  EXPECT_NE(markdown.find("A\\|B"), std::string::npos);  // a bar in a name does not split the row
  EXPECT_NE(markdown.find("**missed**"), std::string::npos);
  EXPECT_NE(markdown.find("| 200 |"), std::string::npos);  // 2 MP in 10 ms
  const std::string json = report.Json(*targets);
  EXPECT_NE(json.find("\"verdict\": \"missed\""), std::string::npos);
  // A miss is named under the table, with its measured reason when one is recorded.
  EXPECT_NE(markdown.find("- A|B (5.0 × against ≤ 4 ×): no measured reason"), std::string::npos);
  const auto reasons = ReasonTable::Parse("# why\nA|B  \tthe exact formula\n", error);
  ASSERT_TRUE(reasons) << error;
  EXPECT_NE(report.Markdown(*targets, *reasons).find("- A|B (5.0 × against ≤ 4 ×): the exact formula\n"),
            std::string::npos);
  EXPECT_NE(report.Json(*targets, *reasons).find("\"reason\": \"the exact formula\""), std::string::npos);
  EXPECT_FALSE(ReasonTable::Parse("A\n", error));
  EXPECT_FALSE(ReasonTable::Parse("A\t \n", error));
  EXPECT_FALSE(ReasonTable::Parse("A\tx\nA \ty\n", error));
  EXPECT_EQ(JsonString("a\"b\\c\n\xB0"), "\"a\\\"b\\\\c\\n\\u00b0\"");
  EXPECT_EQ(FormatMs(0.4123), "0.412");
  EXPECT_EQ(FormatMs(41.23), "41.2");
}

}  // namespace
