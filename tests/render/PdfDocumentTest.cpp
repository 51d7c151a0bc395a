// The PDF document: the file appears whole or not at all.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "platform/Error.h"
#include "render/PdfDocument.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A page whose drawing fails leaves the document unfinished; tearing it down finishes
// the surface through the temporary, which then goes: the old file stays as it was.
TEST(PdfDocument, APageThatFailsLeavesTheOldFileAndNoTemporary) {
  const test::TempDir dir;
  const std::filesystem::path target = dir / "out.pdf";
  std::ofstream(target) << "old";
  struct TCase {
    const char* What;
    int GoodPages;
  };
  for (const TCase c : {TCase{"first page fails", 0}, TCase{"second page fails", 1}}) {
    EXPECT_THROW(
        {
          TPdfDocument document(target);
          for (int i = 0; i < c.GoodPages; ++i) document.AddPage(TPaper{}, [](TdxRenderer&, CairoDevice&) {});
          document.AddPage(TPaper{}, [](TdxRenderer&, CairoDevice&) { throw std::runtime_error("drawing failed"); });
        },
        std::runtime_error)
        << c.What;
    EXPECT_EQ(Contents(target), "old") << c.What;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << c.What;
  }
}

// A committed document replaces the old file with a PDF of its pages; one without pages
// is refused and writes nothing.
TEST(PdfDocument, CommitReplacesTheFileOnlyWithPages) {
  const test::TempDir dir;
  const std::filesystem::path target = dir / "out.pdf";
  std::ofstream(target) << "old";
  {
    TPdfDocument empty(target);
    EXPECT_THROW(empty.Commit(), EVellmarError);
  }
  EXPECT_EQ(Contents(target), "old");
  TPdfDocument document(target);
  document.AddPage(TPaper{}, [](TdxRenderer&, CairoDevice&) {});
  document.AddPage(TPaper{420, 297, 150, 0.25}, [](TdxRenderer&, CairoDevice&) {});
  document.Commit();
  EXPECT_EQ(document.PageCount(), 2);
  EXPECT_EQ(Contents(target).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace vellmar
