// The launcher's rules on their own: splitting command lines as the original platform's
// programs do, and the browser and mail command lines built from a registered command.
#include "launcher/command_line.h"

#include <gtest/gtest.h>

#include "launcher/registered_commands.h"

namespace {

using ombrix::launcher::SplitCommandLine;
using Words = std::vector<std::string>;

TEST(CommandLine, QuotesGroupAndBackslashesEscapeOnlyBeforeQuotes) {
  EXPECT_EQ(SplitCommandLine("web \"%1\" x"), (Words{"web", "%1", "x"}));
  EXPECT_EQ(SplitCommandLine("mail /m \"a.b"), (Words{"mail", "/m", "a.b"}));  // an open quote runs to the end
  EXPECT_EQ(SplitCommandLine("  prog\t a  b\t"), (Words{"prog", "a", "b"}));
  EXPECT_EQ(SplitCommandLine("p \"a b\"c d"), (Words{"p", "a bc", "d"}));
  EXPECT_EQ(SplitCommandLine("p a\\\\b \\\\\\\\\"x y\""), (Words{"p", "a\\\\b", "\\\\x y"}));
  EXPECT_EQ(SplitCommandLine("p \\\"quoted\\\" a\\\\\\\"b"), (Words{"p", "\"quoted\"", "a\\\"b"}));
  EXPECT_EQ(SplitCommandLine("p \"say \"\"hi\"\"\""), (Words{"p", "say \"hi\""}));
  EXPECT_EQ(SplitCommandLine("p \"\" x"), (Words{"p", "", "x"}));
  EXPECT_EQ(SplitCommandLine("web \"%1\" "), (Words{"web", "%1"}));
}

TEST(CommandLine, TheProgramNameHasNoEscapes) {
  EXPECT_EQ(SplitCommandLine("\"/opt/My Web/web\" -new \"%1\""), (Words{"/opt/My Web/web", "-new", "%1"}));
  EXPECT_EQ(SplitCommandLine("C:\\Web\\web.exe x"), (Words{"C:\\Web\\web.exe", "x"}));
  EXPECT_EQ(SplitCommandLine("\"a\\\"b c"), (Words{"a\\", "b", "c"}));
  EXPECT_EQ(SplitCommandLine("\"unclosed name"), (Words{"unclosed name"}));
  EXPECT_TRUE(SplitCommandLine("").empty());
  EXPECT_TRUE(SplitCommandLine(" \t ").empty());
  EXPECT_TRUE(SplitCommandLine("\"\" x").empty());
}

TEST(RegisteredCommandLines, BrowserAppendsAndMailCutsAtThePercentSign) {
  using namespace ombrix::launcher;
  EXPECT_EQ(BrowserCommandLine("C:\\Web\\web.exe \"%1\"", "x"), "C:\\Web\\web.exe \"%1\" x");
  EXPECT_EQ(BrowserCommandLine("web", ""), "web ");
  EXPECT_EQ(MailCommandLine("C:\\Mail\\mail.exe /m \"%1\"", "a.b"), "C:\\Mail\\mail.exe /m \"a.b");
  EXPECT_EQ(MailCommandLine("mail %1 %2", "a@b"), "mail a@b");
  EXPECT_EQ(MailCommandLine("mail -compose", "a@b"), "mail -compose");
}

}  // namespace
