// The X-Alpha settings.
#include "editor/model/x_alpha_settings.h"

#include <cstdio>
#include <new>

#include "core/parameter_kinds.h"
#include "core/platform/paths.h"
#include "core/text/numbers.h"
#include "editor/model/number_formats.h"

namespace ombrix::editor {

XAlphaButtons ShowXAlphaButtons(const XAlphaRecord& record) {
  XAlphaButtons buttons;
  buttons.gradual = record.type == 1;
  buttons.negative = record.negative != 0;
  buttons.stretch = record.stretch != 0;
  return buttons;
}

void TakeXAlphaButtons(XAlphaRecord& record, const XAlphaButtons& buttons) {
  record.type = buttons.gradual ? 1 : 2;
  record.negative = buttons.negative ? 1 : 0;
  record.stretch = buttons.stretch ? 1 : 0;
}

std::string AlphaText(float value) { return DragText(kKindPercentage, value); }

float ReadAlphaText(const std::string& text, float old_value) { return text::LeadingFloat(text, old_value); }

std::string XAlphaInformation(const Picture* pending) {
  if (pending == nullptr || pending->IsEmpty()) return "(no picture loaded)";
  const long long kilobytes = (long long)pending->Width() * pending->Height() * 3 / 1024;
  char text[1024];
  std::snprintf(text, sizeof text, "%s\n   Type = %s\n   Width = %d\n   Height = %d\n   Mem. Size = %lld Kb\n",
                platform::FileNamePart(pending->SourceText()), pending->TypeText(), pending->Width(), pending->Height(),
                kilobytes);
  return text;
}

const Picture* MaskPictureOf(const FilterDescriptor& entry) {
  if (entry.xalpha == nullptr || entry.xalpha->picture == nullptr || entry.xalpha->picture->IsEmpty()) return nullptr;
  return entry.xalpha->picture;
}

bool ConfirmXAlpha(FilterDescriptor& entry, const XAlphaConfirmation& confirmation) {
  if (entry.xalpha == nullptr) return false;
  XAlphaRecord& record = *entry.xalpha;
  TakeXAlphaButtons(record, confirmation.buttons);
  entry.alpha_init = ReadAlphaText(confirmation.init_text, entry.alpha_init);
  entry.alpha_step = ReadAlphaText(confirmation.step_text, entry.alpha_step);
  if (record.picture == nullptr) record.picture = new (std::nothrow) Picture();
  const bool has_pending = confirmation.pending != nullptr && !confirmation.pending->IsEmpty();
  if (has_pending && record.picture != nullptr && record.picture->CopyFrom(confirmation.pending)) {
    std::snprintf(record.picture_path, sizeof record.picture_path, "%s", confirmation.pending_name.c_str());
    return true;
  }
  record.picture_path[0] = '\0';
  if (record.picture != nullptr) record.picture->Reset();
  return !has_pending;
}

}  // namespace ombrix::editor
