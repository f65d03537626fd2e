// The renderer's side of the image-filter interface.
#include "tools/ombrix-render/lightwave_host.h"

#include <cstdio>
#include <cstring>

namespace ombrix::render {
namespace {

// Frame access has no user data: the frame being processed is the host's, one at a time.
Frame* g_frame = nullptr;
std::vector<std::string> g_messages;
bool g_offer_messages = true;

struct MonitorState {
  const MonitorCallback* callback = nullptr;
  uint32_t total = 0;
  uint32_t done = 0;
  bool aborted = false;
};

uint8_t* BufferLine(int32_t type, int32_t y) {
  if (g_frame == nullptr || y < 0 || y >= g_frame->height) return nullptr;
  const int plane = type - kLWBufferRed;
  if (plane < 0 || plane > 3) return nullptr;
  return g_frame->Plane(plane) + size_t(y) * size_t(g_frame->width);
}

float* FloatLine(int32_t, int32_t) { return nullptr; }

void SetRgb(int32_t x, int32_t y, const uint8_t rgb[3]) {
  if (g_frame == nullptr || x < 0 || y < 0 || x >= g_frame->width || y >= g_frame->height) return;
  const size_t i = size_t(y) * size_t(g_frame->width) + size_t(x);
  g_frame->red[i] = rgb[0];
  g_frame->green[i] = rgb[1];
  g_frame->blue[i] = rgb[2];
}

void SetAlpha(int32_t x, int32_t y, uint8_t alpha) {
  if (g_frame == nullptr || x < 0 || y < 0 || x >= g_frame->width || y >= g_frame->height) return;
  g_frame->alpha[size_t(y) * size_t(g_frame->width) + size_t(x)] = alpha;
}

void MonitorInit(void* data, uint32_t total) {
  auto* state = static_cast<MonitorState*>(data);
  state->total = total;
  state->done = 0;
}

int32_t MonitorStep(void* data, uint32_t increment) {
  auto* state = static_cast<MonitorState*>(data);
  state->done += increment;
  if (state->callback != nullptr && *state->callback && !(*state->callback)(state->done, state->total))
    state->aborted = true;
  return state->aborted ? 1 : 0;
}

void MonitorDone(void*) {}

void Message(const char* kind, const char* line1, const char* line2) {
  std::string text = line1 != nullptr ? line1 : "";
  if (line2 != nullptr && *line2 != '\0') text += std::string(" ") + line2;
  g_messages.push_back(text);
  std::fprintf(stderr, "ombrix-render: %s%s\n", kind, text.c_str());
}
void InfoMessage(const char* a, const char* b) { Message("", a, b); }
void ErrorMessage(const char* a, const char* b) { Message("error: ", a, b); }
void WarningMessage(const char* a, const char* b) { Message("warning: ", a, b); }
LWMessageFunctions g_message_functions = {InfoMessage, ErrorMessage, WarningMessage};

void* HostGlobal(const char* name, int32_t) {
  if (g_offer_messages && name != nullptr && std::strcmp(name, "Info Messages") == 0) return &g_message_functions;
  return nullptr;
}

struct SceneReader {
  const std::vector<std::string>* texts;
  size_t next = 0;
};

int32_t ReadText(void* data, char* buffer, int32_t max_length) {
  auto* reader = static_cast<SceneReader*>(data);
  if (reader->next >= reader->texts->size() || max_length <= 0) return -1;
  const std::string& text = (*reader->texts)[reader->next++];
  const size_t n = std::min(text.size(), size_t(max_length - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return int32_t(n);
}

void WriteText(void* data, const char* buffer, int32_t length) {
  auto* texts = static_cast<std::vector<std::string>*>(data);
  // The module sends each text with its NUL; keep the text only.
  std::string text(buffer, size_t(length > 0 ? length : 0));
  if (!text.empty() && text.back() == '\0') text.pop_back();
  texts->push_back(text);
}

const LWServerRecord* FindServer(const LWModuleDescriptor* descriptor, const char* class_name) {
  if (descriptor == nullptr) return nullptr;
  for (const LWServerRecord* s = descriptor->servers; s != nullptr && s->class_name != nullptr; ++s)
    if (std::strcmp(s->class_name, class_name) == 0 && s->name != nullptr && std::strcmp(s->name, "Ombrix") == 0)
      return s;
  return nullptr;
}

}  // namespace

LightWaveHost::~LightWaveHost() {
  if (descriptor_ != nullptr && descriptor_->shutdown != nullptr) descriptor_->shutdown(startup_data_);
  platform::CloseLibrary(library_);
}

bool LightWaveHost::Open(const std::string& module_path, std::string& error) {
  library_ = platform::OpenLibrary(module_path.c_str());
  if (library_ == nullptr) {
    error = "cannot load \"" + module_path + "\": " + platform::LibraryError();
    return false;
  }
  descriptor_ = static_cast<const LWModuleDescriptor*>(platform::LibrarySymbol(library_, "_mod_descrip"));
  if (descriptor_ == nullptr || descriptor_->sync_word != OMBRIX_LW_SYNC_WORD ||
      descriptor_->version != OMBRIX_LW_MODULE_VERSION || descriptor_->machine != OMBRIX_LW_MACHINE) {
    error = "\"" + module_path + "\" is not an image-filter module";
    descriptor_ = nullptr;
    return false;
  }
  startup_data_ = descriptor_->startup != nullptr ? descriptor_->startup() : nullptr;
  if (startup_data_ == nullptr) {
    error = "\"" + module_path + "\" did not start";
    return false;
  }
  return true;
}

int LightWaveHost::ActivateHandlerVersion(int32_t version) {
  const LWServerRecord* server = FindServer(descriptor_, "ImageFilterHandler");
  if (server == nullptr || server->activate == nullptr) return -1;
  LWImageFilterHandler local{};
  const int result = server->activate(version, HostGlobal, &local, nullptr);
  if (result == 0) {
    handler_ = local;
    handler_active_ = true;
  }
  return result;
}

bool LightWaveHost::ActivateHandler(std::string& error) {
  const int result = ActivateHandlerVersion(1);
  if (result != 0 || handler_.create == nullptr || handler_.process == nullptr) {
    error = "the image-filter server did not start (activation result " + std::to_string(result) + ")";
    return false;
  }
  return true;
}

int LightWaveHost::ActivateInterface(LWInstance instance, int32_t version) {
  const LWServerRecord* server = FindServer(descriptor_, "ImageFilterInterface");
  if (server == nullptr || server->activate == nullptr) return -1;
  return server->activate(version, HostGlobal, instance, nullptr);
}

LWInstance LightWaveHost::Create() { return handler_active_ ? handler_.create() : nullptr; }

void LightWaveHost::Destroy(LWInstance instance) {
  if (handler_active_ && instance != nullptr) handler_.destroy(instance);
}

void LightWaveHost::Copy(LWInstance source, LWInstance target) {
  if (handler_active_) handler_.copy(source, target);
}

std::string LightWaveHost::LoadScene(LWInstance instance, const std::vector<std::string>& texts) {
  SceneReader reader{&texts, 0};
  const LWLoadState state{0, &reader, ReadText};
  if (!handler_active_) return "the image-filter server is not active";
  const char* error = handler_.load(instance, &state);
  scene_texts_read_ = reader.next;
  return error != nullptr ? error : "";
}

std::vector<std::string> LightWaveHost::SaveScene(LWInstance instance) {
  std::vector<std::string> texts;
  const LWSaveState state{0, &texts, WriteText};
  if (handler_active_) handler_.save(instance, &state);
  return texts;
}

bool LightWaveHost::Process(LWInstance instance, Frame& frame, int frame_number, const MonitorCallback& monitor) {
  MonitorState state;
  state.callback = &monitor;
  LWMonitor lw_monitor{&state, MonitorInit, MonitorStep, MonitorDone};
  LWFilterAccess access{};
  access.width = frame.width;
  access.height = frame.height;
  access.frame = frame_number;
  access.start_time = access.end_time = 0.0;
  access.buffer_line = BufferLine;
  access.float_line = FloatLine;
  access.set_rgb = SetRgb;
  access.set_alpha = SetAlpha;
  access.monitor = &lw_monitor;
  // The module reads the lines it needs before it writes a row back, so one frame serves as
  // both the renderer's source lines and its output.
  g_frame = &frame;
  handler_.process(instance, &access);
  g_frame = nullptr;
  return !state.aborted;
}

std::string LightWaveHost::FrameFailure(LWInstance instance) const {
  auto failure =
      reinterpret_cast<OmbrixFrameFailureFunction>(platform::LibrarySymbol(library_, OMBRIX_FRAME_FAILURE_EXPORT));
  if (failure == nullptr) return "the image-filter module cannot tell whether it applied the effect";
  char reason[1024] = {};
  if (failure(instance, reason, int32_t(sizeof reason)) == 0) return {};
  return reason[0] != '\0' ? reason : "the effect was not applied";
}

const std::vector<std::string>& LightWaveHost::Messages() const { return g_messages; }
void LightWaveHost::OfferMessages(bool offer) { g_offer_messages = offer; }

std::vector<std::string> SceneTextsFromScript(const std::string& script) {
  std::vector<std::string> texts;
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    if (end == std::string::npos) end = script.size();
    texts.push_back(script.substr(start, end - start));
    start = end + 1;
  }
  texts.emplace_back(OMBRIX_LW_SCENE_END_LINE);
  return texts;
}

std::string ScriptFromSceneTexts(const std::vector<std::string>& texts) {
  std::string script;
  for (const std::string& text : texts) {
    if (text == OMBRIX_LW_SCENE_END_LINE) break;
    script += text;
    script += '\n';
  }
  return script;
}

}  // namespace ombrix::render
