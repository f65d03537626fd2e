// Copying the plan's records from the medium.
#include "setup/component_copy.h"

#include <string_view>

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/szdd.h"
#include "setup/low_level_install.h"

namespace ombrix::setup {
namespace {

bool HoldsMarker(const std::string& dir, const std::string& label) {
  const std::string marker = platform::JoinPath(dir, label);
  // A folder of that name (the disk's own folder on a split medium) is no marker.
  return !dir.empty() && platform::FileExists(marker.c_str()) && !platform::IsDirectory(marker);
}

void ShowError(CopyContext& context, const std::string& text) {
  context.dialogs->ShowMessage({text, kSetupErrorCaption, false});
}

}  // namespace

bool FindDisk(const std::string& label, CopyContext& context) {
  if (HoldsMarker(context.source_dir, label)) return true;
  const std::string parent = platform::DirectoryPart(context.source_dir);
  if (HoldsMarker(parent, label)) {
    context.source_dir = parent;
    return true;
  }
  for (;;) {
    gui::FileDialogRequest request;
    request.title = "Enter path where to find " + label;
    request.filter = "All Files (*.*)|*||";
    request.start_path = "(none)";
    if (const std::optional<std::string> chosen = context.dialogs->ChooseFile(request)) {
      const std::string dir = platform::IsDirectory(*chosen) ? *chosen : platform::DirectoryPart(*chosen);
      if (HoldsMarker(dir, label)) {
        context.source_dir = dir;
        return true;
      }
    }
    const gui::MessageRequest missing{"Cannot find " + label, kSetupMessageCaption, true, {"Ok", "", "Cancel"}};
    if (context.dialogs->ShowMessage(missing) == 0) return false;
  }
}

bool ExpandPlanFile(const std::string& source, const std::string& target, bool replace_report_and_log,
                    CopyContext& context) {
  if (!platform::FileExists(source.c_str())) {
    ShowError(context, "Cannot find file\n\"" + source + "\".");
    return false;
  }
  // The expansion replaces a target in one step; an existing one is deleted first only where the
  // record says so, which also takes away a read-only file of an earlier installation.
  if (replace_report_and_log && platform::FileExists(target.c_str())) platform::RemoveFile(target.c_str());
  const bool done = platform::ExpandFile(source, target) == platform::ExpandResult::kDone;
  if (!replace_report_and_log) return true;
  if (!done) {
    ShowError(context, UnpackErrorText(source, target));
    return false;
  }
  context.log->Add(EntryKind::RemoveFile, target);
  return true;
}

bool CopyRecord(const PlanRecord& record, CopyContext& context, bool to_windows_dir) {
  if (!FindDisk(record.disk, context)) return false;
  const std::string base = to_windows_dir ? context.windows_dir : context.install_dir;
  const std::string target = platform::JoinPath(base, record.target);
  const std::string_view source = record.source;
  if (!source.ends_with(kEveryFile)) {
    const std::string path = platform::JoinPath(context.source_dir, record.source);
    if (context.observer != nullptr) {
      context.observer->SetRange(1);
      context.observer->ShowFile(1, path, target);
    }
    return ExpandPlanFile(path, target, record.replace_report_and_log, context);
  }
  const std::string folder = platform::JoinPath(
      context.source_dir, std::string(source.substr(0, source.size() - std::string_view(kEveryFile).size())));
  const std::vector<std::string> files = platform::ListFiles(folder);
  if (context.observer != nullptr) context.observer->SetRange(static_cast<int>(files.size()));
  int index = 0;
  for (const std::string& name : files) {
    const std::string from = platform::JoinPath(folder, name);
    const std::string to = platform::JoinPath(target, name);
    if (context.observer != nullptr) context.observer->ShowFile(++index, from, to);
    ExpandPlanFile(from, to, record.replace_report_and_log, context);
  }
  return true;
}

bool CopyComponent(const ComponentPlan& plan, CopyContext& context) {
  bool found = true;
  for (const PlanRecord& record : plan.records) {
    if (!FindDisk(record.disk, context)) {
      found = false;
      continue;
    }
    CopyRecord(record, context);
  }
  return found;
}

}  // namespace ombrix::setup
