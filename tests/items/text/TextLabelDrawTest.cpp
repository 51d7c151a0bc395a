// Text labels drawn: the text box for every anchor, the turn by the second point, the
// rectangle that stands in for text too small to read, outline against fill, and the
// cull - checked on recorded calls and on pixels from the headless GL device.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/text/TextLabelItem.h"
#include "render/FontsData.h"
#include "render/OffscreenFrame.h"
#include "render/TextDrawing.h"
#include "support/GlTestSupport.h"
#include "support/PixelInk.h"
#include "support/RecordedFrame.h"

namespace vellmar {
namespace {

using test::Ink;
using test::InkBox;
using test::TInkBox;

constexpr int32_t kTextLabel = 21;
constexpr uint32_t kSide = 200;
constexpr uint32_t kBlack = MakeColor(0, 0, 0, 255);

class TextLabelDraw : public ::testing::Test {
 protected:
  TextLabelDraw() {
    RegisterAllItemKinds();
    street_ = std::make_unique<TStreetStructure>();
  }

  TTextLabelItem& Label(const std::string& text, std::initializer_list<TXYZ> points, int32_t size = 100,
                        uint8_t align = kAlignBaselineLeft) {
    auto& label = dynamic_cast<TTextLabelItem&>(*street_->ItemList(kTextLabel).NewItem());
    for (const TXYZ& p : points) label.Points().InsertNew(label.Points().Count(), p);
    label.SetText(text);
    label.SetSize(size);
    label.SetAlign(align);
    label.SetColor(kBlack);
    return label;
  }

