// Module-wide last error text and caption.
#include "core/plugin/last_error.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace ombrix {
namespace {
char g_text[1024];
char g_caption[256];
}  // namespace

void RecordLastError(const char* caption, const char* format, ...) {
  std::snprintf(g_caption, sizeof g_caption, "%s", caption != nullptr ? caption : "");
  va_list args;
  va_start(args, format);
  std::vsnprintf(g_text, sizeof g_text, format, args);
  va_end(args);
}

const char* LastErrorText() { return g_text; }
const char* LastErrorCaption() { return g_caption; }
void ClearLastError() {
  g_text[0] = '\0';
  g_caption[0] = '\0';
}

}  // namespace ombrix
