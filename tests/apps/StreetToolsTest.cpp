// vellmar-info and vellmar-render, run as their users run them, on streets made here
// with the street's own writer. Also keeps examples/small.pln what its writer makes:
//   VELLMAR_WRITE_EXAMPLES=1 apps_tests --gtest_filter='StreetTools.BundledExample*'
// rewrites it.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstdlib>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "items/signs/ZnakItem.h"
#include "kinds/AllKinds.h"
#include "platform/imaging/Bitmap.h"
#include "support/CommittedFile.h"
#include "support/DarkPixel.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"
#include "support/ToolRun.h"

namespace vellmar {
namespace {

constexpr int32_t kRoadwayKind = 2;
constexpr int32_t kSidewalkKind = 3;
constexpr int32_t kLawnKind = 4;
constexpr int32_t kSignKind = 22;
constexpr int32_t kAxisKind = 35;

using test::RunTool;
using test::TToolRun;
using test::FileBytes;
using test::IsCommittedFile;
using test::Quote;
using test::WriteFileBytes;

TAbstractItem* Polygon(TStreetStructure& street, int32_t kind, const std::vector<TPointRecord*>& corners) {
  TAbstractItem* item = street.ItemList(kind).NewItem();
  for (TPointRecord* corner : corners) item->Points().Insert(item->Points().Count(), corner);
  return item;
}

// A 20 m carriageway with a lawn along its north side, cut in two at x = 10, and a
// sidewalk north of the lawn; neighbours share their edge points. Edges that another
// item of the same kind continues are left out. No stored view: it opens fitted.
std::vector<uint8_t> SmallStreet() {
  RegisterAllKinds();
  TStreetStructure street;
  street.SetStreetName("Small street");
  street.SetStartName("West");
  street.SetEndName("East");
  street.DrawOptions().Lines() = {"UpdateDiffTagEdges=1"};
  // What a street never shown reads as; a stored scale of 0 would load as this anyway.
  street.SetView({0, 0, 0}, 0.01f, 0.0f);
  const auto point = [&](float x, float y) { return street.Points().NewPoint({x, y, 0}); };
  TPointRecord* r0 = point(0, -3);
  TPointRecord* r1 = point(20, -3);
  TPointRecord* r2 = point(20, 3);
  TPointRecord* r3 = point(10, 3);
  TPointRecord* r4 = point(0, 3);
  TPointRecord* l0 = point(0, 5);
  TPointRecord* l1 = point(10, 5);
  TPointRecord* l2 = point(20, 5);
  Polygon(street, kRoadwayKind, {r0, r1, r2, r3, r4});
  Polygon(street, kLawnKind, {r4, r3, l1, l0});
  Polygon(street, kLawnKind, {r3, r2, l2, l1});
  Polygon(street, kSidewalkKind, {l0, l1, l2, point(20, 7), point(0, 7)});
  TAbstractItem* axis = street.ItemList(kAxisKind).NewItem();
  axis->Points().InsertNew(0, {0, 0, 0});
  axis->Points().InsertNew(1, {20, 0, 0});
  street.MainReferences().SetItem(0, axis);
  const test::TempDir scratch;
  street.SaveToFile(scratch / "small.pln");
  return FileBytes(scratch / "small.pln");
}

std::filesystem::path ExamplePath() {
  return test::SourceDir() / "examples/small.pln";
}

bool White(uint32_t rgb) {
  return (rgb & 0xFFFFFF) == 0xFFFFFF;
}
// The edges drawn in black, not the darker fills.
bool Dark(uint32_t rgb) {
  return test::DarkInEveryChannel(rgb, 64);
}

class StreetTools : public ::testing::Test {
 protected:
  void SetUp() override {
    street = scratch / "street.pln";
    WriteFileBytes(street, SmallStreet());
  }
  test::TempDir scratch;
  std::filesystem::path street;
};

TEST_F(StreetTools, BundledExampleIsWhatItsWriterMakes) {
  const std::filesystem::path path = ExamplePath();
  if (!std::filesystem::is_directory(path.parent_path()))
    VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  EXPECT_TRUE(IsCommittedFile(path, FileBytes(street), "VELLMAR_WRITE_EXAMPLES"));
}

TEST_F(StreetTools, InfoListsTheStreetAndItsKinds) {
  const TToolRun run = RunTool(VELLMAR_INFO_TOOL, Quote(street), scratch);
  EXPECT_EQ(run.Status, 0) << run.Errors;
  EXPECT_EQ(run.Output,
            "name: Small street\n"
            "start: West\n"
            "end: East\n"
            "points: 12\n"
            "bounds: 0 -3 20 7\n"
            "view: 0 0 0 0.01 0\n"
            "kind 2 ROADWAY 1\n"
            "kind 3 TROTUAR 1\n"
            "kind 4 GAZON 2\n"
            "kind 35 AXIS 1\n");
}

TEST_F(StreetTools, InfoSavesTheLoadedStreetBackByteForByte) {
  const std::filesystem::path copy = scratch / "copy.pln";
  const TToolRun run = RunTool(VELLMAR_INFO_TOOL, Quote(street) + " --save " + Quote(copy), scratch);
  ASSERT_EQ(run.Status, 0) << run.Errors;
  EXPECT_EQ(FileBytes(copy), FileBytes(street));
}

TEST_F(StreetTools, InfoTellsTheStationAndOffsetOfAPointAlongTheAxis) {
  // The axis runs east from (0, 0) to (20, 0): south is on its right.
  struct TCase {
    std::string Point, Output;
  };
  const TCase cases[] = {
      {"10,-2", "station 10.000 offset 2.000\n"},
      {"12.345,1.5", "station 12.345 offset -1.500\n"},
      {"-5,1", "station -5.000 offset -1.000\n"},
      {"25,-0.25", "station 25.000 offset 0.250\n"},
      {"20,0", "station 20.000 offset 0.000\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Point);
    const TToolRun run = RunTool(VELLMAR_INFO_TOOL, Quote(street) + " --station " + c.Point, scratch);
    EXPECT_EQ(run.Status, 0) << run.Errors;
    EXPECT_EQ(run.Output, c.Output);
  }
}

TEST_F(StreetTools, InfoPicksTheTopmostItemOrSaysNothing) {
  struct TCase {
    std::string Point, PixelSize, FirstLine;  // empty: nothing there
  };
  const TCase cases[] = {
      {"10,0", "0.1", "item 2 ROADWAY 1\n"},  // the axis line is not drawn: the carriageway
      {"15,4", "0.1", "item 4 GAZON 2\n"},
      {"5,6", "0.1", "item 3 TROTUAR 1\n"},
      {"5,7.2", "0.1", "item 3 TROTUAR 1\n"},  // within 3 pixels of its edge
      {"5,7.5", "0.1", ""},
      {"5,7.5", "0.25", "item 3 TROTUAR 1\n"},  // coarser pixels reach further
      {"50,50", "0.1", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Point + " at " + c.PixelSize);
    const TToolRun run =
        RunTool(VELLMAR_INFO_TOOL, Quote(street) + " --pick " + c.Point + " --pixel-size " + c.PixelSize, scratch);
    if (c.FirstLine.empty()) {
      EXPECT_EQ(run.Status, 1);
      EXPECT_EQ(run.Output, "");
      EXPECT_EQ(run.Errors, "");
      continue;
    }
    EXPECT_EQ(run.Status, 0) << run.Errors;
    EXPECT_EQ(run.Output.substr(0, run.Output.find('\n') + 1), c.FirstLine);
    const std::string id = c.FirstLine.substr(c.FirstLine.rfind(' ') + 1);
    EXPECT_NE(run.Output.find("\nID: " + id), std::string::npos) << run.Output;
  }
}

TEST_F(StreetTools, InfoNamesWhatItCannotAnswer) {
  // The same street without its axis.
  TStreetStructure noAxis;
  noAxis.LoadFromFile(street);
  noAxis.MainReferences().SetItem(0, nullptr);
  noAxis.ItemList(kAxisKind).Delete(noAxis.ItemList(kAxisKind).Items(0));
  const std::filesystem::path plain = scratch / "plain.pln";
  noAxis.SaveToFile(plain);
  struct TCase {
    std::string Arguments;
    int Status;
    std::string Error;
  };
  const TCase cases[] = {
      {Quote(plain) + " --station 1,1", 1, "no main axis"},
      {Quote(street) + " --station 1:1", 2, "--station needs a point X,Y"},
      {Quote(street) + " --station x,1", 2, "--station needs a point X,Y"},
      {Quote(street) + " --pick 1,1", 2, "--pick needs --pixel-size"},
      {Quote(street) + " --pick 1,1 --pixel-size 0", 2, "--pixel-size needs a positive number"},
      {Quote(street) + " --pixel-size 1", 2, "--pixel-size belongs to --pick"},
      {Quote(street) + " --station 1,1 --pick 1,1 --pixel-size 1", 2, "cannot be asked together"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const TToolRun run = RunTool(VELLMAR_INFO_TOOL, c.Arguments, scratch);
    EXPECT_EQ(run.Status, c.Status);
    EXPECT_EQ(run.Output, "");
    EXPECT_NE(run.Errors.find(c.Error), std::string::npos) << run.Errors;
  }
}

TEST_F(StreetTools, DamagedFileFailsWithTheLoadersMessageAndWritesNothing) {
  std::vector<uint8_t> bytes = FileBytes(street);
  // Cut inside the point table: the required chunk is there, its points are not.
  const std::string text(bytes.begin(), bytes.end());
  const size_t table = text.find("PNTSTRCT");
  ASSERT_NE(table, std::string::npos);
  bytes.resize(table + 8 + 4 + 10);
  const std::filesystem::path damaged = scratch / "damaged.pln";
  WriteFileBytes(damaged, bytes);

  const std::filesystem::path copy = scratch / "copy.pln";
  const TToolRun info = RunTool(VELLMAR_INFO_TOOL, Quote(damaged) + " --save " + Quote(copy), scratch);
  EXPECT_EQ(info.Status, 1);
  EXPECT_TRUE(info.Output.empty()) << info.Output;
  EXPECT_EQ(info.Errors, "vellmar-info: " + damaged.string() +
                             ": the file is damaged (TStream.ReadCount: count 12 of 28-byte entries exceeds the "
                             "10 bytes left)\n");
  EXPECT_FALSE(std::filesystem::exists(copy));

  // Cut before the required street header.
  bytes.resize(12);
  WriteFileBytes(damaged, bytes);
  const std::filesystem::path picture = scratch / "out.png";
  const TToolRun render = RunTool(VELLMAR_RENDER_TOOL, Quote(damaged) + " -o " + Quote(picture), scratch);
  EXPECT_EQ(render.Status, 1);
  EXPECT_EQ(render.Errors, "vellmar-render: " + damaged.string() +
                               ": the file is damaged (StreetStructure.LoadFromStream: StreamIdent<>siStreet)\n");
  EXPECT_FALSE(std::filesystem::exists(picture));

  const TToolRun missing =
      RunTool(VELLMAR_RENDER_TOOL, Quote(scratch / "none.pln") + " -o " + Quote(picture), scratch);
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Errors, "vellmar-render: " + (scratch / "none.pln").string() + ": No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(picture));
}

// An output that cannot be written is named as the user named it, never as the
// temporary file it is first written to.
TEST_F(StreetTools, AnUnwritableOutputIsNamedNotItsTemporary) {
  const std::filesystem::path nowhere = scratch / "gone";
  struct TCase {
    const char* Tool;
    std::string Arguments;
    std::filesystem::path Output;
  };
  const TCase cases[] = {
      {VELLMAR_INFO_TOOL, " --save ", nowhere / "copy.pln"},
      {VELLMAR_RENDER_TOOL, " --pdf -o ", nowhere / "view.pdf"},
      {VELLMAR_EXPORT_TOOL, " -o ", nowhere / "plan.geojson"},
  };
  for (const TCase& c : cases) {
    const TToolRun run = RunTool(c.Tool, Quote(street) + c.Arguments + Quote(c.Output), scratch);
    EXPECT_EQ(run.Status, 1) << c.Tool;
    EXPECT_NE(run.Errors.find("cannot write " + c.Output.string() + ": No such file or directory"), std::string::npos)
        << run.Errors;
    EXPECT_EQ(run.Errors.find(".tmp"), std::string::npos) << run.Errors;
  }
}

TEST_F(StreetTools, RenderRejectsBadOptionsWithUsage) {
  const std::filesystem::path picture = scratch / "out.png";
  for (const std::string options :
       {"--kinds NOSUCH", "--kinds 41", "--size 0x10", "--zoom 0", "--centre 1", "--rotation x", ""}) {
    const std::string output = options.empty() ? "" : " -o " + Quote(picture);
    const TToolRun run = RunTool(VELLMAR_RENDER_TOOL, Quote(street) + output + " " + options, scratch);
    EXPECT_EQ(run.Status, 2) << options;
    EXPECT_NE(run.Errors.find("usage:"), std::string::npos) << options;
  }
  EXPECT_FALSE(std::filesystem::exists(picture));
}

// The tools once printed no warning at all: a street whose sign library is missing
// drew without its pictures, said nothing and exited 0.
TEST_F(StreetTools, WarningsArePrintedOnceAndStrictTurnsThemIntoExitCode3) {
  RegisterAllKinds();
  TStreetStructure signs;
  for (const float x : {0.0f, 10.0f}) {
    auto* sign = dynamic_cast<TZnakItem*>(signs.ItemList(kSignKind).NewItem());
    for (const TXYZ& p : {TXYZ{x, 0, 0}, TXYZ{x + 0.5f, 1, 0}, TXYZ{x, 1, 0}}) {
      sign->Points().InsertNew(sign->Points().Count(), p);
    }
    sign->AddPlate().SetLibName("5-16.emf");
  }
  const std::filesystem::path file = scratch / "signs.pln";
  signs.SaveToFile(file);
  const test::TempDir noData;
  const std::string withoutData = "VELLMAR_DATA=" + Quote(noData.Path()) + " " + VELLMAR_INFO_TOOL;

  const TToolRun run = RunTool(withoutData.c_str(), Quote(file), scratch);
  EXPECT_EQ(run.Status, 0) << run.Errors;
  ASSERT_TRUE(run.Errors.starts_with("warning: ")) << run.Errors;
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = run.Errors.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(run.Errors.substr(at, end - at));
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with("warning: ")) << lines[i];
    for (size_t j = 0; j < i; ++j) EXPECT_NE(lines[i], lines[j]) << "said twice";
  }
  EXPECT_EQ(RunTool(withoutData.c_str(), Quote(file) + " --strict", scratch).Status, 3);
  EXPECT_EQ(RunTool(VELLMAR_INFO_TOOL, Quote(street) + " --strict", scratch).Status, 0);
}

// Fitted view: x 0..20, y -3..7 around (10, 2) at scale 1/21; 420 pixels give 10 per
// metre, so world (x, y) is pixel (10 x + 110, 230 - 10 y).
class StreetPicture : public StreetTools {
 protected:
  TBitmap Render(const std::string& options) {
    const std::filesystem::path picture = scratch / "out.png";
    const TToolRun run = RunTool(
        VELLMAR_RENDER_TOOL, Quote(street) + " -o " + Quote(picture) + " --size 420x420 " + options, scratch);
    if (run.Status != 0 && run.Errors.find("HeadlessGlContext") != std::string::npos) {
      skipped = run.Errors;
      return TBitmap();
    }
    EXPECT_EQ(run.Status, 0) << run.Errors;
    TBitmap bitmap;
    bitmap.LoadFromFile(picture);
    return bitmap;
  }
  static uint32_t At(const TBitmap& b, double x, double y) {
    return b.GetPixel(static_cast<int32_t>(10 * x + 110), static_cast<int32_t>(230 - 10 * y));
  }
  // A dark pixel in the rows around world y at world x.
  static bool DarkRowNear(const TBitmap& b, double x, double y) {
    for (int dy = -2; dy <= 2; ++dy) {
      if (Dark(b.GetPixel(static_cast<int32_t>(10 * x + 110), static_cast<int32_t>(230 - 10 * y) + dy)))
        return true;
    }
    return false;
  }
  static bool DarkColumnNear(const TBitmap& b, double x, double y) {
    for (int dx = -2; dx <= 2; ++dx) {
      if (Dark(b.GetPixel(static_cast<int32_t>(10 * x + 110) + dx, static_cast<int32_t>(230 - 10 * y))))
        return true;
    }
    return false;
  }
  std::string skipped;
};

TEST_F(StreetPicture, SurfacesFillAndOnlyEdgesBetweenDifferentKindsAreDrawn) {
  const TBitmap picture = Render("");
  if (!skipped.empty()) VELLMAR_SKIP_OR_FAIL(skipped);
  ASSERT_EQ(picture.Width(), 420);
  for (const auto& [x, y] : {std::pair{5.0, 0.0}, {15.0, -2.0}, {5.0, 4.0}, {15.0, 4.0}, {5.0, 6.0}}) {
    EXPECT_FALSE(White(At(picture, x, y))) << x << ", " << y;
    EXPECT_FALSE(Dark(At(picture, x, y))) << x << ", " << y;
  }
  for (const auto& [x, y] : {std::pair{5.0, 9.0}, {5.0, -5.0}, {-3.0, 0.0}, {23.0, 0.0}}) {
    EXPECT_TRUE(White(At(picture, x, y))) << x << ", " << y;
  }
  EXPECT_TRUE(DarkRowNear(picture, 5, 3));       // carriageway - lawn: both draw it
  EXPECT_TRUE(DarkRowNear(picture, 15, 5));      // lawn - sidewalk
  EXPECT_TRUE(DarkRowNear(picture, 5, -3));      // the carriageway's free edge
  EXPECT_FALSE(DarkColumnNear(picture, 10, 4));  // the two lawns continue each other
}

TEST_F(StreetPicture, KindsAndViewOptionsChooseWhatIsShown) {
  const TBitmap lawns = Render("--kinds gazon,4");
  if (!skipped.empty()) VELLMAR_SKIP_OR_FAIL(skipped);
  EXPECT_TRUE(White(At(lawns, 5, 0)));
  EXPECT_FALSE(White(At(lawns, 5, 4)));
  // Two metres across around (10, 6.5), turned a quarter counter-clockwise: the
  // picture's left edge looks north beyond the sidewalk, its right edge onto it.
  const TBitmap close = Render("--centre 10,6.5 --zoom 1 --rotation 90");
  EXPECT_TRUE(White(close.GetPixel(10, 210)));
  EXPECT_FALSE(White(close.GetPixel(410, 210)));
  EXPECT_FALSE(White(close.GetPixel(210, 10)));
  EXPECT_FALSE(White(close.GetPixel(210, 410)));
  // The same turn in radians is the same picture, to the byte.
  const std::filesystem::path degrees = scratch / "degrees.png";
  std::filesystem::rename(scratch / "out.png", degrees);
  Render("--centre 10,6.5 --zoom 1 --rotation 1.5707963267948966rad");
  EXPECT_EQ(FileBytes(scratch / "out.png"), FileBytes(degrees));
}

// A JPEG is the PNG's picture, within what its compression changes.
TEST_F(StreetPicture, AJpegNameWritesAJpegOfTheSamePicture) {
  const TBitmap png = Render("");
  if (!skipped.empty()) VELLMAR_SKIP_OR_FAIL(skipped);
  const std::filesystem::path jpeg = scratch / "out.jpg";
  const TToolRun run = RunTool(VELLMAR_RENDER_TOOL, Quote(street) + " -o " + Quote(jpeg) + " --size 420x420", scratch);
  ASSERT_EQ(run.Status, 0) << run.Errors;
  std::vector<uint8_t> bytes = FileBytes(jpeg);
  ASSERT_GT(bytes.size(), 3u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3), (std::vector<uint8_t>{0xFF, 0xD8, 0xFF}));
  tjhandle decoder = tjInitDecompress();
  int width = 0, height = 0, subsampling = 0, colours = 0;
  ASSERT_EQ(tjDecompressHeader3(decoder, bytes.data(), bytes.size(), &width, &height, &subsampling, &colours), 0);
  ASSERT_EQ(width, 420);
  ASSERT_EQ(height, 420);
  std::vector<uint8_t> rgb(420 * 420 * 3);
  ASSERT_EQ(tjDecompress2(decoder, bytes.data(), bytes.size(), rgb.data(), 420, 0, 420, TJPF_RGB, 0), 0);
  tjDestroy(decoder);
  double difference = 0.0;
  for (int y = 0; y < 420; ++y) {
    for (int x = 0; x < 420; ++x) {
      const uint32_t p = png.GetPixel(x, y);
      const uint8_t* q = &rgb[(static_cast<size_t>(y) * 420 + x) * 3];
      difference += std::abs(int(p >> 16 & 255) - q[0]) + std::abs(int(p >> 8 & 255) - q[1]) + std::abs(int(p & 255) - q[2]);
    }
  }
  EXPECT_LT(difference / (420.0 * 420 * 3), 2.0);
}

}  // namespace
}  // namespace vellmar
