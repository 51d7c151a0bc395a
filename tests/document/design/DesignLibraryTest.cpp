#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "HandWritten.h"
#include "document/design/DsnBlockDefList.h"
#include "document/design/DsnFigDefList.h"
#include "document/design/DsnLineDefList.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/gpu/DxVertex.h"
#include "render/TextureSurface.h"

namespace vellmar {
namespace {

using test::Bmp24;
using test::TChunkBytes;

// Loads a library from the bytes and checks that it stopped right before the
// "SENTINEL" ident the test put behind it.
template <class TList>
void LoadBeforeSentinel(TList& list, std::vector<uint8_t> bytes) {
  TChunkBytes tail;
  tail.Ident("SENTINEL");
  bytes.insert(bytes.end(), tail.Get().begin(), tail.Get().end());
  TMemoryStream stream(std::move(bytes));
  list.LoadFromStream(stream);
  EXPECT_EQ(stream.Remaining(), 8) << "the library read past its own chunks";
}

template <class TList>
std::vector<uint8_t> Saved(const TList& list) {
  TMemoryStream stream;
  list.SaveToStream(stream);
  return stream.TakeBytes();
}

// --- blocks ---------------------------------------------------------------------------

TChunkBytes& FullBlock(TChunkBytes& b, std::string_view name, const std::vector<uint8_t>& bmp, float width,
                       float height, int32_t ax, int32_t ay) {
  return b.Ident("BLOCKDEF")
      .Str(name)
      .Ident("BLOCKBMP")
      .Raw(bmp)
      .Ident("BLOCKWID")
      .F32(width)
      .Ident("BLOCKHEI")
      .F32(height)
      .Ident("BLOCKANC")
      .I32(ax)
      .I32(ay);
}

TEST(DsnBlockDefList, ReadsEveryChunkAndWritesTheSameBytesBack) {
  TChunkBytes b;
  b.Ident("BLOCKLST").Ident("ITEMSCNT").I32(2);
  FullBlock(b, "Tree", Bmp24(3, 2, 10, 20, 30), 2.0f, 4.0f, 1, 2);
  FullBlock(b, "\xCA\xE5\xF0\xED", Bmp24(5, 1, 0, 0, 255), 0.5f, 0.25f, -1, 7);  // "Керн"
  TDsnBlockDefList list;
  LoadBeforeSentinel(list, b.Get());

  ASSERT_EQ(list.Count(), 2);
  const TDsnBlockDef& tree = list.Item(0);
  EXPECT_EQ(tree.Name(), "Tree");
  EXPECT_EQ(tree.Width(), 2.0f);
  EXPECT_EQ(tree.Height(), 4.0f);
  EXPECT_EQ(tree.AnchorX(), 1);
  EXPECT_EQ(tree.AnchorY(), 2);
  EXPECT_EQ(tree.Bitmap().Width(), 3);
  EXPECT_EQ(tree.Bitmap().GetPixel(2, 1), 0x1E140Au);
  EXPECT_EQ(list.Item(1).Bitmap().GetPixel(4, 0), 0xFF0000u);
  EXPECT_EQ(list.Item(1).AnchorX(), -1);

  EXPECT_EQ(Saved(list), b.Get());
}

TEST(DsnBlockDefList, DefinitionsWithoutOptionalChunksKeepTheirDefaults) {
  TChunkBytes b;
  b.Ident("BLOCKLST").Ident("ITEMSCNT").I32(2).Ident("BLOCKDEF").Str("Bare");
  // The second definition has no "BLOCKDEF" at all: it is appended with its defaults and
  // reads nothing, so the stream stays in front of the next chunk.
  TDsnBlockDefList list;
  LoadBeforeSentinel(list, b.Get());

  ASSERT_EQ(list.Count(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const TDsnBlockDef& def = list.Item(i);
    EXPECT_EQ(def.Width(), 0.0f);
    EXPECT_EQ(def.Height(), 0.0f);
    EXPECT_EQ(def.AnchorX(), 0);
    EXPECT_EQ(def.Bitmap().Width(), 16);
    EXPECT_EQ(def.Bitmap().Height(), 16);
    EXPECT_EQ(def.Bitmap().PixelFormat(), TPixelFormat::pf24bit);
  }
  EXPECT_EQ(list.Item(0).Name(), "Bare");
  EXPECT_EQ(list.Item(1).Name(), "");
}

TEST(DsnBlockDefList, MissingListOrCountReadsNothingAndEmptiesTheLibrary) {
  TDsnBlockDefList list;
  list.Add().SetName("Old");
  LoadBeforeSentinel(list, {});
  // Loading twice into one street must not pile the file's definitions onto old ones.
  EXPECT_EQ(list.Count(), 0);

  list.Add();
  LoadBeforeSentinel(list, TChunkBytes().Ident("BLOCKLST").Get());
  EXPECT_EQ(list.Count(), 0);
}

TEST(DsnBlockDefList, EmptyLibraryIsStillWrittenWithItsCount) {
  TDsnBlockDefList list;
  EXPECT_EQ(Saved(list), TChunkBytes().Ident("BLOCKLST").Ident("ITEMSCNT").I32(0).Get());
}

TEST(DsnBlockDefList, TwoDefinitionsWithOneNameTheFirstWins) {
  TChunkBytes b;
  b.Ident("BLOCKLST").Ident("ITEMSCNT").I32(3);
  FullBlock(b, "Lamp", Bmp24(1, 1, 0, 0, 0), 1.0f, 1.0f, 0, 0);
  FullBlock(b, "Lamp", Bmp24(1, 1, 0, 0, 0), 2.0f, 2.0f, 0, 0);
  FullBlock(b, "Bench", Bmp24(1, 1, 0, 0, 0), 3.0f, 3.0f, 0, 0);
  TDsnBlockDefList list;
  LoadBeforeSentinel(list, b.Get());

  EXPECT_EQ(list.IndexOfName("Lamp"), 0);
  EXPECT_EQ(list.FindOrDefault("Lamp").Width(), 1.0f);
  EXPECT_EQ(list.IndexOfName("Bench"), 2);
  // Names are matched exactly, letter case included.
  EXPECT_EQ(list.IndexOfName("lamp"), -1);
  // Both are kept and written back: the second is data too.
  EXPECT_EQ(Saved(list), b.Get());
}

TEST(DsnBlockDefList, UnknownNameDrawsTheDefaultBlock) {
  TDsnBlockDefList list;
  list.Add().SetName("Lamp");
  const TDsnBlockDef& fallback = list.FindOrDefault("Tree");
  EXPECT_EQ(fallback.Width(), 1.5f);
  EXPECT_EQ(fallback.Height(), 3.0f);
  EXPECT_EQ(fallback.Name(), "");
  EXPECT_FALSE(fallback.Bitmap().Empty());
  EXPECT_EQ(&list.FindOrDefault("Other"), &fallback);
}

TEST(DsnBlockDefList, ChangedBitmapIsWrittenFromItsPixels) {
  TChunkBytes b;
  b.Ident("BLOCKLST").Ident("ITEMSCNT").I32(1);
  FullBlock(b, "Tree", Bmp24(2, 2, 1, 2, 3), 1.0f, 1.0f, 0, 0);
  TDsnBlockDefList list;
  LoadBeforeSentinel(list, b.Get());
  EXPECT_EQ(list.Item(0).GetTexture().Width(), 2);
  list.Item(0).EditBitmap().SetPixel(0, 0, 0x00FF00);
  list.Item(0).EditBitmap().SetSize(2, 3);
  EXPECT_EQ(list.Item(0).GetTexture().Height(), 3) << "the texture of the old picture stayed";

  const std::vector<uint8_t> saved = Saved(list);
  EXPECT_NE(saved, b.Get());
  TDsnBlockDefList again;
  TMemoryStream stream(saved);
  again.LoadFromStream(stream);
  EXPECT_EQ(again.Item(0).Bitmap().GetPixel(0, 0), 0x00FF00u);
  EXPECT_EQ(again.Item(0).Bitmap().GetPixel(1, 1), 0x030201u);
  EXPECT_EQ(again.Item(0).Bitmap().Height(), 3);
}

TEST(DsnBlockDef, TextureAddsThePictureToTheVertexColour) {
  TDsnBlockDef def;
  TTextureSurface& texture = def.GetTexture();
  EXPECT_EQ(&def.GetTexture(), &texture) << "an unchanged picture is not converted again";
  EXPECT_EQ(texture.Width(), 16);
  EXPECT_EQ(texture.TransparentColor(), 0xFFFFFFu);
  EXPECT_EQ(texture.Settings().MinFilter, TTextureFilter::Anisotropic);
  EXPECT_EQ(texture.Settings().MagFilter, TTextureFilter::Anisotropic);
  EXPECT_EQ(texture.Settings().ColorArg1, TTextureArg::Texture);
  EXPECT_EQ(texture.Settings().ColorArg2, TTextureArg::Diffuse);
  EXPECT_EQ(texture.Settings().ColorOp, TTextureOp::Add);
}

TEST(DsnBlockDefList, DamagedLibraryRaisesAndKeepsTheOldContents) {
  TDsnBlockDefList list;
  list.Add().SetName("Kept");

  // A count no stream of this size can hold must not make the reader append millions
  // of empty definitions.
  TMemoryStream huge(TChunkBytes().Ident("BLOCKLST").Ident("ITEMSCNT").I32(0x7FFFFFFF).Get());
  EXPECT_THROW(list.LoadFromStream(huge), EVellmarError);

  std::vector<uint8_t> bmp = Bmp24(4, 4, 0, 0, 0);
  bmp.resize(bmp.size() - 10);
  TChunkBytes cut;
  cut.Ident("BLOCKLST").Ident("ITEMSCNT").I32(1).Ident("BLOCKDEF").Str("Cut").Ident("BLOCKBMP").Raw(bmp);
  TMemoryStream damaged(cut.Get());
  EXPECT_THROW(list.LoadFromStream(damaged), EVellmarError);

  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Item(0).Name(), "Kept");
}

// --- lines ----------------------------------------------------------------------------

TChunkBytes LineHeader(std::string_view name, float period, float width, float disp) {
  TChunkBytes b;
  b.Ident("DSNLNDEF")
      .Ident("DEFNAME ")
      .Str(name)
      .Ident("DEFPERID")
      .F32(period)
      .Ident("DEFWIDTH")
      .F32(width)
      .Ident("DEFDISP ")
      .F32(disp);
  return b;
}

TEST(DsnLineDefList, ReadsEveryChunkAndWritesTheSameBytesBack) {
  TChunkBytes b;
  b.Ident("DSNLNLST").Ident("ITEMSCNT").I32(2);
  b.Raw(LineHeader("Fence", 2.0f, 0.4f, -0.1f).Get());
  b.Ident("DEFBMPST").Raw(Bmp24(32, 2, 1, 1, 1)).Ident("DEFBMPRP").Raw(Bmp24(64, 2, 2, 2, 2));
  b.Ident("DEFBMPFN").Raw(Bmp24(16, 2, 3, 3, 3));
  b.Raw(LineHeader("Hedge", 1.0f, 0.2f, 0.0f).Get()).Ident("DEFBMP  ").Raw(Bmp24(8, 4, 4, 4, 4));
  TDsnLineDefList list;
  LoadBeforeSentinel(list, b.Get());

  ASSERT_EQ(list.Count(), 2);
  const TDsnLineDef& fence = list.Item(0);
  EXPECT_EQ(fence.Name(), "Fence");
  EXPECT_EQ(fence.Period(), 2.0f);
  EXPECT_EQ(fence.Width(), 0.4f);
  EXPECT_EQ(fence.Disp(), -0.1f);
  ASSERT_NE(fence.Bitmap(TLinePart::Start), nullptr);
  EXPECT_EQ(fence.Bitmap(TLinePart::Start)->Width(), 32);
  EXPECT_EQ(fence.Bitmap(TLinePart::Repeat)->Width(), 64);
  EXPECT_EQ(fence.Bitmap(TLinePart::Finish)->Width(), 16);
  const TDsnLineDef& hedge = list.Item(1);
  EXPECT_EQ(hedge.Bitmap(TLinePart::Start), nullptr);
  ASSERT_NE(hedge.Bitmap(TLinePart::Repeat), nullptr);
  EXPECT_EQ(hedge.Bitmap(TLinePart::Repeat)->Height(), 4);
  EXPECT_EQ(hedge.Bitmap(TLinePart::Finish), nullptr);

  EXPECT_EQ(Saved(list), b.Get());
  EXPECT_EQ(list.FindByName("Hedge"), &list.Item(1));
  EXPECT_EQ(list.FindByName("hedge"), nullptr);
}

TEST(DsnLineDefList, DefinitionsWithoutOptionalChunksKeepTheirDefaults) {
  TChunkBytes b;
  b.Ident("DSNLNLST").Ident("ITEMSCNT").I32(1).Ident("DSNLNDEF");
  TDsnLineDefList list;
  LoadBeforeSentinel(list, b.Get());

  ASSERT_EQ(list.Count(), 1);
  const TDsnLineDef& def = list.Item(0);
  EXPECT_EQ(def.Name(), "");
  EXPECT_EQ(def.Period(), 1.0f);
  EXPECT_EQ(def.Width(), 0.2f);
  EXPECT_EQ(def.Disp(), 0.0f);
  for (TLinePart part : {TLinePart::Start, TLinePart::Repeat, TLinePart::Finish}) {
    EXPECT_EQ(def.Bitmap(part), nullptr);
  }
  // Written back with its four values and no bitmap chunk.
  TChunkBytes expected;
  expected.Ident("DSNLNLST").Ident("ITEMSCNT").I32(1).Raw(LineHeader("", 1.0f, 0.2f, 0.0f).Get());
  EXPECT_EQ(Saved(list), expected.Get());
}

TEST(DsnLineDefList, CapsWithoutRepeatUseThePartChunks) {
  TDsnLineDefList list;
  TDsnLineDef& def = list.Add();
  def.SetName("Cap");
  def.SetBitmap(TLinePart::Finish, TBitmap(2, 2, TPixelFormat::pf24bit));
  std::vector<uint8_t> finish;
  def.Bitmap(TLinePart::Finish)->SaveToBmp(finish);

  TChunkBytes expected;
  expected.Ident("DSNLNLST").Ident("ITEMSCNT").I32(1).Raw(LineHeader("Cap", 1.0f, 0.2f, 0.0f).Get());
  expected.Ident("DEFBMPFN").Raw(finish);
  EXPECT_EQ(Saved(list), expected.Get());
}

TEST(DsnLineDefList, LoadingReplacesTheLibraryAndItsCollections) {
  TDsnLineDefList list;
  list.Add().SetName("Old");
  TChunkBytes b;
  b.Ident("DSNLNLST")
      .Ident("ITEMSCNT")
      .I32(2)
      .Raw(LineHeader("A", 1, 1, 0).Get())
      .Raw(LineHeader("B", 1, 1, 0).Get());
  LoadBeforeSentinel(list, b.Get());
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOfName("Old"), -1);

