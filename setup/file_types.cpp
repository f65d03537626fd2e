// File types under HKEY_CLASSES_ROOT and in the desktop's MIME database.
#include "setup/file_types.h"

#include <set>
#include <string_view>
#include <vector>

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/mime_database.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"
#include "setup/integration.h"

namespace ombrix::setup {
namespace {

enum class Icon { kFirstArgument, kEditorIcon1, kEditorIcon2 };
enum class Open { kEditor, kEditorWithFile, kNone };

struct FileType {
  const char* extension;    // key under HKEY_CLASSES_ROOT
  const char* class_name;   // its default value, and the class key
  const char* description;  // the class key's default value, and the MIME type's comment
  Icon icon;
  Open open;
  const char* mime_type;
  const char* mime_parent;  // what the files are underneath
  const char* glob;         // matched without regard to letter case
};

constexpr FileType kFileTypes[] = {
    {".Omp", "Ombrix.Plug-in", "Ombrix plug-in", Icon::kFirstArgument, Open::kEditor, "application/x-ombrix-plugin",
     "application/x-sharedlib", "*.omp"},
    {".Oms", "Ombrix.Script", "Ombrix script", Icon::kEditorIcon1, Open::kEditorWithFile, kScriptMimeType, "text/plain",
     "*.oms"},
    {".dta", "Data.File", "Data File", Icon::kEditorIcon2, Open::kNone, "application/x-ombrix-data", "image/gif",
     "*.dta"},
};

std::string IconText(Icon icon, const std::string& editor) {
  switch (icon) {
    case Icon::kFirstArgument:
      return "%1";
    case Icon::kEditorIcon1:
      return editor + ",1";
    case Icon::kEditorIcon2:
      return editor + ",2";
  }
  return {};
}

void SetDefaultValue(const std::string& key, const std::string& text) {
  platform::RegistrySetString(platform::RegistryRoot::kClassesRoot, key, "", text);
}

// Files and folders of a MIME database other than its packages, relative to it ("globs2",
// "application/", "application/x-ombrix-script.xml").
std::set<std::string> DerivedEntries(const std::string& mime_dir) {
  std::set<std::string> entries;
  for (const std::string& name : platform::ListDirectory(mime_dir)) {
    if (name == "packages") continue;
    const std::string path = platform::JoinPath(mime_dir, name);
    if (!platform::IsDirectory(path)) {
      entries.insert(name);
      continue;
    }
    entries.insert(name + "/");
    for (const std::string& inner : platform::ListDirectory(path)) entries.insert(name + "/" + inner);
  }
  return entries;
}

}  // namespace

std::string MimePackageText() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const FileType& type : kFileTypes) {
    text += std::string("  <mime-type type=\"") + type.mime_type + "\">\n";
    text += std::string("    <comment>") + type.description + "</comment>\n";
    text += std::string("    <sub-class-of type=\"") + type.mime_parent + "\"/>\n";
    text += std::string("    <glob pattern=\"") + type.glob + "\"/>\n";
    text += "  </mime-type>\n";
  }
  text += "</mime-info>\n";
  return text;
}

std::string MimeDatabaseOfPackage(const std::string& path) {
  const std::string packages = platform::DirectoryPart(path);
  if (std::string_view(platform::FileNamePart(packages.c_str())) != "packages") return {};
  const std::string database = platform::DirectoryPart(packages);
  if (std::string_view(platform::FileNamePart(database.c_str())) != "mime") return {};
  return database;
}

void RefreshAfterPackageRemoval(const std::string& mime_dir) {
  if (platform::IsDirectory(platform::JoinPath(mime_dir, "packages"))) platform::RefreshMimeDatabase(mime_dir);
}

void RegisterFileTypes(const InstallLocations& locations, UninstallLog& log) {
  const std::string editor = locations.EditorPath();
  for (const FileType& type : kFileTypes) {
    const std::string class_key = std::string(type.class_name) + '\\';
    SetDefaultValue(std::string(type.extension) + '\\', type.class_name);
    SetDefaultValue(class_key, type.description);
    SetDefaultValue(class_key + "DefaultIcon\\", IconText(type.icon, editor));
    if (type.open == Open::kEditor) SetDefaultValue(class_key + "Shell\\Open\\Command\\", editor);
    if (type.open == Open::kEditorWithFile) SetDefaultValue(class_key + "Shell\\Open\\Command\\", editor + " %1");
  }

  // The desktop's MIME database: the package, and whatever the database tool derives from it
  // that was not there before, so that the uninstall leaves the database as it found it.
  const std::string mime_dir = platform::JoinPath(locations.data_home, "mime");
  const std::string packages = platform::JoinPath(mime_dir, "packages");
  if (!MakeDirectoryLogged(packages, log)) return;
  const std::string package = platform::JoinPath(packages, kMimePackageName);
  if (!platform::ReplaceFileAtomically(package.c_str(), MimePackageText())) return;
  log.Add(EntryKind::RemoveFile, package);
  const std::set<std::string> before = DerivedEntries(mime_dir);
  if (platform::RefreshMimeDatabase(mime_dir) != platform::MimeRefresh::kDone) return;
  std::vector<std::string> new_files;
  for (const std::string& entry : DerivedEntries(mime_dir)) {
    if (before.count(entry) != 0) continue;
    if (entry.back() == '/') {
      log.Add(EntryKind::RemoveDirectory, platform::JoinPath(mime_dir, entry.substr(0, entry.size() - 1)));
    } else {
      new_files.push_back(platform::JoinPath(mime_dir, entry));
    }
  }
  for (const std::string& file : new_files) log.Add(EntryKind::RemoveFile, file);
}

}  // namespace ombrix::setup
