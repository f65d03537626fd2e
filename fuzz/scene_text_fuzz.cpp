// Feeds arbitrary scene texts to the image-filter module's load function, through its module
// descriptor and handler server as a renderer reaches it, with a host whose read function behaves
// as a careless host may: texts that fill the whole buffer without a NUL, NUL bytes inside a
// text, embedded line feeds, lengths beyond the buffer, no end line. The script file the load
// writes must hold each text up to its first NUL (511 bytes at most) and a line feed, up to the
// end line (also one inside a text, after a line feed); saving it and loading what was saved
// must give the same file again.
//
// The first input byte is the separator between texts, the rest are the texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/records.h"
#include "core/settings/settings.h"

extern "C" const LWModuleDescriptor _mod_descrip;

namespace {

using namespace ombrix;

constexpr std::string_view kEndLine = "- \xA7 -";
constexpr size_t kTextBytes = 512;  // the module's buffer for one text

struct Reader {
  const std::vector<std::string>* texts;
  size_t next = 0;
};

// Copies as much of the text as fits; a NUL follows only when there is room for it. The result
// is the text's own length, whatever fitted.
int32_t ReadText(void* data, char* buffer, int32_t max_length) {
  auto* reader = static_cast<Reader*>(data);
  if (reader->next >= reader->texts->size() || max_length <= 0) return -1;
  const std::string& text = (*reader->texts)[reader->next++];
  const size_t room = size_t(max_length);
  std::memcpy(buffer, text.data(), text.size() < room ? text.size() : room);
  if (text.size() < room) buffer[text.size()] = '\0';
  return int32_t(text.size() > 0x7fffffff ? 0x7fffffff : text.size());
}

void WriteText(void* data, const char* buffer, int32_t length) {
  if (length <= 0 || buffer[length - 1] != '\0') std::abort();  // each text goes with its NUL
  static_cast<std::vector<std::string>*>(data)->emplace_back(buffer, size_t(length - 1));
}

struct Module {
  LWImageFilterHandler handler{};
  LWInstance instance = nullptr;
  std::string script_path;
};

// One instance for the whole run, in an installation of its own with a settings store of its own.
Module& TheModule() {
  static Module module = [] {
    Module m;
    const std::string tmp = platform::GetEnvironment("TMPDIR");
    static const std::string root =
        platform::MakeTemporaryDirectory((tmp.empty() ? "/tmp" : tmp) + "/scene-text.XXXXXX");
    if (root.empty() || !platform::MakeDirectories((root + "/Programs/Temp").c_str())) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(root, ignored);
    });
    platform::SetEnvironment("OMBRIX_REGISTRY_DIR", root + "/registry");
    platform::SetEnvironment("OMBRIX_CLIPBOARD_DIR", root + "/clipboard");
    WriteSettingText(nullptr, "InstallDir", root.c_str());
    const LWServerRecord* server = _mod_descrip.servers;
    while (server->class_name != nullptr && std::strcmp(server->class_name, "ImageFilterHandler") != 0) ++server;
    if (server->activate == nullptr || server->activate(1, nullptr, &m.handler, nullptr) != 0) std::abort();
    m.instance = m.handler.create();
    if (m.instance == nullptr) std::abort();
    m.script_path = static_cast<const char*>(m.instance);  // the path is the instance's first field
    return m;
  }();
  return module;
}

std::string Load(Module& m, const std::vector<std::string>& texts) {
  Reader reader{&texts};
  const LWLoadState state{0, &reader, ReadText};
  m.handler.load(m.instance, &state);
  return platform::ReadWholeFile(m.script_path.c_str()).value_or("(no file)");
}

// What the load must write: each text up to its first NUL, at most one byte less than the
// buffer, and a line feed, until a line of a text is the end line.
std::string Expected(const std::vector<std::string>& texts) {
  std::string file;
  for (const std::string& text : texts) {
    std::string_view t(text);
    t = t.substr(0, std::min({t.find('\0'), t.size(), kTextBytes - 1}));
    for (;;) {
      const size_t feed = t.find('\n');
      const std::string_view line = t.substr(0, feed);
      if (line == kEndLine) return file;
      file.append(line);
      file += '\n';
      if (feed == std::string_view::npos) break;
      t.remove_prefix(feed + 1);
    }
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char separator = char(data[0]);
  std::vector<std::string> texts;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  for (size_t start = 0; start <= rest.size();) {
    const size_t end = std::min(rest.find(separator, start), rest.size());
    texts.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }

  Module& m = TheModule();
  const std::string loaded = Load(m, texts);
  if (loaded != Expected(texts)) std::abort();

  std::vector<std::string> saved;
  const LWSaveState state{0, &saved, WriteText};
  m.handler.save(m.instance, &state);
  if (saved.empty() || saved.back() != kEndLine) std::abort();
  if (Load(m, saved) != loaded) std::abort();
  return 0;
}