  const std::vector<TDxPrimCollection*> collections = list.Collections();
  ASSERT_EQ(collections.size(), 6u);
  EXPECT_EQ(collections[0], &list.Item(0).Collection(TLinePart::Start));
  EXPECT_EQ(collections[1], &list.Item(0).Collection(TLinePart::Repeat));
  EXPECT_EQ(collections[2], &list.Item(0).Collection(TLinePart::Finish));
  EXPECT_EQ(collections[3], &list.Item(1).Collection(TLinePart::Start));
  EXPECT_EQ(collections[5], &list.Item(1).Collection(TLinePart::Finish));
  EXPECT_EQ(collections[4]->Color(), MakeColor(0, 0, 0, 255));
}

TEST(DsnLineDef, EachPartsCollectionGetsATextureOfItsPicture) {
  TChunkBytes b;
  b.Raw(LineHeader("Fence", 2.0f, 0.4f, 0.0f).Get()).Ident("DEFBMPST").Raw(Bmp24(32, 2, 1, 1, 1));
  b.Ident("DEFBMPRP").Raw(Bmp24(64, 4, 2, 2, 2));
  TMemoryStream stream(b.Get());
  TDsnLineDef def;
  def.LoadFromStream(stream);

  const TTextureSurface* start = def.Collection(TLinePart::Start).Texture();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->Width(), 32);
  EXPECT_EQ(start->Settings().AddressU, TTextureAddress::Clamp);
  EXPECT_EQ(start->Settings().AddressV, TTextureAddress::Clamp);
  EXPECT_EQ(start->Settings().ColorOp, TTextureOp::Add);
  const TTextureSurface* repeat = def.Collection(TLinePart::Repeat).Texture();
  ASSERT_NE(repeat, nullptr);
  EXPECT_EQ(repeat->Height(), 4);
  // The middle picture repeats along the band, never across it.
  EXPECT_EQ(repeat->Settings().AddressU, TTextureAddress::Wrap);
  EXPECT_EQ(repeat->Settings().AddressV, TTextureAddress::Clamp);
  EXPECT_EQ(def.Collection(TLinePart::Finish).Texture(), nullptr);

