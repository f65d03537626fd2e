// The random filters of the picture plug-in, and the look-up in an effect.
#include "tools/ombrix-render/random_filters.h"

#include <algorithm>
#include <cctype>

#include "core/script/script_file.h"

namespace ombrix::render {
namespace {

// Kept equal to what the plug-in does by a test that applies every staged filter twice in one
// process: exactly these give a different result the second time.
constexpr const char* kRandomModule = "ZvPic.Omp";
constexpr const char* kRandomFilters[] = {"Add Dust",   "Add Noise",  "Bubble",  "Displace", "Displace Mosaic",
                                          "Light Wind", "Range Wind", "Scratch", "Title",    "Wind"};

bool SameFileName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

bool DrawsRandomNumbers(const std::string& module_file, const std::string& filter_name) {
  // An effect names the plug-in by its file name, sometimes with the folder it was found in.
  const size_t slash = module_file.find_last_of("/\\");
  const std::string file = slash == std::string::npos ? module_file : module_file.substr(slash + 1);
  if (!SameFileName(file, kRandomModule)) return false;
  return std::any_of(std::begin(kRandomFilters), std::end(kRandomFilters),
                     [&](const char* name) { return filter_name == name; });
}

std::vector<std::string> RandomFiltersOf(const std::string& script) {
  ScriptFile file;
  file.LoadText(script);
  std::vector<std::string> found;
  // Every section that names a filter counts, read or not: taking an unread one for a random
  // filter only costs the interleaved hand-out of frames.
  for (const auto& section : file.Sections()) {
    const std::string* module = file.Find(section.name, "DllName");
    const std::string* filter = file.Find(section.name, "FilterName");
    if (module == nullptr || filter == nullptr || !DrawsRandomNumbers(*module, *filter)) continue;
    if (std::find(found.begin(), found.end(), *filter) == found.end()) found.push_back(*filter);
  }
  return found;
}

}  // namespace ombrix::render
