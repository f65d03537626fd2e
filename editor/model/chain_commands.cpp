// Availability of the chain commands and their warnings.
#include "editor/model/chain_commands.h"

namespace ombrix::editor {

bool ChainAvailability::Allows(ChainCommand command) const {
  switch (command) {
    case ChainCommand::kAddFilter:
      return add_filter;
    case ChainCommand::kDelete:
      return remove;
    case ChainCommand::kNext:
      return next;
    case ChainCommand::kPrevious:
      return previous;
    case ChainCommand::kSave:
    case ChainCommand::kXAlpha:
    case ChainCommand::kExtended:
    case ChainCommand::kRender:
    case ChainCommand::kFilterHelp:
      return filter_work;
  }
  return false;
}

ChainAvailability AvailabilityOf(const FilterChain& chain, bool filter_chosen) {
  ChainAvailability a;
  a.add_filter = filter_chosen && chain.Count() != kMaxChainEntries;
  a.remove = chain.Count() != 1;
  a.next = chain.Count() - chain.Current() != 1;
  a.previous = chain.Current() != 0;
  a.filter_work = filter_chosen;
  return a;
}

const char* UnavailableWarning(ChainCommand command, const FilterChain& chain) {
  switch (command) {
    case ChainCommand::kAddFilter:
      return chain.Count() == kMaxChainEntries ? "Cannot add more filter"
                                               : "Cannot add filter\nbecause current filter is empty";
    case ChainCommand::kDelete:
      return "Cannot delete first filter";
    case ChainCommand::kNext:
      return "No more filter";
    case ChainCommand::kPrevious:
      return "No previous filter";
    case ChainCommand::kSave:
      return "Nothing to save";
    case ChainCommand::kXAlpha:
      return "Only works when current filter isn't empty";
    case ChainCommand::kExtended:
      return "Only works when current filtre\nisn't empty";
    case ChainCommand::kRender:
    case ChainCommand::kFilterHelp:
      break;
  }
  return nullptr;
}

}  // namespace ombrix::editor
