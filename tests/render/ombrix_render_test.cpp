// ombrix-render end to end: the staged program applies effects to pictures and sequences in
// PNG, TIFF and Targa, keeps alpha, reports bad input with the right exit status, and stops
// cleanly on SIGINT.
#include <Magick++.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <tuple>
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
  std::string output;
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
  pid_t Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {},
              const std::string& root = kStage) {
    std::vector<std::string> args = {kStage + "/Programs/ombrix-render", "--root", root};
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
    env_text.insert(env_text.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    envp.reserve(env_text.size() + 1);
    for (std::string& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string errors = dir_ + "/stderr.txt";
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string output = dir_ + "/stdout.txt";
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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
    run.output = platform::ReadWholeFile((dir_ + "/stdout.txt").c_str()).value_or("");
    return run;
  }

  Outcome Render(const std::vector<std::string>& arguments) { return Finish(Start(arguments)); }

  // A script's bytes from a text with "\n" line ends and "S" for the identification's "§".
  static std::string ScriptBytes(const std::string& text) {
    std::string bytes;
    for (const char c : text) {
      if (c == '\n') {
        bytes += "\r\n";
      } else if (c == 'S' && bytes.size() >= 6 && bytes.compare(bytes.size() - 6, 6, "Zorvex") == 0) {
        bytes += '\xA7';
      } else {
        bytes += c;
      }
    }
    return bytes;
  }

  std::string Effect(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    EXPECT_TRUE(platform::ReplaceFileAtomically(path.c_str(), ScriptBytes(text)));
    return path;
  }

  // A picture at dir_/name, the pattern of Pattern().
  std::string Picture(const std::string& name, int w = 8, int h = 6, bool alpha = false) {
    std::string error;
    EXPECT_TRUE(WriteFrame(dir_ + "/" + name, Pattern(w, h, alpha), error)) << error;
    return dir_ + "/" + name;
  }

  // A grey picture whose values an 8-bit file cannot hold.
  static Magick::Image Grey16() {
    Magick::Image image(Magick::Geometry(8, 6), Magick::Color(0, 0, 0));
    image.type(Magick::GrayscaleType);
    image.depth(16);
    for (int i = 0; i < 48; ++i) {
      const auto q = Magick::Quantum(257 * (i * 5) + 100);
      image.pixelColor(size_t(i % 8), size_t(i / 8), Magick::Color(q, q, q));
    }
    return image;
  }

  // An installation of its own at dir_/name, made of links to the staged files, so a test can
  // see what a run leaves in its temporary folder (or take that folder away).
  std::string LinkedInstallation(const std::string& name, bool temporary_folder) {
    std::string root = dir_ + "/" + name;
    EXPECT_TRUE(platform::MakeDirectories((root + "/Programs").c_str()));
    for (const char* part : {"Plugins", "UGIO", "Images", "Help"}) {
      EXPECT_EQ(symlink((kStage + "/" + part).c_str(), (root + "/" + part).c_str()), 0);
    }
    for (const std::string& entry : platform::ListDirectory(kStage + "/Programs")) {
      if (entry == "Temp") continue;
      const std::string target = std::string(kStage).append("/Programs/").append(entry);
      const std::string link = std::string(root).append("/Programs/").append(entry);
      EXPECT_EQ(symlink(target.c_str(), link.c_str()), 0);
    }
    if (temporary_folder) {
      EXPECT_TRUE(platform::MakeDirectories((root + "/Programs/Temp").c_str()));
    }
    return root;
  }

  bool Exists(const std::string& name) const { return platform::FileExists((dir_ + "/" + name).c_str()); }

  static constexpr const char* kNegative =
      "[Filter_0]\n\tDllName=ZvPal.Omp\n\tFilterName=Negative\n\tFullScreen=1\n\tAllFrames=1\n\n";

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
    EXPECT_NE(run.errors.find("move the colour but not the cut-out"), std::string::npos) << run.errors;
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
  // The key, and what a scheduler sends when it cancels a job: each stops the same way, and
  // nothing of the run is left behind (its settings store, the instance's script).
  const std::string root = LinkedInstallation("installation", true);
  const std::string tmp = dir_ + "/tmp";
  ASSERT_TRUE(platform::MakeDirectories(tmp.c_str()));
  // With several workers the signal reaches only the parent here, which passes it on (at a
  // terminal every worker gets the key too).
  for (const auto& [signal, status, name, jobs] :
       {std::tuple{SIGINT, 130, "SIGINT", "1"}, std::tuple{SIGTERM, 143, "SIGTERM", "1"},
        std::tuple{SIGHUP, 129, "SIGHUP", "1"}, std::tuple{SIGTERM, 143, "SIGTERM", "2"}}) {
    SCOPED_TRACE(std::string("--jobs ") + jobs);
    const std::string out = dir_ + "/" + name + jobs;
    ASSERT_TRUE(platform::MakeDirectories(out.c_str()));
    const pid_t pid = Start({"--jobs", jobs, "--frames", "1-40", effect, dir_ + "/big.%04d.png", out + "/out.%04d.png"},
                            {"TMPDIR=" + tmp}, root);
    // Interrupt once the first frame is out, so the program is surely past its start-up.
    for (int waited = 0; waited < 60000 && !platform::FileExists((out + "/out.0001.png").c_str()); waited += 20)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    kill(pid, signal);
    const Outcome run = Finish(pid);
    EXPECT_EQ(run.status, status) << name << ": " << run.errors;
    EXPECT_NE(run.errors.find(std::string("interrupted (") + name + ")"), std::string::npos) << run.errors;
    // Every output present is a whole picture; no temporary file is left beside them.
    int written = 0;
    for (const std::string& entry : platform::ListDirectory(out)) {
      EXPECT_NE(entry[0], '.') << entry;
      Frame frame;
      EXPECT_TRUE(ReadFrame(std::string(out).append("/").append(entry), frame, error)) << entry << ": " << error;
      ++written;
    }
    EXPECT_LT(written, 40) << name;
    EXPECT_TRUE(platform::ListDirectory(tmp).empty()) << name;
    EXPECT_TRUE(platform::ListDirectory(root + "/Programs/Temp").empty()) << name;
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

// Replacing an output keeps what the user set up: its permission bits, and a symbolic link
// stays a link to the file it names. A write that fails says the system's reason.
TEST_F(OmbrixRenderTest, ReplacedOutputsKeepTheirModeAndLinks) {
  const std::string effect = NegativeEffect(0, 0, 640, 480, 0);
  const std::string input = Picture("in.png");
  const std::string out = dir_ + "/out.png";
  ASSERT_TRUE(platform::ReplaceFileAtomically(out.c_str(), "old"));
  ASSERT_EQ(chmod(out.c_str(), 0640), 0);
  ASSERT_EQ(Render({effect, input, out}).status, 0);
  struct stat st {};
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  ASSERT_TRUE(platform::MakeDirectories((dir_ + "/real").c_str()));
  ASSERT_EQ(symlink("real/target.png", (dir_ + "/link.png").c_str()), 0);
  ASSERT_EQ(Render({effect, input, dir_ + "/link.png"}).status, 0);
  ASSERT_EQ(lstat((dir_ + "/link.png").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  Frame frame;
  std::string error;
  EXPECT_TRUE(ReadFrame(dir_ + "/real/target.png", frame, error)) << error;

  ASSERT_TRUE(platform::MakeDirectories((dir_ + "/taken.png").c_str()));
  const Outcome run = Render({effect, input, dir_ + "/taken.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("cannot write \"" + dir_ + "/taken.png\": Is a directory"), std::string::npos)
      << run.errors;
}

// An effect that cannot be rendered whole here is found out before the first frame: exit 1,
// the reason, nothing written; --check says the same and what the effect holds.
TEST_F(OmbrixRenderTest, AnEffectThatCannotBeRenderedWholeRendersNothing) {
  const std::string header = "1\n[Header]\n\tIdentification=ZorvexSOmbrixScript\n\tnFilter=1\n\tTestFrame=3\n\n";
  const std::string good = Effect("good.Oms", header + kNegative);
  const std::string good_bytes = platform::ReadWholeFile(good.c_str()).value();
  std::string utf8 = good_bytes;
  utf8.replace(utf8.find('\xA7'), 1, "\xC2\xA7");
  std::string short_bytes = good_bytes;
  short_bytes.replace(short_bytes.find("nFilter=1"), 9, "nFilter=2");
  struct Case {
    std::string name, bytes, reason;
  };
  const std::vector<Case> cases = {
      {"random.Oms", std::string("\x8f\x13\xfe\x00\x42 garbage\x7f\x01", 15), "not an effect script"},
      {"empty.Oms", "", "the file is empty"},
      {"utf8.Oms", utf8, "not an effect script"},
      {"cut.Oms", good_bytes.substr(0, good_bytes.find("FilterName") + 5), "Unknown filter \"\" of ZvPal.Omp"},
      {"short.Oms", short_bytes, "No filter in section Filter_1"},
      {"filter.Oms", ScriptBytes(header + "[Filter_0]\n\tDllName=ZvPal.Omp\n\tFilterName=Negativ\n"),
       "Unknown filter \"Negativ\" of ZvPal.Omp"},
      {"plugin.Oms", ScriptBytes(header + "[Filter_0]\n\tDllName=ZvNone.Omp\n\tFilterName=Negative\n"),
       "Unknown filter \"Negative\" of ZvNone.Omp"},
      {"second.Oms",
       ScriptBytes(header + "[Filter_0]\n\tDllName=ZvCom.Omp\n\tFilterName=Compose\n\tFullScreen=1\n"
                            "\tAllFrames=1\n\tParameter_1_Val=gone.png\n"),
       "Cannot find file \"gone.png\""},
      {"mask.Oms",
       ScriptBytes(header + "[Filter_0]\n\tDllName=ZvPal.Omp\n\tFilterName=Negative\n\tXAlphaPicture=" + dir_ +
                   "/no-mask.png\n"),
       "Cannot find file \"" + dir_ + "/no-mask.png\""},
  };
  const std::string input = Picture("in.png");
  for (const Case& c : cases) {
    const std::string effect = dir_ + "/" + c.name;
    ASSERT_TRUE(platform::ReplaceFileAtomically(effect.c_str(), c.bytes));
    Outcome run = Render({"--frame", "3", effect, input, dir_ + "/out.png"});
    EXPECT_EQ(run.status, 1) << c.name << ": " << run.errors;
    EXPECT_NE(run.errors.find("\"" + effect + "\": " + c.reason), std::string::npos) << c.name << ": " << run.errors;
    EXPECT_NE(run.errors.find("nothing rendered"), std::string::npos) << c.name << ": " << run.errors;
    EXPECT_FALSE(Exists("out.png")) << c.name;
    run = Render({"--check", effect});
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_NE(run.errors.find(c.reason), std::string::npos) << c.name << ": " << run.errors;
  }
  ASSERT_EQ(Render({good, input, dir_ + "/out.png"}).status, 0);
  EXPECT_EQ(Render({"--check", good}).status, 0);

  // Inputs and the output folder are checked too: one message lists every missing frame.
  for (const int n : {1, 2, 5}) Picture("seq." + std::to_string(n) + ".png");
  Outcome run = Render({"--frames", "1-6", good, dir_ + "/seq.%d.png", dir_ + "/out.%d.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("input frames missing or unreadable (" + dir_ + "/seq.%d.png): 3-4, 6"), std::string::npos)
      << run.errors;
  EXPECT_FALSE(Exists("out.1.png"));
  run = Render({good, input, dir_ + "/no-such-folder/out.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("cannot write into the folder"), std::string::npos) << run.errors;
}

// A failure only the render meets (a mask file that is there but is no picture: the filter
// would run unmasked) fails the frame; --keep-going writes it as the engine left it.
TEST_F(OmbrixRenderTest, KeepGoingWritesFailedFramesAndStillFails) {
  ASSERT_TRUE(platform::ReplaceFileAtomically((dir_ + "/mask.png").c_str(), "no picture in here"));
  const std::string effect = Effect("half.Oms",
                                    "1\n[Header]\n\tIdentification=ZorvexSOmbrixScript\n\tnFilter=1\n\n"
                                    "[Filter_0]\n\tDllName=ZvPal.Omp\n\tFilterName=Negative\n"
                                    "\tFullScreen=1\n\tAllFrames=1\n\tXAlphaPicture=" +
                                        dir_ + "/mask.png\n\n");
  const std::string input = Picture("still.png");
  // By default the run stops at the first failed frame and writes none of it. With workers the
  // frames already handed out are finished, so only the first failure is sure to be the one.
  Outcome run = Render({"--jobs", "1", "--frames", "1-3", effect, input, dir_ + "/out.%d.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("frame 1 failed and was not written: Cannot open the X Alpha picture"), std::string::npos)
      << run.errors;
  EXPECT_EQ(run.errors.find("frame 2"), std::string::npos) << run.errors;
  EXPECT_FALSE(Exists("out.1.png"));
  run = Render({"--jobs", "2", "--frames", "1-3", effect, input, dir_ + "/out.%d.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("frame 1 failed and was not written"), std::string::npos) << run.errors;
  EXPECT_FALSE(Exists("out.1.png"));

  // The workers' failures are gathered by the parent into the one summary.
  for (const char* jobs : {"1", "2"}) {
    run = Render({"--jobs", jobs, "--keep-going", "--frames", "1-3", effect, input, dir_ + "/out.%d.png"});
    EXPECT_EQ(run.status, 1) << jobs;
    EXPECT_NE(run.errors.find("3 failed: 1, 2, 3"), std::string::npos) << run.errors;
  }
  const Frame in = Pattern(8, 6, false);
  for (int n = 1; n <= 3; ++n) {
    Frame out;
    std::string error;
    ASSERT_TRUE(ReadFrame(dir_ + "/out." + std::to_string(n) + ".png", out, error)) << error;
    EXPECT_EQ(out.red[7], 255 - in.red[7]);  // what the engine did apply is there
  }
}

// An installation the user cannot write: the instance's script goes to the per-user folder and
// the effect is applied; nothing of the run is left there.
TEST_F(OmbrixRenderTest, AnInstallationThatCannotBeWrittenStillRendersTheEffect) {
  const std::string root = LinkedInstallation("installation", false);
  // Made unwritable; a file in place of its folder stops even a user whom permissions do not.
  ASSERT_TRUE(platform::ReplaceFileAtomically((root + "/Programs/Temp").c_str(), ""));
  ASSERT_EQ(chmod((root + "/Programs").c_str(), 0555), 0);
  const std::string cache = dir_ + "/cache";
  const Outcome run = Finish(Start({NegativeEffect(0, 0, 640, 480, 0), Picture("in.png"), dir_ + "/out.png"},
                                   {"XDG_CACHE_HOME=" + cache}, root));
  chmod((root + "/Programs").c_str(), 0755);
  ASSERT_EQ(run.status, 0) << run.errors;
  Frame out;
  std::string error;
  ASSERT_TRUE(ReadFrame(dir_ + "/out.png", out, error)) << error;
  EXPECT_EQ(out.red[3], 255 - Pattern(8, 6, false).red[3]);
  struct stat st {};
  ASSERT_EQ(stat((cache + "/zorvex/ombrix/Temp").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(platform::ListDirectory(cache + "/zorvex/ombrix/Temp").empty());
}

// Pictures as they are, not as they are stored: CMYK comes out as GraphicsMagick's own sRGB, a
// cut file is an error (a warning with --keep-going), and what reading changed is said once.
TEST_F(OmbrixRenderTest, PicturesAreReadAsTheyLookAndDamageIsNoSuccess) {
  const std::string effect = Effect("negative.Oms",
                                    "1\n[Header]\n\tIdentification=ZorvexSOmbrixScript\n"
                                    "\tnFilter=1\n\n" +
                                        std::string(kNegative));
  // A CMYK JPEG, and the colours GraphicsMagick itself converts it to.
  const std::string cmyk = dir_ + "/cmyk.jpg";
  {
    Magick::Image image(Magick::Geometry(8, 6), Magick::Color("red"));
    image.pixelColor(1, 1, Magick::Color("blue"));
    image.colorSpace(Magick::CMYKColorspace);
    image.quality(100);
    image.write(cmyk);
  }
  Magick::Image reference(cmyk);
  reference.colorSpace(Magick::RGBColorspace);
  std::vector<uint8_t> rgb(size_t{8} * 6 * 3);
  reference.write(0, 0, 8, 6, "RGB", Magick::CharPixel, rgb.data());
  Outcome run = Render({effect, cmyk, dir_ + "/cmyk.png"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("converted from CMYK to sRGB"), std::string::npos) << run.errors;
  Frame out;
  std::string error;
  ASSERT_TRUE(ReadFrame(dir_ + "/cmyk.png", out, error)) << error;
  for (size_t i = 0; i < 48; ++i) {
    ASSERT_EQ(out.red[i], 255 - rgb[3 * i]) << i;
    ASSERT_EQ(out.green[i], 255 - rgb[3 * i + 1]) << i;
    ASSERT_EQ(out.blue[i], 255 - rgb[3 * i + 2]) << i;
  }
  EXPECT_LT(out.red[0], 60);  // red went in, so its negative has little red
  EXPECT_GT(out.green[0], 190);

  // A JPEG cut in the middle decodes with a grey lower half: not written by default.
  const std::string whole = dir_ + "/whole.jpg", cut = dir_ + "/cut.jpg";
  ASSERT_TRUE(WriteFrame(whole, Pattern(256, 256, false), error)) << error;
  const std::string bytes = platform::ReadWholeFile(whole.c_str()).value();
  ASSERT_TRUE(platform::ReplaceFileAtomically(cut.c_str(), bytes.substr(0, bytes.size() / 2)));
  run = Render({effect, cut, dir_ + "/cut.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("is damaged: Premature end of JPEG file"), std::string::npos) << run.errors;
  EXPECT_FALSE(Exists("cut.png"));
  run = Render({"--keep-going", effect, cut, dir_ + "/cut.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.errors.find("warning: frame"), std::string::npos) << run.errors;
  EXPECT_TRUE(Exists("cut.png"));

  // 16-bit grey over three frames: said once, not per frame; alpha into JPEG is said dropped.
  const std::string deep = dir_ + "/deep.png";
  {
    Magick::Image image = Grey16();
    image.write(deep);
  }
  run = Render({"--frames", "1-3", effect, deep, dir_ + "/deep.%d.png"});
  ASSERT_EQ(run.status, 0) << run.errors;
  const size_t reduced = run.errors.find("reduced from 16 to 8 bits per channel");
  EXPECT_NE(reduced, std::string::npos) << run.errors;
  EXPECT_EQ(run.errors.find("reduced from", reduced + 1), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("expanded from grey to RGB"), std::string::npos) << run.errors;
  run = Render({effect, Picture("alpha.png", 4, 4, true), dir_ + "/alpha.jpg"});
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.errors.find("the alpha is dropped"), std::string::npos) << run.errors;
}

// Im_pp reports the depth the file has, not the one it is read into.
TEST_F(OmbrixRenderTest, PictureReportsGiveTheFilesOwnDepth) {
  const std::string grey = dir_ + "/grey16.png", cmyk = dir_ + "/cmyk.jpg";
  {
    Magick::Image image = Grey16();
    image.write(grey);
    Magick::Image separated(Magick::Geometry(8, 6), Magick::Color("green"));
    separated.colorSpace(Magick::CMYKColorspace);
    separated.write(cmyk);
  }
  for (const auto& [path, bits] : {std::pair{grey, 16}, std::pair{cmyk, 32}}) {
    const std::string report = dir_ + "/report.txt";
    std::string command = "'" + kStage + "/UGIO/Im_pp' '[Info]' '[";
    command.append(path).append("]' '[").append(report).append("]'");
    ASSERT_EQ(std::system(command.c_str()), 0) << path;
    const std::string text = platform::ReadWholeFile(report.c_str()).value_or("");
    EXPECT_NE(text.find("BPP = " + std::to_string(bits) + "\n"), std::string::npos) << path << ": " << text;
  }
}

// A template is an effect that renders; --set and --proportional change exactly what they name,
// for the run only.
TEST_F(OmbrixRenderTest, TemplatesRenderAndSetChangesOnlyTheNamedValue) {
  Outcome run = Render({"--template", "Twirl", "--template", "Negative"});
  ASSERT_EQ(run.status, 0) << run.errors;
  const std::string effect = dir_ + "/fx.Oms";
  const std::string template_bytes = run.output;
  ASSERT_TRUE(platform::ReplaceFileAtomically(effect.c_str(), template_bytes));
  run = Render({"--check", effect});
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(run.output.find("\"Twirl\" of ZvPic.Omp"), std::string::npos) << run.output;
  const std::string input = Picture("in.png", 32, 24);
  ASSERT_EQ(Render({effect, input, dir_ + "/out.png"}).status, 0);
  EXPECT_EQ(Render({"--template", "Twirly"}).status, 1);

  // The scene the instance got differs from the file in the changed lines alone.
  ASSERT_EQ(Render({"--save-scene", dir_ + "/plain.txt", effect, input, dir_ + "/out.png"}).status, 0);
  ASSERT_EQ(Render({"--set", "1:step:2=5", "--set", "0:zone=1,2,30,20", "--set", "1:alpha=25", "--proportional",
                    "--save-scene", dir_ + "/set.txt", effect, input, dir_ + "/out.png"})
                .status,
            0);
  const auto lines = [](const std::string& text) {
    std::vector<std::string> result;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      result.push_back(text.substr(start, end - start));
    return result;
  };
  const std::vector<std::string> plain = lines(platform::ReadWholeFile((dir_ + "/plain.txt").c_str()).value());
  const std::vector<std::string> set = lines(platform::ReadWholeFile((dir_ + "/set.txt").c_str()).value());
  ASSERT_EQ(plain.size(), set.size());
  std::vector<std::string> changed;
  for (size_t i = 0; i < plain.size(); ++i)
    if (plain[i] != set[i]) changed.push_back(set[i]);
  EXPECT_EQ(changed, (std::vector<std::string>{"\tFullScreen=0\r", "\tZone=1 2 30 20\r", "\tAlphaInit=25\r",
                                               "\tParameter_2_Step=5\r"}));
  EXPECT_EQ(platform::ReadWholeFile(effect.c_str()).value(), template_bytes);  // the file stays as it was

  EXPECT_EQ(Render({"--set", "2:1=3", effect, input, dir_ + "/out.png"}).status, 2);  // no such entry
  EXPECT_EQ(Render({"--set", "0:zone=1,2", effect, input, dir_ + "/out.png"}).status, 2);
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
