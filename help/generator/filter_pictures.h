// A filter's picture: a one-filter effect (the plug-in's defaults, or a variation of them) over
// the installation's test picture, rendered by the installation's own command-line host
// Programs/ombrix-render and scaled to the size a page or the gallery shows.
#pragma once

#include <string>

#include "help/generator/catalogues.h"

namespace ombrix::help {

class PictureRenderer {
 public:
  // Scripts and full-size renders go to work_dir.
  PictureRenderer(const InstallationCatalogue& catalogue, std::string work_dir);

  // Renders the filter with the variation (empty: its defaults) and writes the result scaled to
  // width x height as a PNG file at out. False with a message, ombrix-render's own included.
  bool Render(const FilterDescriptor& filter, const std::string& variation, const std::string& out, int width,
              int height, std::string* error) const;

  // The test picture the filters are applied to.
  std::string TestPicture() const;

 private:
  const InstallationCatalogue& catalogue_;
  std::string work_dir_;
};

// Writes a picture file scaled to width x height as PNG (the contact sheet's thumbnails and the
// pages' pictures use the same scaling). False with a message.
bool WriteScaledPicture(const std::string& in, const std::string& out, int width, int height, std::string* error);

}  // namespace ombrix::help
