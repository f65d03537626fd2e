// The render procedure: render state, the chain run, one entry's apply step and the host
// services a filter reaches through its host block.
#include "filter/render.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/boundary.h"
#include "core/parameter_kinds.h"
#include "core/picture/picture.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"
#include "core/plugin/apply_context.h"
#include "core/plugin/last_error.h"
#include "core/script/effect_script.h"
#include "core/settings/settings.h"
#include "filter/mask_loader.h"
#include "filter/mask_merge.h"
#include "filter/module_table.h"

namespace ombrix::engine {
namespace {

constexpr const char* kErrorCaption = "Ombrix - Error";

// Module-wide: one render at a time.
struct RenderState {
  char script_path[256] = {};
  Picture* input = nullptr;
  Picture* work = nullptr;
  MaskState mask;
  float alpha = 0.0f;
  FilterDescriptor* entries[kMaxEntries] = {};
  int count = 0;
  int frame = 0;
  int outside_frame = -1;
  bool progress_display = true;
  char content_directory[256] = {};
  int based_width = 0;
  int based_height = 0;
  bool cancelled = false;
  char applying_line[256] = {};
  PluginTable* current_table = nullptr;
  // Built at the first render without an instance's table; freed when the module is unloaded.
  std::unique_ptr<PluginTable> own_table;
  ModuleTable* modules = nullptr;
  int16_t reported_value = 0;
  // Why this render did not apply its whole chain: the first failure seen, empty while none.
  std::string failure;
};

RenderState g_render;
ProgressBinding g_progress;
// WORK keeps its block from render to render: a fresh picture-sized block costs a page fault
// per page, far more than the copy into a block already touched.
Picture g_work_picture;

void NoteFailure(const std::string& reason) {
  if (g_render.failure.empty()) g_render.failure = reason.empty() ? "unknown failure" : reason;
}

bool IsErrorCaption(const char* title) { return title != nullptr && std::strstr(title, "Error") != nullptr; }

// Every message of a render goes through here: one shown with an error caption means the frame
// did not get the whole effect.
int32_t Say(const char* title, const char* text, int32_t kind) {
  if (IsErrorCaption(title)) NoteFailure(text != nullptr ? text : "");
  return g_progress.Message(title, text, kind);
}

void FreeEntries() {
  for (int i = 0; i < g_render.count; ++i) {
    FreeDescriptor(g_render.entries[i], true);
    g_render.entries[i] = nullptr;
  }
  g_render.count = 0;
}

// ---- Host services ---------------------------------------------------------------------------

int32_t ServiceSetPixel(int32_t x, int32_t y, const uint8_t* bgr) { return g_render.work->SetPixel(x, y, bgr); }
int32_t ServiceGetPixel(int32_t x, int32_t y, uint8_t* bgr) { return g_render.work->GetPixel(x, y, bgr); }
uint8_t ServiceMaskGrey(int32_t x, int32_t y) { return MaskGrey(g_render.mask, x, y); }
void ServiceReportValue(int16_t value) { g_render.reported_value = value; }
Picture* ServiceInputPicture() { return g_render.input; }
Picture* ServiceWorkPicture() { return g_render.work; }
int32_t ServicePictureWidth() { return g_render.input->Width(); }
int32_t ServicePictureHeight() { return g_render.input->Height(); }
uint8_t* ServiceInputRow(int32_t y) {
  return y >= 0 && y < g_render.input->Height() ? g_render.input->Row(y) : nullptr;
}

void ServiceStartProgress(int32_t first, int32_t last) {
  const ProgressFunctions& f = g_progress.Functions();
  if (g_render.progress_display && f.OmInitProgress != nullptr) f.OmInitProgress(2, first, last);
}

int32_t ServiceStepProgress(int32_t n) {
  const ProgressFunctions& f = g_progress.Functions();
  if (!g_render.progress_display || f.OmUpdateProgress == nullptr) return 1;
  const int32_t go_on = f.OmUpdateProgress(2, n);
  if (go_on == 0) g_render.cancelled = true;
  return go_on;
}

void ServiceSetInfoText(const char* text) {
  if (!g_render.progress_display) return;
  g_progress.SetMessage(nullptr, nullptr, nullptr, text != nullptr && *text != '\0' ? text : g_render.applying_line);
}

void ServiceShowProgress(int32_t command) {
  const ProgressFunctions& f = g_progress.Functions();
  if (g_render.progress_display && f.OmShowProgress != nullptr) f.OmShowProgress(command);
}

int32_t ServiceShowMessage(const char* text, const char* title, int32_t kind) { return Say(title, text, kind); }

PictureServices g_picture_services = {ServiceSetPixel,    ServiceGetPixel,     ServiceMaskGrey,
                                      ServiceReportValue, ServiceInputPicture, ServiceWorkPicture};
ProgressServices g_progress_services = {ServiceStartProgress, ServiceStepProgress, ServiceSetInfoText,
                                        ServiceShowProgress};
MessageServices g_message_services = {ServiceShowMessage};

// ---- One entry -------------------------------------------------------------------------------

// A file parameter naming no file is joined to the content directory, without a separator.
// The join would repeat at every apply, so it is cut to fit the 256-byte value.
void CompleteFileParameter(ParameterRecord& p) {
  if (platform::FileExists(p.value)) return;
  std::string joined = std::string(g_render.content_directory) + p.value;
  if (joined.size() > sizeof p.value - 1) joined.resize(sizeof p.value - 1);
  std::memcpy(p.value, joined.c_str(), joined.size() + 1);
}

}  // namespace

int ApplyEntry(FilterDescriptor& e, int frame) {
  const int module = g_render.modules != nullptr ? g_render.modules->FindModule(e.file_name) : -1;
  if (module < 0) {
    RecordLastError(kErrorCaption, "Unknown plug-in\n\"%s\".", e.file_name);
    return 0;
  }
  if (frame < e.start_frame || (frame > e.end_frame && e.all_frames == 0)) return 1;
  const int s = frame - e.start_frame;
  if (e.xalpha != nullptr && e.xalpha->picture_path[0] != '\0') SetMaskScale(g_render.mask, *e.xalpha, *g_render.input);

  // The alpha in extended precision, with 0.01 as the nearest single-precision value.
  g_render.alpha =
      float((static_cast<long double>(e.alpha_step) * float(s) + e.alpha_init) * static_cast<long double>(0.01f));

  for (int k = 0; e.parameters != nullptr && k < e.parameter_count; ++k)
    if (ReadingOf(e.parameters[k].kind) == KindReading::kFilePath) CompleteFileParameter(e.parameters[k]);
  const ProportionalScale scale{g_render.input->Width(), g_render.input->Height(), g_render.based_width,
                                g_render.based_height};
  BuiltApplyContext built = BuildApplyContext(e, s, scale);
  ApplyContext& context = built.context;

  if (g_render.alpha == 1.0f) return 1;

  FilterEntryFunction entry = g_render.modules->Entry(module);
  if (entry == nullptr) {
    RecordLastError(kErrorCaption, "Cannot find plug-in entry point\n\"%s\".", e.file_name);
    return 0;
  }
  CallRecord call{e.index, &context, &e};
  SizeServices size_services{ServicePictureWidth, ServicePictureHeight, ServiceInputRow, nullptr,
                             g_render.input,      g_render.work};
  HostBlock block{&call, &g_picture_services, &size_services, &g_progress_services, &g_message_services};
  if (entry(kCommandApply, 0, &block) == 0) {
    RecordLastError(kErrorCaption, "Error running plug-in \"%s\"\nCannot find module \"%s\".", e.file_name, e.name);
    return 0;
  }
  const bool mask_present = g_render.mask.picture != nullptr;
  Merge(*g_render.input, *g_render.work, g_render.mask, mask_present, e.xalpha != nullptr ? e.xalpha->type : 0,
        g_render.alpha, context.x0, context.y0, context.x1, context.y1);
  return 1;
}

namespace {

// The mask of the next entry replaces the previous one.
void LoadEntryMask(const FilterDescriptor& e) {
  ReleaseMask(g_render.mask);
  if (e.xalpha == nullptr || e.xalpha->picture_path[0] == '\0') return;
  char line[512];
  std::snprintf(line, sizeof line, "Load X Alpha picture \"%s\"...", platform::FileNamePart(e.xalpha->picture_path));
  g_progress.SetMessage(nullptr, nullptr, nullptr, line);
  g_render.mask.picture = LoadMaskPicture(e.xalpha->picture_path);
  const ProgressFunctions& f = g_progress.Functions();
  if (g_render.progress_display && f.OmShowProgress != nullptr) f.OmShowProgress(1);
  if (g_render.mask.picture == nullptr) {
    NoteFailure(std::string("Cannot open the X Alpha picture \"") + e.xalpha->picture_path + "\"");
    Say("Ombrix - Error", "Cannot open an X Alpha picture", 1);
    return;
  }
  if (e.xalpha->negative != 0) InvertMask(*g_render.mask.picture);
}

void RunChain() {
  const ProgressFunctions& f = g_progress.Functions();
  const int n = g_render.count;
  if (g_render.progress_display) {
    if (f.OmInitProgress != nullptr) f.OmInitProgress(1, 0, n);
    char caption[64];
    std::snprintf(caption, sizeof caption, "Ombrix Working - Frame %d ...", g_render.frame);
    g_progress.SetMessage(caption, "Loading filters...", nullptr, nullptr);
  }
  ModuleTable modules;
  g_render.modules = &modules;
  for (int i = 0; i < n; ++i)
    if (!modules.LoadModule(g_render.entries[i]->file_name)) Say(LastErrorCaption(), LastErrorText(), 1);

  g_render.cancelled = false;
  if (f.OmInitProgress != nullptr && g_render.progress_display) f.OmInitProgress(1, 0, n + 1);
  for (int i = 0; i < n; ++i) {
    FilterDescriptor& e = *g_render.entries[i];
    LoadEntryMask(e);
    if (g_render.progress_display) {
      char line[64];
      std::snprintf(line, sizeof line, "Total work (%d/%d)", i + 1, n);
      g_progress.SetMessage(nullptr, line, nullptr, nullptr);
      // A stop asked for between filters is a cancel as much as one inside a filter: the caller
      // must not take the picture for the whole chain's result.
      if (f.OmUpdateProgress != nullptr && f.OmUpdateProgress(1, i + 1) == 0) {
        g_render.cancelled = true;
        break;
      }
      // The line is kept in 256 bytes; a name near that length is cut.
      const std::string applying = std::string("Applying \"") + e.name + "\"...";
      std::snprintf(g_render.applying_line, sizeof g_render.applying_line, "%s", applying.c_str());
      g_progress.SetMessage(nullptr, nullptr, g_render.applying_line, g_render.applying_line);
      if (f.OmUpdateProgress != nullptr && f.OmUpdateProgress(2, 0) == 0) {
        g_render.cancelled = true;
        break;
      }
    }
    if (!ApplyEntry(e, g_render.frame)) {
      // A filter stopped by a cancel is no failure; any other refusal is.
      if (!g_render.cancelled) NoteFailure(LastErrorText());
      break;
    }
  }
  if (g_render.progress_display) {
    if (f.OmUpdateProgress != nullptr) f.OmUpdateProgress(1, n + 1);
    g_progress.Unbind();
  }
  modules.ReleaseModules();
  g_render.modules = nullptr;
  ReleaseMask(g_render.mask);
}

// The missing-file handler of a render: asks whether to replace the file, then lets the user
// choose one. Headless, the question is answered "No" and the text stays. A relative name is
// proposed inside content_directory, the one of the script being read. A file that stays
// missing makes the frame a failure: its filter would run without its picture.
int AskForMissingFile(char* text, const std::string& content_directory) {
  char question[1024];
  std::snprintf(question, sizeof question, "Cannot find file\n\"%s\".\nDo you want to replace it with a new file.",
                text);
  const std::string missing = std::string("Cannot find file \"") + text + "\"";
  if (g_progress.Message("Ombrix - Warning", question, 0) == 0) {
    NoteFailure(missing);
    return 0;
  }
  std::string proposed = text;
  if (text[0] != '\0' && !platform::IsAbsolutePath(text) && !content_directory.empty())
    proposed = platform::JoinPath(content_directory, text);
  std::string chosen;
  if (!platform::ChooseFileToOpen("Choose A New File", "All files (*.*)|*.*||", proposed.c_str(), chosen)) {
    NoteFailure(missing);
    return 0;
  }
  std::snprintf(text, 256, "%s", chosen.c_str());
  return 1;
}

}  // namespace

void SetOutsideFrame(int32_t frame) { g_render.outside_frame = frame; }
void SetCurrentPluginTable(PluginTable* table) { g_render.current_table = table; }
ProgressBinding& Progress() { return g_progress; }
const std::string& LastRenderFailure() { return g_render.failure; }
void ReadProgressModulePath() { g_progress.SetModulePath(ReadSetting(nullptr, "OmOutDll", "")); }

namespace {

int32_t Render(const void* record, Picture* picture) {
  g_render.failure.clear();
  if (record != nullptr)
    std::snprintf(g_render.script_path, sizeof g_render.script_path, "%s", static_cast<const char*>(record));
  if (picture == nullptr || picture->IsEmpty()) {
    NoteFailure("no picture to render");
    return 1;
  }
  g_render.input = picture;
  if (!g_work_picture.CopyFrom(picture)) {
    NoteFailure("out of memory");
    return 1;
  }
  g_render.work = &g_work_picture;

  g_render.progress_display = ReadSettingNumber("Options", "ShowProgress", 1) != 0;
  std::snprintf(g_render.content_directory, sizeof g_render.content_directory, "%s",
                ReadSetting("Options", "ContentDirectory").c_str());
  ReadProgressModulePath();
  g_render.count = 0;

  PluginTable* table = g_render.current_table;
  if (table == nullptr) {
    if (g_render.own_table == nullptr) {
      g_render.own_table = std::make_unique<PluginTable>();
      BuildPluginTable(*g_render.own_table);
    }
    table = g_render.own_table.get();
  }

  if (!g_progress.Bind(true, g_render.progress_display)) {
    NoteFailure("Cannot open the progress module \"" + g_progress.ModulePath() + "\"");
  } else {
    ScriptHeader header;
    header.content_directory = g_render.content_directory;
    int test_frame = 0;
    ScriptFile file;
    // The reader sets the header's content directory before it reads the filter sections, so
    // the handler resolves names against the script's own folder.
    const MissingFileHandler missing_file = [&header](char* text) {
      return AskForMissingFile(text, header.content_directory);
    };
    if (!file.Load(g_render.script_path) || !ReadScriptFrom(file, g_render.entries, kMaxEntries, &g_render.count,
                                                            &test_frame, header, *table, missing_file)) {
      NoteFailure(std::string("Cannot open Script \"") + g_render.script_path + "\"");
      platform::ShowMessageBox("Cannot open Script", kErrorCaption, platform::kIconError);
      // Nothing is rendered; the progress window opened for this render closes again.
      if (g_render.progress_display) g_progress.Unbind();
    } else {
      // Entries whose filter no plug-in offers are dropped by the reader; the frame would
      // come out without them.
      for (const std::string& dropped : FiltersNotInTable(file, *table)) NoteFailure(dropped);
      g_render.based_width = header.based_width;
      g_render.based_height = header.based_height;
      std::snprintf(g_render.content_directory, sizeof g_render.content_directory, "%s",
                    header.content_directory.c_str());
      g_render.frame = g_render.outside_frame != -1 ? g_render.outside_frame : test_frame;
      RunChain();
    }
    FreeEntries();
  }
  g_render.work = nullptr;
  g_render.input = nullptr;
  return g_render.cancelled ? 0 : 1;
}

// A render that an exception (memory that ran out) ended midway: the modules it loaded were
// released as the exception passed; the rest goes as a finished render leaves it.
void AbandonRender() {
  GuardBoundary([] {
    g_render.modules = nullptr;
    ReleaseMask(g_render.mask);
    FreeEntries();
    if (g_render.progress_display) g_progress.Unbind();
  });
  g_render.work = nullptr;
  g_render.input = nullptr;
}

}  // namespace

int32_t RenderCall(const void* record, Picture* picture) {
  constexpr int32_t kAbandoned = -1;
  const int32_t result = GuardBoundary(kAbandoned, [&] { return Render(record, picture); });
  if (result != kAbandoned) return result;
  NoteFailure("out of memory");
  AbandonRender();
  return 0;
}

}  // namespace ombrix::engine
