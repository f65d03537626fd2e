// Instances, scene text, frame processing and the editor launch for the renderer.
#include "filter/lightwave_binding.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/boundary.h"
#include "core/picture/picture.h"
#include "core/platform/clipboard.h"
#include "core/platform/environment.h"
#include "core/platform/file_system.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"
#include "core/settings/settings.h"
#include "core/settings/temporary_folder.h"
#include "filter/module_table.h"
#include "filter/render.h"

namespace ombrix::engine {
namespace {

// A host whose read function never reports the end of its data must not keep us reading for
// ever: no script has anywhere near this many lines.
constexpr int kMaxSceneTexts = 1 << 20;

// Copies share their plug-in table, so tables live until the module shuts down.
std::vector<std::unique_ptr<PluginTable>>& Tables() {
  static std::vector<std::unique_ptr<PluginTable>> tables;
  return tables;
}

// A claimed script name whose script was never written.
bool IsEmptyFile(const char* path) {
  bool complete = false;
  const auto prefix = platform::ReadFilePrefix(path, 1, &complete);
  return prefix && prefix->empty() && complete;
}

std::string InstallDir() { return ReadSetting(nullptr, "InstallDir", ""); }

// ---- Handler server ------------------------------------------------------------------------

LWInstance Create() {
  auto* instance = new FilterInstance{};
  Tables().push_back(std::make_unique<PluginTable>());
  instance->table = Tables().back().get();
  BuildPluginTable(*instance->table);
  ReadProgressModulePath();
  Progress().Bind(false, false);
  const std::string temp = PrepareTemporaryFolder(InstallDir());
  // The first free ScriptN.Oms becomes the instance's script. The name is claimed with an empty
  // file made in one step: instances of several renderers (a render farm's processes share the
  // installation) would otherwise take the same name and overwrite and delete each other's
  // scripts. An empty script counts as none yet (Process passes frames through). Where the
  // folder cannot take the claim, the first name without a file is taken unclaimed.
  for (int n = 0;; ++n) {
    const std::string path = platform::JoinPath(temp, "Script" + std::to_string(n) + ".Oms");
    const platform::Claim claim = platform::MakeNewEmptyFile(path.c_str());
    if (claim == platform::Claim::kExists) continue;
    if (claim == platform::Claim::kMade || !platform::FileExists(path.c_str())) {
      std::snprintf(instance->script_path, sizeof instance->script_path, "%s", path.c_str());
      break;
    }
  }
  return instance;
}

void Destroy(LWInstance handle) {
  auto* instance = static_cast<FilterInstance*>(handle);
  if (instance == nullptr) return;
  platform::SetReadOnly(instance->script_path, false);
  platform::RemoveFile(instance->script_path);
  Progress().Unbind();
  // The editor leaves its test picture on the clipboard for the next start from this instance;
  // with the instance gone, so is the picture. Other formats belong to other programs.
  platform::Clipboard clipboard;
  if (clipboard.Open()) clipboard.Remove(platform::kClipboardTemporaryPicture);
  delete instance;
}

const char* Copy(LWInstance source, LWInstance target) {
  if (source != nullptr && target != nullptr && source != target) {
    auto* to = static_cast<FilterInstance*>(target);
    const auto* from = static_cast<const FilterInstance*>(source);
    // The target's own name, still only claimed (empty), is given up with the copy.
    if (std::strcmp(to->script_path, from->script_path) != 0 && IsEmptyFile(to->script_path))
      platform::RemoveFile(to->script_path);
    *to = *from;
  }
  return nullptr;
}

void SetFailure(FilterInstance* instance, const std::string& reason) {
  std::snprintf(instance->failure, sizeof instance->failure, "%s", reason.c_str());
}

std::string SystemReason() { return std::make_error_code(platform::LastSystemError()).message(); }

// Whether the instance's script can be written: its claimed file is there, or can be made now.
// The folder must take new files too, since the script is replaced through one beside it.
bool ScriptCanBeWritten(FilterInstance* instance) {
  const char* path = instance->script_path;
  if (!platform::FileExists(path) && platform::MakeNewEmptyFile(path) == platform::Claim::kFailed) return false;
  return platform::CanWriteDirectory(platform::DirectoryPart(path).c_str());
}

// A text of the scene: up to its first NUL, at most 511 bytes. An end line inside it, after a
// line feed, ends the scene there: written into the file it would end the next load at that
// point anyway, so the scene is cut where the renderer would cut it.
bool AppendSceneText(std::string& script, const char* text) {
  const std::string_view end_line = OMBRIX_LW_SCENE_END_LINE;
  std::string_view rest(text);
  for (;;) {
    const size_t feed = rest.find('\n');
    const std::string_view line = rest.substr(0, feed);
    if (line == end_line) return false;
    script.append(line);
    script += '\n';
    if (feed == std::string_view::npos) return true;
    rest.remove_prefix(feed + 1);
  }
}

const char* Load(LWInstance handle, const LWLoadState* state) {
  auto* instance = static_cast<FilterInstance*>(handle);
  if (instance == nullptr || state == nullptr || state->read == nullptr) return nullptr;
  // The file comes first: when it cannot be made, the scene's texts stay unread for the
  // renderer rather than being read and lost.
  static char error[640];
  if (!ScriptCanBeWritten(instance)) {
    std::snprintf(error, sizeof error, "Ombrix: cannot write the script \"%s\": %s", instance->script_path,
                  SystemReason().c_str());
    SetFailure(instance, error + 8);
    instance->load_failed = true;
    return error;
  }
  std::string script;
  char text[512];
  for (int n = 0; n < kMaxSceneTexts; ++n) {
    std::memset(text, 0, sizeof text);
    if (state->read(state->data, text, int32_t(sizeof text)) < 0) break;
    text[sizeof text - 1] = '\0';
    if (!AppendSceneText(script, text)) break;
  }
  if (!platform::ReplaceFileAtomically(instance->script_path, script)) {
    std::snprintf(error, sizeof error, "Ombrix: cannot write the script \"%s\": %s", instance->script_path,
                  SystemReason().c_str());
    SetFailure(instance, error + 8);
    instance->load_failed = true;
    return error;
  }
  instance->failure[0] = '\0';
  instance->load_failed = false;
  return nullptr;
}

const char* Save(LWInstance handle, const LWSaveState* state) {
  auto* instance = static_cast<FilterInstance*>(handle);
  if (instance == nullptr || state == nullptr || state->write == nullptr) return nullptr;
  const auto script = platform::ReadWholeFile(instance->script_path);
  if (!script) return nullptr;
  // Each line without its line feed; a carriage return before it stays, so CR LF survives.
  size_t start = 0;
  while (start < script->size()) {
    size_t end = script->find('\n', start);
    const bool has_feed = end != std::string::npos;
    if (!has_feed) end = script->size();
    const std::string line = script->substr(start, end - start);
    state->write(state->data, line.c_str(), int32_t(line.size() + 1));
    start = end + 1;
  }
  state->write(state->data, OMBRIX_LW_SCENE_END_LINE, int32_t(std::strlen(OMBRIX_LW_SCENE_END_LINE) + 1));
  return nullptr;
}

bool Step(const LWFilterAccess* access) {
  return access->monitor == nullptr || access->monitor->step(access->monitor->data, 1) == 0;
}

void FinishFrame(const LWFilterAccess* access) {
  ProgressBinding::SetRendererCall(0);
  if (access->monitor != nullptr) access->monitor->done(access->monitor->data);
}

// Pass-through: colour and alpha written back as they came.
void PassThrough(const LWFilterAccess* access) {
  if (access->monitor != nullptr) access->monitor->init(access->monitor->data, uint32_t(access->height));
  uint8_t rgb[3];
  for (int y = 0; y < access->height; ++y) {
    const uint8_t* r = access->buffer_line(kLWBufferRed, y);
    const uint8_t* g = access->buffer_line(kLWBufferGreen, y);
    const uint8_t* b = access->buffer_line(kLWBufferBlue, y);
    const uint8_t* a = access->buffer_line(kLWBufferAlpha, y);
    for (int x = 0; r && g && b && a && x < access->width; ++x) {
      rgb[0] = r[x], rgb[1] = g[x], rgb[2] = b[x];
      access->set_rgb(x, y, rgb);
      access->set_alpha(x, y, a[x]);
    }
    if (!Step(access)) break;
  }
  if (access->monitor != nullptr) access->monitor->done(access->monitor->data);
}

void RunFrame(FilterInstance* instance, const LWFilterAccess* access) {
  if (access->monitor != nullptr) access->monitor->init(access->monitor->data, 2u * uint32_t(access->height));
  ProgressBinding::SetRendererCall(1);
  Picture picture;
  if (!picture.Create(access->width, access->height)) {
    SetFailure(instance, "out of memory");
    FinishFrame(access);
    return;
  }
  for (int y = 0; y < access->height; ++y) {
    const uint8_t* r = access->buffer_line(kLWBufferRed, y);
    const uint8_t* g = access->buffer_line(kLWBufferGreen, y);
    const uint8_t* b = access->buffer_line(kLWBufferBlue, y);
    uint8_t* row = picture.Row(y);
    for (int x = 0; r && g && b && x < access->width; ++x, row += 3) {
      row[0] = b[x];
      row[1] = g[x];
      row[2] = r[x];
    }
    if (!Step(access)) return FinishFrame(access);
  }
  SetOutsideFrame(access->frame);
  RenderCall(instance, &picture);
  SetFailure(instance, LastRenderFailure());
  uint8_t rgb[3];
  for (int y = 0; y < access->height; ++y) {
    const uint8_t* a = access->buffer_line(kLWBufferAlpha, y);
    const uint8_t* row = picture.Row(y);
    for (int x = 0; x < access->width; ++x, row += 3) {
      rgb[0] = row[2], rgb[1] = row[1], rgb[2] = row[0];
      access->set_rgb(x, y, rgb);
      if (a != nullptr) access->set_alpha(x, y, a[x]);
    }
    if (!Step(access)) break;
  }
  FinishFrame(access);
}

void Process(LWInstance handle, const LWFilterAccess* access) {
  auto* instance = static_cast<FilterInstance*>(handle);
  if (instance == nullptr || access == nullptr || access->width <= 0 || access->height <= 0) return;
  if (instance->load_failed || !platform::CanOpenForReading(instance->script_path) ||
      IsEmptyFile(instance->script_path)) {
    // No script yet, or it was lost: the frame goes back as it came, which is not the effect.
    if (instance->failure[0] == '\0') SetFailure(instance, std::string("no script \"") + instance->script_path + "\"");
    return PassThrough(access);
  }
  SetCurrentPluginTable(instance->table);
  RunFrame(instance, access);
  SetCurrentPluginTable(nullptr);
}

uint32_t Flags(LWInstance) { return 0; }

}  // namespace

int32_t FrameFailure(LWInstance handle, char* reason, int32_t size) {
  const auto* instance = static_cast<const FilterInstance*>(handle);
  if (instance == nullptr || instance->failure[0] == '\0') return 0;
  if (reason != nullptr && size > 0) std::snprintf(reason, size_t(size), "%s", instance->failure);
  return 1;
}

namespace {

// ---- What the renderer calls -------------------------------------------------------------------
// Every function the renderer reaches runs its body through GuardBoundary, so nothing thrown
// inside (memory that ran out) reaches the renderer: creation gives no instance, copy, load and
// save give the error text, activation its failure result, the others stop quietly.

constexpr const char* kOutOfMemory = "Ombrix: out of memory";

LWInstance GuardedCreate() { return GuardBoundary(LWInstance{nullptr}, Create); }
void GuardedDestroy(LWInstance instance) {
  GuardBoundary([&] { Destroy(instance); });
}
const char* GuardedCopy(LWInstance source, LWInstance target) {
  return GuardBoundary(kOutOfMemory, [&] { return Copy(source, target); });
}
const char* GuardedLoad(LWInstance instance, const LWLoadState* state) {
  return GuardBoundary(kOutOfMemory, [&] { return Load(instance, state); });
}
const char* GuardedSave(LWInstance instance, const LWSaveState* state) {
  return GuardBoundary(kOutOfMemory, [&] { return Save(instance, state); });
}
void GuardedProcess(LWInstance instance, const LWFilterAccess* access) {
  GuardBoundary([&] { Process(instance, access); });
}

int32_t ActivateHandler(int32_t version, LWGlobalFunction, void* local, void*) {
  if (version != 1) return 1;
  ProgressBinding::SetRendererCall(1);
  auto* handler = static_cast<LWImageFilterHandler*>(local);
  if (handler != nullptr)
    *handler = LWImageFilterHandler{GuardedCreate, GuardedDestroy, GuardedCopy, GuardedLoad,
                                    GuardedSave,   GuardedProcess, Flags};
  return 0;
}

// ---- Options interface -----------------------------------------------------------------------

int32_t ActivateInterface(int32_t version, LWGlobalFunction global, void* local, void*) {
  if (version != 1) return 1;
  const std::string editor = platform::JoinPath(platform::JoinPath(InstallDir(), "Programs"), "ombrix-editor");
  if (!platform::FileExists(editor.c_str())) {
    auto* messages = global != nullptr ? static_cast<LWMessageFunctions*>(global("Info Messages", 0)) : nullptr;
    if (messages == nullptr) return 2;
    messages->error("Cannot find file", editor.c_str());
    return -1;
  }
  const auto* instance = static_cast<const FilterInstance*>(local);
  const std::string directory = platform::CurrentDirectory();
  platform::Process process;
  platform::StartRequest request;
  request.program = editor;
  request.arguments = {instance != nullptr ? instance->script_path : ""};
  if (process.Start(request)) process.Wait(platform::HostEventPump());
  platform::ChangeDirectory(directory);
  return 0;
}

constexpr int32_t kActivationFailed = -1;
int32_t GuardedActivateHandler(int32_t version, LWGlobalFunction global, void* local, void* server_data) {
  return GuardBoundary(kActivationFailed, [&] { return ActivateHandler(version, global, local, server_data); });
}
int32_t GuardedActivateInterface(int32_t version, LWGlobalFunction global, void* local, void* server_data) {
  return GuardBoundary(kActivationFailed, [&] { return ActivateInterface(version, global, local, server_data); });
}

void* Startup() { return reinterpret_cast<void*>(4); }
void Shutdown(void*) {
  GuardBoundary([] { Tables().clear(); });
}

const LWServerRecord kServers[] = {
    {"ImageFilterHandler", "Ombrix", GuardedActivateHandler},
    {"ImageFilterInterface", "Ombrix", GuardedActivateInterface},
    {nullptr, nullptr, nullptr},
};

}  // namespace
}  // namespace ombrix::engine

// The module descriptor the renderer looks up by name.
extern "C" __attribute__((visibility("default")))
const LWModuleDescriptor _mod_descrip = {OMBRIX_LW_SYNC_WORD,     OMBRIX_LW_MODULE_VERSION, OMBRIX_LW_MACHINE,
                                         ombrix::engine::Startup, ombrix::engine::Shutdown, ombrix::engine::kServers};
