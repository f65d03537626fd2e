// What the setup program copies from the medium: six components, each a list of records naming
// the disk that holds a source, the source (relative to the medium's folder, "*.*" for every
// file of a folder), the target (relative to the installation) and whether the target is
// replaced, failures reported and the file logged. The uninstaller has a list of its own.
#pragma once

#include <array>
#include <span>

namespace ombrix::setup {

// The components in the order of the options window's boxes.
enum class Component { kPictures, kBrushes, kExamples, kPlugins, kPrograms, kHelpFiles };
inline constexpr size_t kComponentCount = 6;
using ComponentSelection = std::array<bool, kComponentCount>;
inline constexpr ComponentSelection kFullSelection = {true, true, true, true, true, true};

inline constexpr const char* kEveryFile = "*.*";

struct PlanRecord {
  const char* disk;    // the marker file that lies in the folder the source is relative to
  const char* source;  // relative to that folder; ending in kEveryFile for a folder's files
  const char* target;  // relative to the installation (the Windows directory for the uninstaller)
  bool replace_report_and_log;
};

struct ComponentPlan {
  Component component;
  const char* caption;  // the options window's box
  unsigned size_kb;
  std::span<const PlanRecord> records;
};

// In the order the components are installed: Plug-ins, Help files, Pictures, Brushes,
// Examples, Programs.
std::span<const ComponentPlan> InstallOrder();
const ComponentPlan& PlanOf(Component component);
// The uninstaller, copied into the program directory whatever was chosen.
std::span<const PlanRecord> UninstallerPlan();

// The sizes of the chosen components added up: 6761 for all of them.
unsigned SpaceNeeded(const ComponentSelection& selection);

}  // namespace ombrix::setup
