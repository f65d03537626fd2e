// The callers' side of the converter, driven by a stand-in converter script that logs each run:
// report parsing, the report cache, the arguments and folders the converter gets, loading
// through the clipboard, the messages, and the picture-open dialog's choices.
#include "core/import/converter.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "core/import/picture_import.h"
#include "core/import/picture_writers.h"
#include "core/platform/clipboard.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "tests/import/import_test_support.h"

namespace {

using ombrix::PictureReport;

PictureReport Parse(const std::string& text) {
  PictureReport report;
  ombrix::ApplyReportText(text, &report);
  return report;
}

TEST(ReportParsing, LinesAreKeySeparatorValue) {
  EXPECT_EQ(Parse("Width = 640\n").width, 640);
  // The character after the key is the separator, whatever it is.
  EXPECT_EQ(Parse("Width 640\n").width, 40);
  EXPECT_EQ(Parse("Height :480").height, 480);
  // Without blanks the whole "Height:480" is the key.
  EXPECT_EQ(Parse("Height:480").height, 0);
  // The key read is "width:" with its colon, which is no key.
  EXPECT_EQ(Parse("width: 640\n").width, 0);
  // Keys compare without regard to case; a later line wins; a line without a value is ignored.
  const PictureReport report = Parse("WIDTH = 1\nheight = 2\nbpp = 8\nWidth = 3\nHeight =\nFormat = gif\n");
  EXPECT_EQ(report.width, 3);
  EXPECT_EQ(report.height, 2);
  EXPECT_EQ(report.bits_per_pixel, 8);
  EXPECT_EQ(report.format_name, "CompuServe Graphic Interchange Format (GIF)");
  // Values are read as decimal numbers: leading digits only, none gives 0.
  EXPECT_EQ(Parse("Width = 12px").width, 12);
  EXPECT_EQ(Parse("Width = px").width, 0);
  EXPECT_EQ(Parse("Width = 99999999999").width, 2147483647);
  // A line longer than 255 characters arrives in pieces, each read as a line.
  EXPECT_EQ(Parse(std::string(255, 'x') + "Width = 7\n").width, 7);
  EXPECT_EQ(Parse("").format_name, ombrix::kUnknownFormatName);
}

TEST(ReportParsing, FormatWordsCompareWithoutCaseAndOnlyWholeWords) {
  EXPECT_STREQ(ombrix::FormatNameFor("bmp"), "Windows bitmap (BMP)");
  EXPECT_STREQ(ombrix::FormatNameFor("tiff"), ombrix::FormatNameFor("TIF"));
  EXPECT_STREQ(ombrix::FormatNameFor("Os2"), "OS2 Bitmap (OS2,BMP)");
  // The converter's own words for formats outside the table are unknown formats.
  for (const char* other : std::vector<const char*>{"JPEG", "PNG", "TGA", "BM", "BMPX", "", nullptr})
    EXPECT_STREQ(ombrix::FormatNameFor(other), ombrix::kUnknownFormatName) << (other ? other : "null");
}

TEST(PictureOpenFilter, EveryPatternOfThePictureEntryHasAnEntryOfItsOwn) {
  std::vector<std::string> fields;
  std::stringstream list(ombrix::PictureOpenFilter());
  for (std::string field; std::getline(list, field, '|');) fields.push_back(field);
  ASSERT_EQ(fields.size(), 28u);  // 14 descriptions, each with its patterns
  EXPECT_EQ(fields[0], "Picture");
  EXPECT_EQ(fields[2], "All Files");
  EXPECT_EQ(fields[3], "*.*");
  std::stringstream patterns(fields[1]);
  for (std::string pattern; std::getline(patterns, pattern, ';');) {
    bool found = false;
    for (size_t i = 5; i < fields.size(); i += 2)
      found = found || (";" + fields[i] + ";").find(";" + pattern + ";") != std::string::npos;
    EXPECT_TRUE(found) << pattern;
  }
  EXPECT_EQ(ombrix::PictureOpenFilter(), ombrix::PictureOpenFilter());  // joined once and kept
}

// A stand-in converter: logs "folder|command|input|output" for each run; "Info" writes a fixed
// report, "Load" copies a prepared DIB onto the clipboard when there is one.
class StandInConverter : public import_test::ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    log_ = Path("runs.log");
    dib_ = Path("prepared.dib");
    converter_ = Path("converter");
    ASSERT_TRUE(import_test::WriteScript(
        converter_, "printf '%s|%s|%s|%s\\n' \"$PWD\" \"$1\" \"$2\" \"$3\" >> '" + log_ +
                        "'\n"
                        "out=${3#?}; out=${out%?}\n"
                        "case \"$1\" in\n"
                        "  '[Info]') printf 'Width = 640\\nHeight = 480\\nBPP = 24\\nFormat = BMP\\n' > \"$out\" ;;\n"
                        "  '[Load]') [ -f '" +
                        dib_ +
                        "' ] && mkdir -p \"$OMBRIX_CLIPBOARD_DIR\" &&\n"
                        "           cp '" +
                        dib_ +
                        "' \"$OMBRIX_CLIPBOARD_DIR/CF_DIB\" ;;\n"
                        "esac\n"
                        "exit 0\n"));
    ombrix::SetConverterPath(converter_.c_str());
    ombrix::ForgetPictureReport();
  }
  void TearDown() override {
    ombrix::SetConverterPath(nullptr);
    ombrix::ForgetPictureReport();
  }

  std::vector<std::string> Runs() const {
    std::vector<std::string> lines;
    std::stringstream text(import_test::ReadBytes(log_));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }

  std::string PictureFile(const std::string& name) {
    const std::string path = Path(name);
    EXPECT_TRUE(import_test::WriteBytes(path, std::string("not a targa file, whatever else it is")));
    return path;
  }

  void PrepareDib(const Picture& picture) {
    ASSERT_TRUE(
        import_test::WriteBytes(dib_, std::string(reinterpret_cast<const char*>(picture.Dib()), picture.DibBytes())));
  }

  std::string log_, dib_, converter_;
};

