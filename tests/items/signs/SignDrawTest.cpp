// Road signs drawn through the headless GL device: each plate's picture stands upright
// in the post's frame at the post's top, plates mounted lower stand under it, captions
// sit on the side they are set to, and a sign the library lacks shows the missing-sign
// picture. Through the recording device: plates of equal pictures share one texture.

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SignPictures.h"
#include "document/PointStructure.h"
#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/road/RoadDrawSupport.h"
#include "items/signs/EMFTexture.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/Znak2Item.h"
#include "items/signs/ZnakItem.h"
#include "items/support/ItemStreams.h"
#include "support/GlTestSupport.h"
#include "support/RecordedFrame.h"

namespace vellmar {
namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

constexpr int32_t kZnak2Kind = 23;

// 300 picture units: 2 m at the street's sign scale 1.
constexpr int32_t kSide = 300;
constexpr double kHalf = 1.0;

testing::AssertionResult Near(uint32_t argb, uint32_t rgb) {
  return test::ColorNear(argb, rgb, 40);
}

class SignDrawTest : public ::testing::Test {
 protected:
  SignDrawTest() {
    RegisterAllItemKinds();
    Add("red-blue.emf", test::BandPicture(kSide, kSide, {kRed, kBlue}));
    Add("green.emf", test::BandPicture(kSide, kSide / 2, {kGreen}));
    Add("1-24.emf", test::BandPicture(kSide, kSide, {kGreen, kRed}));
  }

  void Add(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    library_.AddFile(dir_ / name);
  }

  // A sign with its foot at foot, bending at bend, plates mounted at top.
  TZnakItem& Sign(TStreetStructure& street, const TXYZ& foot, const TXYZ& bend, const TXYZ& top) {
    auto& sign = dynamic_cast<TZnakItem&>(*street.ItemList(TZnakItem::kKindIndex).NewItem());
    sign.UseLibraries(libraries_);
    for (const TXYZ& p : {foot, bend, top}) sign.Points().InsertNew(sign.Points().Count(), p);
    return sign;
  }

  TEmfSubItem& Plate(TZnakItem& sign, const std::string& name) {
    TEmfSubItem& plate = sign.AddPlate();
    plate.SetLibName(name);
    return plate;
  }

