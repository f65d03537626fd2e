// A private home for the installation tools' tests: HOME, the XDG folders and the registry all
// under one fresh temporary folder, and snapshots of file trees and registry roots to compare
// before and after.
#pragma once

#include <map>
#include <string>

namespace ombrix::test {

class PrivateHome {
 public:
  // Makes the folder and points HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and
  // OMBRIX_REGISTRY_DIR into it.
  PrivateHome();
  ~PrivateHome();  // removes the folder
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }
  std::string DataHome() const { return Path("home/.local/share"); }

 private:
  std::string root_;
};

// Every file and folder under dir: folders as "name/" with "", files with their permission
// bits and bytes, links with their targets.
std::map<std::string, std::string> TreeSnapshot(const std::string& dir);
// The text of a registry root's file, "" when there is none.
std::string RegistryFileText(const char* root_name);

void WriteTextFile(const std::string& path, const std::string& text);
// The text quoted for the shell.
std::string Quote(const std::string& text);

struct CommandResult {
  int status = -1;  // the exit status, -1 when the command did not end normally
  std::string out, err;
};
// Runs the command line with standard output and error caught in files of the home.
CommandResult RunCommand(const PrivateHome& home, const std::string& command);
std::string ReadTextFile(const std::string& path);

// The entries only in `after`, and those whose bytes differ, as a readable list for failures.
std::string TreeDifference(const std::map<std::string, std::string>& before,
                           const std::map<std::string, std::string>& after);

}  // namespace ombrix::test
