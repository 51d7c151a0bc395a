// Collections drawn by a renderer whose device keeps their vertices: every vertex goes
// to that device once and the collection keeps none; later frames and edits write only
// what is new; the collection asks to be built again wherever the device cannot serve it
// (another device, a reader of vertices, a device gone, too many holes).

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "platform/Error.h"
#include "render/DxLineCollection.h"
#include "support/RecordedFrame.h"

namespace vellmar {

class TAbstractItem {};

namespace {

TAbstractItem itemA;
TAbstractItem itemB;

constexpr size_t kLineBytes = 2 * sizeof(TDxVertex);

// Unit segments at x = first, first + 1, ..., first + count - 1.
void AddRow(TDxLineCollection& lines, const TAbstractItem* owner, int first, int count) {
  for (int i = first; i < first + count; ++i) {
    const std::vector<TXYZ> ends{TXYZ{static_cast<float>(i), 0, 0}, TXYZ{static_cast<float>(i), 1, 0}};
    lines.AddSegments(owner, ends);
  }
}

class THandOverTest : public testing::Test {
 protected:
  THandOverTest() { frame_.Renderer->SetKeepsVertices(true); }

  // Bytes the draw wrote into vertex buffers, and the x of every segment it drew.
  uint64_t Draw(TDxPrimCollection& c, float x, float radius, std::multiset<float>* drawn = nullptr) {
    frame_.Device->ClearCalls();
    const uint64_t before = frame_.Device->UploadedVertexBytes();
    c.Draw(TDxDrawParams{frame_.Renderer.get(), TXYZ{x, 0, 0}, radius});
    if (drawn != nullptr) {
      drawn->clear();
      for (const TGpuCall* call : frame_.Draws())
        for (size_t k = 0; k < call->Vertices.size(); k += 2) drawn->insert(call->Vertices[k].X);
    }
    return frame_.Device->UploadedVertexBytes() - before;
  }

  static std::multiset<float> Range(int first, int end) {
    std::multiset<float> xs;
    for (int i = first; i < end; ++i) xs.insert(static_cast<float>(i));
    return xs;
  }

