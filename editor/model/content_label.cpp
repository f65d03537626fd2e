// Shortening the content directory for its label.
#include "editor/model/content_label.h"

#include "core/platform/paths.h"

namespace ombrix::editor {

std::string ContentDirectoryLabel(const std::string& directory) {
  if (directory.empty()) return "(none)";
  if (directory.size() <= kContentLabelLength) return directory;
  size_t end = directory.size();
  while (end > 0 && platform::IsSeparator(directory[end - 1])) --end;
  size_t begin = end;
  while (begin > 0 && !platform::IsSeparator(directory[begin - 1])) --begin;
  const std::string last = directory.substr(begin, end - begin);
  if (directory[1] == ':') return std::string(1, directory[0]) + ":\\...\\" + last;
  const std::string ending = last + platform::kPathSeparator;
  if (platform::IsSeparator(directory[0])) return "/.../" + ending;
  return ".../" + ending;
}

}  // namespace ombrix::editor
