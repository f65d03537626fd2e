// The integration steps on a small installation tree in a private home: start-menu entries that
// the desktop accepts, the uninstall registration, file types, initial settings and renderer
// lines, and an uninstall by replaying the log that leaves the home as it was.
#include "setup/integration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/platform/mime_database.h"
#include "core/platform/process.h"
#include "core/platform/registry.h"
#include "core/settings/installation.h"
#include "core/settings/settings.h"
#include "setup/desktop_entry.h"
#include "setup/renderer_config.h"
#include "setup/replay.h"
#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;
using ombrix::platform::RegistryQueryString;
using ombrix::platform::RegistryRoot;
using ombrix::test::ReadTextFile;
using ombrix::test::WriteTextFile;
namespace fs = std::filesystem;

class Recorder : public IntegrationReporter {
 public:
  void Step(const std::string& action, const std::string& object) override { steps.push_back(action + " " + object); }
  void Message(const std::string& caption, const std::string& text) override {
    messages.push_back(caption + ": " + text);
  }
  std::vector<std::string> steps, messages;
};

class Integration : public ::testing::Test {
 protected:
  void SetUp() override {
    install_ = home_.Path("opt/Ombrix");
    for (const char* file : {"Programs/ombrix-editor", "Programs/ombrix-filter.p", "Help/Ombrix.Hlp",
                             "Help/ZvOmPal.Hlp", "Readme.Hlp", "Plugins/ZvPic.Omp"})
      WriteTextFile(install_ + "/" + file, "#!/bin/sh\n");
    chmod((install_ + "/Programs/ombrix-editor").c_str(), 0755);
    locations_ = UserInstallLocations(install_ + "/", home_.Path("lw"));
    fs::create_directories(locations_.ProgramDirectory());
    WriteTextFile(locations_.UninstallerPath(), "#!/bin/sh\n");
    chmod(locations_.UninstallerPath().c_str(), 0755);
  }

  // The entries of the log as "kind text-A [text-B]", paths inside the home shortened to "~".
  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (const LogEntry& entry : log_.entries) {
      auto shorten = [&](std::string text) {
        for (size_t at; (at = text.find(home_.Root())) != std::string::npos;)
          text.replace(at, home_.Root().size(), "~");
        return text;
      };
      out.push_back(std::to_string(entry.kind) + " " + shorten(entry.a) + (entry.b.empty() ? "" : " | " + entry.b));
    }
    return out;
  }

  static std::string Cfg(const std::string& dir) { return dir + "/LW.cfg"; }

  ombrix::test::PrivateHome home_;
  std::string install_;
  InstallLocations locations_;
  UninstallLog log_;
  Recorder reporter_;
};

TEST_F(Integration, StartMenuLinksExistingTargetsAsValidDesktopEntries) {
  CreateStartMenu(locations_, log_, reporter_);
  const std::string menu = "~/home/.local/share/applications";
  const std::vector<std::string> expected = {
      "1 " + menu,  // the session had no start menu yet
      "1 " + menu + "/Zorvex",
      "1 " + menu + "/Zorvex/Ombrix",
      "0 " + menu + "/Zorvex/Ombrix/Ombrix - v1.0e.desktop",
      "0 " + menu + "/Zorvex/Ombrix/Ombrix - Help.desktop",
      "0 " + menu + "/Zorvex/Ombrix/Zorvex - Palette Filters Help.desktop",
      "0 " + menu + "/Zorvex/Ombrix/Read me.desktop",  // "Readme.hlp" finds "Readme.Hlp"
      "0 " + menu + "/Zorvex/Ombrix/Uninstall Ombrix.desktop",
  };
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(reporter_.steps.front(), "Creating sub menu... Zorvex");
  EXPECT_EQ(reporter_.steps[2], "Creating menu item... Ombrix - v1.0e.desktop");
  EXPECT_EQ(reporter_.steps.size(), 11u);  // two sub-menus, eight links, and the second list's one

  const std::string dir = locations_.start_menu_dir + "/Zorvex/Ombrix/";
  EXPECT_EQ(ReadTextFile(dir + "Ombrix - v1.0e.desktop"),
            "[Desktop Entry]\nType=Application\nName=Ombrix - v1.0e\nExec=\"" + install_ +
                "/Programs/ombrix-editor\" %f\nPath=" + install_ +
                "/Programs\nMimeType=application/x-ombrix-script;\nTerminal=false\n");
  EXPECT_EQ(ReadTextFile(dir + "Uninstall Ombrix.desktop"),
            "[Desktop Entry]\nType=Application\nName=Uninstall Ombrix\nExec=\"" + locations_.UninstallerPath() +
                "\"\nPath=" + locations_.ProgramDirectory() + "\nTerminal=false\n");
  EXPECT_EQ(ReadTextFile(dir + "Read me.desktop"),
            "[Desktop Entry]\nType=Link\nName=Read me\nURL=" + FileUrl(install_ + "/Readme.Hlp") + "\n");

  ombrix::platform::Process validate;
  std::vector<std::string> arguments;
  for (const auto& entry : fs::directory_iterator(dir)) arguments.push_back(entry.path().string());
  ASSERT_TRUE(validate.Start({"desktop-file-validate", arguments, {}})) << "desktop-file-validate is not installed";
  ASSERT_TRUE(validate.Wait());
  EXPECT_EQ(validate.ExitCode(), 0);
}

