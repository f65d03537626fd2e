// The test host: module loading, chain entries, the host services and picture helpers.
#include "tests/support/test_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "core/platform/dynamic_library.h"
#include "core/platform/paths.h"
#include "core/plugin/apply_context.h"
#include "core/plugin/last_error.h"

namespace ombrix::testing {
namespace {

// ---- Host services -------------------------------------------------------------------------
// Filters reach the host through plain function pointers, so the services answer from the one
// session that is applying (modules are not re-entrant and neither is this host).

struct Session {
  Picture* input = nullptr;
  Picture* work = nullptr;
  Outcome* outcome = nullptr;
  int32_t cancel_row = -1;
  int32_t message_answer = 1;
  const std::function<uint8_t(int32_t, int32_t)>* mask_grey = nullptr;
};

Session* g_session = nullptr;

int32_t SetPixelService(int32_t x, int32_t y, const uint8_t* bgr) { return g_session->work->SetPixel(x, y, bgr); }
int32_t GetPixelService(int32_t x, int32_t y, uint8_t* bgr) { return g_session->work->GetPixel(x, y, bgr); }
uint8_t MaskGreyService(int32_t x, int32_t y) {
  return *g_session->mask_grey ? (*g_session->mask_grey)(x, y) : uint8_t{0};
}
void ReportValueService(int16_t value) { g_session->outcome->reported_values.push_back(value); }
Picture* InputPictureService() { return g_session->input; }
Picture* WorkPictureService() { return g_session->work; }
int32_t PictureWidthService() { return g_session->input->Width(); }
int32_t PictureHeightService() { return g_session->input->Height(); }
uint8_t* InputRowService(int32_t y) {
  return y >= 0 && y < g_session->input->Height() ? g_session->input->Row(y) : nullptr;
}
void StartProgressService(int32_t first, int32_t last) { g_session->outcome->starts.emplace_back(first, last); }
int32_t StepProgressService(int32_t n) {
  g_session->outcome->steps.push_back(n);
  return g_session->cancel_row >= 0 && n >= g_session->cancel_row ? 0 : 1;
}
void SetInfoTextService(const char* text) { g_session->outcome->info_texts.emplace_back(text != nullptr ? text : ""); }
void ShowProgressService(int32_t command) { g_session->outcome->show_commands.push_back(command); }
int32_t ShowMessageService(const char* text, const char* title, int32_t) {
  g_session->outcome->messages.push_back(std::string(title != nullptr ? title : "") + ": " +
                                         (text != nullptr ? text : ""));
  return g_session->message_answer;
}

void CopyText(char* field, size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::strncpy(field, text.c_str(), size - 1);
}

}  // namespace

std::string ToString(const Bgr& pixel) {
  return "(" + std::to_string(pixel.red) + ", " + std::to_string(pixel.green) + ", " + std::to_string(pixel.blue) + ")";
}

// ---- Entry ---------------------------------------------------------------------------------

Entry::Entry(const FilterDescriptor& source) {
  if (CopyDescriptor(&d_, &source, false) == 0) ADD_FAILURE() << "cannot copy descriptor " << source.name;
}

Entry::Entry(const Entry& other) : Entry(other.d_) {}

Entry::~Entry() { FreeDescriptorRecords(&d_, false); }

Entry& Entry::Value(int32_t slot, const std::string& text) {
  if (slot < 0 || slot >= d_.parameter_count) {
    ADD_FAILURE() << "no parameter slot " << slot;
    return *this;
  }
  CopyText(d_.parameters[slot].value, sizeof d_.parameters[slot].value, text);
  return *this;
}

Entry& Entry::Step(int32_t slot, const std::string& text) {
  if (slot < 0 || slot >= d_.parameter_count) {
    ADD_FAILURE() << "no parameter slot " << slot;
    return *this;
  }
  CopyText(d_.parameters[slot].step, sizeof d_.parameters[slot].step, text);
  return *this;
}

Entry& Entry::Select(int32_t option_slot) {
  if (option_slot < 0 || option_slot >= d_.option_count) {
    ADD_FAILURE() << "no option slot " << option_slot;
    return *this;
  }
  const int16_t group = d_.options[option_slot].group;
  for (int32_t k = 0; k < d_.option_count; ++k)
    if (d_.options[k].name[0] != '\0' && d_.options[k].group == group) d_.options[k].state = 0;
  d_.options[option_slot].state = 1;
  return *this;
}

Entry& Entry::State(int32_t option_slot, int16_t state) {
  if (option_slot < 0 || option_slot >= d_.option_count) {
    ADD_FAILURE() << "no option slot " << option_slot;
    return *this;
  }
  d_.options[option_slot].state = state;
  return *this;
}

Entry& Entry::ClearOptions() {
  for (int32_t k = 0; k < d_.option_count; ++k)
    if (d_.options[k].name[0] != '\0') d_.options[k].state = 0;
  return *this;
}

Entry& Entry::Frames(int32_t start, int32_t end) {
  d_.start_frame = start;
  d_.end_frame = end;
  return *this;
}

// ---- TestHost ------------------------------------------------------------------------------

TestHost::TestHost(const std::string& module_file, const std::string& stage_dir) {
  path_ =
      platform::JoinPath(platform::JoinPath(stage_dir.empty() ? OMBRIX_STAGE_DIR : stage_dir, "Plugins"), module_file);
  if (LoadPluginFile(table_, path_.c_str()) == 0) {
    error_ = LastErrorText();
    return;
  }
  module_ = platform::OpenLibrary(path_.c_str());
  auto entry = reinterpret_cast<FilterEntryFunction>(platform::LibrarySymbol(module_, "Ombrix_Filter_Plugin_Entry"));
  if (entry == nullptr) {
    error_ = "cannot load " + path_ + ": " + platform::LibraryError();
    platform::CloseLibrary(module_);
    module_ = nullptr;
    return;
  }
  entry(kCommandInitialise, 0, nullptr);
  entry_ = entry;
}

TestHost::~TestHost() {
  if (entry_ != nullptr) entry_(kCommandRelease, 0, nullptr);
  platform::CloseLibrary(module_);
}

const FilterDescriptor* TestHost::Find(const std::string& filter) const {
  for (int i = 0; i < table_.Count(); ++i)
    if (filter == table_.At(i)->name) return table_.At(i);
  return nullptr;
}

Entry TestHost::MakeEntry(const std::string& filter) const {
  if (const FilterDescriptor* d = Find(filter)) return Entry(*d);
  ADD_FAILURE() << path_ << " has no filter \"" << filter << "\"";
  FilterDescriptor unknown{};
  CopyText(unknown.name, sizeof unknown.name, filter);
  return Entry(unknown);
}

Outcome TestHost::Apply(const std::string& filter, const Picture& input, const ApplyCall& call) {
  return Apply(MakeEntry(filter), input, call);
}

Outcome TestHost::Apply(const Entry& entry, const Picture& input, const ApplyCall& call) {
  Outcome outcome;
  outcome.input = CopyOf(input);
  outcome.work = CopyOf(input);
  if (entry_ == nullptr) {
    ADD_FAILURE() << "module not loaded: " << error_;
    return outcome;
  }
  // The filter gets its own copy of the entry, as a host's chain entry is its own.
  Entry chain_entry(entry);
  FilterDescriptor& d = chain_entry.descriptor();
  BuiltApplyContext built = BuildApplyContext(d, call.frame_offset, ProportionalScale{input.Width(), input.Height()});
  if (call.values) built.values = *call.values;
  if (call.states) built.states = *call.states;
  const Corners zone = call.zone ? *call.zone : Corners{0, 0, input.Width(), input.Height()};

  ApplyContext& context = built.context;
  context.x0 = zone.x0;
  context.y0 = zone.y0;
  context.x1 = zone.x1;
  context.y1 = zone.y1;
  if (call.parameter_count) context.parameter_count = *call.parameter_count;
  if (call.option_count) context.option_count = *call.option_count;
  context.values = built.values.data();
  context.option_states = built.states.data();

  CallRecord record{call.filter_index ? *call.filter_index : d.index, &context, &d};
  PictureServices pictures{SetPixelService,    GetPixelService,     MaskGreyService,
                           ReportValueService, InputPictureService, WorkPictureService};
  SizeServices sizes{PictureWidthService, PictureHeightService, InputRowService, nullptr,
                     outcome.input.get(), outcome.work.get()};
  ProgressServices progress{StartProgressService, StepProgressService, SetInfoTextService, ShowProgressService};
  MessageServices messages{ShowMessageService};
  HostBlock block{&record, &pictures, &sizes, &progress, &messages};

  Session session{outcome.input.get(), outcome.work.get(), &outcome, cancel_row_, message_answer_, &mask_grey_};
  g_session = &session;
  // As a render does, the module builds its catalogue before it applies a filter. Doing it for
  // every call also survives a host loader that released the catalogue of this same loaded
  // module (LoadPluginFile on the same path sends command 4 to it).
  entry_(kCommandInitialise, 0, nullptr);
  outcome.result = entry_(kCommandApply, 0, &block);
  g_session = nullptr;
  outcome.filter_index = record.filter_index;
  return outcome;
}

// ---- Pictures ------------------------------------------------------------------------------

std::unique_ptr<Picture> MakePicture(int width, int height, const std::function<Bgr(int x, int y)>& colour) {
  auto picture = std::make_unique<Picture>();
  if (picture->Create(width, height) == 0)
    ADD_FAILURE() << "cannot create a " << width << " x " << height << " picture";
  for (int y = 0; y < picture->Height(); ++y)
    for (int x = 0; x < picture->Width(); ++x) SetPixelAt(*picture, x, y, colour(x, y));
  return picture;
}

std::unique_ptr<Picture> NoisePicture(int width, int height, uint32_t seed) {
  uint32_t state = seed * 2654435761u + 1;
  auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return uint8_t(state >> 11);
  };
  return MakePicture(width, height, [&](int, int) {
    Bgr p;
    p.blue = next();
    p.green = next();
    p.red = next();
    return p;
  });
}

