// Every kind that lays a picture on the plan shows it as its file shows it: an "F", drawn
// through each kind unturned, must come out upright and unmirrored. Pictures were laid
// upside down by several kinds (traffic lights, manholes, grates) and mirrored across the
// band by the tram line, since texture row 0 is the picture's top while their quads put
// v = 0 at the bottom.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <functional>
#include <string>
#include <vector>

#include "document/StreetStructure.h"
#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "items/ItemKinds.h"
#include "items/design/DesignBlockItem.h"
#include "items/design/DesignFigureItem.h"
#include "items/road/PictureItem.h"
#include "items/road/RoadDrawSupport.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/SvetoforPictureLib.h"
#include "items/signs/Znak2Item.h"
#include "items/signs/ZnakItem.h"
#include "items/signs/SignPictures.h"
#include "items/support/ItemStreams.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/MetafileWriter.h"
#include "platform/text/Cp1251.h"
#include "support/GlTestSupport.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

// The F on a grid of 4 x 5 cells, ink on a ground that no kind keys out.
constexpr uint32_t kInk = 0xC00000;
constexpr uint32_t kGround = 0x0000C0;
constexpr int kColumns = 4, kRows = 5;
const char* const kF[kRows] = {"XXXX", "X...", "XXX.", "X...", "X..."};

bool Inked(int column, int row) {
  return kF[row][column] == 'X';
}

// The F, cell pixels square.
TBitmap FBitmap(int cell) {
  TBitmap bitmap(kColumns * cell, kRows * cell, TPixelFormat::pf24bit);
  for (int y = 0; y < kRows * cell; ++y) {
    for (int x = 0; x < kColumns * cell; ++x) bitmap.SetPixel(x, y, Inked(x / cell, y / cell) ? kInk : kGround);
  }
  return bitmap;
}

// The F as a metafile, cell units square.
std::vector<uint8_t> FMetafile(int cell) {
  TEmfWriter emf(kColumns * cell, kRows * cell);
  emf.SelectObject(kStockNullPen);
  const auto bgr = [](uint32_t rgb) { return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16; };
  emf.SelectObject(emf.CreateBrush(0, bgr(kGround)));
  emf.Rectangle(0, 0, kColumns * cell + 1, kRows * cell + 1);
  emf.SelectObject(emf.CreateBrush(0, bgr(kInk)));
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      if (Inked(column, row))
        emf.Rectangle(column * cell, row * cell, (column + 1) * cell + 1, (row + 1) * cell + 1);
    }
  }
  return emf.Finish();
}

// Where a picture lands on the plan: its top left corner, and the plan vectors of its
// whole width and height (rows running down the picture).
struct TLanding {
  TXYZ TopLeft;
  double RightX, RightY, DownX, DownY;
  TXYZ Cell(int column, int row) const {
    const double u = (column + 0.5) / kColumns, v = (row + 0.5) / kRows;
    return {static_cast<float>(TopLeft.x + u * RightX + v * DownX),
            static_cast<float>(TopLeft.y + u * RightY + v * DownY), 0};
  }
};

class PicturesUprightTest : public ::testing::Test {
 protected:
  PicturesUprightTest() {
    RegisterAllItemKinds();
    const std::filesystem::path textures = dir_ / "Текстуры";
    std::filesystem::create_directories(textures);
    for (const char* name : {"Kolod.bmp", "Reshet.bmp", "Tramway.bmp", "CalcAreaTex.bmp"})
      FBitmap(8).SaveToFile(textures / name);
    library_.AddFile(Write("f.emf", FMetafile(60)));
  }

  std::filesystem::path Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = dir_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  template <typename TItem = TAbstractItem>
  TItem& Add(TStreetStructure& street, int32_t kind, const TXYZArray& points) {
    TAbstractItem& item = *street.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return dynamic_cast<TItem&>(item);
  }

  test::TempDir dir_;
  test::ScopedDataVariable data_{dir_.Path().c_str()};
  TNamedMetafileLib library_;
  TNameValueList translation_;
  TMetafile missing_ = test::MetafileOf(FMetafile(60));
  TSignLibraries libraries_{library_, translation_, missing_};
  TSvetoforPictureLib heads_, supports_;
};

