// Pictures that filters read from files (the composition filters' second pictures). The reading
// itself is the host side's picture import; a module that needs it links ombrix_kit_import.
#pragma once

#include <memory>

class Picture;

namespace ombrix::kit {

// The picture in the file at `path`: a Targa file read directly, any other format through the
// outside converter. Null when it cannot be read.
std::unique_ptr<Picture> LoadPicture(const char* path);

// The file name part of a path: the text after its last separator of either kind.
const char* FileNamePart(const char* path);

}  // namespace ombrix::kit
