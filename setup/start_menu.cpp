// The start-menu plan: sub-menus are folders of the start-menu directory and links are desktop
// entries in them, named as the original links with ".desktop" for ".lnk".
#include <string>
#include <string_view>

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/file_modes.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "setup/desktop_entry.h"
#include "setup/file_types.h"
#include "setup/integration.h"

namespace ombrix::setup {
namespace {

enum class PlanStep { kMakeSubMenu, kMakeLink };

struct PlanRecord {
  PlanStep step;
  const char* source;  // sub-menu, or the link's target relative to the list's base directory
  const char* target;  // the link file relative to the start-menu directory
  bool opens_scripts;  // the link through which the desktop opens effect scripts
};

// Relative to the installation directory. The "Uninst.Exe" row finds no target there (the
// uninstaller lies in the program directory) and is skipped; the second list makes that link.
constexpr PlanRecord kInstallPlan[] = {
    {PlanStep::kMakeSubMenu, "Zorvex", nullptr, false},
    {PlanStep::kMakeSubMenu, "Zorvex/Ombrix", nullptr, false},
    {PlanStep::kMakeLink, "Programs/ombrix-editor", "Zorvex/Ombrix/Ombrix - v1.0e.lnk", true},
    {PlanStep::kMakeLink, "Uninst.Exe", "Zorvex/Ombrix/Uninstall Ombrix.lnk", false},
    {PlanStep::kMakeLink, "Help/Ombrix.Hlp", "Zorvex/Ombrix/Ombrix - Help.lnk", false},
    {PlanStep::kMakeLink, "Help/ZvOmPal.Hlp", "Zorvex/Ombrix/Zorvex - Palette Filters Help.lnk", false},
    {PlanStep::kMakeLink, "Help/ZvOmCom.Hlp", "Zorvex/Ombrix/Zorvex - Composition Filters Help.lnk", false},
    {PlanStep::kMakeLink, "Help/ZvOmPic.Hlp", "Zorvex/Ombrix/Zorvex - Picture Filters Help.lnk", false},
    {PlanStep::kMakeLink, "Help/ZvCat.Hlp", "Zorvex/Ombrix/Zorvex Products.lnk", false},
    {PlanStep::kMakeLink, "Readme.hlp", "Zorvex/Ombrix/Read me.lnk", false},
};

// Relative to the Windows directory.
constexpr PlanRecord kWindowsPlan[] = {
    {PlanStep::kMakeLink, "Zorvex/Ombrix/Uninst.Exe", "Zorvex/Ombrix/Uninstall Ombrix.lnk", false},
};

constexpr std::string_view kLinkExtension = ".lnk";
constexpr std::string_view kDesktopExtension = ".desktop";

// "Zorvex/Ombrix/Read me.lnk" as "Read me".
std::string LinkName(const char* link) {
  std::string name = platform::FileNamePart(link);
  if (name.size() > kLinkExtension.size() && name.ends_with(kLinkExtension))
    name.resize(name.size() - kLinkExtension.size());
  return name;
}

template <size_t N>
void RunPlan(const PlanRecord (&plan)[N], const std::string& base, const InstallLocations& locations, UninstallLog& log,
             IntegrationReporter& reporter) {
  for (const PlanRecord& record : plan) {
    if (record.step == PlanStep::kMakeSubMenu) {
      reporter.Step("Creating sub menu...", record.source);
      const std::string dir = platform::JoinPath(locations.start_menu_dir, record.source);
      platform::MakeDirectories(dir.c_str());
      log.Add(EntryKind::RemoveDirectory, dir);
      continue;
    }
    const std::string name = LinkName(record.target);
    reporter.Step("Creating menu item...", name + std::string(kDesktopExtension));
    // Names are looked up without regard to letter case, as the original platform finds them.
    const std::string target = platform::ResolveIgnoringCase(base, record.source);
    if (target.empty() || platform::IsDirectory(target)) continue;
    const std::string link_path =
        platform::JoinPath(locations.start_menu_dir, platform::JoinPath(platform::DirectoryPart(record.target), name)) +
        std::string(kDesktopExtension);
    const DesktopLink link{name, target, record.opens_scripts ? std::string(kScriptMimeType) : std::string()};
    const bool program = platform::IsExecutableFile(target.c_str());
    if (platform::ReplaceFileAtomically(link_path.c_str(), FormatDesktopEntry(link, program)))
      log.Add(EntryKind::RemoveFile, link_path);
  }
}

}  // namespace

void CreateStartMenu(const InstallLocations& locations, UninstallLog& log, IntegrationReporter& reporter) {
  // A fresh session may have no start-menu directory yet; what this makes goes with the product.
  MakeDirectoryLogged(locations.start_menu_dir, log);
  RunPlan(kInstallPlan, locations.install_dir, locations, log, reporter);
  RunPlan(kWindowsPlan, locations.windows_dir, locations, log, reporter);
}

}  // namespace ombrix::setup
