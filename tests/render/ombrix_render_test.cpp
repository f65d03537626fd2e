// ombrix-render end to end: the staged program applies effects to pictures and sequences in
// PNG, TIFF and Targa, keeps alpha, reports bad input with the right exit status, and stops
// cleanly on SIGINT.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "tests/support/digest_file.h"
#include "tools/ombrix-render/frame.h"
#include "tools/ombrix-render/lightwave_host.h"

extern char** environ;

namespace {

using namespace ombrix;
using namespace ombrix::render;
using ombrix::testing::DigestKey;
using ombrix::testing::ExpectDigests;
using ombrix::testing::PictureDigest;

const std::string kStage = OMBRIX_STAGE_DIR;
const char* const kSampleDigests = OMBRIX_SOURCE_DIR "/tests/render/sample_digests.txt";

// The picture digest of the frame's colour.
std::string FrameDigest(const Frame& frame) {
  Picture picture;
  if (!picture.Create(frame.width, frame.height)) return "no picture";
  for (int y = 0; y < frame.height; ++y) {
    uint8_t* row = picture.Row(y);
    for (int x = 0; x < frame.width; ++x, row += 3) {
      const size_t i = size_t(y) * size_t(frame.width) + size_t(x);
      row[0] = frame.blue[i];
      row[1] = frame.green[i];
      row[2] = frame.red[i];
    }
  }
  return PictureDigest(picture);
}

struct Outcome {
  int status = -1;  // exit code, or 128 + signal
  std::string errors;
};

class OmbrixRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/ombrix-render.XXXXXX";
    dir_ = platform::MakeTemporaryDirectory(pattern);
    ASSERT_FALSE(dir_.empty());
    StartPictureLibrary(nullptr);
  }

  // Starts ombrix-render with its own clipboard store and no settings of ours: it makes a
  // private store with the installation's defaults.
  pid_t Start(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = {kStage + "/Programs/ombrix-render", "--root", kStage};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text;
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      if (entry.rfind("OMBRIX_REGISTRY_DIR=", 0) == 0 || entry.rfind("OMBRIX_CLIPBOARD_DIR=", 0) == 0) continue;
      env_text.push_back(entry);
    }
    env_text.push_back("OMBRIX_CLIPBOARD_DIR=" + dir_ + "/clipboard");
    env_text.push_back("OMBRIX_HEADLESS=1");
    // Under the sanitizers: the desktop libraries the progress module pulls in leave allocations
    // behind after they are unloaded, which the leak checker cannot attribute; it is off for the
    // child only (leaks of our own code are checked by the in-process tests).
    env_text.push_back("ASAN_OPTIONS=detect_leaks=0");
    std::vector<char*> envp;
    envp.reserve(env_text.size() + 1);
    for (std::string& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string errors = dir_ + "/stderr.txt";
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  Outcome Finish(pid_t pid) {
    Outcome run;
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.errors = platform::ReadWholeFile((dir_ + "/stderr.txt").c_str()).value_or("");
    return run;
  }

  Outcome Render(const std::vector<std::string>& arguments) { return Finish(Start(arguments)); }

  // An effect of one Negative over the zone (x0, y0, x1, y1) moving by (step, 0, step, 0).
  std::string NegativeEffect(int x0, int y0, int x1, int y1, int step, int start_frame = 0) {
    std::string path = dir_ + "/negative.Oms";
    char text[1024];
    std::snprintf(text, sizeof text,
                  "1\r\n[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=1\r\n\tTestFrame=3\r\n"
                  "\tBased XSize=640\r\n\tBased YSize=480\r\n\r\n[Filter_0]\r\n\tDllName=ZvPal.Omp\r\n"
                  "\tFilterName=Negative\r\n\tAllFrames=1\r\n\tStartFrame=%d\r\n\tZone=%d %d %d %d\r\n"
                  "\tZone_Step=%d 0 %d 0\r\n\r\n",
                  start_frame, x0, y0, x1, y1, step, step);
    EXPECT_TRUE(platform::ReplaceFileAtomically(path.c_str(), text));
    return path;
  }

  static Frame Pattern(int w, int h, bool alpha) {
    Frame f;
    f.Resize(w, h);
    f.has_alpha = alpha;
    for (size_t i = 0; i < f.red.size(); ++i) {
      f.red[i] = uint8_t(i * 7);
      f.green[i] = uint8_t(i * 13 + 5);
      f.blue[i] = uint8_t(200 - i);
      if (alpha) f.alpha[i] = uint8_t(i * 31);
    }
    return f;
  }

  std::string dir_;
};