  def.SetBitmap(TLinePart::Start, TBitmap(8, 1, TPixelFormat::pf24bit));
  EXPECT_EQ(def.Collection(TLinePart::Start).Texture(), start) << "the collection keeps its one texture";
  EXPECT_EQ(start->Width(), 8);
}

// --- figures --------------------------------------------------------------------------

TEST(DsnFigDefList, ReadsEveryChunkAndWritesTheSameBytesBack) {
  TChunkBytes b;
  b.Ident("DSNFGLST").Ident("ITEMSCNT").I32(2);
  b.Ident("DSNFGDEF")
      .Ident("DEFNAME ")
      .Str("Tiles")
      .Ident("DEFPERDX")
      .F32(0.5f)
      .Ident("DEFPERDY")
      .F32(0.25f)
      .Ident("DEFBMP  ")
      .Raw(Bmp24(8, 8, 9, 9, 9));
  b.Ident("DSNFGDEF")
      .Ident("DEFNAME ")
      .Str("Grass")
      .Ident("DEFPERDX")
      .F32(3.0f)
      .Ident("DEFPERDY")
      .F32(0.0f)
      .Ident("DEFBMP  ")
      .Raw(Bmp24(1, 3, 0, 255, 0));
  TDsnFigDefList list;
  LoadBeforeSentinel(list, b.Get());

  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(0).Name(), "Tiles");
  EXPECT_EQ(list.Item(0).PeriodX(), 0.5f);
  EXPECT_EQ(list.Item(0).PeriodY(), 0.25f);
  EXPECT_EQ(list.Item(1).Bitmap().GetPixel(0, 2), 0x00FF00u);
  EXPECT_EQ(list.IndexOfName("Grass"), 1);
  EXPECT_EQ(Saved(list), b.Get());

  const std::vector<TDxPrimCollection*> collections = list.Collections();
  ASSERT_EQ(collections.size(), 2u);
  EXPECT_EQ(collections[1], &list.Item(1).Collection());
  EXPECT_EQ(collections[0]->Color(), MakeColor(255, 0, 0, 255));
  ASSERT_NE(list.Item(0).Collection().Texture(), nullptr);
  EXPECT_EQ(list.Item(0).Collection().Texture()->Width(), 8);
  EXPECT_EQ(list.Item(0).Collection().Texture()->Settings().ColorArg2, TTextureArg::Diffuse);
}

TEST(DsnFigDefList, DefinitionsWithoutOptionalChunksKeepTheirDefaults) {
  TChunkBytes b;
  b.Ident("DSNFGLST").Ident("ITEMSCNT").I32(2).Ident("DSNFGDEF");
  TDsnFigDefList list;
  LoadBeforeSentinel(list, b.Get());
  ASSERT_EQ(list.Count(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    EXPECT_EQ(list.Item(i).Name(), "");
    EXPECT_EQ(list.Item(i).PeriodX(), 1.0f);
    EXPECT_EQ(list.Item(i).PeriodY(), 1.0f);
    EXPECT_EQ(list.Item(i).Bitmap().Width(), 16);
  }
}

}  // namespace
}  // namespace vellmar
