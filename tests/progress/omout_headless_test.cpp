// The progress module without a display (the tests run with OMBRIX_HEADLESS=1), driven in the
// render engine's calling order through the names it binds.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/progress/omout_binding.h"

namespace {

using ombrix::test::OmOutBinding;

// Sends what the module writes to standard error into a pipe or terminal of the test's choosing.
class StandardErrorRedirect {
 public:
  explicit StandardErrorRedirect(int target) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    dup2(target, STDERR_FILENO);
  }
  ~StandardErrorRedirect() {
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }

 private:
  int saved_;
};

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

// Everything written to standard error while action runs, standard error being a file.
template <typename Action>
std::string CaptureStandardError(Action action) {
  std::FILE* file = std::tmpfile();
  {
    StandardErrorRedirect redirect(fileno(file));
    action();
  }
  std::rewind(file);
  std::string text = ReadAll(fileno(file));
  std::fclose(file);
  return text;
}

volatile sig_atomic_t g_test_handler_calls = 0;
void CountingHandler(int) { g_test_handler_calls = g_test_handler_calls + 1; }

class OmOutHeadless : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_STREQ(std::getenv("OMBRIX_HEADLESS"), "1");
    om.Load();
  }
  void TearDown() override {
    if (om.OmCloseProgress != nullptr) om.OmCloseProgress();
  }

  // One filter of the render engine's chain, with the progress callbacks of the plug-in.
  int32_t RunFilter(int i, int n, const char* name, int rows) {
    char text[256];
    std::snprintf(text, sizeof text, "Total work (%d/%d)", i, n);
    om.OmSetMessage(nullptr, text, nullptr, nullptr);
    int32_t go_on = om.OmUpdateProgress(1, i);
    std::snprintf(text, sizeof text, "Applying \"%s\"...", name);
    om.OmSetMessage(nullptr, nullptr, text, text);
    go_on &= om.OmUpdateProgress(2, 0);
    om.OmInitProgress(2, 0, rows);
    for (int row = 1; row <= rows && go_on; ++row) go_on &= om.OmUpdateProgress(2, row);
    return go_on;
  }

  OmOutBinding om;
};

TEST_F(OmOutHeadless, LightWaveWordStartsAtZeroAndInitSetsIt) {
  EXPECT_EQ(*om.OmOutLightWaveCall, 0);
  *om.OmOutLightWaveCall = 0;
  om.OmInitOmOutDll();
  EXPECT_EQ(*om.OmOutLightWaveCall, 1);
  *om.OmOutLightWaveCall = 0;
}

TEST_F(OmOutHeadless, WithoutAnOpenDisplayEveryUpdateGoesOn) {
  // Before any open: nothing to update, the render is never stopped.
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  om.OmInitProgress(1, 0, 3);
  om.OmSetMessage("c", "1", "2", "i");
  om.OmShowProgress(0);
  EXPECT_EQ(om.OmUpdateProgress(2, 7), 1);

  om.OmOpenProgress(0);
  om.OmCloseProgress();
  EXPECT_EQ(om.OmUpdateProgress(1, 2), 1);
  om.OmCloseProgress();  // a second close is harmless
  EXPECT_EQ(om.OmUpdateProgress(3, 0), 1);
}

TEST_F(OmOutHeadless, EngineCallingOrderRunsAndStaysQuietOffTerminal) {
  const std::string written = CaptureStandardError([&] {
    om.OmOpenProgress(1);
    om.OmInitProgress(1, 0, 3);
    om.OmSetMessage("Ombrix Working - Frame 12 ...", "Loading filters...", nullptr, nullptr);
    EXPECT_EQ(RunFilter(1, 3, "Blur", 50), 1);
    EXPECT_EQ(RunFilter(2, 3, "Twirl", 50), 1);
    om.OmSetMessage(nullptr, nullptr, nullptr, "info only");
    EXPECT_EQ(om.OmUpdateProgress(3, 999), 1);  // no such bar: still pumps and answers
    EXPECT_EQ(RunFilter(3, 3, "Emboss", 50), 1);
    EXPECT_EQ(om.OmUpdateProgress(1, 4), 1);
    om.OmCloseProgress();
  });
  EXPECT_EQ(written, "");  // standard error is a file here, not a terminal
}