TEST(DesktopEntryText, ExecArgumentsAndUrlsEscapeWhatTheFormatReserves) {
  EXPECT_EQ(QuoteExecArgument("/a b/$x`y\"z\\w%v"), "\"/a b/\\$x\\`y\\\"z\\\\w%%v\"");
  EXPECT_EQ(FileUrl("/a b/\xC3\xA9#%.txt"), "file:///a%20b/%C3%A9%23%25.txt");
  const std::string text = FormatDesktopEntry({"N", "/d\\e/p", ""}, true);
  // The value's own escaping doubles the backslash that the quoting added, and the one of the path.
  EXPECT_NE(text.find("Exec=\"/d\\\\\\\\e/p\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Path=/d\\\\e\n"), std::string::npos) << text;
}

TEST_F(Integration, RegistrationAndFileTypesGoIntoTheirRoots) {
  RegisterUninstaller(locations_, log_);
  EXPECT_EQ(RegistryQueryString(RegistryRoot::kLocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ombrix\\", "DisplayName"),
            "Zorvex - Ombrix v1.0e");
  EXPECT_EQ(RegistryQueryString(RegistryRoot::kLocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ombrix\\", "UninstallString"),
            locations_.UninstallerPath() + " " + locations_.LogPath());

  RegisterFileTypes(locations_, log_);
  const std::string editor = install_ + "/Programs/ombrix-editor";
  const std::pair<const char*, std::string> defaults[] = {
      {".Omp", "Ombrix.Plug-in"},
      {"Ombrix.Plug-in", "Ombrix plug-in"},
      {"Ombrix.Plug-in\\DefaultIcon", "%1"},
      {"Ombrix.Plug-in\\Shell\\Open\\Command", editor},
      {".Oms", "Ombrix.Script"},
      {"Ombrix.Script", "Ombrix script"},
      {"Ombrix.Script\\DefaultIcon", editor + ",1"},
      {"Ombrix.Script\\Shell\\Open\\Command", editor + " %1"},
      {".dta", "Data.File"},
      {"Data.File", "Data File"},
      {"Data.File\\DefaultIcon", editor + ",2"},
  };
  for (const auto& [key, text] : defaults)
    EXPECT_EQ(RegistryQueryString(RegistryRoot::kClassesRoot, key, ""), text) << key;
  EXPECT_FALSE(ombrix::platform::RegistryKeyExists(RegistryRoot::kClassesRoot, "Data.File\\Shell"));

  // The registration is logged; the file types only through the desktop's files.
  std::vector<std::string> entries = Entries();
  ASSERT_GE(entries.size(), 4u);
  EXPECT_EQ(entries[0], "4 SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ | Ombrix");
  EXPECT_EQ(entries[1], "1 ~/home/.local/share/mime");
  EXPECT_EQ(entries[2], "1 ~/home/.local/share/mime/packages");
  EXPECT_EQ(entries[3], "0 ~/home/.local/share/mime/packages/zorvex-ombrix.xml");
  for (size_t i = 4; i < entries.size(); ++i) EXPECT_EQ(entries[i].find("~/home/.local/share/mime/"), 2u) << entries[i];
  EXPECT_NE(ReadTextFile(home_.DataHome() + "/mime/packages/zorvex-ombrix.xml").find("<glob pattern=\"*.oms\"/>"),
            std::string::npos);
  // The database knows the script type now.
  EXPECT_NE(ReadTextFile(home_.DataHome() + "/mime/globs2").find("application/x-ombrix-script:*.oms"),
            std::string::npos);
}

TEST_F(Integration, InitialSettingsAreTheTableWithTheProductKeyLoggedAfterTheFirst) {
  WriteInitialSettings(locations_, log_);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"2 Software\\Zorvex\\ | Ombrix", "2 Software\\Zorvex\\ | Software"}));
  EXPECT_EQ(RegistryQueryString(RegistryRoot::kCurrentUser, "Software\\Zorvex\\Software\\", "Ombrix"),
            install_ + "/Programs/ombrix-editor");
  EXPECT_EQ(ombrix::ReadSetting(nullptr, "InstallDir"), install_);
  EXPECT_EQ(ombrix::ReadSetting(nullptr, "Im_pp"), install_ + "/UGIO/Im_pp");
  EXPECT_EQ(ombrix::ReadSetting(nullptr, "Copyright"), ombrix::kCopyrightNotice);
  // Every plug-in is listed, whether or not this installation copied it.
  EXPECT_EQ(ombrix::ReadSettingNumber("Plug-ins", "N_Plug", 0), 3);
  EXPECT_EQ(ombrix::ReadSetting("Plug-ins", "Plug-in_2"), install_ + "/Plugins/ZvCom.Omp");
  EXPECT_EQ(ombrix::ReadSetting("References", "ZvPal.Omp"), install_ + "/Plugins/ZvPal.Omp");
  EXPECT_EQ(ombrix::ReadSetting("Options", "TestPicture"), install_ + "/Images/Back.Bmp");
  EXPECT_EQ(ombrix::ReadSettingNumber("Options", "B-Height", 0), 480);
  // The registry file holds the values in the table's order.
  const std::string text = ombrix::test::RegistryFileText("HKEY_CURRENT_USER");
  EXPECT_LT(text.find("\"InstallDir\""), text.find("\"Im_pp\""));
  EXPECT_LT(text.find("\"AskDel\""), text.find("\"StartLast\""));

  // A product list that was there before stays when the product goes.
  UninstallLog second;
  WriteInitialSettings(locations_, second);
  ASSERT_EQ(second.entries.size(), 1u);
  EXPECT_EQ(second.entries[0].b, "Ombrix");
}