  test::RoadDataRoot data_;
  test::TempDir dir_;
  TNamedMetafileLib library_;
  TNameValueList translation_;
  TMetafile missing_ = test::MetafileOf(test::BandPicture(kSide, kSide, {kYellow}));
  TSignLibraries libraries_{library_, translation_, missing_};
};

TEST_F(SignDrawTest, APlatePictureStandsUprightInThePostsFrame) {
  struct TProbe {
    double X, Y;
    uint32_t Colour;
  };
  struct TCase {
    const char* What;
    TXYZ Bend;            // the top is at the origin
    TXYZ Origin;          // of the plate
    float Orientation;    // degrees
    float Scale;          // of the plate
    int32_t ZnakScale;    // the street's drawing option, percent
    bool BendOnTop = false;  // moved there after the sign is made, as a stored sign can have it
    std::vector<TProbe> Probes;
  };
  const TCase cases[] = {
      {"post along +x: red top half above, blue below",
       {-1, 0, 0}, {}, 0, 1, 0, false,
       {{0, 0.5, kRed}, {0, -0.5, kBlue}, {0.9, 0.9, kRed}, {-0.9, -0.9, kBlue}, {1.15, 0.5, kWhite},
        {0, 1.15, kWhite}}},
      {"post along +y: the picture's top points to -x",
       {0, -1, 0}, {}, 0, 1, 0, false,
       {{-0.5, 0, kRed}, {0.5, 0, kBlue}}},
      {"post along -x: the picture stands on its head",
       {1, 0, 0}, {}, 0, 1, 0, false,
       {{0, -0.5, kRed}, {0, 0.5, kBlue}}},
      {"the origin moves the plate in the post's frame (x along the post)",
       {0, -1, 0}, {2, 0, 0}, 0, 1, 0, false,
       {{-0.5, 2, kRed}, {0.5, 2, kBlue}, {-0.5, 0, kWhite}}},
      {"an orientation of 90 degrees turns the plate counter-clockwise",
       {-1, 0, 0}, {}, 90, 1, 0, false,
       {{-0.5, 0, kRed}, {0.5, 0, kBlue}}},
      {"a plate scale of 2 doubles the picture",
       {-1, 0, 0}, {}, 0, 2, 0, false,
       {{0, 1.8, kRed}, {0, -1.8, kBlue}, {1.8, 0.2, kRed}, {0, 2.2, kWhite}}},
      {"a plate scale of 0 counts as 1",
       {-1, 0, 0}, {}, 0, 0, 0, false,
       {{0, 0.5, kRed}, {0, -0.5, kBlue}, {0, 1.15, kWhite}}},
      {"the street's sign scale of 200 doubles the picture",
       {-1, 0, 0}, {}, 0, 1, 200, false,
       {{0, 1.8, kRed}, {0, -1.8, kBlue}, {0, 2.2, kWhite}}},
      // Regression: a bend on the top gave the plate's turn a zero vector and every
      // coordinate became NaN, so the plate vanished.
      {"a bend on the top leaves the plate unturned",
       {-1, 0, 0}, {}, 0, 1, 0, true,
       {{0, 0.5, kRed}, {0, -0.5, kBlue}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TStreetStructure street;
    if (c.ZnakScale != 0) street.DrawOptions().Lines() = {"ZnakScale=" + std::to_string(c.ZnakScale)};
    TZnakItem& sign = Sign(street, {c.Bend.x - 3, c.Bend.y - 3, 0}, c.Bend, {0, 0, 0});
    if (c.BendOnTop) sign.Points().SetVertex(1, {0, 0, 0});
    TEmfSubItem& plate = Plate(sign, "red-blue.emf");
    plate.SetOrigin(c.Origin);
    plate.SetOrientation(c.Orientation);
    plate.SetScale(c.Scale);
    const auto picture = test::DrawPlan(street, {0, 0, 0}, 40, TKindSet{TZnakItem::kKindIndex});
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    for (const TProbe& probe : c.Probes) {
      EXPECT_TRUE(Near(picture->At(probe.X, probe.Y), probe.Colour))
          << "at (" << probe.X << ", " << probe.Y << ")";
    }
  }
}

TEST_F(SignDrawTest, PlatesMountedLowerStandUnderTheFirstOnThePost) {
  TStreetStructure street;
  // Post from (-1, -6) up to the bend at (-1, 0) and across to the top at (0, 0).
  TZnakItem& sign = Sign(street, {-1, -6, 0}, {-1, 0, 0}, {0, 0, 0});
  Plate(sign, "red-blue.emf");
  // The green plate is 2 by 1 m, its centre 1.6 m under the top.
  Plate(sign, "green.emf").SetOrigin({0, -1.6f, 0});
  const auto picture = test::DrawPlan(street, {0, -2.5, 0}, 40, TKindSet{TZnakItem::kKindIndex}, 400, 400);
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  const struct {
    double X, Y;
    uint32_t Colour;
  } probes[] = {
      {0, 0.5, kRed}, {0, -0.5, kBlue}, {0, -1.6, kGreen}, {0.9, -1.3, kGreen}, {0, -2.3, kWhite},
      // The post: 1 pixel wide down from the bend, its footprint a 1 x 0.3 block behind
      // and below the foot.
      {-1, -4, kBlack}, {-1.5, -6.15, kBlack}, {-0.5, -6.15, kWhite},
  };
  for (const auto& p : probes) {
    EXPECT_TRUE(Near(picture->At(p.X, p.Y), p.Colour)) << "at (" << p.X << ", " << p.Y << ")";
  }
}

TEST_F(SignDrawTest, AFootSharedWithAnotherSignHasNoFootprintOfItsOwn) {
  TStreetStructure street;
  TZnakItem& first = Sign(street, {-1, -6, 0}, {-1, 0, 0}, {0, 0, 0});
  auto& second = dynamic_cast<TZnakItem&>(*street.ItemList(TZnakItem::kKindIndex).NewItem());
  second.UseLibraries(libraries_);
  second.Points().Insert(0, first.Points().VertexRecord(0));
  second.Points().InsertNew(1, {-1, -3, 0});
  second.Points().InsertNew(2, {0, -3, 0});
  const auto picture = test::DrawPlan(street, {-1, -5, 0}, 40, TKindSet{TZnakItem::kKindIndex});
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(Near(picture->At(-1.5, -6.15), kWhite));
  EXPECT_TRUE(Near(picture->At(-1, -4.5), kBlack));
}

TEST_F(SignDrawTest, CaptionsSitOnTheSideTheyAreSetTo) {
  // The caption's ink lies in a band beyond the picture's edge on its side and nowhere
  // else round the picture.
  struct TCase {
    uint8_t Side;
    double X0, Y0, X1, Y1;  // where the ink must be (world box)
  };
  const TCase cases[] = {
      {TEmfSubItem::kBelow, -1, -4, 1, -1.05},
      {TEmfSubItem::kAbove, -1, 1.05, 1, 4},
      {TEmfSubItem::kRight, 1.05, -1, 4, 1},
      {TEmfSubItem::kLeft, -4, -1, -1.05, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "side " << int{c.Side});
    TStreetStructure street;
    // The foot and bend far away, so that only the caption is ink round the picture.
    TZnakItem& sign = Sign(street, {-50, -49, 0}, {-50, 0, 0}, {0, 0, 0});
    TEmfSubItem& plate = Plate(sign, "red-blue.emf");
    plate.SetCaptionSide(c.Side);
    plate.SetText("88");
    const auto picture = test::DrawPlan(street, {0, 0, 0}, 20, TKindSet{TZnakItem::kKindIndex});
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    int inside = 0;
    int outside = 0;
    for (double x = -4.5; x <= 4.5; x += 0.05) {
      for (double y = -4.5; y <= 4.5; y += 0.05) {
        if (std::abs(x) <= 1.05 && std::abs(y) <= 1.05) continue;  // the picture
        if (x < 0 && std::abs(y) < 0.1) continue;                    // the post's top segment
        if (test::Brightness(picture->At(x, y)) > 100) continue;
        (x >= c.X0 && x <= c.X1 && y >= c.Y0 && y <= c.Y1 ? inside : outside)++;
      }
    }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
  }
}

TEST_F(SignDrawTest, AStatusLineHangsUnderTheCaptionInParentheses) {
  // The lowest ink under the picture, for a caption alone and with a status line.
  const auto lowestInk = [&](const std::string& status) {
    TStreetStructure street;
    TZnakItem& sign = Sign(street, {-50, -49, 0}, {-50, 0, 0}, {0, 0, 0});
    TEmfSubItem& plate = Plate(sign, "red-blue.emf");
    plate.SetText("88");
    plate.SetStatus(status);
    const auto picture = test::DrawPlan(street, {0, -3, 0}, 20, TKindSet{TZnakItem::kKindIndex});
    double lowest = 0;
    if (!picture) return lowest;
    for (double y = -1.1; y >= -7.5; y -= 0.05) {
      for (double x = -3; x <= 3; x += 0.05) {
        if (test::Brightness(picture->At(x, y)) < 100) lowest = y;
      }
    }
    return lowest;
  };
  const double alone = lowestInk("");
  if (alone == 0) GTEST_SKIP() << "no headless OpenGL context on this machine";
  // The status line is as high as the caption's.
  EXPECT_LT(lowestInk("new"), alone - 0.5 * (-1.1 - alone));
}

TEST_F(SignDrawTest, ASignTheLibraryLacksShowsTheMissingSignPicture) {
  TStreetStructure street;
  TZnakItem& sign = Sign(street, {-3, -3, 0}, {-1, 0, 0}, {0, 0, 0});
  TEmfSubItem& plate = Plate(sign, "7-77.emf");
  EXPECT_EQ(plate.LibIndex(), TEmfSubItem::kMissingPicture);
  const auto picture = test::DrawPlan(street, {0, 0, 0}, 40, TKindSet{TZnakItem::kKindIndex});
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(Near(picture->At(0, 0.5), kYellow));
  EXPECT_TRUE(Near(picture->At(0, -0.5), kYellow));
}

TEST_F(SignDrawTest, PlatesSmallerThanAPixelPerUnitShowAsDarkRectanglesWithoutATexture) {
  TStreetStructure street;
  // At 0.5 pixels a metre one pixel is 2 m, more than the plate's scale of 1: the
  // plate, 100 m wide at sign scale 50, is a dark rectangle and no texture is made.
  street.DrawOptions().Lines() = {"ZnakScale=5000"};
  TZnakItem& sign = Sign(street, {-3, -3, 0}, {-1, 0, 0}, {0, 0, 0});
  Plate(sign, "red-blue.emf");
  const int32_t made = EMFTextureCache().CreatedCount();
  const auto picture = test::DrawPlan(street, {0, 0, 0}, 0.5, TKindSet{TZnakItem::kKindIndex});
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  EXPECT_TRUE(Near(picture->At(20, 20), kBlack));
  EXPECT_TRUE(Near(picture->At(-20, -20), kBlack));
  EXPECT_TRUE(Near(picture->At(60, 0), kWhite));
  EXPECT_EQ(EMFTextureCache().CreatedCount(), made);
}

TEST_F(SignDrawTest, TheSecondSignKindStandsItsPictureAtItsFirstPointTowardsItsSecond) {
  struct TCase {
    const char* What;
    std::vector<TXYZ> Points;
    double GreenX, GreenY, RedX, RedY;  // the picture's top and bottom halves
    bool PointOnPoint = false;          // point 1 moved onto point 0 after loading
  };
  const TCase cases[] = {
      {"turned towards point 1, straight up: the top points to -x", {{0, 0, 0}, {0, 3, 0}}, -0.5, 0.3, 0.5, 0.3},
      {"one point: upright", {{0, 0, 0}}, 0.3, 0.5, 0.3, -0.5},
      // Regression: a zero direction gave the turn NaN and the picture vanished.
      {"point 1 moved onto point 0: upright", {{0, 0, 0}, {0, 3, 0}}, 0.3, 0.5, 0.3, -0.5, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TStreetStructure street;
    TMemoryStream bytes;
    test::WriteItemHead(bytes, "ROADSGN2", 1, test::NewPoints(street, c.Points));
    bytes.Seek(0, TSeekOrigin::Begin);
    auto& sign = dynamic_cast<TZnak2Item&>(*street.ItemList(kZnak2Kind).NewItem());
    sign.UseLibraries(libraries_);
    sign.LoadFromStream(bytes);
    ASSERT_NE(sign.Picture(), nullptr);
    if (c.PointOnPoint) sign.Points().SetVertex(1, c.Points[0]);
    const auto picture = test::DrawPlan(street, {0, 0, 0}, 40, TKindSet{kZnak2Kind});
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    EXPECT_TRUE(Near(picture->At(c.GreenX, c.GreenY), kGreen));
    EXPECT_TRUE(Near(picture->At(c.RedX, c.RedY), kRed));
  }
}

TEST_F(SignDrawTest, TheSecondSignKindDrawsTheLineOfItsPointsInBlack) {
  TStreetStructure street;
  TMemoryStream bytes;
  test::WriteItemHead(bytes, "ROADSGN2", 1, test::NewPoints(street, {{0, 0, 0}, {0, 3, 0}}));
  bytes.Seek(0, TSeekOrigin::Begin);
  auto& sign = dynamic_cast<TZnak2Item&>(*street.ItemList(kZnak2Kind).NewItem());
  sign.UseLibraries(libraries_);
  sign.LoadFromStream(bytes);
  const auto picture = test::DrawPlan(street, {0, 0, 0}, 40, TKindSet{kZnak2Kind});
  if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
  // Beyond the picture.
  EXPECT_TRUE(Near(picture->At(0, 2), kBlack));
}

// Frames through the recording device.
class SignFrameTest : public SignDrawTest {
 protected:
  SignFrameTest() {
    frame_.Device->SetRecordVertices(true);
    frame_.Renderer->World().Scale(true, 0.02, 0.02, 1);
    params_.Renderer = frame_.Renderer.get();
    params_.Radius = 1000;
  }

  struct TFrame {
    int PlateDraws = 0;
    int SecondKindPictures = 0;
    std::set<const IGpuTexture*> PlateTextures;
    int UntexturedPlates = 0;
    int TexturesCreated = 0;
    bool UnboundAfterEachPlate = true;
  };

  // A plate is the one draw of six vertices with the picture's corners in UV; the
  // second kind's picture the same as a fan of four.
  static bool IsPicture(const TGpuCall& call, size_t count) {
    const std::vector<TDxVertex>& v = call.Vertices;
    return v.size() == count && v[0].U == 0 && v[0].V == 0 && v[1].U == 1 && v[1].V == 0 && v[2].U == 1 &&
           v[2].V == 1;
  }
  static bool IsPlate(const TGpuCall& call) { return IsPicture(call, 6); }

  TFrame Frame() {
    frame_.Device->ClearCalls();
    street_.Draw(params_, TKindSet{TZnakItem::kKindIndex, kZnak2Kind}, 1u << 0);
    TFrame frame;
    const IGpuTexture* bound = nullptr;
    bool awaitingUnbind = false;
    for (const TGpuCall& call : frame_.Device->Calls()) {
      if (call.Text.starts_with("CreateTexture")) ++frame.TexturesCreated;
      if (call.Text.starts_with("SetTexture(")) {
        bound = call.Texture;
        if (bound == nullptr) awaitingUnbind = false;
      }
      if (IsPicture(call, 4)) ++frame.SecondKindPictures;
      if (!IsPlate(call)) continue;
      if (awaitingUnbind) frame.UnboundAfterEachPlate = false;
      awaitingUnbind = true;
      ++frame.PlateDraws;
      if (bound != nullptr) {
        frame.PlateTextures.insert(bound);
      } else {
        ++frame.UntexturedPlates;
      }
    }
    if (awaitingUnbind) frame.UnboundAfterEachPlate = false;
    return frame;
  }

  TStreetStructure street_;
  test::TRecordedFrame frame_{200, 200};
  TDxDrawParams params_;
};

TEST_F(SignFrameTest, PlatesOfEqualPicturesShareOneTexture) {
  // Twelve signs of two pictures new to the cache.
  Add("a.emf", test::BandPicture(311, 300, {kRed}));
  Add("b.emf", test::BandPicture(312, 300, {kBlue}));
  for (int i = 0; i < 12; ++i) {
    const auto x = static_cast<float>(10 * i);
    Plate(Sign(street_, {x, -5, 0}, {x - 1, 0, 0}, {x, 0, 0}), i % 2 == 0 ? "a.emf" : "b.emf");
  }
  const int32_t made = EMFTextureCache().CreatedCount();
  const TFrame first = Frame();
  EXPECT_EQ(EMFTextureCache().CreatedCount(), made + 2);
  EXPECT_EQ(first.PlateDraws, 12);
  EXPECT_EQ(first.PlateTextures.size(), 2u);
  EXPECT_EQ(first.UntexturedPlates, 0);
  EXPECT_TRUE(first.UnboundAfterEachPlate);
  // The next frame makes nothing, on the device or in the cache.
  const TFrame second = Frame();
  EXPECT_EQ(second.TexturesCreated, 0);
  EXPECT_EQ(second.PlateTextures, first.PlateTextures);
  EXPECT_EQ(EMFTextureCache().CreatedCount(), made + 2);
}

TEST_F(SignFrameTest, AChangedPlateIsDrawnAnewAtTheNextFrame) {
  TZnakItem& sign = Sign(street_, {0, -5, 0}, {-1, 0, 0}, {0, 0, 0});
  Plate(sign, "red-blue.emf");
  Plate(sign, "green.emf").SetOrigin({0, -2, 0});
  EXPECT_EQ(Frame().PlateDraws, 2);
  sign.DeletePlate(0);
  EXPECT_EQ(Frame().PlateDraws, 1);
  // A plate without a picture draws nothing.
  sign.AddPlate();
  EXPECT_EQ(Frame().PlateDraws, 1);
}

// Plates were culled with their post, drawn only while its foot or its top was in view:
// a plate mounted low vanished on zooming in on it, and the second kind's picture while
// its point was outside the view. Each picture is culled by its own circle.
TEST_F(SignFrameTest, EveryPictureIsCulledByItsOwnCircle) {
  // A 2 m plate 6 m under the top of a post along +x: centred on (0, -6).
  Plate(Sign(street_, {-3, -3, 0}, {-1, 0, 0}, {0, 0, 0}), "red-blue.emf").SetOrigin({0, -6, 0});
  // The second kind's 2 m picture centred on its point (20, 0).
  TMemoryStream bytes;
  test::WriteItemHead(bytes, "ROADSGN2", 1, test::NewPoints(street_, {{20, 0, 0}}));
  bytes.Seek(0, TSeekOrigin::Begin);
  auto& second = dynamic_cast<TZnak2Item&>(*street_.ItemList(kZnak2Kind).NewItem());
  second.UseLibraries(libraries_);
  second.LoadFromStream(bytes);
  struct TCase {
    const char* What;
    TXYZ Centre;
    float Radius;
    int Plates, SecondKindPictures;
  };
  const TCase cases[] = {
      {"the plate in view, neither foot nor top", {0, -6, 0}, 2, 1, 0},
      {"just off the plate's corner", {1.1f, -7.1f, 0}, 0.2f, 1, 0},
      {"the post's top in view, the plate not", {0, 0.5f, 0}, 2, 0, 0},
      {"the second kind's picture's edge, not its point", {21.5f, 0, 0}, 0.8f, 0, 1},
      {"beside the second kind's picture", {23.5f, 0, 0}, 0.8f, 0, 0},
  };
  for (const TCase& c : cases) {
    params_.Centre = c.Centre;
    params_.Radius = c.Radius;
    const TFrame frame = Frame();
    EXPECT_EQ(frame.PlateDraws, c.Plates) << c.What;
    EXPECT_EQ(frame.SecondKindPictures, c.SecondKindPictures) << c.What;
  }
}

}  // namespace
}  // namespace vellmar
