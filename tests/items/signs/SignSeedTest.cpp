// The street fuzzer's seed "signs" is a street holding a road sign with a library plate
// and a plate of its own, the second sign kind, a traffic light and one item of each
// design kind; it is made here so it stays a valid file as the kinds change:
//   VELLMAR_WRITE_SEEDS=1 items_tests --gtest_filter='SignSeed.*'
// rewrites it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "document/StreetStructure.h"
#include "items/ItemKinds.h"
#include "items/design/DesignBlockItem.h"
#include "items/design/DesignFigureItem.h"
#include "items/design/DesignLineItem.h"
#include "items/design/KernItem.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/SvetoforItem.h"
#include "items/signs/SvetoforPictureLib.h"
#include "items/signs/ZnakItem.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/MetafileSamples.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

template <class TItem>
TItem& Add(TStreetStructure& street, int32_t kind, const std::vector<TXYZ>& points) {
  auto& item = dynamic_cast<TItem&>(*street.ItemList(kind).NewItem());
  for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
  return item;
}

TEST(SignSeed, StreetOfSignsLightsAndDesignItemsIsTheCommittedSeed) {
  RegisterAllItemKinds();
  TStreetStructure street;
  // Empty libraries: the sign's plate keeps its library name, its own picture its bytes.
  const TNamedMetafileLib library;
  const TNameValueList translation;
  const TMetafile missing;
  const TSignLibraries libraries{library, translation, missing};
  auto& sign = Add<TZnakItem>(street, 22, {{0, 0, 0}, {0, 2, 0}, {0.5f, 2, 0}});
  sign.UseLibraries(libraries);
  sign.SetSupportType("pole");
  TEmfSubItem& named = sign.AddPlate();
  named.SetLibName("5-19-1.emf");
  named.SetStatus("new");
  named.SetMainId(7);
  TEmfSubItem& own = sign.AddPlate();
  TMemoryStream pictureBytes(test::EnhancedSample({0, 0, 500, 500}, {0, 0, 20, 20}));
  TMetafile picture;
  picture.LoadFromStream(pictureBytes);
  own.SetPicture(picture);
  own.SetOrigin({0, 0.6f, 0});
  own.SetText("B");
  Add<TAbstractItem>(street, 23, {{3, 0, 0}, {4, 0, 0}});

  const TSvetoforPictureLib noPictures;
  auto& light = Add<TSvetoforItem>(street, 29, {{6, 0, 0}});
  light.UseLibraries(noPictures, noPictures);
  light.SetSupport("3.1");
  TSvetoforSubItem& head = light.AddHead();
  head.SetName("1.2");
  head.SetOffset({0.5f, 0, 0});
  head.SetRotation(1.5f);

  auto& block = Add<TDesignBlockItem>(street, 20, {{0, 5, 0}, {2, 5, 0}});
  block.SetBlockName("Tree");
  block.SetColor(0xFF00FF00);
  auto& kern = Add<TKernItem>(street, 33, {{4, 5, 0}});
  kern.SetLabel("K1");
  kern.SetMaterial(0, {"sand", 0x3F000000});
  auto& line = Add<TDesignLineItem>(street, 19, {{0, 8, 0}, {10, 8, 0}});
  line.SetWidth(0.3f);
  line.SetStyle(TDesignLineItem::kDashed);
  line.SetPeriod(1.0f);
  auto& figure = Add<TDesignFigureItem>(street, 7, {{0, 10, 0}, {4, 10, 0}, {4, 12, 0}});
  figure.SetFillColor(0xFF808080);
  figure.SetPatternName("Tiles");

  TMemoryStream first;
  street.SaveToStream(first);
  const auto path = test::SourceDir() / "fuzz/corpus/StreetFuzz/signs";
  if (!std::filesystem::is_directory(path.parent_path()))
    VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  EXPECT_TRUE(test::IsCommittedFile(path, first.Bytes()));
}

}  // namespace
}  // namespace vellmar
