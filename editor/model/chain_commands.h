// Which chain commands the main window offers at a moment, and what a command that is not
// offered says instead.
#pragma once

#include "editor/model/filter_chain.h"

namespace ombrix::editor {

enum class ChainCommand {
  kAddFilter,
  kDelete,
  kNext,
  kPrevious,
  kSave,
  kXAlpha,
  kExtended,
  kRender,
  kFilterHelp,
};

// The commands' availability, worked out from the chain and from whether a filter has been
// chosen or a script loaded since start-up (the session's ready flag). Worked out afresh after
// every command, so a command is never offered where it could not work: Delete never with one
// entry, Add never with 255.
struct ChainAvailability {
  bool add_filter = false;   // room for another entry, and a filter chosen or a script loaded
  bool remove = false;       // more than one entry
  bool next = false;         // the current entry is not the last
  bool previous = false;     // the current entry is not the first
  bool filter_work = false;  // Save, X Alpha, extended options, Render and per-filter help

  bool Allows(ChainCommand command) const;
};

ChainAvailability AvailabilityOf(const FilterChain& chain, bool filter_chosen);

// The warning an unavailable command shows ("Ombrix - Warning"); null for the commands that do
// something else instead (Render and per-filter help).
const char* UnavailableWarning(ChainCommand command, const FilterChain& chain);

}  // namespace ombrix::editor
