// Private homes and snapshots.
#include "tests/setup/private_home.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ombrix::test {

namespace fs = std::filesystem;

PrivateHome::PrivateHome() {
  std::string pattern = (fs::temp_directory_path() / "ombrix-setup-XXXXXX").string();
  EXPECT_NE(mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  fs::create_directories(Path("home"));
  setenv("HOME", Path("home").c_str(), 1);
  setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
  setenv("XDG_CONFIG_HOME", Path("home/.config").c_str(), 1);
  setenv("XDG_CACHE_HOME", Path("home/.cache").c_str(), 1);
  setenv("OMBRIX_REGISTRY_DIR", Path("registry").c_str(), 1);
}

PrivateHome::~PrivateHome() {
  std::error_code ignored;
  // Files made read-only by a test must not keep the folder from going.
  for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
       it.increment(ignored)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(root_, ignored);
}

std::map<std::string, std::string> TreeSnapshot(const std::string& dir) {
  std::map<std::string, std::string> entries;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(dir, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    const std::string name = fs::relative(it->path(), dir).string();
    if (it->is_symlink()) {
      entries[name] = "-> " + fs::read_symlink(it->path()).string();
    } else if (it->is_directory()) {
      entries[name + "/"] = "";
    } else {
      struct stat st {};
      stat(it->path().c_str(), &st);
      std::ostringstream mode;
      mode << std::oct << (st.st_mode & 07777) << " ";
      entries[name] = mode.str() + ReadTextFile(it->path().string());
    }
  }
  return entries;
}

std::string RegistryFileText(const char* root_name) {
  const char* directory = std::getenv("OMBRIX_REGISTRY_DIR");
  if (directory == nullptr) return std::string();
  const std::string path = std::string(directory) + "/" + root_name + ".reg";
  return fs::exists(path) ? ReadTextFile(path) : std::string();
}

void WriteTextFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.good()) << path;
}

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

CommandResult RunCommand(const PrivateHome& home, const std::string& command) {
  const std::string out = home.Path("stdout.txt"), err = home.Path("stderr.txt");
  const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err) + " </dev/null").c_str());
  CommandResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadTextFile(out);
  result.err = ReadTextFile(err);
  fs::remove(out);
  fs::remove(err);
  return result;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TreeDifference(const std::map<std::string, std::string>& before,
                           const std::map<std::string, std::string>& after) {
  std::string report;
  for (const auto& [name, content] : after) {
    const auto old = before.find(name);
    if (old == before.end())
      report += "added: " + name + "\n";
    else if (old->second != content)
      report += "changed: " + name + "\n";
  }
  for (const auto& [name, content] : before)
    if (after.count(name) == 0) report += "removed: " + name + "\n";
  return report;
}

}  // namespace ombrix::test