std::unique_ptr<Picture> CopyOf(const Picture& picture) {
  auto copy = std::make_unique<Picture>();
  if (copy->CopyFrom(&picture) == 0) ADD_FAILURE() << "cannot copy a picture";
  return copy;
}

Bgr PixelAt(const Picture& picture, int x, int y) {
  uint8_t bgr[3];
  picture.GetPixel(x, y, bgr);
  return Bgr{bgr[0], bgr[1], bgr[2]};
}

void SetPixelAt(Picture& picture, int x, int y, Bgr pixel) {
  const uint8_t bgr[3] = {pixel.blue, pixel.green, pixel.red};
  picture.SetPixel(x, y, bgr);
}

std::string CheckPixels(const Picture& input, const Picture& output, Corners inside,
                        const std::function<Bgr(Bgr, int, int)>& expected) {
  if (input.Width() != output.Width() || input.Height() != output.Height()) return "pictures differ in size";
  std::ostringstream report;
  int mismatches = 0;
  for (int y = 0; y < input.Height(); ++y) {
    for (int x = 0; x < input.Width(); ++x) {
      const Bgr in = PixelAt(input, x, y);
      const bool in_zone = x >= inside.x0 && x < inside.x1 && y >= inside.y0 && y < inside.y1;
      const Bgr want = in_zone ? expected(in, x, y) : in;
      const Bgr got = PixelAt(output, x, y);
      if (got == want) continue;
      if (++mismatches <= 5)
        report << "(" << x << ", " << y << ")" << (in_zone ? "" : " outside the zone") << ": input " << ToString(in)
               << ", expected " << ToString(want) << ", got " << ToString(got) << "\n";
    }
  }
  if (mismatches > 5) report << "... " << mismatches << " pixels differ\n";
  return report.str();
}

std::string CheckUnchanged(const Picture& input, const Picture& output) {
  return CheckPixels(input, output, Corners{}, [](Bgr in, int, int) { return in; });
}

}  // namespace ombrix::testing