TEST_F(StandInConverter, ReportRunsOncePerPathInAPrivateFile) {
  const std::string a = PictureFile("a.pcx");
  const std::string b = PictureFile("b.pcx");
  PictureReport report;
  ASSERT_TRUE(ombrix::GetPictureReport(a.c_str(), &report));
  EXPECT_EQ(report.width, 640);
  EXPECT_EQ(report.height, 480);
  EXPECT_EQ(report.bits_per_pixel, 24);
  EXPECT_EQ(report.format_name, "Windows bitmap (BMP)");
  ASSERT_TRUE(ombrix::GetPictureReport(a.c_str(), &report));
  EXPECT_EQ(report.width, 640);
  ASSERT_EQ(Runs().size(), 1u);

  // The converter ran in the report file's folder, the clipboard store, on a file of ours that
  // is gone afterwards.
  const std::string run = Runs()[0];
  const std::string prefix = clipboard_dir_ + "|[Info]|[" + a + "]|[" + clipboard_dir_ + "/.report-";
  EXPECT_EQ(run.rfind(prefix, 0), 0u) << run;
  const size_t last = run.rfind("|[");
  const std::string report_path = run.substr(last + 2, run.size() - last - 3);
  EXPECT_EQ(report_path.rfind(clipboard_dir_ + "/.report-", 0), 0u) << report_path;
  EXPECT_FALSE(ombrix::platform::FileExists(report_path.c_str()));

  ASSERT_TRUE(ombrix::GetPictureReport(b.c_str(), &report));
  EXPECT_EQ(Runs().size(), 2u);
  ASSERT_TRUE(ombrix::GetPictureReport(a.c_str(), &report));
  EXPECT_EQ(Runs().size(), 3u);  // only the last path is kept

  // A missing file is not handed to the converter.
  EXPECT_FALSE(ombrix::GetPictureReport(Path("missing.pcx").c_str(), &report));
  EXPECT_EQ(report.width, 0);
  EXPECT_EQ(report.format_name, ombrix::kUnknownFormatName);
  EXPECT_EQ(Runs().size(), 3u);
}

