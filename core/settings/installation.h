// The settings an installation starts with, written for an installation directory. The setup
// program writes them when it installs; the command-line host writes them into a private store
// when the user's store knows no installation.
#pragma once

#include <string>
#include <vector>

namespace ombrix {

// Outside the product key: the list of the maker's programs, one value per product holding the
// full path of its main program.
inline constexpr const char* kProductListKey = "Software\\Zorvex\\Software\\";
inline constexpr const char* kProductListValue = "Ombrix";
// The product's legal notice, a value of the product key.
inline constexpr const char* kCopyrightValue = "Copyright";
inline constexpr const char* kCopyrightNotice = "Ombrix (c) Zorvex. All rights reserved.";

// One initial value: a key path under the current user's root (ending with a backslash), the
// value's name and its text.
struct InitialSetting {
  std::string key_path;
  std::string name;
  std::string text;
};

// Every initial value for install_dir, in the order they are written. With
// only_existing_plugins, plug-in files that are not present in its Plugins folder are left out
// of the plug-in list.
std::vector<InitialSetting> InitialSettings(const std::string& install_dir, bool only_existing_plugins);

// The installation tree that a program in program_dir belongs to: the folder above it, when
// program_dir is that tree's "Programs" folder holding the image-filter module and the tree has
// its "Plugins" folder (a system-wide installation from the package, or a copied tree). Empty for
// any other folder.
std::string InstallationTreeOf(const std::string& program_dir);

// Writes InitialSettings(install_dir, only_existing_plugins) into the current user's store.
void WriteInstallationDefaults(const std::string& install_dir, bool only_existing_plugins = true);

}  // namespace ombrix