TEST_F(Integration, RendererLinesReplaceThoseOfEarlierInstallations) {
  const std::string lw = home_.Path("lw");
  const std::string original =
      "LightWave config\nPlugin ImageFilterHandler Ombrix C:\\old\\path Ombrix\n"
      "Plugin ImageFilterHandler Other x\n" +
      std::string(300, 'p') + "\nno line feed at the end";
  WriteTextFile(Cfg(lw), original);
  ConfigureRenderer(locations_, log_, reporter_);
  const std::vector<std::string> lines = RendererLines(install_);
  EXPECT_EQ(lines[0], "Plugin ImageFilterHandler Ombrix " + install_ + "/Programs/ombrix-filter.p Ombrix\n");
  EXPECT_EQ(lines[1], "Plugin ImageFilterInterface Ombrix " + install_ + "/Programs/ombrix-filter.p Ombrix\n");
  const std::string first = ReadTextFile(Cfg(lw));
  EXPECT_EQ(first, "LightWave config\nPlugin ImageFilterHandler Other x\n" + std::string(300, 'p') +
                       "\nno line feed at the end\n" + lines[0] + lines[1]);
  EXPECT_EQ(ReadTextFile(lw + "/LW.Old"), original);
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"0 ~/lw/LW.Old", "3 ~/lw/LW.cfg | " + lines[0], "3 ~/lw/LW.cfg | " + lines[1]}));

  // A second installation over the first: one copy of each line, and the backup is the file as
  // it was before this installation.
  UninstallLog second;
  ConfigureRenderer(locations_, second, reporter_);
  EXPECT_EQ(ReadTextFile(Cfg(lw)), first);
  EXPECT_EQ(ReadTextFile(lw + "/LW.Old"), first);
  EXPECT_TRUE(reporter_.messages.empty());

  // Replaying the second log takes the lines out and the backup away.
  ReplayUninstallLog(second, nullptr);
  EXPECT_EQ(ReadTextFile(Cfg(lw)), "LightWave config\nPlugin ImageFilterHandler Other x\n" + std::string(300, 'p') +
                                       "\nno line feed at the end\n");
  EXPECT_FALSE(fs::exists(lw + "/LW.Old"));
}

