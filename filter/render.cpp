// The render procedure: render state, the chain run, one entry's apply step and the host
// services a filter reaches through its host block.
#include "filter/render.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/picture/picture.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"
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
};

RenderState g;
ProgressBinding g_progress;
// WORK keeps its block from render to render: a fresh picture-sized block costs a page fault
// per page, far more than the copy into a block already touched.
Picture g_work_picture;

void FreeEntries() {
  for (int i = 0; i < g.count; ++i) {
    FreeDescriptor(g.entries[i], true);
    g.entries[i] = nullptr;
  }
  g.count = 0;
}

// ---- Host services ---------------------------------------------------------------------------

int32_t ServiceSetPixel(int32_t x, int32_t y, const uint8_t* bgr) { return g.work->SetPixel(x, y, bgr); }
int32_t ServiceGetPixel(int32_t x, int32_t y, uint8_t* bgr) { return g.work->GetPixel(x, y, bgr); }
uint8_t ServiceMaskGrey(int32_t x, int32_t y) { return MaskGrey(g.mask, x, y); }
void ServiceReportValue(int16_t value) { g.reported_value = value; }
Picture* ServiceInputPicture() { return g.input; }
Picture* ServiceWorkPicture() { return g.work; }
int32_t ServicePictureWidth() { return g.input->Width(); }
int32_t ServicePictureHeight() { return g.input->Height(); }
uint8_t* ServiceInputRow(int32_t y) { return y >= 0 && y < g.input->Height() ? g.input->Row(y) : nullptr; }

void ServiceStartProgress(int32_t first, int32_t last) {
  const ProgressFunctions& f = g_progress.Functions();
  if (g.progress_display && f.OmInitProgress != nullptr) f.OmInitProgress(2, first, last);
}

int32_t ServiceStepProgress(int32_t n) {
  const ProgressFunctions& f = g_progress.Functions();
  if (!g.progress_display || f.OmUpdateProgress == nullptr) return 1;
  const int32_t go_on = f.OmUpdateProgress(2, n);
  if (go_on == 0) g.cancelled = true;
  return go_on;
}

void ServiceSetInfoText(const char* text) {
  if (!g.progress_display) return;
  g_progress.SetMessage(nullptr, nullptr, nullptr, text != nullptr && *text != '\0' ? text : g.applying_line);
}

void ServiceShowProgress(int32_t command) {
  const ProgressFunctions& f = g_progress.Functions();
  if (g.progress_display && f.OmShowProgress != nullptr) f.OmShowProgress(command);
}

int32_t ServiceShowMessage(const char* text, const char* title, int32_t kind) {
  return g_progress.Message(title, text, kind);
}

PictureServices g_picture_services = {ServiceSetPixel,    ServiceGetPixel,     ServiceMaskGrey,
                                      ServiceReportValue, ServiceInputPicture, ServiceWorkPicture};
ProgressServices g_progress_services = {ServiceStartProgress, ServiceStepProgress, ServiceSetInfoText,
                                        ServiceShowProgress};
MessageServices g_message_services = {ServiceShowMessage};

// ---- One entry -------------------------------------------------------------------------------

// Truncation toward zero that saturates instead of overflowing on huge or NaN values.
int32_t TruncateToInt(long double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0L) return 2147483647;
  if (v <= -2147483648.0L) return int32_t(-2147483647 - 1);
  return int32_t(v);
}

// x * size / based in floating point, rounded to single precision. A script without a based
// size (0) is not scaled.
float Scale(float x, int size, int based) {
  if (based <= 0) return x;
  return float(static_cast<long double>(x) * size / based);
}

float ParseNumber(const char* text) {
  float v = 0.0f;
  if (std::sscanf(text, "%f", &v) != 1) return 0.0f;
  return v;
}

// A file parameter naming no file is joined to the content directory, without a separator.
// The join would repeat at every apply, so it is cut to fit the 256-byte value.
void CompleteFileParameter(ParameterRecord& p) {
  if (platform::FileExists(p.value)) return;
  std::string joined = std::string(g.content_directory) + p.value;
  if (joined.size() > sizeof p.value - 1) joined.resize(sizeof p.value - 1);
  std::memcpy(p.value, joined.c_str(), joined.size() + 1);
}

}  // namespace