TEST_F(OmbrixRenderTest, AlphaComesOutAsItWentInForPngTiffAndTarga) {
  const std::string effect = NegativeEffect(0, 0, 640, 480, 0);
  const Frame in = Pattern(6, 4, true);
  std::string error;
  for (const char* ext : {"png", "tif", "tga"}) {
    const std::string input = dir_ + "/in." + ext, output = dir_ + "/out." + ext;
    ASSERT_TRUE(WriteFrame(input, in, error)) << error;
    const Outcome run = Render({effect, input, output});
    ASSERT_EQ(run.status, 0) << run.errors;
    Frame out;
    ASSERT_TRUE(ReadFrame(output, out, error)) << error;
    ASSERT_EQ(out.width, 6);
    EXPECT_TRUE(out.has_alpha) << ext;
    EXPECT_EQ(out.alpha, in.alpha) << ext;
    EXPECT_EQ(out.red[5], 255 - in.red[5]) << ext;
    EXPECT_EQ(out.blue[23], 255 - in.blue[23]) << ext;
  }
  // A picture without alpha stays without.
  ASSERT_TRUE(WriteFrame(dir_ + "/opaque.png", Pattern(3, 3, false), error));
  ASSERT_EQ(Render({effect, dir_ + "/opaque.png", dir_ + "/opaque-out.png"}).status, 0);
  Frame out;
  ASSERT_TRUE(ReadFrame(dir_ + "/opaque-out.png", out, error));
  EXPECT_FALSE(out.has_alpha);
}

TEST_F(OmbrixRenderTest, SequenceMovesTheZoneFrameByFrame) {
  const std::string effect = NegativeEffect(0, 0, 1, 4, 1, 1);
  const Frame in = Pattern(8, 4, false);
  std::string error;
  for (int n = 1; n <= 5; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "/shot.%04d.png", n);
    ASSERT_TRUE(WriteFrame(dir_ + name, in, error));
  }
  const Outcome run = Render({"--frames", "1-5", effect, dir_ + "/shot.%04d.png", dir_ + "/out.%04d.png"});
  ASSERT_EQ(run.status, 0) << run.errors;
  for (int n = 1; n <= 5; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "/out.%04d.png", n);
    Frame out;
    ASSERT_TRUE(ReadFrame(dir_ + name, out, error)) << error;
    for (int x = 0; x < 8; ++x) {
      const size_t i = size_t(16) + size_t(x);  // row 2 of rows of 8
      EXPECT_EQ(out.red[i], x == n - 1 ? 255 - in.red[i] : in.red[i]) << "frame " << n << " column " << x;
    }
  }
}

