// The renderer's folder: which folder a person's choice stands for, and the search of the
// computer for the renderer's configuration file "Lw.Cfg" when the setup's options open.
//
// The original searched every fixed and removable drive from C: to Z:. Here the search covers a
// fixed list of roots, the places a renderer is installed on this platform: the user's home
// folder, "/opt" and "/usr/local", in that order. Each root is searched depth first, folders in
// name order without regard to letter case (as a sorted list box orders them), names beginning
// with "." skipped, never following a symbolic link and never leaving the root's own file system
// (so "/proc", "/sys" and mounted shares are never entered).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ombrix::setup {

inline constexpr const char* kRendererConfigFile = "Lw.Cfg";
// Deeper folders are not searched: the walk ends on any tree, whatever bind mounts it holds.
inline constexpr int kMaxSearchDepth = 24;

// The folder a person chose, as the renderer folder: itself when it holds the configuration
// file, its "Programs" folder when that holds it (names in any letter case), else nothing.
std::optional<std::string> AcceptRendererFolder(const std::string& folder);

// The roots searched, in order: $HOME (when set), "/opt", "/usr/local".
std::vector<std::string> RendererSearchRoots();

// Called with each folder before it is searched; returning false stops the search.
using SearchProgress = std::function<bool(const std::string& folder)>;

// The first folder, in search order, that holds the configuration file; empty when none does or
// the search was stopped.
std::string FindRendererFolder(const std::vector<std::string>& roots, const SearchProgress& progress);

}  // namespace ombrix::setup