int ApplyEntry(FilterDescriptor& e, int frame) {
  const int module = g.modules != nullptr ? g.modules->FindModule(e.file_name) : -1;
  if (module < 0) {
    RecordLastError(kErrorCaption, "Unknown plug-in\n\"%s\".", e.file_name);
    return 0;
  }
  if (frame < e.start_frame || (frame > e.end_frame && e.all_frames == 0)) return 1;
  const int s = frame - e.start_frame;
  if (e.xalpha != nullptr && e.xalpha->picture_path[0] != '\0') SetMaskScale(g.mask, *e.xalpha, *g.input);

  const int width = g.input->Width(), height = g.input->Height();
  auto scale_x = [&](float v) { return Scale(v, width, g.based_width); };
  auto scale_y = [&](float v) { return Scale(v, height, g.based_height); };
  // Even zone coordinates (x0, x1) scale with the width, odd ones (y0, y1) with the height.
  auto scale = [&](int i, float v) { return i % 2 == 0 ? scale_x(v) : scale_y(v); };
  if (e.full_screen != 0) {
    e.zone[0] = 0;
    e.zone[1] = 0;
    e.zone[2] = width;
    e.zone[3] = height;
  } else if (e.proportional != 0) {
    for (int i = 0; i < 4; ++i) e.zone[i] = TruncateToInt(scale(i, float(e.zone[i])));
  }
  if (e.proportional != 0)
    for (int i = 0; i < 4; ++i) e.zone_step[i] = scale(i, e.zone_step[i]);

  ApplyContext context{};
  int32_t* zone = &context.x0;
  for (int i = 0; i < 4; ++i) zone[i] = TruncateToInt(float(float(s) * e.zone_step[i] + float(e.zone[i])));
  context.frame_offset = s;

  // The alpha in extended precision, with 0.01 as the nearest single-precision value.
  g.alpha = float((static_cast<long double>(e.alpha_step) * float(s) + e.alpha_init) * static_cast<long double>(0.01f));

  const int parameters = e.parameter_count > 0 ? e.parameter_count : 0;
  const int options = e.option_count > 0 ? e.option_count : 0;
  std::vector<float> values(size_t(parameters) + 1, 0.0f);
  std::vector<int16_t> states(size_t(options) + 1, 0);
  for (int k = 0; k < parameters; ++k) {
    ParameterRecord& p = e.parameters[k];
    float val = 0.0f, step = 0.0f;
    switch (p.kind) {
      case 1:
        break;
      case 2:
      case 4:
        CompleteFileParameter(p);
        break;
      case 5:
      case 6:
        val = ParseNumber(p.value);
        step = ParseNumber(p.step);
        if (e.proportional != 0) {
          val = p.kind == 5 ? scale_x(val) : scale_y(val);
          step = p.kind == 5 ? scale_x(step) : scale_y(step);
        }
        break;
      default:
        val = ParseNumber(p.value);
        step = ParseNumber(p.step);
        break;
    }
    values[size_t(k)] = float(step * float(s) + val);
  }
  for (int k = 0; k < options; ++k) states[size_t(k)] = e.options[k].state;
  context.parameter_count = parameters;
  context.option_count = options;
  context.values = values.data();
  context.option_states = states.data();
  context.descriptor = &e;

  if (g.alpha == 1.0f) return 1;

  FilterEntryFunction entry = g.modules->Entry(module);
  if (entry == nullptr) {
    RecordLastError(kErrorCaption, "Cannot find plug-in entry point\n\"%s\".", e.file_name);
    return 0;
  }
  CallRecord call{e.index, &context, &e};
  SizeServices size_services{ServicePictureWidth, ServicePictureHeight, ServiceInputRow, nullptr, g.input, g.work};
  HostBlock block{&call, &g_picture_services, &size_services, &g_progress_services, &g_message_services};
  if (entry(kCommandApply, 0, &block) == 0) {
    RecordLastError(kErrorCaption, "Error running plug-in \"%s\"\nCannot find module \"%s\".", e.file_name, e.name);
    return 0;
  }
  const bool mask_present = g.mask.picture != nullptr;
  Merge(*g.input, *g.work, g.mask, mask_present, e.xalpha != nullptr ? e.xalpha->type : 0, g.alpha, context.x0,
        context.y0, context.x1, context.y1);
  return 1;
}

