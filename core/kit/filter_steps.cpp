// Zone clipping, the host's pictures and progress, and parameter reading for apply routines.
#include "core/kit/filter_steps.h"

#include <algorithm>
#include <utility>

#include "core/kit/pixel_math.h"
#include "core/kit/plugin_kit.h"
#include "core/picture/picture.h"

namespace ombrix::kit {
namespace {

const PictureServices* Pictures() {
  const HostBlock* host = CurrentHostBlock();
  return host != nullptr ? host->picture : nullptr;
}

const SizeServices* Sizes() {
  const HostBlock* host = CurrentHostBlock();
  return host != nullptr ? host->size : nullptr;
}

const ProgressServices* Progress() {
  const HostBlock* host = CurrentHostBlock();
  return host != nullptr ? host->progress : nullptr;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Reads one "%d" conversion: blanks, an optional sign, decimal digits. False (and `text`
// unchanged) when no digits follow.
bool ReadInteger(const char*& text, int32_t& number) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') return false;
  int64_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) magnitude = std::min<int64_t>(magnitude * 10 + (*p - '0'), int64_t(1) << 32);
  const int64_t value = negative ? -magnitude : magnitude;
  number = int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
  text = p;
  return true;
}

// Up to three integers; the first that cannot be read ends the reading, and it and the rest
// stay 0.
void ReadTriple(const char* text, int32_t (&numbers)[3]) {
  numbers[0] = numbers[1] = numbers[2] = 0;
  if (text == nullptr) return;
  for (int32_t& n : numbers)
    if (!ReadInteger(text, n)) return;
}

}  // namespace

std::optional<Zone> ClipZone(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width, int32_t height) {
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  if (width < x0 || height < y0 || x1 < 0 || y1 < 0) return std::nullopt;
  return Zone{std::max(x0, 0), std::max(y0, 0), std::min(x1, width), std::min(y1, height)};
}

std::optional<Zone> ZoneOf(const ApplyContext* context) {
  if (context == nullptr || WorkRows() == nullptr) return std::nullopt;
  const Picture* work = WorkPicture();
  // The zone is clipped against the host's picture size; WORK must be at least that large, or
  // rows of the zone would lie outside it.
  const int32_t width = PictureWidth();
  const int32_t height = PictureHeight();
  if (width > work->info->width || height > work->info->height) return std::nullopt;
  return ClipZone(context->x0, context->y0, context->x1, context->y1, width, height);
}

Picture* InputPicture() {
  const PictureServices* p = Pictures();
  return p != nullptr && p->InputPicture != nullptr ? p->InputPicture() : nullptr;
}

Picture* WorkPicture() {
  const PictureServices* p = Pictures();
  return p != nullptr && p->WorkPicture != nullptr ? p->WorkPicture() : nullptr;
}

int32_t PictureWidth() {
  const SizeServices* s = Sizes();
  return s != nullptr && s->PictureWidth != nullptr ? s->PictureWidth() : 0;
}

int32_t PictureHeight() {
  const SizeServices* s = Sizes();
  return s != nullptr && s->PictureHeight != nullptr ? s->PictureHeight() : 0;
}

uint8_t* const* InputRows() {
  const Picture* picture = InputPicture();
  return picture != nullptr && picture->info != nullptr ? picture->rows : nullptr;
}

uint8_t* const* WorkRows() {
  const Picture* picture = WorkPicture();
  return picture != nullptr && picture->info != nullptr ? picture->rows : nullptr;
}

namespace detail {

void StartProgress(int32_t first, int32_t last) {
  const ProgressServices* p = Progress();
  if (p != nullptr && p->StartProgress != nullptr) p->StartProgress(first, last);
}

bool ContinueAtRow(int32_t row) {
  const ProgressServices* p = Progress();
  return p == nullptr || p->StepProgress == nullptr || p->StepProgress(row) != 0;
}

}  // namespace detail

void SetInfoText(const char* text) {
  const ProgressServices* p = Progress();
  if (p != nullptr && p->SetInfoText != nullptr) p->SetInfoText(text != nullptr ? text : "");
}

void ShowProgress(int32_t command) {
  const ProgressServices* p = Progress();
  if (p != nullptr && p->ShowProgress != nullptr) p->ShowProgress(command);
}

float ParameterValue(const ApplyContext& context, int32_t slot) {
  if (context.values == nullptr || slot < 0 || slot > context.parameter_count) return 0.0f;
  return context.values[slot];
}

bool OptionSet(const ApplyContext& context, int32_t slot) {
  if (context.option_states == nullptr || slot < 0 || slot > context.option_count) return false;
  return context.option_states[slot] != 0;
}

int32_t FirstSetOption(const ApplyContext& context, std::initializer_list<int32_t> slots) {
  for (int32_t slot : slots)
    if (OptionSet(context, slot)) return slot;
  return 0;
}

std::optional<Colour> ReadColour(const ApplyContext& context, int32_t slot) {
  if (slot < 0 || slot > context.parameter_count) return std::nullopt;
  // The context's count allows slot == count, one past the records of a host copy (which holds
  // exactly `count` records); the descriptor's own count guards against reading beyond them.
  const FilterDescriptor* d = context.descriptor;
  if (d == nullptr || d->parameters == nullptr || slot >= d->parameter_count) return std::nullopt;
  const ParameterRecord& p = d->parameters[slot];
  return ColourFromTexts(p.value, p.step, context.frame_offset);
}

Colour ColourFromTexts(const char* value, const char* step, int32_t frame_offset) {
  int32_t base[3];
  int32_t change[3];
  ReadTriple(value, base);
  ReadTriple(step, change);
  uint8_t channel[3];
  for (int i = 0; i < 3; ++i) channel[i] = Clamp(int64_t(base[i]) + int64_t(frame_offset) * change[i]);
  return Colour{channel[0], channel[1], channel[2]};
}

}  // namespace ombrix::kit
