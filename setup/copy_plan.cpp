// The copy plan.
#include "setup/copy_plan.h"

namespace ombrix::setup {
namespace {

constexpr PlanRecord kPlugins[] = {{"Disk4", "Plugins/*.*", "Plugins", true}};
// The help files are spread over two disks, each with a "Help" folder of its own.
constexpr PlanRecord kHelpFiles[] = {{"Disk2", "Help/*.*", "Help", true}, {"Disk3", "Help/*.*", "Help", true}};
constexpr PlanRecord kPictures[] = {{"Disk4", "Images/*.*", "Images", true}};
constexpr PlanRecord kBrushes[] = {{"Disk4", "Brushes/*.*", "Brushes", true}};
constexpr PlanRecord kExamples[] = {{"Disk4", "Samples/*.*", "Samples", true}};
// The picture converter travels in the programs' folder and is installed into its own as well.
constexpr PlanRecord kPrograms[] = {{"Disk5", "Programs/*.*", "Programs", true},
                                    {"Disk5", "Programs/Im_pp", "UGIO/Im_pp", true}};
constexpr PlanRecord kUninstaller[] = {{"Disk5", "System/Uninst.exe", "Zorvex/Ombrix/Uninst.Exe", false}};

constexpr ComponentPlan kInstallOrder[] = {
    {Component::kPlugins, "P&lug-ins", 308, kPlugins},   {Component::kHelpFiles, "&Help files", 3093, kHelpFiles},
    {Component::kPictures, "&Pictures", 480, kPictures}, {Component::kBrushes, "Br&ushes", 250, kBrushes},
    {Component::kExamples, "&Examples", 30, kExamples},  {Component::kPrograms, "Pr&ograms", 2600, kPrograms},
};

}  // namespace

std::span<const ComponentPlan> InstallOrder() { return kInstallOrder; }

const ComponentPlan& PlanOf(Component component) {
  for (const ComponentPlan& plan : kInstallOrder)
    if (plan.component == component) return plan;
  return kInstallOrder[0];
}

std::span<const PlanRecord> UninstallerPlan() { return kUninstaller; }

unsigned SpaceNeeded(const ComponentSelection& selection) {
  unsigned total = 0;
  for (const ComponentPlan& plan : kInstallOrder)
    if (selection[static_cast<size_t>(plan.component)]) total += plan.size_kb;
  return total;
}

}  // namespace ombrix::setup
