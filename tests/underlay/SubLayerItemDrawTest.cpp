#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "kinds/AllKinds.h"
#include "platform/WarningSink.h"
#include "support/TestSupport.h"
#include "underlay/SubLayerItem.h"
#include "UnderlayTestSupport.h"

namespace vellmar {

namespace {

using test::kPyramidHeight;
using test::kPyramidWidth;
using test::TView;

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> DrawCalls(const RecordingDevice& device) {
  std::vector<std::string> calls;
  for (const TGpuCall& call : device.Calls()) {
    if (call.Text.starts_with("DrawPrimitiveUP") || call.Text.starts_with("SetTexture("))
      calls.push_back(call.Text);
  }
  return calls;
}

class SubLayerItemDrawTest : public ::testing::Test {
 protected:
  SubLayerItemDrawTest() {
    // The street is saved once so that it has a file to look beside.
    street_.SaveToFile(dir_ / "plan.pln");
    item_ = std::make_unique<TSubLayerItem>(street_, TKindRegistry::Kind(0));
  }

  void AddCorners(int count) {
    const TXYZ corners[4] = {
        {0, 0, 0}, {0, kPyramidHeight, 0}, {kPyramidWidth, kPyramidHeight, 0}, {kPyramidWidth, 0, 0}};
    for (int i = 0; i < count; ++i) item_->Points().InsertNew(i, corners[i]);
  }

  void Draw() {
    view_.Device->ClearCalls();
    item_->DrawImmediate(view_.Params, {});
  }

  struct TRegistration {
    TRegistration() { RegisterAllKinds(); }
  } registration_;
  test::TempDir dir_;
  TStreetStructure street_;
  std::unique_ptr<TSubLayerItem> item_;
  TView view_;
};

TEST_F(SubLayerItemDrawTest, ThreeCornersDrawNothingFourWithoutAFileOnlyTheOutline) {
  AddCorners(3);
  item_->SetFileName("nowhere.sub");
  Draw();
  EXPECT_TRUE(DrawCalls(*view_.Device).empty());
  item_->Points().InsertNew(3, {kPyramidWidth, 0, 0});
  Draw();
  ASSERT_EQ(DrawCalls(*view_.Device), std::vector<std::string>{"DrawPrimitiveUP(3, 4, 24)"});
  const std::vector<TDxVertex>& outline = view_.Device->Calls().back().Vertices;
  ASSERT_EQ(outline.size(), 5u);
  const float expected[5][2] = {{0, 0}, {0, 256}, {2048, 256}, {2048, 0}, {0, 0}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(outline[i].X, expected[i][0]);
    EXPECT_EQ(outline[i].Y, expected[i][1]);
    EXPECT_EQ(outline[i].Color, 0u);
  }
}

// Stored by an old absolute Windows name in capitals, the file is found beside the street.
TEST_F(SubLayerItemDrawTest, TilesOfTheFileBesideTheStreetFollowTheOutlineAndTheCorners) {
  WriteFile(dir_ / "aerial.sub", test::PyramidBytes());
  AddCorners(4);
  item_->SetFileName("C:\\Photos\\AERIAL.SUB");
  ASSERT_NE(item_->File(), nullptr);
  const std::vector<TTexShell>& tiles = item_->Tiles();
  ASSERT_EQ(tiles.size(), 8u + 4u + 2u + 1u);
  EXPECT_EQ(tiles[0].Level(), 1);
  EXPECT_EQ(tiles[7].Column(), 7);
  EXPECT_EQ(tiles[8].Level(), 2);
  EXPECT_EQ(tiles[14].Level(), 8);

  view_.Zoom(std::hypot(4 * 256.0, 256.0) / 180);  // level 4's two tiles at 180 pixels
  Draw();
  const std::vector<std::string> expected = {"DrawPrimitiveUP(3, 4, 24)", "SetTexture(0, texture)",
                                             "DrawPrimitiveUP(4, 2, 24)", "SetTexture(0, null)",
                                             "SetTexture(0, texture)",    "DrawPrimitiveUP(4, 2, 24)",
                                             "SetTexture(0, null)"};
  EXPECT_EQ(DrawCalls(*view_.Device), expected);

  // Moving a corner lays the tiles anew; their textures stay.
  item_->Points().SetVertex(2, {kPyramidWidth, kPyramidHeight + 100, 0});
  EXPECT_FALSE(tiles[12].QuadValid());
  EXPECT_TRUE(tiles[12].HasTexture());
  Draw();
  EXPECT_FLOAT_EQ(tiles[13].Vertices()[3].Y, kPyramidHeight + 100);
}

TEST_F(SubLayerItemDrawTest, ADamagedTileIsOutlinedAndTheFrameGoesOn) {
  WriteFile(dir_ / "aerial.sub", test::PyramidWithDamagedTile(4, 0));
  AddCorners(4);
  item_->SetFileName("aerial.sub");
  std::vector<std::string> warnings;
  // Warnings earlier tests left waiting (data files missing there) are not this frame's.
  TakePendingWarnings();
  SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
  view_.Zoom(std::hypot(4 * 256.0, 256.0) / 180);
  for (int frame = 0; frame < 2; ++frame) {
    Draw();
    const std::vector<std::string> expected = {"DrawPrimitiveUP(3, 4, 24)", "DrawPrimitiveUP(3, 4, 24)",
                                               "SetTexture(0, texture)", "DrawPrimitiveUP(4, 2, 24)",
                                               "SetTexture(0, null)"};
    EXPECT_EQ(DrawCalls(*view_.Device), expected);
  }
  SetWarningSink({});
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].starts_with("TTexShell.Draw: level 4, column 0, row 0 of ")) << warnings[0];
}

}  // namespace

}  // namespace vellmar
