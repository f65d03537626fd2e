// The choice of the main window's pictures.
#include "editor/model/picture_areas.h"

namespace ombrix::editor {

PictureAreaChoice ChoosePictureAreas(bool has_test_picture, bool has_last_render, bool parameter_area_in_use) {
  const AreaPicture test = has_test_picture ? AreaPicture::kTestPicture : AreaPicture::kNone;
  const AreaPicture render = has_last_render ? AreaPicture::kLastRender : AreaPicture::kNone;
  PictureAreaChoice choice;
  if (has_last_render) {
    choice.preview = render;
    choice.preview_label = "Last Render";
  } else if (has_test_picture) {
    choice.preview = test;
    choice.preview_label = "Original";
  }
  choice.parameters = has_test_picture ? test : render;
  if (parameter_area_in_use && has_test_picture)
    choice.options = test;
  else
    choice.options = has_last_render ? render : test;
  return choice;
}

}  // namespace ombrix::editor
