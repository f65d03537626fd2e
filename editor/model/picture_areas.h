// Which picture each of the main window's three picture areas shows, and the preview's label.
#pragma once

namespace ombrix::editor {

enum class AreaPicture { kNone, kTestPicture, kLastRender };

struct PictureAreaChoice {
  AreaPicture preview = AreaPicture::kNone;
  const char* preview_label = "No picture";
  AreaPicture parameters = AreaPicture::kNone;  // in use only when the filter shows no parameter row
  AreaPicture options = AreaPicture::kNone;     // in use only when the filter shows no option row
};

// The preview shows the last render ("Last Render"), else the test picture ("Original"), else
// nothing ("No picture"). The parameter area shows the test picture, else the last render. The
// option area shows the test picture when the parameter area is in use as well (so the two
// differ), else the last render, else the test picture.
PictureAreaChoice ChoosePictureAreas(bool has_test_picture, bool has_last_render, bool parameter_area_in_use);

}  // namespace ombrix::editor