TEST_F(StandInConverter, ReportFileIsRemovedAndNothingElseIsLeftInTheStore) {
  const std::string a = PictureFile("a.gif");
  PictureReport report;
  ASSERT_TRUE(ombrix::GetPictureReport(a.c_str(), &report));
  const std::string listing = import_test::ReadBytes(log_);
  // Nothing but the store's lock file may remain.
  std::vector<std::string> left;
  if (DIR* dir = opendir(clipboard_dir_.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name != ".lock") left.push_back(name);
    }
    closedir(dir);
  }
  EXPECT_TRUE(left.empty()) << left.front() << " " << listing;
}

TEST_F(StandInConverter, RelativeInputsReachTheConverterAbsoluteFromTheirFolder) {
  ASSERT_EQ(mkdir(Path("pics").c_str(), 0700), 0);
  PictureFile("pics/a.bmp");
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  const bool ran = ombrix::RunConverter("Load", "pics/a.bmp", "");
  ASSERT_EQ(chdir(previous), 0);
  ASSERT_TRUE(ran);
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Runs()[0], Path("pics") + "|[Load]|[" + Path("pics/a.bmp") + "]|[]");

  // A missing input goes as it is, and the converter runs in its own folder.
  ASSERT_TRUE(ombrix::RunConverter("Info", "no such.bmp", ""));
  EXPECT_EQ(Runs()[1], dir_ + "|[Info]|[no such.bmp]|[]");
}

TEST_F(StandInConverter, LoadTakesTheClipboardBitmapAndTheReportsFormat) {
  Picture source;
  import_test::FillPicture(&source, 9, 4, [](int x, int y) { return import_test::Bgr{uint8_t(x), uint8_t(y), 99}; });
  PrepareDib(source);
  const std::string path = PictureFile("c.bmp");
  std::unique_ptr<Picture> loaded = ombrix::LoadPictureFile(path.c_str());
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(import_test::SamePixels(source, *loaded));
  EXPECT_STREQ(loaded->TypeText(), "Windows bitmap (BMP)");
  EXPECT_STREQ(loaded->SourceText(), path.c_str());
  ASSERT_EQ(Runs().size(), 2u);
  EXPECT_NE(Runs()[0].find("|[Load]|"), std::string::npos);
  EXPECT_NE(Runs()[1].find("|[Info]|"), std::string::npos);
}

TEST_F(StandInConverter, TargaFilesNeverReachTheConverter) {
  Picture source;
  import_test::FillPicture(&source, 3, 3, [](int x, int y) {
    return import_test::Bgr{uint8_t(x * 50), 1, uint8_t(y)};
  });
  const std::string path = Path("t.tga");
  ASSERT_TRUE(ombrix::WriteTargaFile(source, path.c_str(), 24));
  std::unique_ptr<Picture> loaded = ombrix::LoadPictureFile(path.c_str());
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(import_test::SamePixels(source, *loaded));
  EXPECT_STREQ(loaded->TypeText(), ombrix::kTargaFormatName);
  EXPECT_TRUE(Runs().empty());
}

