// The two lines of LightWave 3D's configuration file that make it load the image-filter module.
#pragma once

#include <string>
#include <vector>

#include "setup/integration.h"

namespace ombrix::setup {

// Lines of any installation of this product begin with one of these.
inline constexpr const char* kRendererLinePrefixes[] = {"Plugin ImageFilterHandler Ombrix",
                                                        "Plugin ImageFilterInterface Ombrix"};
inline constexpr const char* kRendererConfigName = "Lw.cfg";
inline constexpr const char* kRendererBackupName = "LW.Old";
// Configuration files are read whole; a larger one is not a configuration file.
inline constexpr size_t kMaxRendererConfigBytes = size_t(16) << 20;

// The two lines for an installation, each ended with "\n".
std::vector<std::string> RendererLines(const std::string& install_dir);
// The configuration text with every line of an installation of this product dropped and the
// two lines of install_dir appended.
std::string RewriteRendererConfig(const std::string& old_text, const std::string& install_dir);
// Updates the configuration file of one directory. Nothing is touched or logged when it has none.
void ConfigureRendererIn(const std::string& dir, const std::string& install_dir, UninstallLog& log,
                         IntegrationReporter& reporter);

}  // namespace ombrix::setup
