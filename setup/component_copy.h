// Copying the records of the copy plan from the medium: finding the disk that holds a record's
// source (by its marker file), expanding the files into the installation, reporting and logging
// them.
#pragma once

#include <string>

#include "gui/dialogs.h"
#include "setup/copy_plan.h"
#include "setup/uninstall_log.h"

namespace ombrix::setup {

inline constexpr const char* kSetupErrorCaption = "Setup - Error";
inline constexpr const char* kSetupMessageCaption = "Setup - Message";

// What the installing window shows of the copying.
class CopyObserver {
 public:
  virtual ~CopyObserver() = default;
  // Before the files of a folder: how many there are.
  virtual void SetRange(int count) {}
  // Before each file: "Unpacking...", its source, "To" and its target; index counts from 1.
  virtual void ShowFile(int index, const std::string& source, const std::string& target) {}
};

// The medium's folder (changed when a disk is found elsewhere), the installation and where the
// logged entries go.
struct CopyContext {
  std::string source_dir;
  std::string install_dir;
  std::string windows_dir;
  UninstallLog* log = nullptr;
  gui::Dialogs* dialogs = nullptr;
  CopyObserver* observer = nullptr;
};

// Looks for the disk whose marker file is `label`: in the medium's folder, then in its parent
// (which becomes the medium's folder), then in a folder the user points to through the
// file-open window titled "Enter path where to find <label>" (a chosen file stands for its
// folder). A folder without the marker shows "Cannot find <label>" with "Ok" (ask again) and
// "Cancel" (give up: false). There are no floppy drives to look on.
bool FindDisk(const std::string& label, CopyContext& context);

// Expands one file. A missing source shows "Cannot find file\n"<source>"." and fails. With
// replace_report_and_log an existing target is replaced, a failure shows "Cannot unpack file..."
// and fails, and the target is logged as RemoveFile; without it a failed expansion counts as
// done. Errors are titled kSetupErrorCaption.
bool ExpandPlanFile(const std::string& source, const std::string& target, bool replace_report_and_log,
                    CopyContext& context);

// Expands the files of one record from the medium's folder: every file (no folders) of a
// kEveryFile source into the target folder under the same names, or the one file. The target's
// base is the installation, or the Windows directory when to_windows_dir. False when the record's
// disk was not found or, for a single file, when it failed; single files of a folder that fail
// are reported and passed over.
bool CopyRecord(const PlanRecord& record, CopyContext& context, bool to_windows_dir = false);

// Every record of a component; false only when one of its disks was not found.
bool CopyComponent(const ComponentPlan& plan, CopyContext& context);

}  // namespace ombrix::setup
