// A host for tests of filter modules: loads a staged module the way the hosts do, makes chain
// entries from its catalogue, hands a filter INPUT and WORK pictures with every host service,
// and records what the filter asked of the host.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/picture/picture.h"
#include "core/plugin/plugin_host.h"
#include "core/records.h"

namespace ombrix::testing {

struct Bgr {
  uint8_t blue = 0;
  uint8_t green = 0;
  uint8_t red = 0;
  friend bool operator==(const Bgr&, const Bgr&) = default;
};
std::string ToString(const Bgr& pixel);  // "(r, g, b)", red first as people write colours

// Zone corners as an apply context carries them: neither ordered nor clipped.
struct Corners {
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;
};

// A filter entry of a chain, as a host holds it: a deep copy of a catalogue descriptor with 11
// parameter and 11 option slots, whose texts, option states and frames a test may change.
class Entry {
 public:
  explicit Entry(const FilterDescriptor& source);
  Entry(const Entry& other);
  Entry& operator=(const Entry&) = delete;
  ~Entry();

  FilterDescriptor& descriptor() { return d_; }
  const FilterDescriptor& descriptor() const { return d_; }

  Entry& Value(int32_t slot, const std::string& text);
  Entry& Step(int32_t slot, const std::string& text);
  // Sets this option and clears the other options of its group, as the editor keeps a radio list.
  Entry& Select(int32_t option_slot);
  // Sets one option state as given, leaving the others alone.
  Entry& State(int32_t option_slot, int16_t state);
  // Clears every option that has a name.
  Entry& ClearOptions();
  Entry& Frames(int32_t start, int32_t end);

 private:
  FilterDescriptor d_{};
};

// What one apply call did and asked of the host.
struct Outcome {
  int32_t result = 0;
  int32_t filter_index = -1;                        // the call record's index after the call
  std::unique_ptr<Picture> work;                    // WORK after the call
  std::unique_ptr<Picture> input;                   // INPUT after the call (filters only read it)
  std::vector<std::pair<int32_t, int32_t>> starts;  // StartProgress(first, last)
  std::vector<int32_t> steps;                       // StepProgress(n)
  std::vector<std::string> info_texts;
  std::vector<int32_t> show_commands;
  std::vector<std::string> messages;  // "title: text"
  std::vector<int16_t> reported_values;
};

// How to call a filter; every field left empty takes what a host would pass (BuildApplyContext
// of the entry, which tests keep not proportional, over the whole picture).
struct ApplyCall {
  std::optional<Corners> zone;  // default: the whole picture
  int32_t frame_offset = 0;
  std::optional<std::vector<float>> values;
  std::optional<std::vector<int16_t>> states;
  std::optional<int32_t> parameter_count;  // default: the entry's slot count
  std::optional<int32_t> option_count;
  std::optional<int32_t> filter_index;  // default: the entry's catalogue index
};

class TestHost {
 public:
  // Loads Plugins/<module_file> of the staged tree (the build's own when stage_dir is empty):
  // its catalogue through the host loader, as both hosts read it, then the module itself,
  // initialised with command 1, for applying.
  explicit TestHost(const std::string& module_file, const std::string& stage_dir = {});
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  bool Loaded() const { return entry_ != nullptr; }
  const std::string& Error() const { return error_; }
  const std::string& Path() const { return path_; }
  const PluginTable& Catalogue() const { return table_; }
  // The catalogue copy of the named filter, or null.
  const FilterDescriptor* Find(const std::string& filter) const;
  // A chain entry with the catalogue defaults of the named filter. An unknown name fails the
  // running test and gives an entry with that name and no slots.
  Entry MakeEntry(const std::string& filter) const;

  // StepProgress(n) answers 0 (stop) for every n >= row; a negative row never stops.
  void CancelFromRow(int32_t row) { cancel_row_ = row; }
  void AnswerMessages(int32_t answer) { message_answer_ = answer; }
  // The grey level MaskGrey reports; no function: 0 everywhere, as without a mask picture.
  void SetMaskGrey(std::function<uint8_t(int32_t, int32_t)> grey) { mask_grey_ = std::move(grey); }

  // Copies input into INPUT and WORK, initialises the module (command 1) and calls it with
  // command 3.
  Outcome Apply(const Entry& entry, const Picture& input, const ApplyCall& call = {});
  Outcome Apply(const std::string& filter, const Picture& input, const ApplyCall& call = {});
  // The module's filter entry, for calls the helpers above do not make.
  FilterEntryFunction FilterEntry() const { return entry_; }

 private:
  std::string path_;
  std::string error_;
  PluginTable table_;
  platform::LibraryHandle module_ = nullptr;
  FilterEntryFunction entry_ = nullptr;
  int32_t cancel_row_ = -1;
  int32_t message_answer_ = 1;
  std::function<uint8_t(int32_t, int32_t)> mask_grey_;
};

// ---- Pictures ------------------------------------------------------------------------------

std::unique_ptr<Picture> MakePicture(int width, int height, const std::function<Bgr(int x, int y)>& colour);
// Every byte drawn from a small fixed generator, so each channel takes many values.
std::unique_ptr<Picture> NoisePicture(int width, int height, uint32_t seed);
std::unique_ptr<Picture> CopyOf(const Picture& picture);
Bgr PixelAt(const Picture& picture, int x, int y);
void SetPixelAt(Picture& picture, int x, int y, Bgr pixel);

// Compares `output` with `input` pixel by pixel: inside the half-open rectangle
// [x0, x1) x [y0, y1) each pixel must equal expected(input pixel, x, y), outside it must equal
// the input pixel. Returns an empty text when all match, else the first mismatches.
std::string CheckPixels(const Picture& input, const Picture& output, Corners inside,
                        const std::function<Bgr(Bgr, int, int)>& expected);
// The same with every pixel expected unchanged.
std::string CheckUnchanged(const Picture& input, const Picture& output);

}  // namespace ombrix::testing