TEST_F(StandInConverter, NoBitmapMeansNoPictureWithTheUnknownFormatMessage) {
  const std::string path = PictureFile("d.jpg");
  EXPECT_EQ(ombrix::LoadPictureFile(path.c_str()), nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(ombrix::LoadPictureWithMessages(path.c_str()), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Ombrix - Error: Cannot open file\"" + path + "\".\nUnknown format or file header\n");

  testing::internal::CaptureStderr();
  EXPECT_EQ(ombrix::LoadPictureWithMessages(Path("gone.jpg").c_str()), nullptr);
  EXPECT_EQ(ombrix::LoadPictureWithMessages(""), nullptr);
  EXPECT_EQ(ombrix::LoadPictureWithMessages(nullptr), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Ombrix - Error: Cannot open file \"" + Path("gone.jpg") + "\".\nNo such a file or directory.\n");
}

TEST_F(StandInConverter, AMissingConverterIsReportedAndAnOldBitmapIsNotTaken) {
  Picture old;
  import_test::FillPicture(&old, 2, 2, [](int, int) { return import_test::Bgr{1, 2, 3}; });
  {
    ombrix::platform::Clipboard clipboard;
    ASSERT_TRUE(clipboard.Open());
    ASSERT_TRUE(clipboard.Set(ombrix::platform::kClipboardDib, old.Dib(), old.DibBytes()));
  }
  ombrix::SetConverterPath(Path("UGIO/Im_pp").c_str());
  const std::string path = PictureFile("e.png");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ombrix::ConvertToClipboard(path.c_str()));
  EXPECT_EQ(ombrix::LoadPictureFile(path.c_str()), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Ombrix - Error: Cannot find UGIO module\nOmbrix - Error: Cannot find UGIO module\n");
  EXPECT_FALSE(ombrix::RunConverter("Load", path.c_str(), ""));
  PictureReport report;
  EXPECT_FALSE(ombrix::GetPictureReport(path.c_str(), &report));
}

TEST_F(StandInConverter, WithoutAChosenPathTheConverterIsFoundUnderTheInstallation) {
  ombrix::SetConverterPath(nullptr);
  // The test program stands where an installation keeps its programs: one folder below the root.
  const std::string root = ombrix::platform::DirectoryPart(ombrix::platform::ExecutableDirectory());
  EXPECT_EQ(ombrix::ConverterPath(), root + "/UGIO/Im_pp");
  ombrix::SetConverterPath(converter_.c_str());
  EXPECT_EQ(ombrix::ConverterPath(), converter_);
}

TEST_F(StandInConverter, PictureOpenDialogChecksOrLoadsTheChosenFile) {
  Picture source;
  import_test::FillPicture(&source, 2, 2, [](int x, int) { return import_test::Bgr{uint8_t(x), 0, 0}; });
  const std::string targa = Path("f.tga");
  ASSERT_TRUE(ombrix::WriteTargaFile(source, targa.c_str(), 24));
  const std::string other = PictureFile("g.pcx");

  ombrix::FileOpenRequest seen;
  std::optional<std::string> answer;
  auto chooser = [&](const ombrix::FileOpenRequest& request) {
    seen = request;
    return answer;
  };
  std::string out = "unchanged";
  answer = std::nullopt;
  EXPECT_EQ(ombrix::OpenPictureDialog(0, &out, chooser), nullptr);
  EXPECT_EQ(seen.title, "Load Image File");
  EXPECT_EQ(seen.filter, ombrix::PictureOpenFilter());
  EXPECT_EQ(out, "unchanged");

  // Mode 0: a Targa header is enough, without the converter.
  answer = targa;
  EXPECT_EQ(ombrix::OpenPictureDialog(0, &out, chooser), nullptr);
  EXPECT_EQ(out, targa);
  EXPECT_TRUE(Runs().empty());
  // Any other file needs a report of a known format.
  answer = other;
  EXPECT_EQ(ombrix::OpenPictureDialog(0, &out, chooser), nullptr);
  EXPECT_EQ(out, other);
  EXPECT_EQ(Runs().size(), 1u);
  ombrix::SetConverterPath(Path("missing-converter").c_str());
  out = "unchanged";
  answer = Path("h.pcx");
  PictureFile("h.pcx");
  EXPECT_EQ(ombrix::OpenPictureDialog(0, &out, chooser), nullptr);
  EXPECT_EQ(out, "unchanged");

  // Mode 1 loads the picture.
  answer = targa;
  std::unique_ptr<Picture> loaded = ombrix::OpenPictureDialog(1, &out, chooser);
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(import_test::SamePixels(source, *loaded));
}

}  // namespace
