// vellmar-render printing to PDF, run as its users run it: plan sheets of the demo
// street and a street made here, the view on chosen paper at 1:N, and the failures
// a user meets (an unknown sheet, an unwritable place), read back through poppler.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/StreetStructure.h"
#include "kinds/AllKinds.h"
#include "support/PdfRaster.h"
#include "support/PixelInk.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

constexpr int32_t kLawnKind = 4;

std::filesystem::path DemoStreet() {
  return test::SourceDir() / "examples/demo.pln";
}

struct TRun {
  int Status = -1;
  std::string Errors;
};

TRun Render(const std::string& arguments, const test::TempDir& scratch) {
  const std::filesystem::path errors = scratch / "stderr.txt";
  const std::string command =
      std::string(VELLMAR_RENDER_TOOL) + " " + arguments + " >/dev/null 2>" + test::Quote(errors);
  const int status = std::system(command.c_str());
  std::ifstream in(errors);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(std::istreambuf_iterator<char>(in), {})};
}

// Dark pixels inside a rectangle of the page given in millimetres from its top-left.
int InkIn(const TOffscreenFrame& page, int dpi, double left, double top, double right, double bottom) {
  const double k = dpi / 25.4;
  int ink = 0;
  for (auto y = static_cast<uint32_t>(top * k); y < static_cast<uint32_t>(bottom * k); ++y)
    for (auto x = static_cast<uint32_t>(left * k); x < static_cast<uint32_t>(right * k); ++x)
      if (test::Ink(page.At(x, y))) ++ink;
  return ink;
}

class PrintTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string missing = test::PdfToolsMissing(); !missing.empty()) VELLMAR_SKIP_OR_FAIL(missing);
  }
  test::TempDir scratch_;
};

// The demo's A3 landscape sheet: one page of A3 landscape, and its title block's
// street name (vector text from the stamp) is on it, not lost on the way to paper.
TEST_F(PrintTool, TheDemoSheetIsAnA3LandscapePageWithItsTitleBlockText) {
  const std::filesystem::path pdf = scratch_ / "demo.pdf";
  const TRun run = Render(test::Quote(DemoStreet()) + " --sheet 1 -o " + test::Quote(pdf), scratch_);
  ASSERT_EQ(run.Status, 0) << run.Errors;
  EXPECT_EQ(test::PdfPageCount(pdf), 1);
  const std::optional<test::TPageSize> size = test::PdfPageSize(pdf);
  ASSERT_TRUE(size);
  EXPECT_NEAR(size->Width, 1190.55, 0.01);
  EXPECT_NEAR(size->Height, 841.89, 0.01);
  const std::optional<TOffscreenFrame> page = test::RasterisePdf(pdf, 100);
  ASSERT_TRUE(page);
  // The title block's first cell, inside its borders: only the street's name is there.
  EXPECT_GT(InkIn(*page, 100, 233, 240, 285, 253), 40) << "the title block's street name is missing";
  // The margin below the frame stays empty.
  EXPECT_EQ(InkIn(*page, 100, 30, 293.5, 400, 296.5), 0);
}

// The view on paper: a lawn 50 m wide around the view's centre measures 100.0 mm at
// 1:500 and 50.0 mm at 1:1000, on paper of the size asked for.
TEST_F(PrintTool, TheViewPrintsAtTheScaleAskedOnThePaperAsked) {
  RegisterAllKinds();
  {
    TStreetStructure street;
    TAbstractItem* lawn = street.ItemList(kLawnKind).NewItem();
    for (const TXYZ& p : {TXYZ{-25, -10, 0}, TXYZ{25, -10, 0}, TXYZ{25, 10, 0}, TXYZ{-25, 10, 0}})
      lawn->Points().InsertNew(lawn->Points().Count(), p);
    street.SetView({0, 0, 0}, 0.05f, 0.0f);
    street.SaveToFile(scratch_ / "lawn.pln");
  }
  struct TCase {
    const char* Options;
    double Width, Height;  // points
    double LawnMm;
  };
  const TCase cases[] = {
      {"--paper A3 --scale 500", 841.89, 1190.55, 100.0},
      {"--paper a3 --landscape --scale 500 --dpi 150", 1190.55, 841.89, 100.0},
      {"--paper 300x200 --scale 1000", 850.39, 566.93, 50.0},
  };
  for (const TCase& c : cases) {
    const std::filesystem::path pdf = scratch_ / "view.pdf";
    const TRun run = Render(test::Quote(scratch_ / "lawn.pln") + " --pdf " + c.Options + " -o " + test::Quote(pdf),
                            scratch_);
    ASSERT_EQ(run.Status, 0) << c.Options << ": " << run.Errors;
    const std::optional<test::TPageSize> size = test::PdfPageSize(pdf);
    ASSERT_TRUE(size) << c.Options;
    EXPECT_NEAR(size->Width, c.Width, 0.01) << c.Options;
    EXPECT_NEAR(size->Height, c.Height, 0.01) << c.Options;
    const std::optional<TOffscreenFrame> page = test::RasterisePdf(pdf, 254);
    ASSERT_TRUE(page) << c.Options;
    // Each pixel counts with the share the lawn covers (white 255, the lawn's blue 210).
    double width = 0.0;
    for (uint32_t x = 0; x < page->Width; ++x)
      width += std::clamp((255.0 - (page->At(x, page->Height / 2) & 0xFF)) / 45.0, 0.0, 1.0);
    EXPECT_NEAR(width / 10.0, c.LawnMm, 0.1) << c.Options;
  }
}

// What a user gets wrong is named, exits with a failure and writes nothing.
TEST_F(PrintTool, MistakesAreNamedAndWriteNothing) {
  struct TCase {
    std::string Arguments;
    std::string Message;
  };
  const std::string out = test::Quote(scratch_ / "out.pdf");
  const TCase cases[] = {
      {"--sheet 2 -o " + out, "no sheet 2; the street has 1 sheet"},
      {"--sheet x -o " + out, "--sheet needs sheet numbers from 1"},
      {"--sheet 1 -o " + test::Quote(scratch_ / "missing" / "out.pdf"), "missing"},
      {"--pdf --paper B7 -o " + out, "--paper needs A0 to A6 or WxH"},
      {"--pdf --dpi 5 -o " + out, "the resolution must be 36 to 2400 dpi"},
      {"--sheet 1 --pdf -o " + out, "exclude each other"},
  };
  for (const TCase& c : cases) {
    const TRun run = Render(test::Quote(DemoStreet()) + " " + c.Arguments, scratch_);
    EXPECT_NE(run.Status, 0) << c.Arguments;
    EXPECT_NE(run.Errors.find(c.Message), std::string::npos) << c.Arguments << ": " << run.Errors;
    EXPECT_FALSE(std::filesystem::exists(scratch_ / "out.pdf")) << c.Arguments;
  }
}

}  // namespace
}  // namespace vellmar
