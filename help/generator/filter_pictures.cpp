// Rendering filter pictures through ombrix-render.
#include "help/generator/filter_pictures.h"

#include <Magick++.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/platform/paths.h"
#include "core/platform/process.h"
#include "core/script/effect_script.h"
#include "help/generator/texts.h"
#include "help/generator/variation.h"

namespace ombrix::help {
namespace fs = std::filesystem;

namespace {

// The test picture's size: the size every effect is set up on.
constexpr int kBasedWidth = 640;
constexpr int kBasedHeight = 480;

std::string ReadLog(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

PictureRenderer::PictureRenderer(const InstallationCatalogue& catalogue, std::string work_dir)
    : catalogue_(catalogue), work_dir_(std::move(work_dir)) {
  std::error_code made;
  fs::create_directories(work_dir_, made);
}

std::string PictureRenderer::TestPicture() const { return platform::JoinPath(catalogue_.Root(), "Images/Back.Bmp"); }

bool PictureRenderer::Render(const FilterDescriptor& filter, const std::string& variation, const std::string& out,
                             int width, int height, std::string* error) const {
  FilterDescriptor* entry = FindDescriptor(catalogue_.Table(), filter.name, filter.file_name);
  if (entry == nullptr) {
    *error = "cannot copy \"" + Utf8FromAnsi(filter.name) + "\"";
    return false;
  }
  UseWholePicture(*entry);
  int test_frame = kPictureStartFrame;
  bool done = ApplyVariation(variation, catalogue_.Root(), *entry, test_frame, error);

  const std::string base = fs::path(filter.file_name).stem().string() + "-" + PageSlug(Utf8FromAnsi(filter.name)) +
                           (variation.empty() ? "" : "-variation");
  const std::string script = platform::JoinPath(work_dir_, base + ".Oms");
  const std::string rendered = platform::JoinPath(work_dir_, base + ".png");
  const std::string log = platform::JoinPath(work_dir_, base + ".log");
  ScriptHeader header;
  header.content_directory = catalogue_.Root();
  header.based_width = kBasedWidth;
  header.based_height = kBasedHeight;
  const FilterDescriptor* entries[] = {entry};
  if (done && !WriteScript(script.c_str(), entries, 1, test_frame, header)) {
    *error = "cannot write \"" + script + "\"";
    done = false;
  }
  FreeDescriptor(entry, true);
  if (!done) return false;

  // The settings store this process made for the catalogue names the installation; the host
  // started here inherits it.
  platform::Process host;
  platform::StartRequest request;
  request.program = platform::JoinPath(catalogue_.Root(), "Programs/ombrix-render");
  request.arguments = {"--no-progress", script, TestPicture(), rendered};
  if (!host.Start(request, log) || !host.Wait() || !host.ExitedNormally() || host.ExitCode() != 0) {
    *error = "ombrix-render could not render \"" + script + "\":\n" + ReadLog(log);
    return false;
  }
  return WriteScaledPicture(rendered, out, width, height, error);
}

bool WriteScaledPicture(const std::string& in, const std::string& out, int width, int height, std::string* error) {
  try {
    Magick::Image picture(in);
    Magick::Geometry size{unsigned(width), unsigned(height)};
    size.aspect(true);
    picture.filterType(Magick::LanczosFilter);
    picture.resize(size);
    picture.depth(8);
    std::error_code made;
    fs::create_directories(fs::path(out).parent_path(), made);
    picture.write("PNG24:" + out);
  } catch (const Magick::Exception& e) {
    *error = "cannot scale \"" + in + "\" into \"" + out + "\": " + e.what();
    return false;
  }
  return true;
}

}  // namespace ombrix::help
