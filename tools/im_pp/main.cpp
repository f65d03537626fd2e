// Im_pp, the outside picture converter: "Load" leaves a picture on the clipboard store as a
// 24-bit packed DIB, "Info" writes a short report about a picture file.
#include <Magick++.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "core/picture/picture.h"
#include "core/platform/clipboard.h"
#include "core/platform/process.h"
#include "tools/picture-reader/read_picture.h"

namespace {

constexpr int kDone = 0;
constexpr int kCannotRead = 1;
constexpr int kUsage = 2;
constexpr int kCannotWrite = 3;

// A hostile file must not take the machine with it: the process's own memory and processor
// time are capped. (Under the address sanitizer the address space is not capped, because its
// shadow memory needs a very large reservation.)
#if defined(__SANITIZE_ADDRESS__)
constexpr unsigned long long kAddressSpace = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr unsigned long long kAddressSpace = 0;
#else
constexpr unsigned long long kAddressSpace = 4ULL << 30;
#endif
#else
constexpr unsigned long long kAddressSpace = 4ULL << 30;
#endif
constexpr unsigned kProcessorSeconds = 120;

void PrintUsage(std::FILE* to) {
  std::fputs(
      "Usage: Im_pp [Load] [picture] []\n"
      "       Im_pp [Info] [picture] [report]\n"
      "\n"
      "Load  reads the picture and leaves it as a 24-bit packed DIB on the clipboard store\n"
      "      (format CF_DIB in $OMBRIX_CLIPBOARD_DIR, else the per-user store).\n"
      "Info  writes the lines \"Width = ...\", \"Height = ...\", \"BPP = ...\" and \"Format = ...\"\n"
      "      about the picture to the report file, which is overwritten.\n"
      "Formats: whatever GraphicsMagick reads (BMP including RLE and OS/2, DIB, GIF, ICO, JPEG,\n"
      "PCX, PNG, TIFF, Targa, ...). Only the first frame of a multi-frame file is taken.\n"
      "Options: --help  this text.\n"
      "Example: Im_pp [Info] [photo.jpg] [report.txt]\n"
      "Exit status: 0 done, 1 the picture cannot be read, 2 wrong arguments, 3 the result\n"
      "cannot be written.\n",
      to);
}

// "[text]" gives text; an argument without the brackets is taken as it is.
std::string Unbracket(const char* argument) {
  std::string text = argument;
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') return text.substr(1, text.size() - 2);
  return text;
}

// One line on standard error, whatever the library's message holds.
int Fail(int status, const std::string& what, const std::string& path, const char* detail) {
  std::string message = detail != nullptr ? detail : "";
  for (char& c : message)
    if (c == '\n' || c == '\r') c = ' ';
  std::fprintf(stderr, "Im_pp: %s \"%s\"%s%s\n", what.c_str(), path.c_str(), message.empty() ? "" : ": ",
               message.c_str());
  return status;
}

int Load(const std::string& input) {
  {
    // A failed conversion must not leave an older bitmap for the caller to take.
    ombrix::platform::Clipboard clipboard;
    if (!clipboard.Open() || !clipboard.Remove(ombrix::platform::kClipboardDib))
      return Fail(kCannotWrite, "cannot use the clipboard store for", input, nullptr);
  }
  Picture picture;
  try {
    Magick::Image image;
    ombrix::picture_reader::ReadNotes notes;
    ombrix::picture_reader::ReadPicture(input, &image, &notes);
    // Damaged data would come out as a picture partly grey or black: not a picture to use.
    if (!notes.damage.empty()) return Fail(kCannotRead, "damaged picture", input, notes.damage.front().c_str());
    ombrix::picture_reader::MakeRgb8(image);
    const int width = int(image.columns());
    const int height = int(image.rows());
    if (!picture.Create(width, height)) return Fail(kCannotRead, "not enough memory for", input, nullptr);
    // Colours as stored: an alpha channel is not composited, it is left out.
    for (int y = 0; y < height; ++y) image.write(0, y, unsigned(width), 1, "BGR", Magick::CharPixel, picture.Row(y));
  } catch (const std::exception& error) {
    return Fail(kCannotRead, "cannot read", input, error.what());
  }
  ombrix::platform::Clipboard clipboard;
  if (!clipboard.Open() || !clipboard.Set(ombrix::platform::kClipboardDib, picture.Dib(), picture.DibBytes()))
    return Fail(kCannotWrite, "cannot put on the clipboard store the picture", input, nullptr);
  return kDone;
}

int Info(const std::string& input, const std::string& report) {
  ombrix::picture_reader::PictureFacts facts;
  unsigned width = 0, height = 0;
  try {
    Magick::Image image;
    ombrix::picture_reader::ReadPicture(input, &image);
    width = image.columns();
    height = image.rows();
    facts = ombrix::picture_reader::DescribePicture(input, image);
  } catch (const std::exception& error) {
    return Fail(kCannotRead, "cannot read", input, error.what());
  }
  std::FILE* file = std::fopen(report.c_str(), "w");
  if (file == nullptr) return Fail(kCannotWrite, "cannot write the report", report, std::strerror(errno));
  std::fprintf(file, "Width = %u\nHeight = %u\nBPP = %d\nFormat = %s\n", width, height, facts.bits_per_pixel,
               facts.format_word.c_str());
  if (std::fclose(file) != 0) return Fail(kCannotWrite, "cannot write the report", report, nullptr);
  return kDone;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    PrintUsage(stdout);
    return kDone;
  }
  if (argc != 4) {
    PrintUsage(stderr);
    return kUsage;
  }
  const std::string command = Unbracket(argv[1]);
  const std::string input = Unbracket(argv[2]);
  const std::string output = Unbracket(argv[3]);
  const bool load = command == "Load";
  const bool info = command == "Info";
  if (!load && !info) {
    std::fprintf(stderr, "Im_pp: unknown command \"%s\" (Load or Info)\n", command.c_str());
    return kUsage;
  }
  if (input.empty()) {
    std::fprintf(stderr, "Im_pp: no picture file given\n");
    return kUsage;
  }
  if (info && output.empty()) {
    std::fprintf(stderr, "Im_pp: no report file given\n");
    return kUsage;
  }

  ombrix::platform::LimitOwnResources(kAddressSpace, kProcessorSeconds);
  try {
    Magick::InitializeMagick(argv[0]);
    ombrix::picture_reader::LimitPictureSizes();
    return load ? Load(input) : Info(input, output);
  } catch (...) {
    return Fail(kCannotRead, "cannot read", input, "unexpected failure");
  }
}