  std::unique_ptr<TStreetStructure> street_;
};

// World units are scaled by PixelsPerUnit about the panel centre, which shows Centre.
void SetView(TdxRenderer& renderer, double pixelsPerUnit, const TXYZ& centre, uint32_t side) {
  renderer.World().Translate(true, -centre.x, -centre.y, 0);
  renderer.World().Scale(true, 2 * pixelsPerUnit / side, 2 * pixelsPerUnit / side, 1);
}

// The pixels-per-unit at which one screen pixel spans Ratio font pixels of the label.
double ScaleForRatio(TdxRenderer& renderer, const TTextLabelItem& label, double ratio) {
  renderer.World().PushMatrix();
  SetView(renderer, 1, {}, static_cast<uint32_t>(renderer.Width()));
  const double pixelAtOne = renderer.PixelSize();
  renderer.World().PopMatrix();
  return pixelAtOne / (ratio * label.FontScale());
}

std::optional<TOffscreenFrame> Render(double pixelsPerUnit, const TXYZ& centre, TTextLabelItem& label) {
  std::string why;
  if (!test::TryHeadlessContext(1, 1, why)) return std::nullopt;
  return RenderOffscreenFrame(kSide, kSide, [&](TdxRenderer& renderer) {
    SetView(renderer, pixelsPerUnit, centre, kSide);
    label.DrawImmediate({&renderer, centre, static_cast<float>(kSide / pixelsPerUnit)}, 1);
  });
}

// Size 25: 0.016 world units a font pixel, the box 1.5625 units high.
TEST_F(TextLabelDraw, TheTextBoxSitsOnTheAnchorAsTheAlignmentSays) {
  TTextLabelItem& label = Label("HH", {{0, 0, 0}}, 25);
  const double e = StringWidth(GetFont("Arial", 0), "HH") * 0.016;
  const double h = 1.5625;
  const double left[3] = {0, -e / 2, -e};
  const double bottom[3] = {-h, -h / 2, 0};
  for (uint8_t align = 0; align < 9; ++align) {
    label.SetAlign(align);
    const TTextLabelItem::TTextBox box = label.TextBox();
    EXPECT_NEAR(box.X0, left[align % 3], 1e-9) << int{align};
    EXPECT_NEAR(box.X1, left[align % 3] + e, 1e-9) << int{align};
    EXPECT_NEAR(box.Y0, bottom[align / 3], 1e-9) << int{align};
    EXPECT_NEAR(box.Y1, bottom[align / 3] + h, 1e-9) << int{align};
  }
}

// One point: the text runs to the right of the anchor. A second point straight above
// the first turns it a quarter: it runs up the screen, its letters standing to the left.
TEST_F(TextLabelDraw, TheSecondPointTurnsTheLabel) {
  TTextLabelItem& flat = Label("HHHH", {{0, 0, 0}});
  // The first stem's foot: the H's left bearing past the anchor.
  const double bearing = GetFont("Arial", 0).Char('H').BoxLeft * flat.FontScale() * 6;
  const std::optional<TOffscreenFrame> across = Render(6, {12, 0, 0}, flat);
  if (!across) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const TInkBox a = InkBox(*across);
  EXPECT_GT(a.Width(), 3 * a.Height());
  EXPECT_NEAR(a.Bottom + 1, 100, 1.5);  // the baseline through the anchor
  EXPECT_NEAR(a.Left, 100 - 12 * 6 + bearing, 1.5);

  TTextLabelItem& turned = Label("HHHH", {{0, 0, 0}, {0, 10, 0}});
  const std::optional<TOffscreenFrame> up = Render(6, {0, 12, 0}, turned);
  const TInkBox u = InkBox(*up);
  EXPECT_GT(u.Height(), 3 * u.Width());
  EXPECT_NEAR(u.Right + 1, 100, 1.5);  // the baseline runs up through the anchor
  EXPECT_NEAR(u.Bottom + 1, 100 + 12 * 6 - bearing, 1.5);
  EXPECT_LT(u.Left, 100 - 20);
}

// A screen pixel spanning 25 font pixels: the text box as a closed rectangle (its top
// edge one unbroken line, its inside empty). Zoomed in, letters: the box's top-left
// corner stays white above the capitals and the gaps between letters break the line.
TEST_F(TextLabelDraw, ZoomedOutARectangleZoomedInTheGlyphs) {
  TTextLabelItem& label = Label(std::string(20, 'H'), {{0, 0, 0}}, 1000);
  std::string why;
  if (!test::TryHeadlessContext(1, 1, why)) GTEST_SKIP() << "no headless OpenGL context on this machine";
  double far = 0;
  {
    test::TRecordedFrame probe(kSide, kSide);
    far = ScaleForRatio(*probe.Renderer, label, 25);
  }
  const TTextLabelItem::TTextBox box = label.TextBox();
  const TXYZ centre{static_cast<float>(box.X1 / 2), static_cast<float>(box.Y1 / 2), 0};
  const std::optional<TOffscreenFrame> out = Render(far, centre, label);
  const TInkBox rect = InkBox(*out);
  EXPECT_NEAR(rect.Width(), box.X1 * far, 2);
  EXPECT_GE(rect.Height(), 4);
  for (int x = rect.Left; x <= rect.Right; ++x) EXPECT_TRUE(Ink(out->At(x, rect.Top))) << x;
  for (int x = rect.Left + 2; x <= rect.Right - 2; ++x) EXPECT_FALSE(Ink(out->At(x, (rect.Top + rect.Bottom) / 2))) << x;

  const double nearScale = ScaleForRatio(*test::TRecordedFrame(kSide, kSide).Renderer, label, 1);
  const TXYZ corner{static_cast<float>(box.X0 + 30 * label.FontScale()), static_cast<float>(box.Y1 - 30 * label.FontScale()), 0};
  const std::optional<TOffscreenFrame> in = Render(nearScale, corner, label);
  // The box's top-left corner is 30 font pixels up and left of the centre.
  EXPECT_FALSE(Ink(in->At(100 - 29, 100 - 29)));
  const TInkBox glyphs = InkBox(*in);
  EXPECT_GT(glyphs.Top, 100 - 30 + 3);  // capitals stop below the box's top
}

// The switch from glyphs to the rectangle happens at 20 font pixels a screen pixel;
// filled labels draw triangles, outlined ones line segments.
TEST_F(TextLabelDraw, DrawsGlyphsBelowTwentyFontPixelsAPixelAndOutlinesOnRequest) {
  TTextLabelItem& label = Label("Ab", {{0, 0, 0}});
  struct TCase {
    double Ratio;
    bool Outline;
    const char* Primitive;  // the first draw call's type and count prefix
  };
  const TCase cases[] = {{19.9, false, "DrawPrimitiveUP(4, "},
                         {19.9, true, "DrawPrimitiveUP(2, "},
                         {20.1, false, "DrawPrimitiveUP(3, 4, 24)"},
                         {20.1, true, "DrawPrimitiveUP(3, 4, 24)"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Ratio) + (c.Outline ? " outline" : " fill"));
    test::TRecordedFrame frame(kSide, kSide);
    SetView(*frame.Renderer, ScaleForRatio(*frame.Renderer, label, c.Ratio), {}, kSide);
    label.SetOutline(c.Outline);
    frame.Device->ClearCalls();
    label.DrawImmediate({frame.Renderer.get(), {}, 1000}, 1);
    const std::vector<const TGpuCall*> draws = frame.Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_TRUE(draws[0]->Text.starts_with(c.Primitive)) << draws[0]->Text;
  }
}

// A label is culled only when no part of its box can reach the view: a tall one-letter
// label hanging down into the view from above is drawn (its width alone would not
// reach), one further away is not.
TEST_F(TextLabelDraw, LabelsReachingIntoTheViewAreDrawn) {
  const float radius = 10;
  TTextLabelItem& hanging = Label("i", {{0, radius + 6, 0}}, 160, kAlignTopLeft);  // 10 units tall
  ASSERT_LT(hanging.TextBox().X1, 6);
  TTextLabelItem& away = Label("i", {{0, radius + 12, 0}}, 160, kAlignTopLeft);
  test::TRecordedFrame frame(kSide, kSide);
  SetView(*frame.Renderer, 10, {}, kSide);
  hanging.DrawImmediate({frame.Renderer.get(), {}, radius}, 1);
  EXPECT_EQ(frame.Draws().size(), 1u);
  frame.Device->ClearCalls();
  away.DrawImmediate({frame.Renderer.get(), {}, radius}, 1);
  EXPECT_TRUE(frame.Draws().empty());
}

// Fields as a damaged or foreign file may hold them: anchor codes past 8 anchor on the
// baseline in their column, every byte of the code page draws, an empty text or a size
// of 0 draws nothing readable, and nothing raises.
TEST_F(TextLabelDraw, OddFieldsDrawWithoutFault) {
  std::string every;
  for (int code = 1; code < 256; ++code) every += static_cast<char>(code);
  struct TCase {
    std::string Text;
    int32_t Size;
    uint8_t Align;
    size_t GlyphDraws;  // triangle-list calls expected
  };
  const TCase cases[] = {{"HH", 100, 9, 1}, {"HH", 100, 200, 1}, {"HH", 100, 255, 1},
                         {every, 100, 4, 1}, {"", 100, 4, 0},     {"HH", 0, 6, 0}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Text.size()) + " bytes, size " + std::to_string(c.Size) + ", align " +
                 std::to_string(c.Align));
    TTextLabelItem& label = Label(c.Text, {{0, 0, 0}}, c.Size, c.Align);
    const TTextLabelItem::TTextBox box = label.TextBox();
    if (c.Align > 8) {
      EXPECT_EQ(box.Y0, 0.0);
      EXPECT_NEAR(box.X1, (1 - c.Align % 3 / 2.0) * (box.X1 - box.X0), 1e-9);
    }
    test::TRecordedFrame frame(kSide, kSide);
    SetView(*frame.Renderer, 10, {}, kSide);
    EXPECT_NO_THROW(label.DrawImmediate({frame.Renderer.get(), {}, 1000}, 1));
    size_t glyphDraws = 0;
    for (const TGpuCall* draw : frame.Draws()) glyphDraws += draw->Text.starts_with("DrawPrimitiveUP(4, ");
    EXPECT_EQ(glyphDraws, c.GlyphDraws);
  }
}

}  // namespace
}  // namespace vellmar
