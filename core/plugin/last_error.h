// The host's last error: a message text and a caption that a failing operation records and its
// caller may show.
#pragma once

namespace ombrix {

// printf-style; the text is cut at 1023 bytes, the caption at 255.
void RecordLastError(const char* caption, const char* format, ...) __attribute__((format(printf, 2, 3)));
const char* LastErrorText();
const char* LastErrorCaption();
void ClearLastError();

}  // namespace ombrix