TEST_F(OmOutHeadless, CtrlCCancelsTheOpenDisplayOnly) {
  struct sigaction test_action {};
  test_action.sa_handler = CountingHandler;
  sigemptyset(&test_action.sa_mask);
  struct sigaction before {};
  ASSERT_EQ(sigaction(SIGINT, &test_action, &before), 0);
  g_test_handler_calls = 0;

  om.OmOpenProgress(0);
  om.OmInitProgress(1, 0, 2);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  raise(SIGINT);
  // Caught by the progress display, and passed on to the handler installed before it, so the
  // program that loaded the module hears the Ctrl-C too.
  EXPECT_EQ(g_test_handler_calls, 1);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 0);
  // Once cancelled, every later update of this display says stop, whatever bar and position.
  EXPECT_EQ(om.OmUpdateProgress(2, 0), 0);
  EXPECT_EQ(om.OmUpdateProgress(3, 5), 0);
  om.OmSetMessage(nullptr, "still", nullptr, nullptr);
  EXPECT_EQ(om.OmUpdateProgress(1, 2), 0);
  om.OmCloseProgress();

  // Closed: the earlier handler is back, and a new display starts afresh.
  raise(SIGINT);
  EXPECT_EQ(g_test_handler_calls, 2);
  om.OmOpenProgress(0);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);

  // A second Ctrl-C while the first is pending goes to the earlier handler, so a caller that no
  // longer asks can still be interrupted.
  raise(SIGINT);
  raise(SIGINT);
  EXPECT_EQ(g_test_handler_calls, 4);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 0);
  om.OmCloseProgress();

  struct sigaction after {};
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, CountingHandler);
  sigaction(SIGINT, &before, nullptr);
}

TEST_F(OmOutHeadless, MessagesGoToStandardErrorAndNeverWait) {
  int32_t info = -1;
  int32_t question = -1;
  int32_t other_kind = -1;
  const std::string written = CaptureStandardError([&] {
    info = om.OpenMessageWin("Ombrix - Error", "Cannot open an X Alpha picture", 1);
    question = om.OpenMessageWin("Ombrix - Warning",
                                 "Cannot find file\n\"a.tga\".\nDo you want to replace it with a new file.", 0);
    other_kind = om.OpenMessageWin("Ombrix - Message", "kind 7", 7);
    om.OpenMessageWin(nullptr, nullptr, 1);
  });
  EXPECT_EQ(info, 1);
  EXPECT_EQ(question, 0);  // nobody to answer: "No"
  EXPECT_EQ(other_kind, 1);
  EXPECT_EQ(written,
            "Ombrix - Error: Cannot open an X Alpha picture\n"
            "Ombrix - Warning: Cannot find file\n\"a.tga\".\nDo you want to replace it with a new file.\n"
            "Ombrix - Message: kind 7\n"
            ": \n");
}

// On a terminal the display is one line redrawn in place; setting only the info text keeps the
// other texts.
TEST_F(OmOutHeadless, TerminalShowsOneLineRedrawnInPlace) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  winsize size{};
  size.ws_col = 120;
  size.ws_row = 24;
  ioctl(terminal, TIOCSWINSZ, &size);
  {
    StandardErrorRedirect redirect(terminal);
    om.OmOpenProgress(0);
    om.OmInitProgress(1, 0, 2);
    om.OmSetMessage("Ombrix Working - Frame 1 ...", "Total work (1/2)", "Applying \"Blur\"...", "Applying \"Blur\"...");
    EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
    om.OmSetMessage(nullptr, nullptr, nullptr, "Row 10 \xA7");
    om.OmInitProgress(2, 0, 10);
    EXPECT_EQ(om.OmUpdateProgress(2, 5), 1);
    om.OmCloseProgress();
  }
  close(terminal);
  fcntl(master, F_SETFL, O_NONBLOCK);
  const std::string output = ReadAll(master);
  close(master);

  EXPECT_EQ(output.rfind("\r[#####.....] [..........]   0% Total work (1/2) | Applying \"Blur\"...\x1b[K", 0), 0u)
      << output;
  // The last drawing is the final state, then the line is ended.
  const size_t last = output.rfind('\r', output.size() - 3);
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(output.substr(last),
            "\r[#####.....] [#####.....]  50% Total work (1/2) | Applying \"Blur\"... | Row 10 \xC2\xA7\x1b[K\r\n");
  EXPECT_EQ(output.find('\n'), output.size() - 1);  // one line only
}

}  // namespace