TEST_F(OmbrixRenderTest, BadInputAndUsage) {
  const std::string effect = NegativeEffect(0, 0, 10, 10, 0);
  Outcome run = Render({effect, dir_ + "/missing.png", dir_ + "/out.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find(dir_ + "/missing.png"), std::string::npos) << run.errors;
  EXPECT_FALSE(platform::FileExists((dir_ + "/out.png").c_str()));

  run = Render({dir_ + "/missing.Oms", dir_ + "/a.png", dir_ + "/b.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("missing.Oms"), std::string::npos) << run.errors;

  EXPECT_EQ(Render({effect, dir_ + "/in.%04d.png", dir_ + "/out.%04d.png"}).status, 2);  // --frames needed
  EXPECT_EQ(Render({"--bogus"}).status, 2);
  EXPECT_EQ(Render({"--frames", "9-3", effect, "a", "b"}).status, 2);
  EXPECT_EQ(Render({effect, dir_ + "/in.%s.png", dir_ + "/out.png"}).status, 2);
  run = Render({"--help"});
  EXPECT_EQ(run.status, 0);
  run = Render({"--list-filters"});
  EXPECT_EQ(run.status, 0);
}

TEST_F(OmbrixRenderTest, InterruptStopsWithoutHalfWrittenFiles) {
  // Enough work that the interrupt arrives in the middle: many filters over large frames.
  std::string effect = dir_ + "/heavy.Oms";
  std::string text = "1\r\n[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=40\r\n\r\n";
  for (int i = 0; i < 40; ++i)
    text += "[Filter_" + std::to_string(i) +
            "]\r\n\tDllName=ZvPal.Omp\r\n\tFilterName=" + (i % 2 ? "Negative Light" : "Contrast") +
            "\r\n\tFullScreen=1\r\n\tAllFrames=1\r\n\r\n";
  ASSERT_TRUE(platform::ReplaceFileAtomically(effect.c_str(), text));
  std::string error;
  ASSERT_TRUE(WriteFrame(dir_ + "/big.0001.png", Pattern(1200, 900, false), error));
  for (int n = 2; n <= 40; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "/big.%04d.png", n);
    ASSERT_TRUE(platform::ReplaceFileAtomically((dir_ + name).c_str(),
                                                platform::ReadWholeFile((dir_ + "/big.0001.png").c_str()).value()));
  }
  // In this process, and with several workers (the signal reaches only the parent here, which
  // passes it on; at a terminal every worker gets it too).
  for (const char* jobs : {"1", "3"}) {
    SCOPED_TRACE(std::string("--jobs ") + jobs);
    const std::string out = dir_ + "/jobs" + jobs;
    ASSERT_TRUE(platform::MakeDirectories(out.c_str()));
    const pid_t pid =
        Start({"--jobs", jobs, "--frames", "1-40", effect, dir_ + "/big.%04d.png", out + "/out.%04d.png"});
    // Interrupt once the first frame is out, so the program is surely past its start-up.
    for (int waited = 0; waited < 60000 && platform::ListDirectory(out).empty(); waited += 20)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(pid, SIGINT);
    const Outcome run = Finish(pid);
    EXPECT_EQ(run.status, 130) << run.errors;
    EXPECT_NE(run.errors.find("interrupted"), std::string::npos) << run.errors;
    // Every output present is a whole picture; no temporary file is left beside them.
    int written = 0;
    for (const std::string& name : platform::ListDirectory(out)) {
      EXPECT_NE(name[0], '.') << name;
      Frame frame;
      EXPECT_TRUE(ReadFrame(platform::JoinPath(out, name), frame, error)) << name << ": " << error;
      ++written;
    }
    EXPECT_LT(written, 40);
  }
}

TEST_F(OmbrixRenderTest, WorkersWriteTheFramesOneProcessWrites) {
  // A zone that moves from frame to frame, so every frame differs; no random filter.
  const std::string effect = NegativeEffect(0, 0, 8, 40, 3);
  std::string error;
  ASSERT_TRUE(WriteFrame(dir_ + "/in.png", Pattern(64, 48, true), error));
  ASSERT_EQ(Render({"--jobs", "1", "--frames", "1-9", effect, dir_ + "/in.png", dir_ + "/one.%d.png"}).status, 0);
  const Outcome run = Render({"--jobs", "2", "--frames", "1-9", effect, dir_ + "/in.png", dir_ + "/two.%d.tif"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors.find("random"), std::string::npos) << run.errors;
  ASSERT_EQ(Render({"--jobs", "3", "--frames", "1-9", effect, dir_ + "/in.png", dir_ + "/three.%d.png"}).status, 0);
  for (int n = 1; n <= 9; ++n) {
    SCOPED_TRACE(n);
    const auto one = platform::ReadWholeFile((dir_ + "/one." + std::to_string(n) + ".png").c_str());
    const auto three = platform::ReadWholeFile((dir_ + "/three." + std::to_string(n) + ".png").c_str());
    ASSERT_TRUE(one && three);
    EXPECT_EQ(*one, *three);
    Frame a, b;
    ASSERT_TRUE(ReadFrame(dir_ + "/one." + std::to_string(n) + ".png", a, error)) << error;
    ASSERT_TRUE(ReadFrame(dir_ + "/two." + std::to_string(n) + ".tif", b, error)) << error;
    EXPECT_EQ(a.red, b.red);
    EXPECT_EQ(a.alpha, b.alpha);
  }
  // A frame that cannot be read stops the run with its reason and exit status 1.
  ASSERT_TRUE(platform::ReplaceFileAtomically((dir_ + "/seq.1.png").c_str(), "\x89PNG\r\n\x1a\n broken"));
  const Outcome broken = Render({"--jobs", "2", "--frames", "1-1", effect, dir_ + "/seq.%d.png", dir_ + "/b.%d.png"});
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.errors.find("cannot read \"" + dir_ + "/seq.1.png\""), std::string::npos) << broken.errors;
  ASSERT_TRUE(platform::ReplaceFileAtomically((dir_ + "/seq.2.png").c_str(),
                                              platform::ReadWholeFile((dir_ + "/in.png").c_str()).value()));
  const Outcome pooled = Render({"--jobs", "2", "--frames", "1-2", effect, dir_ + "/seq.%d.png", dir_ + "/b.%d.png"});
  EXPECT_EQ(pooled.status, 1);
  EXPECT_FALSE(platform::FileExists((dir_ + "/b.1.png").c_str()));
}

// Every shipped sample at its first, test and last frame, each frame a run of its own, pinned by
// the digest of the written picture.
TEST_F(OmbrixRenderTest, EveryShippedSampleMatchesItsStoredDigests) {
  const std::string picture = kStage + "/Images/Back.Bmp";
  std::map<std::string, std::string> computed;
  std::string error;
  const std::string samples = kStage + "/Samples/";
  for (const std::string& name : platform::ListDirectory(samples)) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".Oms") != 0) continue;
    for (const int frame : {1, 12, 24}) {
      std::string output = dir_;
      output.append("/").append(name).append(".").append(std::to_string(frame)).append(".png");
      const Outcome run = Render({"--frame", std::to_string(frame), samples + name, picture, output});
      ASSERT_EQ(run.status, 0) << name << ": " << run.errors;
      EXPECT_EQ(run.errors.find("Error"), std::string::npos) << name << ": " << run.errors;
      Frame out;
      ASSERT_TRUE(ReadFrame(output, out, error)) << error;
      computed[DigestKey({name, "frame " + std::to_string(frame)})] = FrameDigest(out);
    }
  }
  ExpectDigests(kSampleDigests, "sample|frame|digest of the picture ombrix-render writes over Images/Back.Bmp",
                computed);
}

