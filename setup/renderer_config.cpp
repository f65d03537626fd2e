// The renderer's configuration lines.
#include "setup/renderer_config.h"

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/file_modes.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace ombrix::setup {
namespace {

bool IsLineOfThisProduct(std::string_view line) {
  for (const char* prefix : kRendererLinePrefixes)
    if (line.starts_with(prefix)) return true;
  return false;
}

}  // namespace

std::vector<std::string> RendererLines(const std::string& install_dir) {
  const std::string module = platform::JoinPath(platform::JoinPath(install_dir, "Programs"), "ombrix-filter.p");
  std::vector<std::string> lines;
  for (const char* prefix : kRendererLinePrefixes) lines.push_back(std::string(prefix) + ' ' + module + " Ombrix\n");
  return lines;
}

std::string RewriteRendererConfig(const std::string& old_text, const std::string& install_dir) {
  // Whole lines: a long line is kept or dropped as one, never torn into pieces.
  std::string text;
  text.reserve(old_text.size() + 512);
  for (size_t start = 0; start < old_text.size();) {
    const size_t end = old_text.find('\n', start);
    const size_t next = end == std::string::npos ? old_text.size() : end + 1;
    const std::string_view line = std::string_view(old_text).substr(start, next - start);
    if (!IsLineOfThisProduct(line)) text += line;
    start = next;
  }
  // A last line without its line feed keeps its text: the new lines start on a line of their own.
  if (!text.empty() && text.back() != '\n') text += '\n';
  for (const std::string& line : RendererLines(install_dir)) text += line;
  return text;
}

void ConfigureRendererIn(const std::string& dir, const std::string& install_dir, UninstallLog& log,
                         IntegrationReporter& reporter) {
  // Names compare without regard to letter case, as on the original platform.
  const std::string config = platform::FindEntryIgnoringCase(dir, kRendererConfigName);
  if (config.empty() || platform::IsDirectory(config)) return;
  const std::string old_backup = platform::FindEntryIgnoringCase(dir, kRendererBackupName);
  if (!old_backup.empty()) {
    platform::ClearFileAttributes(old_backup.c_str());
    platform::RemoveFile(old_backup.c_str());
  }

  bool complete = false;
  const std::optional<std::string> old_text =
      platform::ReadFilePrefix(config.c_str(), kMaxRendererConfigBytes, &complete);
  const std::string backup = platform::JoinPath(dir, kRendererBackupName);
  if (old_text && complete && platform::ReplaceFileAtomically(backup.c_str(), *old_text)) {
    log.Add(EntryKind::RemoveFile, backup);
  } else {
    reporter.Message("Ombrix - Error", "Cannot copy file\n\t\"" + config + "\"\nTo\n\t\"" + backup + "\".");
  }
  // The new file is built from the configuration itself and replaces it in one step: a crash
  // leaves the old file or the new one, and a failed backup never costs the user's lines.
  if (!old_text || !complete ||
      !platform::ReplaceFileAtomically(config.c_str(), RewriteRendererConfig(*old_text, install_dir))) {
    reporter.Message("Setup - Error", "Cannot create new LightWave config file");
    return;
  }
  for (const std::string& line : RendererLines(install_dir)) log.Add(EntryKind::RemoveFileLine, config, line);
}

void ConfigureRenderer(const InstallLocations& locations, UninstallLog& log, IntegrationReporter& reporter) {
  const bool has_renderer_dir = !locations.renderer_dir.empty() && locations.renderer_dir != kNoRendererDirectory;
  if (has_renderer_dir) ConfigureRendererIn(locations.renderer_dir, locations.install_dir, log, reporter);
  // The parent of the start menu, when it holds a configuration file of its own; once only when
  // it is the renderer directory itself (a second pass would overwrite the backup of the first).
  const std::string parent = platform::DirectoryPart(locations.start_menu_dir);
  if (parent.empty() || platform::FindEntryIgnoringCase(parent, kRendererConfigName).empty()) return;
  if (has_renderer_dir && platform::IsSameFile(parent, locations.renderer_dir)) return;
  ConfigureRendererIn(parent, locations.install_dir, log, reporter);
}

}  // namespace ombrix::setup
