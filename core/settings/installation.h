// The settings an installation starts with, written for an installation directory. The setup
// program writes them when it installs; the command-line host writes them into a private store
// when the user's store knows no installation.
#pragma once

#include <string>

namespace ombrix {

// Writes the initial settings for install_dir. With only_existing_plugins, plug-in files that
// are not present in its Plugins folder are left out of the plug-in list.
void WriteInstallationDefaults(const std::string& install_dir, bool only_existing_plugins = true);

}  // namespace ombrix
