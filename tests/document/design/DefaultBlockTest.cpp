#include "document/design/DefaultBlock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace vellmar {
namespace {

struct TCollected {
  std::vector<std::string> Messages;
  TWarningSink Sink() {
    return [this](const std::string& message) { Messages.push_back(message); };
  }
};

void ExpectPlaceholder(const TDsnBlockDef& block) {
  EXPECT_EQ(block.Width(), 1.5f);
  EXPECT_EQ(block.Height(), 3.0f);
  EXPECT_EQ(block.Name(), "");
  ASSERT_EQ(block.Bitmap().Width(), 16);
  // A red frame and cross on white (which block textures make transparent).
  EXPECT_EQ(block.Bitmap().GetPixel(0, 5), 0xFF0000u);
  EXPECT_EQ(block.Bitmap().GetPixel(5, 5), 0xFF0000u);
  EXPECT_EQ(block.Bitmap().GetPixel(5, 3), 0xFFFFFFu);
}

TEST(DefaultBlock, MissingFileGivesThePlaceholderAndOneWarning) {
  TCollected warnings;
  const auto block = MakeDefaultBlock(std::nullopt, warnings.Sink());
  ExpectPlaceholder(*block);
  ASSERT_EQ(warnings.Messages.size(), 1u);
  EXPECT_NE(warnings.Messages[0].find("DefaultBlock.bmp"), std::string::npos);
}

TEST(DefaultBlock, UnreadableFileGivesThePlaceholderAndOneWarning) {
  test::TempDir dir;
  std::ofstream(dir / "DefaultBlock.bmp") << "BM not really";
  TCollected warnings;
  const auto block = MakeDefaultBlock(dir / "DefaultBlock.bmp", warnings.Sink());
  ExpectPlaceholder(*block);
  EXPECT_EQ(warnings.Messages.size(), 1u);
}

TEST(DefaultBlock, PictureComesFromTheFile) {
  test::TempDir dir;
  TBitmap picture(3, 5, TPixelFormat::pf24bit);
  picture.SetPixel(2, 4, 0x123456);
  picture.SaveToFile(dir / "DefaultBlock.bmp");
  TCollected warnings;
  const auto block = MakeDefaultBlock(dir / "DefaultBlock.bmp", warnings.Sink());
  EXPECT_TRUE(warnings.Messages.empty());
  EXPECT_EQ(block->Bitmap().Width(), 3);
  EXPECT_EQ(block->Bitmap().GetPixel(2, 4), 0x123456u);
  EXPECT_EQ(block->Width(), 1.5f);
  EXPECT_EQ(block->AnchorX(), 0);
}

TEST(DefaultBlock, TheProgramsBlockIsMadeOnceAndWarnsAtMostOnce) {
  const TDsnBlockDef& first = DefaultBlock();
  TakePendingWarnings();  // whatever the first use said
  EXPECT_EQ(&DefaultBlock(), &first);
  EXPECT_TRUE(TakePendingWarnings().empty());
}

}  // namespace
}  // namespace vellmar
