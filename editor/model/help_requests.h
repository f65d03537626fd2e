// What the editor's help commands open: the main help book at the fixed topics of its windows,
// and for the per-filter help ("About") the book and topic that the filter's catalogue entry
// names. A request either names a book file and a topic, or carries the message to show.
#pragma once

#include <string>

#include "core/records.h"
#include "editor/model/derived_paths.h"

namespace ombrix::editor {

// Topics of the main help book.
inline constexpr int kFilterChoiceHelpTopic = 2;     // the per-filter help while no filter is chosen
inline constexpr int kMainWindowHelpTopic = 5;       // the main window's "Help"
inline constexpr int kOptionsHelpTopic = 6;          // the options window's "Help"
inline constexpr int kExtendedOptionsHelpTopic = 7;  // the extended options window's "Help"
inline constexpr int kXAlphaHelpTopic = 8;           // the X-Alpha window's "Help"

struct HelpRequest {
  std::string book;  // the book file to open; empty when the message is shown instead
  int topic = 0;
  std::string message;  // Windows-1252 text, with its caption
  std::string caption;
};

// The main help file at a topic, or "Cannot find "<path>"." (caption "Ombrix - Error") when the
// file does not exist.
HelpRequest MainHelpRequest(const DerivedPaths& paths, int topic);

// The help of a chain entry. No entry or no chosen filter: the main help at topic 2. An entry
// without a help file name: "Filter "<name>" have no help associated." (caption "Ombrix -
// Message"). A help file name that names an existing book (a file, or a folder of pages) is
// opened as it is; otherwise it is looked up in the help folder. Names are looked up there without regard to letter
// case: the catalogues spell one book "ZvOmCom.Hlp" and "ZvOmCom.hlp", as a platform that ignores case allows. A name
// found nowhere gives "Cannot find "<name>"." (caption "Ombrix - Error").
HelpRequest FilterHelpRequest(const DerivedPaths& paths, const FilterDescriptor* entry);

}  // namespace ombrix::editor
