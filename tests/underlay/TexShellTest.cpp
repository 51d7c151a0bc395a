#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "UnderlayTestSupport.h"
#include "platform/MemoryStream.h"
#include "platform/WarningSink.h"
#include "render/DxRenderer.h"
#include "underlay/SubLayerFile.h"
#include "underlay/TexShell.h"

namespace vellmar {

namespace {

using test::kPyramidHeight;
using test::kPyramidWidth;
using test::PyramidBytes;
using test::TView;

std::unique_ptr<TSubLayerFile> OpenPyramid(std::vector<uint8_t> bytes = PyramidBytes()) {
  return std::make_unique<TSubLayerFile>(std::make_unique<TMemoryStream>(std::move(bytes)));
}

const TSubLayerCorners kCorners = {TXYZ{0, 0, 0}, TXYZ{0, kPyramidHeight, 0},
                                   TXYZ{kPyramidWidth, kPyramidHeight, 0}, TXYZ{kPyramidWidth, 0, 0}};

// The diagonal of a level's tiles in world units.
double Diagonal(int level) {
  return std::hypot(256.0 * level, 256.0);
}

std::vector<TTexShell> AllTiles(const TSubLayerFile& file) {
  std::vector<TTexShell> tiles;
  for (int level : kSubLayerLevels) {
    for (int row = 0; row < file.Level(level).Rows; ++row) {
      for (int column = 0; column < file.Level(level).Columns; ++column)
        tiles.emplace_back(level, column, row);
    }
  }
  return tiles;
}

std::set<int> TexturedLevels(const std::vector<TTexShell>& tiles) {
  std::set<int> levels;
  for (const TTexShell& tile : tiles) {
    if (tile.HasTexture()) levels.insert(tile.Level());
  }
  return levels;
}

size_t CountCalls(const RecordingDevice& device, const std::string& text) {
  size_t count = 0;
  for (const TGpuCall& call : device.Calls()) count += call.Text == text ? 1 : 0;
  return count;
}

}  // namespace

TEST(TexShell, QuadFollowsTheCornersRowsDownFromTheTopEdge) {
  auto file = OpenPyramid();
  TView view;
  view.Zoom(1.0);
  TTexShell tile(1, 1, 0);
  tile.Draw(view.Params, kCorners, *file);
  ASSERT_TRUE(tile.QuadValid());
  const auto& v = tile.Vertices();
  const float expected[6][4] = {{256, 256, 0, 0}, {256, 0, 0, 1},   {512, 0, 1, 1},
                                {512, 256, 1, 0}, {256, 256, 0, 0}, {512, 0, 1, 1}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_FLOAT_EQ(v[i].X, expected[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].Y, expected[i][1]) << i;
    EXPECT_EQ(v[i].U, expected[i][2]) << i;
    EXPECT_EQ(v[i].V, expected[i][3]) << i;
    EXPECT_EQ(v[i].Color, 0xFFFFFFFFu) << i;
  }
  // A skewed underlay: the corners move, the stale quad follows them only when told.
  TSubLayerCorners skewed = kCorners;
  skewed[1] = {1000, kPyramidHeight, 0};
  skewed[2] = {kPyramidWidth + 1000, kPyramidHeight, 0};
  tile.Draw(view.Params, skewed, *file);
  EXPECT_FLOAT_EQ(tile.Vertices()[0].X, 256);
  tile.InvalidateQuad();
  tile.Draw(view.Params, skewed, *file);
  EXPECT_FLOAT_EQ(tile.Vertices()[0].X, 1256);
  EXPECT_FLOAT_EQ(tile.Vertices()[0].Y, 256);
  EXPECT_FLOAT_EQ(tile.Vertices()[1].X, 256);
  EXPECT_FLOAT_EQ(tile.Vertices()[1].Y, 0);
}

TEST(TexShell, DrawsItsTextureAsTwoTrianglesAndUnbinds) {
  auto file = OpenPyramid();
  TView view;
  view.Zoom(1.0);
  TTexShell tile(1, 0, 0);
  view.Device->ClearCalls();
  tile.Draw(view.Params, kCorners, *file);
  ASSERT_TRUE(tile.HasTexture());
  std::vector<std::string> draws;
  for (const TGpuCall& call : view.Device->Calls()) {
    if (call.Text.starts_with("SetTexture(") || call.Text.starts_with("DrawPrimitiveUP"))
      draws.push_back(call.Text);
  }
  const std::vector<std::string> expected = {"SetTexture(0, texture)", "DrawPrimitiveUP(4, 2, 24)",
                                             "SetTexture(0, null)"};
  EXPECT_EQ(draws, expected);
  // Decoded once: the next frame binds the same texture without creating another.
  view.Device->ClearCalls();
  tile.Draw(view.Params, kCorners, *file);
  EXPECT_EQ(CountCalls(*view.Device, "CreateTexture(256, 256, 1, 0, 21, 1)"), 0u);
  EXPECT_EQ(CountCalls(*view.Device, "DrawPrimitiveUP(4, 2, 24)"), 1u);
}

// A level's tiles are drawn while their diagonal measures between 128 and 256 pixels,
// level 1 also when larger.
TEST(TexShell, ZoomingInHandsTheTilesToFinerLevels) {
  auto file = OpenPyramid();
  std::vector<TTexShell> tiles = AllTiles(*file);
  ASSERT_EQ(tiles.size(), 8u + 4u + 2u + 1u);
  TView view;
  const struct {
    double pixel;
    std::set<int> levels;
  } steps[] = {{Diagonal(8) / 180, {8}}, {Diagonal(4) / 180, {4}},  {Diagonal(2) / 180, {2}},
               {Diagonal(1) / 180, {1}}, {Diagonal(1) / 2000, {1}}, {Diagonal(8) / 180, {8}}};
  for (const auto& step : steps) {
    view.Zoom(step.pixel);
    for (TTexShell& tile : tiles) tile.Draw(view.Params, kCorners, *file);
    EXPECT_EQ(TexturedLevels(tiles), step.levels) << "pixel " << step.pixel;
  }
  // Too small for any level: a level-8 tile under 128 pixels is dropped as well.
  view.Zoom(Diagonal(8) / 100);
  for (TTexShell& tile : tiles) tile.Draw(view.Params, kCorners, *file);
  EXPECT_TRUE(TexturedLevels(tiles).empty());
}

TEST(TexShell, ATileAtOrBeyondTheRadiusHasNoTexture) {
  auto file = OpenPyramid();
  TView view;
  view.Zoom(Diagonal(8) / 180);
  TTexShell tile(8, 0, 0);  // centred on (1024, 128)
  view.Params.Radius = 100;
  view.Params.Centre = {1024 + 99, 128, 0};
  tile.Draw(view.Params, kCorners, *file);
  EXPECT_TRUE(tile.HasTexture());
  view.Params.Centre = {1024 + 100, 128, 0};
  view.Device->ClearCalls();
  tile.Draw(view.Params, kCorners, *file);
  EXPECT_FALSE(tile.HasTexture());
  EXPECT_EQ(view.Device->DrawCallCount(), 1u);  // the earlier frame only
}

TEST(TexShell, ADamagedTileIsReportedOnceAndDrawnAsItsOutline) {
  auto file = OpenPyramid(test::PyramidWithDamagedTile(8, 0));
  std::vector<std::string> warnings;
  SetWarningSink([&](const std::string& message) { warnings.push_back(message); });
  TView view;
  view.Zoom(Diagonal(8) / 180);
  TTexShell tile(8, 0, 0);
  for (int frame = 0; frame < 2; ++frame) {
    view.Device->ClearCalls();
    EXPECT_NO_THROW(tile.Draw(view.Params, kCorners, *file));
    EXPECT_FALSE(tile.HasTexture());
    ASSERT_EQ(view.Device->Calls().size(), 2u);
    const TGpuCall& outline = view.Device->Calls()[1];
    EXPECT_EQ(outline.Text, "DrawPrimitiveUP(3, 4, 24)");
    ASSERT_EQ(outline.Vertices.size(), 5u);
    EXPECT_EQ(outline.Vertices[0].X, 0.0f);
    EXPECT_EQ(outline.Vertices[0].Y, 256.0f);
    EXPECT_EQ(outline.Vertices[2].X, 2048.0f);
    EXPECT_EQ(outline.Vertices[2].Y, 0.0f);
    EXPECT_EQ(outline.Vertices[4].X, 0.0f);
  }
  SetWarningSink({});
  EXPECT_TRUE(tile.Damaged());
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(
      warnings[0],
      "TTexShell.Draw: level 8, column 0, row 0: TSubLayerFile.DecodeTile: tile offset outside the file");
}

}  // namespace vellmar
