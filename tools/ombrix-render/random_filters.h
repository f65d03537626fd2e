// The filters that draw from their plug-in's random sequence. The sequence is one per plug-in
// module and process and continues from frame to frame, so frames of an effect that uses one
// depend on the frames rendered before them in the same process.
#pragma once

#include <string>
#include <vector>

namespace ombrix::render {

// Whether the filter of that plug-in file (as an effect names it: "ZvPic.Omp") draws random
// numbers; names compare exactly, file names without regard to case.
bool DrawsRandomNumbers(const std::string& module_file, const std::string& filter_name);

// The random filters among the entries of an effect script's text, each once, in chain order.
std::vector<std::string> RandomFiltersOf(const std::string& script);

}  // namespace ombrix::render
