// A plain window showing a picture at its own size (scrolled when larger than the screen
// allows), titled with its file name, size and type; it frees the picture when it closes.
#pragma once

#include <wx/frame.h>

#include <memory>

#include "core/picture/picture.h"

namespace ombrix::editor {

class PictureViewWindow : public wxFrame {
 public:
  PictureViewWindow(wxWindow* owner, std::unique_ptr<Picture> picture);
  const Picture* Shown() const { return picture_.get(); }

 private:
  std::unique_ptr<Picture> picture_;
};

}  // namespace ombrix::editor
