// Writing the gallery.
#include "help/generator/gallery.h"

#include <Magick++.h>

#include <algorithm>
#include <filesystem>

#include "core/platform/files.h"
#include "help/generator/filter_pages.h"
#include "help/generator/texts.h"

namespace ombrix::help {
namespace fs = std::filesystem;

namespace {

constexpr int kThumbWidth = 100;
constexpr int kThumbHeight = 75;
constexpr int kColumns = 9;
constexpr int kGap = 6;
constexpr int kLabelHeight = 16;
constexpr int kCellWidth = kThumbWidth + kGap;
constexpr int kCellHeight = 2 * kThumbHeight + 2 + kLabelHeight + kGap;

std::string Name(const FilterDescriptor& d) { return DisplayName(Utf8FromAnsi(d.name)); }

// A markdown table cell: no bar may end it early.
std::string MarkdownCell(std::string text) {
  for (size_t at = text.find('|'); at != std::string::npos; at = text.find('|', at + 2)) text.replace(at, 1, "\\|");
  return text;
}

// Strips the markup of a notes paragraph for the markdown page.
std::string PlainText(const std::string& html) {
  std::string text;
  bool tag = false;
  for (const char c : html) {
    if (c == '<') tag = true;
    if (!tag) text += c;
    if (c == '>') tag = false;
  }
  for (const auto& [entity, plain] : {std::pair{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}})
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::string_view(entity).size(), plain);
  return text;
}

struct Tile {
  std::string name, defaults, variation;  // the label and the two thumbnails
};

bool DrawSheet(const std::vector<Tile>& tiles, const std::string& font, const std::string& out, std::string* error) {
  const int rows = (int(tiles.size()) + kColumns - 1) / kColumns;
  try {
    Magick::Image sheet(Magick::Geometry(unsigned(kColumns * kCellWidth + kGap), unsigned(rows * kCellHeight + kGap)),
                        Magick::Color("#F2F2F2"));
    sheet.font(font);
    sheet.fontPointsize(10);
    sheet.fillColor(Magick::Color("#202020"));
    for (size_t i = 0; i < tiles.size(); ++i) {
      const int x = kGap + int(i % kColumns) * kCellWidth;
      const int y = kGap + int(i / kColumns) * kCellHeight;
      sheet.composite(Magick::Image(tiles[i].defaults), x, y, Magick::OverCompositeOp);
      sheet.composite(Magick::Image(tiles[i].variation), x, y + kThumbHeight + 2, Magick::OverCompositeOp);
      // The name centred under the pair, its baseline a text height below the lower picture.
      Magick::TypeMetric metrics;
      sheet.fontTypeMetrics(tiles[i].name, &metrics);
      const double left = x + (kThumbWidth - metrics.textWidth()) / 2;
      const double baseline = y + 2 * kThumbHeight + 2 + metrics.ascent() + 1;
      sheet.draw(Magick::DrawableText(left, baseline, tiles[i].name));
    }
    // A palette of 256 colours, dithered, keeps the sheet to about a third of its full-colour size.
    sheet.quantizeColors(256);
    sheet.quantizeDither(true);
    sheet.quantize();
    sheet.write("PNG8:" + out);
  } catch (const Magick::Exception& e) {
    *error = "cannot draw \"" + out + "\": " + e.what();
    return false;
  }
  return true;
}

}  // namespace

std::string DefaultsText(const FilterDescriptor& d) {
  std::string text;
  auto add = [&](const std::string& item) { text += (text.empty() ? "" : "; ") + item; };
  for (int k = 0; k < d.parameter_count; ++k)
    if (d.parameters[k].name[0] != '\0' && d.parameters[k].value[0] != '\0')
      add(Trim(Utf8FromAnsi(d.parameters[k].name)) + " " + Utf8FromAnsi(d.parameters[k].value));
  for (int k = 0; k < d.option_count; ++k)
    if (d.options[k].name[0] != '\0' && d.options[k].state > 0) add(Trim(Utf8FromAnsi(d.options[k].name)));
  return text.empty() ? "nothing to set" : text;
}

bool WriteGallery(const std::vector<FilterBook>& books, const std::vector<BookNotes>& notes,
                  const PictureRenderer& renderer, const std::string& work_dir, const std::string& font,
                  const std::string& out_dir, std::string* error) {
  std::vector<Tile> tiles;
  std::string markdown =
      "# Gallery of the filters\n\n"
      "Every filter of the three plug-ins applied to the test picture (`Images/Back.Bmp`) over the whole "
      "picture: in the upper picture of each pair with its default parameters and options, in the lower one "
      "with the variation the tables below name. The help books show the default pictures larger, with every "
      "parameter and option explained.\n\n"
      "`scripts/gallery.sh` makes this page and its contact sheet from the staged plug-ins.\n\n"
      "![Every filter: its defaults above, a variation below](gallery.png)\n";

  for (size_t b = 0; b < books.size(); ++b) {
    std::vector<const FilterDescriptor*> sorted = books[b].filters;
    std::sort(sorted.begin(), sorted.end(),
              [](const FilterDescriptor* x, const FilterDescriptor* y) { return Name(*x) < Name(*y); });
    markdown += "\n## " + books[b].title + " (`" + books[b].module + "`, " + std::to_string(sorted.size()) +
                " filters)\n\n| Filter | What it does | Defaults | Variation |\n|---|---|---|---|\n";
    for (const FilterDescriptor* d : sorted) {
      const FilterNote* note = notes[b].Find(Utf8FromAnsi(d->name));
      if (note == nullptr || note->variation.empty()) {
        *error = "\"" + Name(*d) + "\" has no variation in the notes of " + notes[b].book;
        return false;
      }
      const std::string base = (fs::path(work_dir) / PicturePath(*d)).replace_extension().string();
      Tile tile{Name(*d), base + "-defaults.png", base + "-variation.png"};
      if (!renderer.Render(*d, {}, tile.defaults, kThumbWidth, kThumbHeight, error) ||
          !renderer.Render(*d, note->variation, tile.variation, kThumbWidth, kThumbHeight, error))
        return false;
      tiles.push_back(tile);
      markdown += "| " + MarkdownCell(tile.name) + " | " +
                  MarkdownCell(PlainText(note->paragraphs.empty() ? "" : FirstSentence(note->paragraphs.front()))) +
                  " | " + MarkdownCell(DefaultsText(*d)) + " | " + MarkdownCell(note->variation) + " |\n";
    }
  }

  std::error_code made;
  fs::create_directories(out_dir, made);
  if (!DrawSheet(tiles, font, (fs::path(out_dir) / "gallery.png").string(), error)) return false;
  const fs::path page = fs::path(out_dir) / "gallery.md";
  if (platform::ReplaceFileAtomically(page.c_str(), markdown)) return true;
  *error = "cannot write \"" + page.string() + "\"";
  return false;
}

}  // namespace ombrix::help
