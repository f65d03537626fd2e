// The steps that tie an installation into its surroundings, each logging what it adds so that
// the uninstaller can take it back: start-menu entries, the uninstall registration, file types,
// the initial settings and the renderer's configuration lines. The setup program runs the first
// three right after copying and the last two after its result message.
#pragma once

#include <string>

#include "setup/install_locations.h"
#include "setup/uninstall_log.h"

namespace ombrix::setup {

// The product as the list of installed programs and the uninstall log's name show it.
inline constexpr const char* kDisplayName = "Zorvex - Ombrix v1.0e";
inline constexpr const char* kUninstallParentKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr const char* kUninstallKeyName = "Ombrix";

// What the steps tell the person watching: the action and object of the current step for the
// setup's window, and messages with their captions.
class IntegrationReporter {
 public:
  virtual ~IntegrationReporter() = default;
  virtual void Step(const std::string& action, const std::string& object) {}
  virtual void Message(const std::string& caption, const std::string& text) {}
};

// Sub-menus and links of both start-menu lists; a link whose target is missing is skipped.
void CreateStartMenu(const InstallLocations& locations, UninstallLog& log, IntegrationReporter& reporter);
// "DisplayName" and "UninstallString" under HKEY_LOCAL_MACHINE.
void RegisterUninstaller(const InstallLocations& locations, UninstallLog& log);
// File types under HKEY_CLASSES_ROOT (not logged) and the desktop's MIME types (logged).
void RegisterFileTypes(const InstallLocations& locations, UninstallLog& log);
// Every initial setting under HKEY_CURRENT_USER.
void WriteInitialSettings(const InstallLocations& locations, UninstallLog& log);
// The renderer's configuration lines, in the renderer directory and in the parent of the start
// menu when that holds a configuration file.
void ConfigureRenderer(const InstallLocations& locations, UninstallLog& log, IntegrationReporter& reporter);

// Makes the directory and its missing parents, logging RemoveDirectory for each directory it
// made, outermost first, so that the replay removes them innermost first.
bool MakeDirectoryLogged(const std::string& path, UninstallLog& log);

}  // namespace ombrix::setup
