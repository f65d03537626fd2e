// Calling a plug-in's extended editor.
#include "editor/model/editor_link.h"

#include <sstream>

#include "core/platform/dynamic_library.h"
#include "core/platform/files.h"
#include "core/settings/settings.h"

namespace ombrix::editor {

EditorLinkResult RunEditorLink(const std::string& link_text, FilterDescriptor& entry) {
  std::istringstream words(link_text);
  std::string module, procedure;
  words >> module >> procedure;
  EditorLinkResult result;
  const std::string path = module.empty() ? std::string() : ReadSetting("References", module.c_str());
  if (path.empty()) {
    result.error = "Cannot create memory link to \"" + module + "\".";
    return result;
  }
  if (!platform::FileExists(path.c_str())) {
    result.error = "Cannot open file\n\"" + path + "\".";
    return result;
  }
  // Loaded once and never unloaded: an editor may keep windows or state of its own alive.
  platform::LibraryHandle library = platform::OpenLibrary(path.c_str());
  if (library == nullptr) {
    result.error = "Cannot access datas of file\n\"" + path + "\".";
    return result;
  }
  auto* call = reinterpret_cast<ExtendedEditorProcedure>(
      procedure.empty() ? nullptr : platform::LibrarySymbol(library, procedure.c_str()));
  if (call == nullptr) {
    result.error = "Cannot find module\"" + procedure + "\" in file \"" + path + "\".";
    return result;
  }
  result.changed = call(&entry) != 0;
  return result;
}

}  // namespace ombrix::editor