namespace {

// The mask of the next entry replaces the previous one.
void LoadEntryMask(const FilterDescriptor& e) {
  ReleaseMask(g.mask);
  if (e.xalpha == nullptr || e.xalpha->picture_path[0] == '\0') return;
  char line[512];
  std::snprintf(line, sizeof line, "Load X Alpha picture \"%s\"...", platform::FileNamePart(e.xalpha->picture_path));
  g_progress.SetMessage(nullptr, nullptr, nullptr, line);
  g.mask.picture = LoadMaskPicture(e.xalpha->picture_path);
  const ProgressFunctions& f = g_progress.Functions();
  if (g.progress_display && f.OmShowProgress != nullptr) f.OmShowProgress(1);
  if (g.mask.picture == nullptr) {
    g_progress.Message("Ombrix - Error", "Cannot open an X Alpha picture", 1);
    return;
  }
  if (e.xalpha->negative != 0) InvertMask(*g.mask.picture);
}

void RunChain() {
  const ProgressFunctions& f = g_progress.Functions();
  const int n = g.count;
  if (g.progress_display) {
    if (f.OmInitProgress != nullptr) f.OmInitProgress(1, 0, n);
    char caption[64];
    std::snprintf(caption, sizeof caption, "Ombrix Working - Frame %d ...", g.frame);
    g_progress.SetMessage(caption, "Loading filters...", nullptr, nullptr);
  }
  ModuleTable modules;
  g.modules = &modules;
  for (int i = 0; i < n; ++i)
    if (!modules.LoadModule(g.entries[i]->file_name)) g_progress.Message(LastErrorCaption(), LastErrorText(), 1);

  g.cancelled = false;
  if (f.OmInitProgress != nullptr && g.progress_display) f.OmInitProgress(1, 0, n + 1);
  for (int i = 0; i < n; ++i) {
    FilterDescriptor& e = *g.entries[i];
    LoadEntryMask(e);
    if (g.progress_display) {
      char line[64];
      std::snprintf(line, sizeof line, "Total work (%d/%d)", i + 1, n);
      g_progress.SetMessage(nullptr, line, nullptr, nullptr);
      if (f.OmUpdateProgress != nullptr && f.OmUpdateProgress(1, i + 1) == 0) break;
      // The line is kept in 256 bytes; a name near that length is cut.
      const std::string applying = std::string("Applying \"") + e.name + "\"...";
      std::snprintf(g.applying_line, sizeof g.applying_line, "%s", applying.c_str());
      g_progress.SetMessage(nullptr, nullptr, g.applying_line, g.applying_line);
      if (f.OmUpdateProgress != nullptr && f.OmUpdateProgress(2, 0) == 0) break;
    }
    if (!ApplyEntry(e, g.frame)) break;
  }
  if (g.progress_display) {
    if (f.OmUpdateProgress != nullptr) f.OmUpdateProgress(1, n + 1);
    g_progress.Unbind();
  }
  modules.ReleaseModules();
  g.modules = nullptr;
  ReleaseMask(g.mask);
}

// The missing-file handler of a render: asks whether to replace the file, then lets the user
// choose one. Headless, the question is answered "No" and the text stays.
int MissingFileHandler(char* text) {
  char question[1024];
  std::snprintf(question, sizeof question, "Cannot find file\n\"%s\".\nDo you want to replace it with a new file.",
                text);
  if (g_progress.Message("Ombrix - Warning", question, 0) == 0) return 0;
  std::string proposed = text;
  if (text[0] != '\0' && text[1] != ':' && g.content_directory[0] != '\0')
    proposed = platform::JoinPath(g.content_directory, text);
  std::string chosen;
  if (!platform::ChooseFileToOpen("Choose A New File", "All files (*.*)|*.*||", proposed.c_str(), chosen)) return 0;
  std::snprintf(text, 256, "%s", chosen.c_str());
  return 1;
}

}  // namespace

void SetOutsideFrame(int32_t frame) { g.outside_frame = frame; }
void SetCurrentPluginTable(PluginTable* table) { g.current_table = table; }
ProgressBinding& Progress() { return g_progress; }
void ReadProgressModulePath() { g_progress.SetModulePath(ReadSetting(nullptr, "OmOutDll", "")); }

int32_t RenderCall(const void* record, Picture* picture) {
  if (record != nullptr) std::snprintf(g.script_path, sizeof g.script_path, "%s", static_cast<const char*>(record));
  if (picture == nullptr || picture->IsEmpty()) return 1;
  g.input = picture;
  if (!g_work_picture.CopyFrom(picture)) return 1;
  g.work = &g_work_picture;

  g.progress_display = ReadSettingNumber("Options", "ShowProgress", 1) != 0;
  std::snprintf(g.content_directory, sizeof g.content_directory, "%s",
                ReadSetting("Options", "ContentDirectory").c_str());
  ReadProgressModulePath();
  g.count = 0;

  PluginTable* table = g.current_table;
  if (table == nullptr) {
    if (g.own_table == nullptr) {
      g.own_table = std::make_unique<PluginTable>();
      BuildPluginTable(*g.own_table);
    }
    table = g.own_table.get();
  }

  if (g_progress.Bind(true, g.progress_display)) {
    ScriptHeader header;
    header.content_directory = g.content_directory;
    int test_frame = 0;
    if (!ReadScript(g.script_path, g.entries, kMaxEntries, &g.count, &test_frame, header, *table, MissingFileHandler)) {
      platform::ShowMessageBox("Cannot open Script", kErrorCaption, platform::kIconError);
      // Nothing is rendered; the progress window opened for this render closes again.
      if (g.progress_display) g_progress.Unbind();
    } else {
      g.based_width = header.based_width;
      g.based_height = header.based_height;
      std::snprintf(g.content_directory, sizeof g.content_directory, "%s", header.content_directory.c_str());
      g.frame = g.outside_frame != -1 ? g.outside_frame : test_frame;
      RunChain();
    }
    FreeEntries();
  }
  g.work = nullptr;
  g.input = nullptr;
  return g.cancelled ? 0 : 1;
}

}  // namespace ombrix::engine