  test::TRecordedFrame frame_;
};

TEST_F(THandOverTest, EveryVertexGoesToTheDeviceOnceAndTheCollectionKeepsNone) {
  frame_.Device->SetRecordVertices(true);
  TDxLineCollection lines;
  AddRow(lines, &itemA, 0, 1000);
  std::multiset<float> drawn;
  // A view of x 10 ... 70 (radius 10 and the cull margin) hands over all 1000 segments.
  EXPECT_EQ(Draw(lines, 40, 10, &drawn), 1000 * kLineBytes);
  EXPECT_EQ(drawn, Range(10, 71));
  EXPECT_EQ(lines.HandedOverCount(), 1000u);
  EXPECT_EQ(lines.HeldVertexBytes(), 0u);
  EXPECT_TRUE(lines.PrimAt(5).Vertices.empty());
  EXPECT_THROW(lines.RunVertices(TDxPrimRun{0, 1}), EVellmarError);

  // A pan draws from the device without writing.
  EXPECT_EQ(Draw(lines, 900, 10, &drawn), 0u);
  EXPECT_EQ(drawn, Range(870, 931));
  // Segments added later are written once, at the next frame, and not kept either.
  AddRow(lines, &itemB, 1000, 5);
  EXPECT_EQ(lines.HeldVertexBytes(), 5 * kLineBytes);
  EXPECT_EQ(Draw(lines, 990, 10, &drawn), 5 * kLineBytes);
  EXPECT_EQ(drawn, Range(960, 1005));
  EXPECT_EQ(lines.HeldVertexBytes(), 0u);
  // An owner removed leaves holes in place, never drawn.
  lines.RemoveOwner(&itemB);
  EXPECT_EQ(lines.Count(), 1005u);
  EXPECT_EQ(Draw(lines, 990, 10, &drawn), 0u);
  EXPECT_EQ(drawn, Range(960, 1000));
  EXPECT_FALSE(lines.NeedsVertices(frame_.Device));
}

TEST_F(THandOverTest, ACollectionAsksToBeBuiltWhereTheDeviceCannotServeIt) {
  TDxLineCollection lines;
  TDxPrimList all;
  lines.BeginRecord();
  AddRow(lines, &itemA, 0, 100);
  lines.TakeRecorded(all);
  EXPECT_FALSE(lines.NeedsVertices(nullptr)) << "kept by the collection before any draw";
  Draw(lines, 0, 200);
  EXPECT_FALSE(lines.NeedsVertices(frame_.Device));
  EXPECT_TRUE(lines.NeedsVertices(nullptr)) << "a reader of vertices";
  {
    test::TRecordedFrame other;
    EXPECT_TRUE(lines.NeedsVertices(other.Device)) << "another device";
    EXPECT_THROW(lines.Draw(TDxDrawParams{other.Renderer.get(), TXYZ{0, 0, 0}, 200}), EVellmarError);
  }
  // A tenth deleted: only a build drops them.
  lines.MarkDeleted(TDxPrimList(all.begin(), all.begin() + 9));
  EXPECT_FALSE(lines.NeedsVertices(frame_.Device));
  lines.MarkDeleted(TDxPrimList(all.begin() + 9, all.begin() + 10));
  EXPECT_TRUE(lines.NeedsVertices(frame_.Device));
  Draw(lines, 0, 200);
  EXPECT_EQ(lines.Count(), 100u) << "not compacted: the vertices are on the device";
  // More primitives than the device's buffer has room for.
  lines.Clear();
  AddRow(lines, &itemA, 0, 100);
  Draw(lines, 0, 200);
  AddRow(lines, &itemA, 100, 64);
  EXPECT_FALSE(lines.NeedsVertices(frame_.Device)) << "within the room kept for edits";
  AddRow(lines, &itemA, 164, 100);
  EXPECT_TRUE(lines.NeedsVertices(frame_.Device));
  // Built again: kept by the collection until the next draw.
  lines.Clear();
  AddRow(lines, &itemA, 0, 100);
  EXPECT_FALSE(lines.NeedsVertices(nullptr));
  EXPECT_EQ(lines.RunVertices(TDxPrimRun{0, 1}).size(), 2u);
}

TEST_F(THandOverTest, TheDeviceGoneTheCollectionMustBeBuiltAgain) {
  TDxLineCollection lines;
  AddRow(lines, &itemA, 0, 10);
  {
    test::TRecordedFrame once;
    once.Renderer->SetKeepsVertices(true);
    lines.Draw(TDxDrawParams{once.Renderer.get(), TXYZ{0, 0, 0}, 10});
    EXPECT_FALSE(lines.NeedsVertices(once.Device));
  }
  EXPECT_TRUE(lines.NeedsVertices(frame_.Device));
  EXPECT_EQ(lines.DeviceBufferCount(), 0u);
}

// A resize resets the device to the new size between frames; its buffers stay, so the
// next frame uploads nothing. Inside a frame, or to no size, it is refused.
TEST_F(THandOverTest, AResizeKeepsTheDeviceAndUploadsNothing) {
  TDxLineCollection lines;
  AddRow(lines, &itemA, 0, 100);
  EXPECT_EQ(Draw(lines, 50, 100), 100 * kLineBytes);
  TdxRenderer& renderer = *frame_.Renderer;
  EXPECT_FALSE(renderer.Resize(300, 200)) << "inside a frame";
  renderer.EndFrame();
  EXPECT_FALSE(renderer.Resize(0, 200));
  EXPECT_EQ(renderer.Width(), 100);
  ASSERT_TRUE(renderer.Resize(300, 200));
  EXPECT_EQ(renderer.Width(), 300);
  EXPECT_EQ(renderer.Height(), 200);
  EXPECT_EQ(renderer.Viewport().Width, 300u);
  EXPECT_EQ(renderer.Viewport().Height, 200u);
  EXPECT_EQ(renderer.Device(), frame_.Device);
  renderer.BeginFrame();
  EXPECT_EQ(Draw(lines, 50, 100), 0u);
  EXPECT_FALSE(lines.NeedsVertices(frame_.Device));
  EXPECT_EQ(lines.DeviceBufferCount(), 1u);
}

}  // namespace
}  // namespace vellmar