TEST_F(OmbrixRenderTest, NoiseGoesOnFromFrameToFrameWithinOneRun) {
  const std::string effect = dir_ + "/noise.Oms";
  ASSERT_TRUE(platform::ReplaceFileAtomically(
      effect.c_str(),
      "1\r\n[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=1\r\n\r\n"
      "[Filter_0]\r\n\tDllName=ZvPic.Omp\r\n\tFilterName=Add Noise\r\n\tFullScreen=1\r\n"
      "\tAllFrames=1\r\n\r\n"));
  std::string error;
  ASSERT_TRUE(WriteFrame(dir_ + "/grey.png", Pattern(64, 48, false), error));
  ASSERT_EQ(Render({"--jobs", "1", "--frames", "1-2", effect, dir_ + "/grey.png", dir_ + "/run.%d.png"}).status, 0);
  ASSERT_EQ(Render({"--frame", "2", effect, dir_ + "/grey.png", dir_ + "/alone.png"}).status, 0);
  const auto first = platform::ReadWholeFile((dir_ + "/run.1.png").c_str());
  const auto second = platform::ReadWholeFile((dir_ + "/run.2.png").c_str());
  const auto alone = platform::ReadWholeFile((dir_ + "/alone.png").c_str());
  ASSERT_TRUE(first && second && alone);
  EXPECT_NE(*first, *second);  // the sequence went on
  EXPECT_EQ(*first, *alone);   // a new process starts it afresh, whatever the frame

  // Two workers take two chunks of two frames, each going on with its own sequence, and say so.
  const Outcome run = Render({"--jobs", "2", "--frames", "1-4", effect, dir_ + "/grey.png", dir_ + "/chunk.%d.png"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("\"Add Noise\" draws random numbers"), std::string::npos) << run.errors;
  EXPECT_EQ(run.errors.find("draws random"), run.errors.rfind("draws random")) << run.errors;  // said once
  auto chunk = [&](int n) { return platform::ReadWholeFile((dir_ + "/chunk." + std::to_string(n) + ".png").c_str()); };
  EXPECT_EQ(chunk(1), first);
  EXPECT_EQ(chunk(2), second);
  EXPECT_EQ(chunk(3), first);
  EXPECT_EQ(chunk(4), second);
}

}  // namespace
