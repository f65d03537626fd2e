// The hand-out order of --jobs, and the host's list of random filters against what the staged
// plug-ins do: a filter is random when a second application in the same process gives another
// result, and the host must chunk exactly for those.
#include "tools/ombrix-render/workers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_host.h"
#include "tools/ombrix-render/random_filters.h"

namespace {

using namespace ombrix::render;
using ombrix::testing::Outcome;
using ombrix::testing::TestHost;

std::vector<int> Drain(FrameQueue& queue, int worker) {
  std::vector<int> frames;
  for (int f = queue.Next(worker); f >= 0; f = queue.Next(worker)) frames.push_back(f);
  return frames;
}

TEST(FrameQueue, InOrderGivesTheLowestFrameLeftToWhoeverAsks) {
  FrameQueue queue(5, 3, false);
  EXPECT_EQ(queue.Next(0), 0);
  EXPECT_EQ(queue.Next(1), 1);
  EXPECT_EQ(queue.Next(2), 2);
  EXPECT_EQ(queue.Next(1), 3);
  queue.Stop();
  EXPECT_EQ(queue.Next(0), -1);
  FrameQueue again(2, 2, false);
  EXPECT_EQ(Drain(again, 1), (std::vector<int>{0, 1}));
  EXPECT_EQ(again.Next(0), -1);
}

TEST(FrameQueue, ChunksAreContiguousCoverEveryFrameOnceAndGoOutInOrder) {
  for (int count : {1, 2, 7, 10, 48}) {
    for (int workers : {1, 2, 3, 8}) {
      SCOPED_TRACE(std::to_string(count) + " frames, " + std::to_string(workers) + " workers");
      FrameQueue queue(count, workers, true);
      std::vector<int> all;
      for (int w = 0; w < workers; ++w) {
        const std::vector<int> chunk = Drain(queue, w);
        for (size_t i = 1; i < chunk.size(); ++i) EXPECT_EQ(chunk[i], chunk[i - 1] + 1);
        // As even as it goes: chunks differ by at most one frame.
        EXPECT_LE(int(chunk.size()), count / workers + 1);
        EXPECT_GE(int(chunk.size()), count / workers);
        all.insert(all.end(), chunk.begin(), chunk.end());
      }
      std::vector<int> expected(static_cast<size_t>(count));
      for (int i = 0; i < count; ++i) expected[size_t(i)] = i;
      EXPECT_EQ(all, expected);
    }
  }
  FrameQueue ten(10, 3, true);
  EXPECT_EQ(Drain(ten, 2), (std::vector<int>{6, 7, 8, 9}));
  EXPECT_EQ(ten.Next(7), -1);  // a worker the queue was not made for has nothing
}

// A notice is said once a run: of three workers told the same text at once, exactly one is the
// first, and the parent, asking afterwards, is not; another text is new to everyone.
TEST(SharedOnceSet, OnlyTheFirstProcessToAddATextIsFirst) {
  ombrix::platform::SharedOnceSet said;
  ombrix::platform::WorkerProcesses workers;
  std::string error;
  const int started = workers.Fork(3, error);
  if (workers.IsWorker()) {
    int32_t task = 0;
    while (workers.NextTask(task)) workers.Report(task, said.Add("the alpha is dropped") ? 1 : 0);
    workers.Exit(0);
  }
  ASSERT_EQ(started, 3) << error;
  for (int w = 0; w < started; ++w) {
    ASSERT_TRUE(workers.Send(w, w));
    workers.EndTasks(w);
  }
  int first = 0, results = 0;
  ombrix::platform::WorkerProcesses::Event event;
  while (workers.Wait(5000, event))
    if (event.kind == ombrix::platform::WorkerProcesses::Event::kResult) {
      ++results;
      first += event.result;
    }
  EXPECT_EQ(results, 3);
  EXPECT_EQ(first, 1);
  EXPECT_FALSE(said.Add("the alpha is dropped"));
  EXPECT_TRUE(said.Add("reduced from 16 to 8 bits per channel"));
  EXPECT_FALSE(said.Add("reduced from 16 to 8 bits per channel"));
}

TEST(RandomFilters, AreFoundInAnEffectByPlugInAndName) {
  const std::string script =
      "1\r\n[Header]\r\n\tnFilter=4\r\n\r\n[Filter_0]\r\n\tDllName=ZvPal.Omp\r\n\tFilterName=Negative\r\n\r\n"
      "[Filter_1]\r\n\tDllName=zvpic.omp\r\n\tFilterName=Add Noise\r\n\r\n"
      "[Filter_2]\r\n\tDllName=/opt/ombrix/Plugins/ZvPic.Omp\r\n\tFilterName=Scratch\r\n\r\n"
      "[Filter_3]\r\n\tDllName=ZvPal.Omp\r\n\tFilterName=Add Noise\r\n\r\n";
  EXPECT_EQ(RandomFiltersOf(script), (std::vector<std::string>{"Add Noise", "Scratch"}));
  EXPECT_TRUE(RandomFiltersOf("1\r\n[Header]\r\n\tnFilter=0\r\n").empty());
  EXPECT_FALSE(DrawsRandomNumbers("ZvPic.Omp", "add noise"));
}

TEST(RandomFilters, AreExactlyTheStagedFiltersWhoseSecondApplicationDiffers) {
  Picture picture;
  ASSERT_TRUE(picture.Create(48, 32));
  uint32_t state = 7;
  for (int y = 0; y < 32; ++y) {
    uint8_t* row = picture.Row(y);
    for (int x = 0; x < 48 * 3; ++x) row[x] = uint8_t((state = state * 1103515245u + 12345u) >> 24);
  }
  int modules = 0;
  for (const auto& file : std::filesystem::directory_iterator(std::string(OMBRIX_STAGE_DIR) + "/Plugins")) {
    if (file.path().extension() != ".Omp") continue;
    ++modules;
    const std::string module = file.path().filename().string();
    TestHost host(module);
    ASSERT_TRUE(host.Loaded()) << host.Error();
    for (int i = 0; i < host.Catalogue().Count(); ++i) {
      const std::string filter = host.Catalogue().At(i)->name;
      const Outcome first = host.Apply(filter, picture);
      const Outcome second = host.Apply(filter, picture);
      ASSERT_TRUE(first.work && second.work) << filter;
      bool differs = false;
      for (int y = 0; y < picture.Height() && !differs; ++y)
        differs = !std::equal(first.work->Row(y), first.work->Row(y) + ptrdiff_t(48) * 3, second.work->Row(y));
      EXPECT_EQ(DrawsRandomNumbers(module, filter), differs) << module << " \"" << filter << "\"";
    }
  }
  EXPECT_GE(modules, 3);
}

}  // namespace
