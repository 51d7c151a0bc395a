// What the collections write into the devices' vertex buffers, counted through the
// recording device: nothing for a frame that draws what the last one drew, only the
// primitives that came into view after a pan, and draws that always read the
// collection's present vertices, whatever was added, deleted or compacted between frames.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "render/DxLineCollection.h"
#include "render/DxTriangleCollection.h"
#include "support/RecordedFrame.h"

namespace vellmar {

class TAbstractItem {};

namespace {

TAbstractItem itemA;
TAbstractItem itemB;

constexpr size_t kLineBytes = 2 * sizeof(TDxVertex);

// Unit segments at x = 0, 1, ..., count - 1, each a primitive of its own.
void AddRow(TDxLineCollection& lines, const TAbstractItem* owner, int count, float y = 0.0f) {
  for (int i = 0; i < count; ++i) {
    const std::vector<TXYZ> ends{TXYZ{static_cast<float>(i), y, 0}, TXYZ{static_cast<float>(i), y + 1, 0}};
    lines.AddSegments(owner, ends);
  }
}

class TUploadTest : public testing::Test {
 protected:
  // Bytes the draw of the collection at the view wrote into vertex buffers.
  uint64_t UploadedBy(TDxPrimCollection& c, float x, float radius) {
    const uint64_t before = frame_.Device->UploadedVertexBytes();
    c.Draw(TDxDrawParams{frame_.Renderer.get(), TXYZ{x, 0, 0}, radius});
    return frame_.Device->UploadedVertexBytes() - before;
  }
  // The x of every vertex the draws recorded so far read from the buffers, as a set of
  // first-vertex positions; the recorded calls are dropped.
  std::multiset<float> DrawnXs() {
    std::multiset<float> xs;
    for (const TGpuCall* draw : frame_.Draws()) {
      for (size_t k = 0; k < draw->Vertices.size(); k += 2) xs.insert(draw->Vertices[k].X);
    }
    frame_.Device->ClearCalls();
    return xs;
  }

