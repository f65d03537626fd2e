// ombrix-integrate: ties an installation tree into the user's session the way the setup program
// does after copying it, and writes the uninstall log that takes all of it back.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/platform/environment.h"
#include "core/platform/file_modes.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "setup/desktop_entry.h"
#include "setup/file_types.h"
#include "setup/install_locations.h"
#include "setup/integration.h"

namespace {

constexpr const char* kUsage =
    "Usage: ombrix-integrate --install-dir DIR [--renderer-dir DIR] [--uninstaller FILE]\n"
    "       ombrix-integrate --install-dir DIR --package-files ROOT\n"
    "Ties the installation tree DIR into the current user's session as the setup program does\n"
    "after copying it: start-menu entries (desktop entries under $XDG_DATA_HOME/applications),\n"
    "the uninstall registration, the file types (registry and MIME database), the initial\n"
    "settings and the renderer's configuration lines (in DIR given by --renderer-dir, and in\n"
    "$XDG_DATA_HOME when that holds \"lw.cfg\"). It writes the uninstall log \"Install.Nui\" into\n"
    "$XDG_DATA_HOME/zorvex/windows/Zorvex/Ombrix; --uninstaller copies FILE there as\n"
    "\"Uninst.Exe\", which the registration names.\n"
    "With --package-files it instead writes the system-wide desktop entry of the editor and the\n"
    "MIME package of the file types for an installation at DIR under ROOT (usr/share/...), as a\n"
    "distribution package installs them.\n"
    "Options: --install-dir DIR, --renderer-dir DIR, --uninstaller FILE, --package-files ROOT (above); --help  this "
    "text.\n"
    "Example: ombrix-integrate --install-dir stage --renderer-dir ~/LightWave --uninstaller "
    "build/release/setup/uninstall\n"
    "Exit status: 0 done, 1 failed (no such tree, the log cannot be written), 2 bad command line.\n";

class PrintingReporter : public ombrix::setup::IntegrationReporter {
 public:
  void Step(const std::string& action, const std::string& object) override {
    std::printf("%s %s\n", action.c_str(), object.c_str());
  }
  void Message(const std::string& caption, const std::string& text) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  }
};

bool CopyProgram(const std::string& from, const std::string& to) {
  const std::optional<std::string> bytes = ombrix::platform::ReadWholeFile(from.c_str());
  return bytes && ombrix::platform::ReplaceFileAtomically(to.c_str(), *bytes) &&
         ombrix::platform::SetFilePermissions(to.c_str(), 0755);
}

// The files a distribution package installs system-wide: the editor's menu entry and the file
// types, for the installation tree at install_dir (which need not exist where they are written).
bool WritePackageFiles(const std::string& install_dir, const std::string& root) {
  using namespace ombrix::setup;
  using ombrix::platform::JoinPath;
  const std::string applications = JoinPath(root, "usr/share/applications");
  const std::string packages = JoinPath(root, "usr/share/mime/packages");
  const DesktopLink link{"Ombrix", JoinPath(install_dir, "Programs/ombrix-editor"), kScriptMimeType};
  const std::string entry = FormatDesktopEntry(link, true) +
                            "Comment=Build and test image effects for 3D animation\n"
                            "Categories=Graphics;3DGraphics;\n";
  const std::string entry_path = JoinPath(applications, "zorvex-ombrix-editor.desktop");
  const std::string mime_path = JoinPath(packages, kMimePackageName);
  if (!ombrix::platform::MakeDirectories(applications.c_str()) ||
      !ombrix::platform::MakeDirectories(packages.c_str()) ||
      !ombrix::platform::ReplaceFileAtomically(entry_path.c_str(), entry) ||
      !ombrix::platform::ReplaceFileAtomically(mime_path.c_str(), MimePackageText())) {
    std::fprintf(stderr, "ombrix-integrate: cannot write the package files under \"%s\"\n", root.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string install_dir, renderer_dir, uninstaller, package_root;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    std::string* target = option == "--install-dir"     ? &install_dir
                          : option == "--renderer-dir"  ? &renderer_dir
                          : option == "--uninstaller"   ? &uninstaller
                          : option == "--package-files" ? &package_root
                                                        : nullptr;
    if (target == nullptr || i + 1 >= argc) {
      std::fprintf(stderr, "ombrix-integrate: %s \"%s\"\n%s",
                   target == nullptr ? "unknown option" : "missing value for", option.c_str(), kUsage);
      return 2;
    }
    *target = argv[++i];
  }
  if (install_dir.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (!package_root.empty()) return WritePackageFiles(install_dir, package_root) ? 0 : 1;
  if (!ombrix::platform::IsAbsolutePath(install_dir.c_str()))
    install_dir = ombrix::platform::JoinPath(ombrix::platform::CurrentDirectory(), install_dir);
  if (!ombrix::platform::IsDirectory(install_dir)) {
    std::fprintf(stderr, "ombrix-integrate: \"%s\" is not a folder\n", install_dir.c_str());
    return 1;
  }

  using namespace ombrix::setup;
  const InstallLocations locations = UserInstallLocations(install_dir, renderer_dir);
  if (!ombrix::platform::MakeDirectories(locations.ProgramDirectory().c_str())) {
    std::fprintf(stderr, "ombrix-integrate: cannot create \"%s\"\n", locations.ProgramDirectory().c_str());
    return 1;
  }
  if (!uninstaller.empty() && !CopyProgram(uninstaller, locations.UninstallerPath())) {
    std::fprintf(stderr, "ombrix-integrate: cannot copy \"%s\" to \"%s\"\n", uninstaller.c_str(),
                 locations.UninstallerPath().c_str());
    return 1;
  }

  PrintingReporter reporter;
  UninstallLog log;
  log.name = kDisplayName;
  CreateStartMenu(locations, log, reporter);
  RegisterUninstaller(locations, log);
  RegisterFileTypes(locations, log);
  WriteInitialSettings(locations, log);
  ConfigureRenderer(locations, log, reporter);
  if (!WriteUninstallLog(locations.LogPath(), log)) {
    std::fprintf(stderr, "ombrix-integrate: cannot write the uninstall log \"%s\"\n", locations.LogPath().c_str());
    return 1;
  }
  std::printf("Uninstall log: %s (%zu entries)\n", locations.LogPath().c_str(), log.entries.size());
  return 0;
}
