// ombrix-make-medium: lays out the distribution medium from the staged installation tree: the
// low-level installer at the top with the backdrop picture and the read-me, the run-time files
// compressed in "Data", a marker file for each disk beside the folders it labels, the folders of
// the copy plan and the compressed uninstaller in "System". With --split each disk gets a folder
// of its own ("Disk1" ... "Disk5"), as on a set of floppies.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/szdd.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: ombrix-make-medium --stage DIR --install FILE --setup FILE --uninstaller FILE\n"
    "                          --readme FILE [--launcher FILE] [--split] MEDIUM\n"
    "Lays out the distribution medium in the folder MEDIUM (made anew) from the staged\n"
    "installation tree DIR and the installation programs. Run-time files that were not built\n"
    "are left out and listed as absent.\n";

struct Options {
  std::string stage, install, setup, uninstaller, readme, launcher, medium;
  bool split = false;
};

bool Fail(const std::string& text) {
  std::fprintf(stderr, "ombrix-make-medium: %s\n", text.c_str());
  return false;
}

unsigned ModeOf(const fs::path& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0644;
}

bool Write(const fs::path& path, const std::string& data, unsigned mode) {
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  if (!ombrix::platform::ReplaceFileAtomically(path.c_str(), data)) return Fail("cannot write " + path.string());
  fs::permissions(path, static_cast<fs::perms>(mode), error);
  return true;
}

bool Read(const fs::path& path, std::string& data) {
  std::optional<std::string> bytes = ombrix::platform::ReadWholeFile(path.c_str());
  if (!bytes) return Fail("cannot read " + path.string());
  data = std::move(*bytes);
  return true;
}

bool Copy(const fs::path& from, const fs::path& to) {
  std::string data;
  return Read(from, data) && Write(to, data, ModeOf(from));
}

// The compressed copy: the original's last name character goes into the header.
bool Compress(const fs::path& from, const fs::path& to, const std::string& original_name) {
  std::string data;
  return Read(from, data) &&
         Write(to, ombrix::platform::SzddCompress(data, original_name.empty() ? '\0' : original_name.back()),
               ModeOf(from));
}

std::vector<fs::path> FilesOf(const fs::path& dir) {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error))
    if (!entry.is_directory()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

bool CopyFiles(const std::vector<fs::path>& files, const fs::path& to) {
  std::error_code error;
  fs::create_directories(to, error);
  for (const fs::path& file : files)
    if (!Copy(file, to / file.filename())) return false;
  return true;
}

bool MakeMedium(const Options& o) {
  const fs::path stage = o.stage, medium = o.medium;
  for (const char* needed : {"Programs", "Plugins", "Images", "Samples"})
    if (!fs::is_directory(stage / needed)) return Fail((stage / needed).string() + " is missing: build the tree first");
  std::error_code error;
  // Only a folder that is a medium (or nothing) is made anew.
  if (fs::exists(medium) && !fs::is_empty(medium, error) && !fs::exists(medium / "install") &&
      !fs::exists(medium / "Disk1"))
    return Fail(medium.string() + " holds something that is not a medium");
  fs::remove_all(medium, error);
  fs::create_directories(medium, error);

  auto disk = [&](int number) { return o.split ? medium / ("Disk" + std::to_string(number)) : medium; };
  auto marker = [&](int number) {
    const std::string name = "Disk" + std::to_string(number);
    return Write(disk(number) / name, "Ombrix v1.0e - " + name + "\n", 0644);
  };

  // The first disk: the installer, the backdrop, the read-me and the run-time files.
  if (!Copy(o.install, disk(1) / "install") || !Compress(stage / "Images/Back.Bmp", disk(1) / "Back.bm_", "Back.bmp") ||
      !Copy(o.readme, disk(1) / "Readme.hlp") || !Compress(o.setup, disk(1) / "Data/Setup.ex_", "Setup.exe"))
    return false;
  fs::permissions(disk(1) / "install", fs::perms(0755), error);
  fs::permissions(disk(1) / "Data/Setup.ex_", fs::perms(0755), error);
  if (!o.launcher.empty() && fs::exists(o.launcher)) {
    if (!Compress(o.launcher, disk(1) / "Data/vexnet.dl_", "vexnet.dll")) return false;
  } else {
    std::printf("absent: Data/vexnet.dl_ (the web and mail launcher was not built)\n");
  }
  std::printf(
      "absent: Data/Mfc40.Dl_, Data/Msvcrt40.Dl_, Data/OlePro32.dl_ (run-time of the original platform)\n"
      "absent: Data/Anibtn32.oc_, Data/Msmask32.oc_, Data/Regsvr32.ex_ (the controls are built into the "
      "programs)\n");

  // The help files are spread over the second and third disks.
  const std::vector<fs::path> help = FilesOf(stage / "Help");
  const auto half = help.begin() + static_cast<std::ptrdiff_t>((help.size() + 1) / 2);
  const std::vector<fs::path> first_help(help.begin(), half), second_help(half, help.end());
  if (!marker(2) || !marker(3) || !marker(4) || !marker(5)) return false;
  if (o.split) {
    if (!CopyFiles(first_help, disk(2) / "Help") || !CopyFiles(second_help, disk(3) / "Help")) return false;
  } else if (!CopyFiles(help, medium / "Help")) {
    return false;
  }
  for (const char* folder : {"Plugins", "Images", "Brushes", "Samples"})
    if (!CopyFiles(FilesOf(stage / folder), disk(4) / folder)) return false;
  // The converter travels with the programs; the setup installs it into its own folder too.
  if (!CopyFiles(FilesOf(stage / "Programs"), disk(5) / "Programs") ||
      !Copy(stage / "UGIO/Im_pp", disk(5) / "Programs/Im_pp") ||
      !Compress(o.uninstaller, disk(5) / "System/Uninst.exe", "Uninst.exe"))
    return false;
  std::printf("Medium: %s\n", medium.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == "--split") {
      o.split = true;
      continue;
    }
    std::string* value = a == "--stage"         ? &o.stage
                         : a == "--install"     ? &o.install
                         : a == "--setup"       ? &o.setup
                         : a == "--uninstaller" ? &o.uninstaller
                         : a == "--readme"      ? &o.readme
                         : a == "--launcher"    ? &o.launcher
                                                : nullptr;
    if (value != nullptr && i + 1 < argc) {
      *value = argv[++i];
    } else if (value == nullptr && !a.starts_with("--") && o.medium.empty()) {
      o.medium = a;
    } else {
      std::fprintf(stderr, "ombrix-make-medium: bad argument \"%s\"\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if (o.stage.empty() || o.install.empty() || o.setup.empty() || o.uninstaller.empty() || o.readme.empty() ||
      o.medium.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  return MakeMedium(o) ? 0 : 1;
}
