// ombrix-catalogue: prints the filter catalogue of plug-in modules, read as a host reads it.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/plugin/last_error.h"
#include "core/plugin/plugin_host.h"
#include "core/platform/paths.h"

namespace {

const char* KindName(int kind) {
  static const char* const kNames[] = {"integer", "colour", "input file", "kind 3", "picture file",
                                       "horizontal", "vertical", "output file", "kind 8",
                                       "signed percentage", "real", "percentage", "positive integer",
                                       "signed byte range", "byte range", "positive real", "editor link"};
  return kind >= 0 && kind <= 16 ? kNames[kind] : "unknown kind";
}

void PrintDescriptor(const FilterDescriptor& d) {
  std::printf("  \"%s\"  (help %s, topic %d)\n", d.name, d.help_file, d.help_topic);
  for (int k = 0; k < d.parameter_count; ++k) {
    const ParameterRecord& p = d.parameters[k];
    if (p.name[0] == '\0') continue;
    std::printf("    parameter %2d  %-22s \"%s\" / \"%s\"  (%s)\n", k, p.name, p.value, p.step, KindName(p.kind));
  }
  for (int k = 0; k < d.option_count; ++k) {
    const OptionRecord& o = d.options[k];
    if (o.name[0] == '\0') continue;
    std::printf("    option    %2d  %-22s %s  group %d\n", k, o.name, o.state > 0 ? "on " : "off", o.group);
  }
}

void Usage(FILE* out) {
  std::fprintf(out,
               "usage: ombrix-catalogue [--help] PLUGIN-OR-DIRECTORY...\n"
               "Prints every filter of the given plug-in modules (.Omp) with its parameters and\n"
               "options, read through the host's catalogue loader. A directory stands for the\n"
               ".Omp files in it.\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      Usage(stdout);
      return 0;
    }
    const std::string arg = argv[i];
    if (DIR* dir = opendir(arg.c_str())) {
      std::vector<std::string> found;
      while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".Omp") == 0)
          found.push_back(ombrix::platform::JoinPath(arg, name));
      }
      closedir(dir);
      std::sort(found.begin(), found.end());
      paths.insert(paths.end(), found.begin(), found.end());
    } else {
      paths.push_back(arg);
    }
  }
  if (argc < 2) {
    Usage(stderr);
    return 2;
  }
  int failures = 0;
  for (const std::string& path : paths) {
    ombrix::PluginTable table;
    if (!ombrix::LoadPluginFile(table, path.c_str())) {
      std::fprintf(stderr, "%s: %s\n", ombrix::LastErrorCaption(), ombrix::LastErrorText());
      ++failures;
      continue;
    }
    const char* title = table.Count() > 0 ? table.At(0)->title : "";
    std::printf("%s  \"%s\"  %d filters\n", ombrix::platform::FileNamePart(path.c_str()), title, table.Count());
    for (int i = 0; i < table.Count(); ++i) PrintDescriptor(*table.At(i));
  }
  if (paths.empty()) std::printf("no plug-in modules found\n");
  return failures == 0 ? 0 : 1;
}
