// The direct paths of PNG and TIFF frames: decoded straight into the frame's planes and encoded
// straight from them, without GraphicsMagick's pixel cache or an interleaved copy of the frame.
#pragma once

#include <string>

#include "core/import/picture_planes.h"
#include "tools/ombrix-render/frame.h"

namespace ombrix::render {

// Reads the file when its first bytes say PNG or TIFF and the direct decoders take all of it;
// facts tell what the file held. False leaves the file to the general reader: another format,
// a TIFF layout the direct reader does not take, or a damaged file.
bool ReadFrameDirectly(const std::string& path, Frame& frame, SourceFacts& facts);

// Whether frames in the format (an upper-case name: "PNG", "TIFF") are written directly.
bool WritesDirectly(const std::string& format);
// Encodes the frame in that format and replaces the file atomically, keeping an existing
// output's permission bits and a symbolic link's place; a failure names the system's reason.
bool WriteFrameDirectly(const std::string& path, const std::string& format, const Frame& frame,
                        const FrameWriteOptions& options, std::string& error);

}  // namespace ombrix::render
