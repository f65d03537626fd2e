// The chain entry a filter's pictures are rendered with: the plug-in's defaults over the whole
// picture, frames 0 to 30, shown at frame 0; and the gallery's variation of it, written in the
// filter's notes as settings separated by ';':
//   Name = value       a parameter's value text as the editor stores it ("100", "255 0 0",
//                      "50 %"); a file name is taken relative to the installation's root
//   Name = on | off    an option set or cleared; setting one option of a group clears the others
//   Name               the same as "Name = on"
//   frame N            the picture shows frame N of the 0 to 30 range
//   zone X0 Y0 X1 Y1   the filter acts on that rectangle instead of the whole picture
// Names are the catalogue's (UTF-8, blanks at both ends ignored).
#pragma once

#include <string>
#include <string_view>

#include "core/records.h"

namespace ombrix::help {

inline constexpr int kPictureStartFrame = 0;
inline constexpr int kPictureEndFrame = 30;

// Makes a chain entry act on the whole picture from frame 0 to 30, fully applied.
void UseWholePicture(FilterDescriptor& entry);

// Applies a variation to a chain entry. test_frame is set by "frame N" and left alone otherwise.
// False with a message naming the setting that names no parameter or option of the entry or
// cannot be read.
bool ApplyVariation(std::string_view variation, const std::string& root, FilterDescriptor& entry, int& test_frame,
                    std::string* error);

}  // namespace ombrix::help