TEST_F(Integration, RendererFilesAreFoundWithoutRegardToCaseAndEachOnlyOnce) {
  // No renderer directory: only the start menu's parent counts, and there the names are spelled
  // differently.
  locations_.renderer_dir = kNoRendererDirectory;
  const std::string parent = home_.DataHome();
  WriteTextFile(parent + "/lw.CFG", "a\n");
  WriteTextFile(parent + "/LW.OLD", "stale backup\n");
  chmod((parent + "/LW.OLD").c_str(), 0444);
  ConfigureRenderer(locations_, log_, reporter_);
  EXPECT_EQ(ReadTextFile(parent + "/lw.CFG"), "a\n" + RendererLines(install_)[0] + RendererLines(install_)[1]);
  EXPECT_FALSE(fs::exists(parent + "/LW.OLD"));
  EXPECT_EQ(ReadTextFile(parent + "/LW.Old"), "a\n");
  EXPECT_EQ(log_.entries.size(), 3u);

  // The renderer directory is the start menu's parent: it is configured once, so its backup
  // stays the file as it was.
  UninstallLog again;
  locations_.renderer_dir = parent;
  ConfigureRenderer(locations_, again, reporter_);
  EXPECT_EQ(again.entries.size(), 3u);
  EXPECT_EQ(ReadTextFile(parent + "/LW.Old"), ReadTextFile(parent + "/lw.CFG"));

  // A directory without a configuration file is left alone, backup and all.
  const std::string bare = home_.Path("bare");
  WriteTextFile(bare + "/LW.Old", "only copy\n");
  UninstallLog none;
  ConfigureRendererIn(bare, install_, none, reporter_);
  EXPECT_TRUE(none.entries.empty());
  EXPECT_EQ(ReadTextFile(bare + "/LW.Old"), "only copy\n");
  EXPECT_TRUE(reporter_.messages.empty());
}

TEST_F(Integration, ReplayingTheLogLeavesTheHomeAsItWasButTheFileTypes) {
  // A session that already has settings, programs in its list, a MIME package of another program
  // and a renderer configuration.
  ombrix::platform::RegistrySetString(RegistryRoot::kCurrentUser, "Software\\Other\\", "Kept", "1");
  ombrix::platform::RegistrySetString(RegistryRoot::kLocalMachine,
                                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other\\", "DisplayName",
                                      "Other");
  ombrix::platform::RegistrySetString(RegistryRoot::kClassesRoot, ".txt\\", "", "txtfile");
  WriteTextFile(home_.DataHome() + "/mime/packages/other.xml",
                "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                "<mime-type type=\"application/x-other\"><glob pattern=\"*.oth\"/></mime-type>\n</mime-info>\n");
  ASSERT_EQ(ombrix::platform::RefreshMimeDatabase(home_.DataHome() + "/mime"), ombrix::platform::MimeRefresh::kDone);
  WriteTextFile(Cfg(home_.Path("lw")), "LightWave config\n");

  const auto tree = ombrix::test::TreeSnapshot(home_.Root() + "/home");
  const auto lw = ombrix::test::TreeSnapshot(home_.Path("lw"));
  const std::string user = ombrix::test::RegistryFileText("HKEY_CURRENT_USER");
  const std::string machine = ombrix::test::RegistryFileText("HKEY_LOCAL_MACHINE");

  CreateStartMenu(locations_, log_, reporter_);
  RegisterUninstaller(locations_, log_);
  RegisterFileTypes(locations_, log_);
  WriteInitialSettings(locations_, log_);
  ConfigureRenderer(locations_, log_, reporter_);
  ASSERT_NE(ombrix::test::RegistryFileText("HKEY_CURRENT_USER"), user);
  ReplayUninstallLog(log_, nullptr);

  EXPECT_EQ(ombrix::test::TreeDifference(tree, ombrix::test::TreeSnapshot(home_.Root() + "/home")), "");
  EXPECT_EQ(ombrix::test::TreeDifference(lw, ombrix::test::TreeSnapshot(home_.Path("lw"))), "");
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_CURRENT_USER"), user);
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_LOCAL_MACHINE"), machine);
  // The file types were never logged and stay, beside what was there before.
  EXPECT_EQ(RegistryQueryString(RegistryRoot::kClassesRoot, ".Oms", ""), "Ombrix.Script");
  EXPECT_EQ(RegistryQueryString(RegistryRoot::kClassesRoot, ".txt", ""), "txtfile");
}

}  // namespace
