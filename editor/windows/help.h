// The help viewer: each help book opens in a viewer window of its own (the toolkit's HTML help
// viewer), at the page of the topic asked for. A book is a zip of its pages and topic maps, kept
// under the name the catalogues and settings give ("ZvOmPal.Hlp"), or a folder of them.
#pragma once

#include <string>

#include "core/records.h"
#include "editor/model/help_requests.h"
#include "editor/model/session.h"

class wxHtmlHelpData;

namespace ombrix::editor {

// Shows the request's message, or its book at its topic (the book's first page when the topic
// is not in it). False when a message was shown instead of the book.
bool OpenHelp(const HelpRequest& request);

// The main help book at a topic, and the per-filter help of a chain entry.
bool OpenMainHelp(const EditorSession& session, int topic);
bool OpenFilterHelp(const EditorSession& session, const FilterDescriptor* entry);

// The location the viewer opens for a book file or folder (its project file, inside the zip for
// a zip), or empty when there is none.
std::string HelpBookLocation(const std::string& book);
// Loads a book into help data; false when it cannot be read.
bool LoadHelpBook(wxHtmlHelpData& data, const std::string& book);
// The page that a topic number of the loaded books opens, or empty when no page has that topic.
std::string TopicPage(const wxHtmlHelpData& data, int topic);

}  // namespace ombrix::editor