  test::TRecordedFrame frame_;
};

TEST_F(TUploadTest, FramesWriteOnlyPrimitivesNotWrittenBefore) {
  TDxLineCollection lines;
  AddRow(lines, &itemA, 1000);
  // A view at x with radius 10 shows the segments less than 30.5 away (the cull margin
  // is 20), once it has moved far enough from the last view to cull afresh.
  struct TStep {
    const char* What;
    float X;
    float Radius;
    uint64_t Lines;  // segments written by the frame
  };
  const TStep steps[] = {
      {"first frame: every visible segment", 40, 10, 61},  // x 10 ... 70
      {"the same view again", 40, 10, 0},
      {"a small move keeps the visible set", 45, 10, 0},
      {"a pan writes only those that came into view", 0, 10, 10},  // x 0 ... 30; 0 ... 9 new
      {"back where all were written", 40, 10, 0},
      {"zoomed out over everything", 500, 1000, 1000 - 71},
      {"zoomed in again", 0, 10, 0},
  };
  for (const TStep& step : steps) EXPECT_EQ(UploadedBy(lines, step.X, step.Radius), step.Lines * kLineBytes) << step.What;
  EXPECT_EQ(lines.DeviceBufferCount(), 1u);
}

TEST_F(TUploadTest, ModeFilterAndDeletionsWriteOnlyWhatTheyBringIntoView) {
  TDxLineCollection lines;
  AddRow(lines, &itemA, 10);
  lines.SetModeSet(1u << 2);
  AddRow(lines, &itemA, 10);  // the same places, drawn only with mode 2
  lines.SetModeSet(0);
  EXPECT_EQ(UploadedBy(lines, 0, 10), 10 * kLineBytes);
  lines.SetModeSet(1u << 2);
  EXPECT_EQ(UploadedBy(lines, 0, 10), 10 * kLineBytes);
  lines.SetModeSet(0);
  EXPECT_EQ(UploadedBy(lines, 0, 10), 0u);

  // Below the compaction share, deleting leaves the written primitives where they are.
  TDxPrimList all;
  lines.BeginRecord();
  AddRow(lines, &itemB, 100, 5);
  lines.TakeRecorded(all);
  EXPECT_EQ(UploadedBy(lines, 0, 10), 30 * kLineBytes);
  lines.MarkDeleted(TDxPrimList(all.begin(), all.begin() + 2));
  EXPECT_EQ(UploadedBy(lines, 0, 10), 0u);
}

TEST_F(TUploadTest, AnItemChangeWritesOnlyItsOwnCollection) {
  TDxLineCollection curbs;
  TDxLineCollection lanes;
  AddRow(curbs, &itemA, 20);
  AddRow(curbs, &itemB, 20, 3);
  AddRow(lanes, &itemA, 20);
  UploadedBy(curbs, 0, 10);
  UploadedBy(lanes, 0, 10);
  // itemB rebuilt: its primitives go and come back at the end of the arena.
  curbs.RemoveOwner(&itemB);
  AddRow(curbs, &itemB, 20, 4);
  EXPECT_EQ(UploadedBy(lanes, 0, 10), 0u);
  // Removing moved nothing before itemB's old place: only its new primitives are written.
  EXPECT_EQ(UploadedBy(curbs, 0, 10), 20 * kLineBytes);
  // Removing the first item moves everything after it.
  curbs.RemoveOwner(&itemA);
  EXPECT_EQ(UploadedBy(curbs, 0, 10), 20 * kLineBytes);
  EXPECT_EQ(UploadedBy(curbs, 0, 10), 0u);
}

TEST_F(TUploadTest, DrawsReadThePresentVerticesAfterAnyChange) {
  // Random edits between frames at random views: every frame must draw exactly the
  // live, visible primitives, read back from the buffer the device holds.
  std::mt19937 rng(11);
  TDxLineCollection lines;
  std::vector<TAbstractItem> owners(8);
  TDxPrimList added;
  const auto add = [&](size_t count) {
    const TAbstractItem* owner = &owners[rng() % owners.size()];
    TDxPrimList recorded;
    lines.BeginRecord();
    for (size_t i = 0; i < count; ++i) {
      // Places along x in the order of adding, as an item's pieces lie, so that views
      // show long runs; distinct, so the drawn set says which ones were drawn.
      const size_t n = added.size() + i;
      const float x = static_cast<float>(n % 400) + static_cast<float>(n) * 1e-4f;
      lines.AddSegments(owner, std::vector<TXYZ>{TXYZ{x, 0, 0}, TXYZ{x, 1, 0}});
    }
    lines.TakeRecorded(recorded);
    added.insert(added.end(), recorded.begin(), recorded.end());
  };
  add(300);
  for (int frame = 0; frame < 60; ++frame) {
    switch (rng() % 4) {
      case 0:
        add(rng() % 40);
        break;
      case 1:
        lines.RemoveOwner(&owners[rng() % owners.size()]);
        break;
      case 2: {
        // Sometimes a few (kept until a later compaction), sometimes enough to compact.
        TDxPrimList some;
        const size_t share = 3 + rng() % 20;
        for (const TDxPrimRef ref : added)
          if (rng() % share == 0) some.push_back(ref);
        lines.MarkDeleted(some);
        break;
      }
      default:
        break;
    }
    const float x = static_cast<float>(rng() % 400);
    const float radius = static_cast<float>(5 + rng() % 60);
    lines.Draw(TDxDrawParams{frame_.Renderer.get(), TXYZ{x, 0, 0}, radius});
    const TDxPrimCollection::TGathered g = lines.Gather(TXYZ{x, 0, 0}, radius);
    std::multiset<float> expected;
    for (const TDxPrimRun& run : g.Runs) {
      const std::span<const TDxVertex> v = lines.RunVertices(run);
      for (size_t k = 0; k < v.size(); k += 2) expected.insert(v[k].X);
    }
    ASSERT_EQ(DrawnXs(), expected) << "frame " << frame;
  }
  EXPECT_EQ(lines.DeviceBufferCount(), 1u) << "drawn from the device's buffer";
}

TEST_F(TUploadTest, ScatteredPiecesAreCopiedIntoFewDrawsAndLongRunsDrawnFromTheBuffer) {
  TDxLineCollection lines;
  TDxPrimList all;
  lines.BeginRecord();
  AddRow(lines, &itemA, 2000);
  lines.TakeRecorded(all);
  TDxPrimList every20th;
  for (size_t i = 0; i < all.size(); i += 20) every20th.push_back(all[i]);
  lines.MarkDeleted(every20th);  // a twentieth: kept until a later compaction
  const auto draw = [&] { lines.Draw(TDxDrawParams{frame_.Renderer.get(), TXYZ{1000, 0, 0}, 2000}); };
  draw();
  std::vector<std::string> texts;
  for (const TGpuCall* call : frame_.Draws()) texts.push_back(call->Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"DrawPrimitiveUP(2, 1500, 24)", "DrawPrimitiveUP(2, 400, 24)"}));
  std::multiset<float> expected;
  for (size_t i = 0; i < 2000; ++i)
    if (i % 20 != 0) expected.insert(static_cast<float>(i));
  EXPECT_EQ(DrawnXs(), expected);

  // A tenth flagged: compacted, the rest are one run again.
  lines.MarkDeleted(TDxPrimList(all.begin() + 1, all.begin() + 120));
  draw();
  texts.clear();
  for (const TGpuCall* call : frame_.Draws()) texts.push_back(call->Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"DrawPrimitive(2, 0, 1500)", "DrawPrimitive(2, 3000, 286)"}));
}

TEST_F(TUploadTest, EachDeviceHoldsItsOwnBufferUntilItsRendererGoes) {
  TDxLineCollection lines;
  AddRow(lines, &itemA, 10);
  UploadedBy(lines, 0, 10);
  {
    test::TRecordedFrame other;
    lines.Draw(TDxDrawParams{other.Renderer.get(), TXYZ{0, 0, 0}, 10});
    EXPECT_EQ(other.Device->UploadedVertexBytes(), 10 * kLineBytes);
    EXPECT_EQ(lines.DeviceBufferCount(), 2u);
  }
  EXPECT_EQ(lines.DeviceBufferCount(), 1u);
  EXPECT_EQ(UploadedBy(lines, 0, 10), 0u);
}

}  // namespace
}  // namespace vellmar
