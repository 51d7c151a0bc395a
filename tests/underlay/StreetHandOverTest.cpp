// A street drawn by a renderer whose device keeps the vertices (the viewer's, a tool's
// one picture) holds no vertices of its own afterwards; everything else that reads the
// street still gets what it got before: another device draws the same vertices (the kinds
// are built again for it), picking and snapping find a marking by its geometry, and a
// printed page has the same pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "document/ViewPrint.h"
#include "document/ViewState.h"
#include "items/ItemPicker.h"
#include "items/ItemSnapper.h"
#include "kinds/AllKinds.h"
#include "support/PdfRaster.h"
#include "support/Prerequisite.h"
#include "support/RecordedFrame.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

constexpr int32_t kLineMarking = 10;

std::filesystem::path DemoStreet() {
  return test::SourceDir() / "examples/demo.pln";
}

using TDrawnVertex = std::tuple<float, float, float, uint32_t, float, float>;

// Every vertex the frame drew, in a fixed order: the order of draw calls may differ
// between a street drawn from its own vertices and one built again.
std::vector<TDrawnVertex> DrawnVertices(const test::TRecordedFrame& frame) {
  std::vector<TDrawnVertex> drawn;
  for (const TGpuCall* call : frame.Draws())
    for (const TDxVertex& v : call->Vertices) drawn.emplace_back(v.X, v.Y, v.Z, v.Color, v.U, v.V);
  std::sort(drawn.begin(), drawn.end());
  return drawn;
}

// The whole street in a frame of the recording device.
std::vector<TDrawnVertex> Frame(TStreetStructure& street, bool keepsVertices) {
  test::TRecordedFrame frame(1024, 768);
  frame.Device->SetRecordVertices(true);
  frame.Renderer->SetKeepsVertices(keepsVertices);
  const TViewState view = FitStreetView(street);
  SetupViewMatrices(*frame.Renderer, view);
  street.Draw(ViewDrawParams(*frame.Renderer, view), TKindRegistry::AllKinds(), 1u);
  return DrawnVertices(frame);
}

size_t HeldVertexBytes(TStreetStructure& street) {
  size_t bytes = 0;
  for (int32_t kind = 0; kind < kKindCount; ++kind)
    for (const TKindCollection& collection : street.KindCollections(kind)) bytes += collection->HeldVertexBytes();
  return bytes;
}

// Before the streets are made: a street makes its libraries from the classes known then.
struct TRegistered {
  TRegistered() { RegisterAllKinds(); }
};

class StreetHandOverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reference_.LoadFromFile(DemoStreet());
    street_.LoadFromFile(DemoStreet());
  }
  // The demo street once drawn by a device that keeps its vertices: its collections
  // keep none.
  void HandOver() {
    kept_ = Frame(street_, true);
    ASSERT_FALSE(kept_.empty());
    ASSERT_EQ(HeldVertexBytes(street_), 0u);
  }

  TRegistered registered_;
  TStreetStructure reference_;
  TStreetStructure street_;
  std::vector<TDrawnVertex> kept_;
};

TEST_F(StreetHandOverTest, AnotherDeviceDrawsWhatAStreetNeverHandedOverDraws) {
  HandOver();
  const std::vector<TDrawnVertex> expected = Frame(reference_, false);
  EXPECT_EQ(kept_, expected) << "the frame that handed the vertices over";
  EXPECT_EQ(Frame(street_, false), expected) << "another device, after the kinds are built again";
  EXPECT_GT(HeldVertexBytes(street_), 0u);
  EXPECT_EQ(Frame(street_, true), expected) << "handed over once more";
}

TEST_F(StreetHandOverTest, PickingAndSnappingFindAMarkingFromItsGeometry) {
  HandOver();
  const TItemList& markings = street_.ItemList(kLineMarking);
  ASSERT_GT(markings.Count(), 0);
  TKindSet only;
  only.Include(kLineMarking);
  for (int32_t i = 0; i < markings.Count(); ++i) {
    TAbstractItem& marking = *markings.Items(i);
    if (!marking.Active() || marking.Points().Count() < 2) continue;
    const TXYZ on = marking.Points().GetVertex(0);
    EXPECT_NE(PickItem(street_, only, on, 0.5), nullptr) << "marking " << i;
    EXPECT_NE(TItemPicker(street_).Pick(only, on, 0.5), nullptr) << "marking " << i;
    const std::optional<TSnap> snap = TItemSnapper(street_).Snap(only, on, 0.5);
    ASSERT_TRUE(snap.has_value()) << "marking " << i;
    EXPECT_NE(snap->Item, nullptr);
  }
  EXPECT_EQ(HeldVertexBytes(street_), 0u) << "found without building anything again";
}

TEST_F(StreetHandOverTest, APrintedPageHasThePixelsOfAStreetNeverHandedOver) {
  if (const std::string missing = test::PdfToolsMissing(); !missing.empty()) VELLMAR_SKIP_OR_FAIL(missing);
  HandOver();
  test::TempDir dir;
  TViewPrint print;
  print.Paper.Dpi = 100;
  print.Kinds = TKindRegistry::AllKinds();
  print.ScaleDenominator = 500;
  const auto page = [&](TStreetStructure& street, const char* name) {
    const std::filesystem::path pdf = dir / name;
    PrintViewToPdf(street, FitStreetView(street), print, pdf);
    return test::RasterisePdf(pdf, 50);
  };
  const std::optional<TOffscreenFrame> expected = page(reference_, "reference.pdf");
  const std::optional<TOffscreenFrame> printed = page(street_, "handed-over.pdf");
  ASSERT_TRUE(expected && printed);
  ASSERT_EQ(printed->Width, expected->Width);
  ASSERT_EQ(printed->Height, expected->Height);
  EXPECT_TRUE(printed->Pixels == expected->Pixels);
  EXPECT_TRUE(std::any_of(expected->Pixels.begin(), expected->Pixels.end(),
                          [](uint32_t p) { return (p & 0xFFFFFFu) != 0xFFFFFFu; }))
      << "the page shows the street";
}

}  // namespace
}  // namespace vellmar
