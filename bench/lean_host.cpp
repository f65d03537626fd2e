// The lean host's services, entries and module calls.
#include "bench/lean_host.h"

#include <cstdio>
#include <cstring>

#include "core/parameter_kinds.h"
#include "core/platform/dynamic_library.h"
#include "core/platform/files.h"
#include "core/plugin/last_error.h"

namespace ombrix::bench {
namespace {

// Filters reach the host through plain function pointers, so the services answer from the one
// call in progress (modules are not re-entrant, and neither is this host).
Picture* g_input = nullptr;
Picture* g_work = nullptr;
int g_messages = 0;
std::string g_last_message;

int32_t SetPixelService(int32_t x, int32_t y, const uint8_t* bgr) { return g_work->SetPixel(x, y, bgr); }
int32_t GetPixelService(int32_t x, int32_t y, uint8_t* bgr) { return g_work->GetPixel(x, y, bgr); }
uint8_t MaskGreyService(int32_t, int32_t) { return 0; }
void ReportValueService(int16_t) {}
Picture* InputPictureService() { return g_input; }
Picture* WorkPictureService() { return g_work; }
int32_t PictureWidthService() { return g_input->Width(); }
int32_t PictureHeightService() { return g_input->Height(); }
uint8_t* InputRowService(int32_t y) { return y >= 0 && y < g_input->Height() ? g_input->Row(y) : nullptr; }
void StartProgressService(int32_t, int32_t) {}
int32_t StepProgressService(int32_t) { return 1; }
void SetInfoTextService(const char*) {}
void ShowProgressService(int32_t) {}
int32_t ShowMessageService(const char* text, const char* title, int32_t) {
  ++g_messages;
  g_last_message = std::string(title != nullptr ? title : "") + ": " + (text != nullptr ? text : "");
  return 1;
}

PictureServices g_pictures{SetPixelService,    GetPixelService,     MaskGreyService,
                           ReportValueService, InputPictureService, WorkPictureService};
SizeServices g_sizes{PictureWidthService, PictureHeightService, InputRowService, nullptr, nullptr, nullptr};
ProgressServices g_progress{StartProgressService, StepProgressService, SetInfoTextService, ShowProgressService};
MessageServices g_message_services{ShowMessageService};
HostBlock g_block{nullptr, &g_pictures, &g_sizes, &g_progress, &g_message_services};

}  // namespace

BenchEntry::BenchEntry(const FilterDescriptor& catalogue, const std::string& second_picture) {
  if (!CopyDescriptor(&d_, &catalogue, false)) return;
  for (int32_t k = 0; k < d_.parameter_count; ++k) {
    ParameterRecord& p = d_.parameters[k];
    if (ReadingOf(p.kind) == KindReading::kFilePath && !platform::FileExists(p.value))
      std::snprintf(p.value, sizeof p.value, "%s", second_picture.c_str());
  }
}

BenchEntry::~BenchEntry() { FreeDescriptorRecords(&d_, false); }

FilterModule::~FilterModule() { Unload(); }

bool FilterModule::Load(const std::string& path, std::string& error) {
  if (LoadPluginFile(table_, path.c_str()) == 0) {
    error = LastErrorText();
    return false;
  }
  library_ = platform::OpenLibrary(path.c_str());
  entry_ = reinterpret_cast<FilterEntryFunction>(platform::LibrarySymbol(library_, "Ombrix_Filter_Plugin_Entry"));
  if (entry_ == nullptr) {
    error = "cannot load " + path + ": " + platform::LibraryError();
    Unload();
    return false;
  }
  entry_(kCommandInitialise, 0, nullptr);
  return true;
}

void FilterModule::Unload() {
  if (entry_ != nullptr) entry_(kCommandRelease, 0, nullptr);
  entry_ = nullptr;
  if (library_ != nullptr) platform::CloseLibrary(library_);
  library_ = nullptr;
}

void FilterModule::Prepare(FilterDescriptor& entry, Picture& input, Picture& work) {
  built_ = BuildApplyContext(entry, 0, ProportionalScale{input.Width(), input.Height()});
  ApplyContext& context = built_.context;
  context.x0 = 0;
  context.y0 = 0;
  context.x1 = input.Width();
  context.y1 = input.Height();
  record_ = CallRecord{entry.index, &context, &entry};
  g_input = &input;
  g_work = &work;
  g_sizes.input = &input;
  g_sizes.work = &work;
}

int32_t FilterModule::Call() {
  if (entry_ == nullptr) return 0;
  g_block.call = &record_;
  return entry_(kCommandApply, 0, &g_block);
}

int FilterModule::Messages() const { return g_messages; }
const std::string& FilterModule::LastMessage() const { return g_last_message; }

}  // namespace ombrix::bench
