// The kit's picture files, read through the picture import.
#include "core/kit/picture_file.h"

#include "core/import/picture_import.h"
#include "core/picture/picture.h"
#include "core/platform/paths.h"

namespace ombrix::kit {

std::unique_ptr<Picture> LoadPicture(const char* path) { return LoadPictureFile(path); }

const char* FileNamePart(const char* path) { return platform::FileNamePart(path); }

}  // namespace ombrix::kit