TEST_F(PicturesUprightTest, AnFLaidByEveryKindStandsUprightAndUnmirrored) {
  heads_.Add("F.bmp", FBitmap(8));
  supports_.Add("F.bmp", FBitmap(8));
  struct TCase {
    const char* What;
    int32_t Kind;
    std::function<void(TStreetStructure&)> Make;
    TLanding Landing;
    double PixelsPerMetre;
    bool SharedTexture = false;  // read once a process: another test may have read it first
  };
  const TCase cases[] = {
      {"manhole", 27, [&](TStreetStructure& s) { Add(s, 27, {{0, 0, 0}}); }, {{-0.495f, 0.495f, 0}, 0.99, 0, 0, -0.99},
       200},
      {"grate", 28, [&](TStreetStructure& s) { Add(s, 28, {{0, 0, 0}}); }, {{-0.6f, 0.3f, 0}, 1.2, 0, 0, -0.6}, 200},
      {"traffic-light head", TSvetoforItem::kKindIndex,
       [&](TStreetStructure& s) {
         auto& light = Add<TSvetoforItem>(s, TSvetoforItem::kKindIndex, {{0, 0, 0}});
         light.UseLibraries(supports_, heads_);
         TSvetoforSubItem& head = light.AddHead();
         head.SetName("F");
         head.SetOffset({3, 0, 0});
       },
       {{2.9875f, 0.0125f, 0}, 0.8, 0, 0, -1.0}, 150},
      {"traffic-light support", TSvetoforItem::kKindIndex,
       [&](TStreetStructure& s) {
         auto& light = Add<TSvetoforItem>(s, TSvetoforItem::kKindIndex, {{0, 0, 0}});
         light.UseLibraries(supports_, heads_);
         light.SetSupport("F");
         light.AddHead().SetName("none");
       },
       {{-0.0125f, 0.0125f, 0}, 0.8, 0, 0, -1.0}, 150},
      {"design block", 20,
       [&](TStreetStructure& s) {
         auto& blocks = dynamic_cast<TDsnBlockDefList&>(*s.Library(TStreetLibrary::TSlot::Blocks));
         TDsnBlockDef& def = blocks.Add();
         def.SetName("F");
         def.SetBitmap(FBitmap(8));
         def.SetWidth(2);
         def.SetHeight(2.5f);
         def.SetAnchor(0, 0);
         Add<TDesignBlockItem>(s, 20, {{0, 0, 0}}).SetBlockName("F");
       },
       {{0, 0, 0}, 2, 0, 0, -2.5}, 60},
      {"design figure pattern", 7,
       [&](TStreetStructure& s) {
         auto& figures = dynamic_cast<TDsnFigDefList&>(*s.Library(TStreetLibrary::TSlot::Figures));
         TDsnFigDef& def = figures.Add();
         def.SetName("F");
         def.SetBitmap(FBitmap(8));
         def.SetPeriodX(2);
         def.SetPeriodY(2.5f);
         Add<TDesignFigureItem>(s, 7, {{0, 0, 0}, {0, -5, 0}, {4, -5, 0}, {4, 0, 0}}).SetPatternName("F");
       },
       {{0, 0, 0}, 2, 0, 0, -2.5}, 60},
      // The pattern keeps its pixels on screen, from the area's top left corner.
      {"calculation area pattern", 34,
       [&](TStreetStructure& s) { Add(s, 34, {{0, 0, 0}, {0, -10, 0}, {10, -10, 0}, {10, 0, 0}}); },
       {{0, 0, 0}, 3.2, 0, 0, -4.0}, 10, true},
      // A band lays the picture along its line, its top on the left of the way it runs:
      // a tram line of standard gauge 2 m wide, one picture a metre.
      {"tram line", 18, [&](TStreetStructure& s) { Add(s, 18, {{0, 0, 0}, {10, 0, 0}}); }, {{3, 1, 0}, 1, 0, 0, -2},
       80},
      {"sign plate", TZnakItem::kKindIndex,
       [&](TStreetStructure& s) {
         auto& sign = Add<TZnakItem>(s, TZnakItem::kKindIndex, {{-3, -3, 0}, {-1, 0, 0}, {0, 0, 0}});
         sign.UseLibraries(libraries_);
         sign.AddPlate().SetLibName("f.emf");
       },
       {{-0.8f, 1, 0}, 1.6, 0, 0, -2}, 60},
      {"second sign kind", 23,
       [&](TStreetStructure& s) {
         TMemoryStream bytes;
         test::WriteItemHead(bytes, "ROADSGN2", 1, test::NewPoints(s, {{0, 0, 0}}));
         bytes.Seek(0, TSeekOrigin::Begin);
         auto& sign = dynamic_cast<TZnak2Item&>(*s.ItemList(23).NewItem());
         sign.UseLibraries(libraries_);
         sign.LoadFromStream(bytes);
       },
       {{-0.8f, 1, 0}, 1.6, 0, 0, -2}, 60},
      {"picture", TPictureItem::kKindIndex,
       [&](TStreetStructure& s) {
         auto& picture = Add<TPictureItem>(s, TPictureItem::kKindIndex, {{0, 0, 0}, {2, 0, 0}});
         TMemoryStream in(FMetafile(60));
         picture.Picture().LoadFromStream(in);
       },
       {{0, 0, 0}, 2, 0, 0, -2.5}, 60},
  };
  for (const TCase& c : cases) {
    TStreetStructure street;
    c.Make(street);
    const TXYZ middle = c.Landing.Cell(2, 2);
    const auto picture = test::DrawPlan(street, {middle.x - 0.125f / static_cast<float>(c.PixelsPerMetre), middle.y, 0},
                                        c.PixelsPerMetre, TKindSet{c.Kind}, 400, 400);
    if (!picture) GTEST_SKIP() << "no headless OpenGL context on this machine";
    if (c.SharedTexture && !test::ColorNear(picture->At(c.Landing.Cell(0, 0)), kInk, 40) &&
        !test::ColorNear(picture->At(c.Landing.Cell(0, 0)), kGround, 40)) {
      std::cout << c.What << ": its texture was read earlier in this process, not looked at\n";
      continue;
    }
    for (int row = 0; row < kRows; ++row) {
      for (int column = 0; column < kColumns; ++column) {
        const uint32_t pixel = picture->At(c.Landing.Cell(column, row));
        EXPECT_TRUE(test::ColorNear(pixel, Inked(column, row) ? kInk : kGround, 40))
            << c.What << ": cell " << column << ", " << row;
      }
    }
  }
}

}  // namespace
}  // namespace vellmar
