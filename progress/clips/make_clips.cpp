// Writes the three animation clips of the package into the given directory: Work.Dta (a turning
// ring of dots), Ask.Dta (a question mark) and Info.Dta (an "i"), each a looping animated GIF of
// 32 x 32 pixels.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
using Frame = std::vector<uint8_t>;  // palette indices, row by row

constexpr size_t At(int x, int y) { return static_cast<size_t>(y) * kSize + static_cast<size_t>(x); }
Frame EmptyFrame() { return Frame(static_cast<size_t>(kSize) * kSize, 0); }

// Palette of 16 colours; index 0 is transparent.
constexpr std::array<std::array<uint8_t, 3>, 16> kPalette = {{
    {0, 0, 0},
    {255, 255, 255},
    {24, 32, 64},
    {40, 70, 170},
    {60, 100, 210},
    {90, 135, 235},
    {130, 170, 250},
    {20, 80, 40},
    {30, 120, 60},
    {50, 160, 80},
    {90, 200, 120},
    {70, 70, 80},
    {120, 120, 135},
    {170, 170, 185},
    {230, 170, 40},
    {250, 220, 120},
}};

// Glyphs of 5 x 7 cells, drawn at three pixels a cell.
constexpr const char* kQuestionGlyph[7] = {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."};
constexpr const char* kInfoGlyph[7] = {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."};

void Disc(Frame& frame, double cx, double cy, double radius, uint8_t index) {
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double dx = x + 0.5 - cx;
      const double dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= radius * radius) frame[At(x, y)] = index;
    }
  }
}

void Glyph(Frame& frame, const char* const (&rows)[7], int left, int top, uint8_t index) {
  for (int row = 0; row < 7; ++row) {
    for (int column = 0; column < 5; ++column) {
      if (rows[row][column] != '#') continue;
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
          frame[At(left + column * 3 + x, top + row * 3 + y)] = index;
        }
      }
    }
  }
}

std::vector<Frame> WorkingFrames() {
  constexpr int kDots = 8;
  std::vector<Frame> frames;
  for (int step = 0; step < kDots; ++step) {
    Frame frame = EmptyFrame();
    for (int dot = 0; dot < kDots; ++dot) {
      const double angle = 2 * M_PI * dot / kDots;
      const int age = (step - dot + kDots) % kDots;  // 0: the leading dot
      const uint8_t index = age == 0 ? 15 : age == 1 ? 14 : age < 4 ? 13 : 12;
      Disc(frame, 16 + 11 * std::sin(angle), 16 - 11 * std::cos(angle), age == 0 ? 3.6 : 3.0, index);
    }
    frames.push_back(frame);
  }
  return frames;
}

// A badge whose face brightens and darkens again, with a white glyph on it.
std::vector<Frame> BadgeFrames(const char* const (&glyph)[7], const std::array<uint8_t, 4>& shades) {
  constexpr int kSequence[] = {0, 1, 2, 3, 2, 1};
  std::vector<Frame> frames;
  for (const int shade : kSequence) {
    Frame frame = EmptyFrame();
    Disc(frame, 16, 16, 15, 2);
    Disc(frame, 16, 16, 14, shades[static_cast<size_t>(shade)]);
    Glyph(frame, glyph, 9, 6, 1);
    frames.push_back(frame);
  }
  return frames;
}

class GifWriter {
 public:
  explicit GifWriter(std::FILE* file) : file_(file) {}

  void Header() {
    Put("GIF89a");
    Word(kSize);
    Word(kSize);
    Byte(0xF3);  // global colour table of 16 entries, 8-bit colour resolution
    Byte(0);     // background index
    Byte(0);     // square pixels
    for (const auto& colour : kPalette) {
      for (const uint8_t channel : colour) Byte(channel);
    }
    // Loop without end.
    Byte(0x21);
    Byte(0xFF);
    Byte(11);
    Put("NETSCAPE2.0");
    Byte(3);
    Byte(1);
    Word(0);
    Byte(0);
  }

  void Image(const Frame& frame, int delay_centiseconds) {
    // Graphic control: clear to the background after the frame, index 0 transparent.
    Byte(0x21);
    Byte(0xF9);
    Byte(4);
    Byte(0x09);
    Word(delay_centiseconds);
    Byte(0);
    Byte(0);
    Byte(0x2C);
    Word(0);
    Word(0);
    Word(kSize);
    Word(kSize);
    Byte(0);
    Byte(kMinCodeSize);
    Pixels(frame);
  }

  void Trailer() { Byte(0x3B); }

 private:
  static constexpr int kMinCodeSize = 4;
  static constexpr int kClear = 1 << kMinCodeSize;
  static constexpr int kEnd = kClear + 1;
  static constexpr int kCodeBits = kMinCodeSize + 1;
  // Literal codes only, with a clear code often enough that a decoder's table never grows past
  // 5-bit codes: after a clear each literal but the first adds an entry from 18 on, and 12
  // literals stop at entry 28.
  static constexpr int kLiteralsPerClear = 12;

  void Pixels(const Frame& frame) {
    std::vector<uint8_t> data;
    uint32_t bits = 0;
    int count = 0;
    auto code = [&](int value) {
      bits |= static_cast<uint32_t>(value) << count;
      count += kCodeBits;
      while (count >= 8) {
        data.push_back(static_cast<uint8_t>(bits & 0xFF));
        bits >>= 8;
        count -= 8;
      }
    };
    for (size_t i = 0; i < frame.size(); ++i) {
      if (i % kLiteralsPerClear == 0) code(kClear);
      code(frame[i]);
    }
    code(kEnd);
    if (count > 0) data.push_back(static_cast<uint8_t>(bits & 0xFF));
    for (size_t i = 0; i < data.size(); i += 255) {
      const size_t length = std::min<size_t>(255, data.size() - i);
      Byte(static_cast<int>(length));
      std::fwrite(data.data() + i, 1, length, file_);
    }
    Byte(0);
  }

  void Byte(int value) { std::fputc(value & 0xFF, file_); }
  void Word(int value) {
    Byte(value);
    Byte(value >> 8);
  }
  void Put(const char* text) { std::fputs(text, file_); }

  std::FILE* file_;
};

bool WriteClip(const std::string& path, const std::vector<Frame>& frames, int delay_centiseconds) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::perror(path.c_str());
    return false;
  }
  GifWriter writer(file);
  writer.Header();
  for (const Frame& frame : frames) writer.Image(frame, delay_centiseconds);
  writer.Trailer();
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    const bool help = argc == 2;
    std::fprintf(help ? stdout : stderr,
                 "usage: ombrix_make_clips DIRECTORY\n"
                 "Writes the three animation clips of the message and progress windows (Work.Dta,\n"
                 "Ask.Dta, Info.Dta) into DIRECTORY. Options: --help  this text.\n"
                 "Example: ombrix_make_clips stage/Programs\n");
    return help ? 0 : 2;
  }
  const std::string directory = argv[1];
  const bool written = WriteClip(directory + "/Work.Dta", WorkingFrames(), 10) &&
                       WriteClip(directory + "/Ask.Dta", BadgeFrames(kQuestionGlyph, {3, 4, 5, 6}), 15) &&
                       WriteClip(directory + "/Info.Dta", BadgeFrames(kInfoGlyph, {7, 8, 9, 10}), 15);
  return written ? 0 : 1;
}
