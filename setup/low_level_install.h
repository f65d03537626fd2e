// The low-level installer's sequence: the run-time files of the medium's "Data" folder expanded
// into the system folder (never replacing a file that is there), the setup program expanded into
// a working folder of its own, run with the medium's folder and waited for, and the working
// folder removed again.
//
// The controls of the original (the animated button and the masked edit control) are compiled
// into our programs: the medium ships neither them nor a registration tool, so on this platform
// nothing is registered. A medium that does carry "Data/Regsvr32.ex_" gets it run as the
// original did ("/s" and the control's path), for each control that is present.
#pragma once

#include <string>
#include <vector>

namespace ombrix::setup {

inline constexpr const char* kWorkingDirectoryName = "SetupZorvex_Install";
inline constexpr const char* kSetupProgramName = "Setup.Exe";
inline constexpr const char* kRegistrationToolName = "Regsvr32.Exe";
inline constexpr const char* kUnpackErrorCaption = "Setup - Error";

struct UnpackStep {
  const char* source;  // relative to the medium's folder
  const char* target;  // relative to the Windows directory
  bool only_if_source_exists;
};

// In order. The two run-time libraries of the original platform do not exist here: their rows
// stay, and fail silently like any missing file.
inline constexpr UnpackStep kUnpackList[] = {
    {"Data/vexnet.dl_", "System/vexnet.dll", false},
    {"Data/Mfc40.Dl_", "System/Mfc40.dll", false},
    {"Data/Msvcrt40.Dl_", "System/Msvcrt40.dll", false},
    {"Data/Anibtn32.oc_", "System/Anibtn32.ocx", true},
    {"Data/Msmask32.oc_", "System/Msmask32.ocx", true},
    {"Data/OlePro32.dl_", "System/OlePro32.dll", true},
    {"Data/Setup.ex_", "SetupZorvex_Install/Setup.Exe", false},
    {"Data/Regsvr32.ex_", "SetupZorvex_Install/Regsvr32.Exe", true},
};
// The controls registered when the registration tool was expanded, relative to the Windows
// directory, each only when it exists.
inline constexpr const char* kRegisteredControls[] = {"System/anibtn32.ocx", "System/msmask32.ocx"};

// "Cannot unpack file\n\t"<source>"\nTo\n\t"<target>"."
std::string UnpackErrorText(const std::string& source, const std::string& target);

// Expands source into target unless the target exists (it can be opened for reading), which
// counts as done. The target's folder is made when missing. With report, a failure is shown as
// UnpackErrorText titled kUnpackErrorCaption.
bool UnpackFile(const std::string& source, const std::string& target, bool report);

struct LowLevelInstall {
  std::string source_dir;   // the medium's folder
  std::string windows_dir;  // the platform's Windows directory
  // Passed to the setup program after the medium's folder (the unattended options).
  std::vector<std::string> setup_arguments;

  std::string WorkingDirectory() const;
  std::string SourcePath(const char* relative) const;
  std::string TargetPath(const char* relative) const;
};

struct LowLevelResult {
  bool setup_started = false;
  int setup_status = -1;                // the setup program's exit status once it ended normally
  std::vector<std::string> registered;  // controls handed to the registration tool
};

// What the sequence shows while it unpacks: the wait line or window, and its end.
class WaitIndicator {
 public:
  virtual ~WaitIndicator() = default;
  virtual void Show() {}
  virtual void Hide() {}
};

// Runs the whole sequence. Nothing stops it: missing or damaged files leave their targets
// missing, and the setup program is started even if its expansion failed.
LowLevelResult RunLowLevelInstall(const LowLevelInstall& install, WaitIndicator& wait);

}  // namespace ombrix::setup
