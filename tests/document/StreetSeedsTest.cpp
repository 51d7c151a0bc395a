// The seed files of fuzz/StreetFuzz.cpp are streets made here with the street's own
// writer and with hand-written chunks, so they stay valid files as the format code changes.
//   VELLMAR_WRITE_SEEDS=1 document_tests --gtest_filter='StreetSeeds.*'
// rewrites the committed files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/MemoryStream.h"
#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

std::vector<uint8_t> Bytes(const TMemoryStream& stream) {
  return {stream.Bytes().begin(), stream.Bytes().end()};
}

// Polygons, lines sharing their vertices, a smoothed line, references, groups and options.
std::vector<uint8_t> SmallStreet() {
  TStreetStructure street;
  street.SetStreetName("Main");
  street.GroupNames().Lines() = {"A=ON", "B=OFF"};
  street.DrawOptions().Lines() = {"UpdateDiffTagEdges=1", "RazmerRound=0.5"};
  street.SetView({5, 5, 0}, 0.2f, 0.0f);
  TAbstractItem* axis = street.ItemList(35).NewItem();
  axis->Points().InsertNew(0, {0, 0, 0});
  axis->Points().InsertNew(1, {20, 0, 0});
  street.MainReferences().SetItem(0, axis);
  TAbstractItem* road = street.ItemList(2).NewItem();
  for (const TXYZ& p : {TXYZ{0, -3, 0}, TXYZ{20, -3, 0}, TXYZ{20, 3, 0}, TXYZ{0, 3, 0}}) {
    road->Points().InsertNew(road->Points().Count(), p);
  }
  TAbstractItem* curb = street.ItemList(8).NewItem();
  curb->Points().Insert(0, road->Points().VertexRecord(2));
  curb->Points().Insert(1, road->Points().VertexRecord(3));
  curb->SetGroupName("B");
  curb->References().SetItem(0, axis);
  TAbstractItem* arc = street.ItemList(kArcCoordsKind).NewItem();
  arc->Points().Insert(0, road->Points().VertexRecord(0));
  arc->Points().InsertNew(1, {10, -6, 0});
  arc->Points().Insert(2, road->Points().VertexRecord(1));
  TAbstractItem* label = street.ItemList(21).NewItem();
  label->Points().InsertNew(0, {3, 3, 0});
  label->SetComment("note");
  TMemoryStream out;
  street.SaveToStream(out);
  return Bytes(out);
}

// An older file: no "TAGSSIZE", only the required chunks and one item list.
std::vector<uint8_t> OldStreet() {
  TMemoryStream s;
  WriteIdent(s, "STREET  ");
  WriteIdent(s, "PNTSTRCT");
  WriteInt32(s, 2);
  for (int32_t id : {3, 1}) {
    WriteInt32(s, id);
    WriteDouble(s, id);
    WriteDouble(s, 0.0);
    WriteDouble(s, 0.0);
  }
  WriteIdent(s, "ITEMLIST");
  WriteIdent(s, "BORT    ");
  WriteInt32(s, 1);
  WriteIdent(s, "ITEM    ");
  WriteIdent(s, "BORT    ");
  WriteInt32(s, 4);
  WriteIdent(s, "PNTLIST ");
  WriteCountedList(s, std::vector<int32_t>{1, 3}, WriteInt32);
  return Bytes(s);
}

}  // namespace

TEST(StreetSeeds, CommittedSeedsAreWhatTheWritersMake) {
  const auto dir = test::SourceDir() / "fuzz/corpus/StreetFuzz";
  if (!std::filesystem::is_directory(dir)) VELLMAR_SKIP_OR_FAIL("no source tree beside the test");
  RegisterItemKinds();
  const std::map<std::string, std::vector<uint8_t>> seeds = {{"small", SmallStreet()}, {"old", OldStreet()}};
  for (const auto& [name, bytes] : seeds) {
    const auto path = dir / name;
    EXPECT_TRUE(test::IsCommittedFile(path, bytes));
  }
}

}  // namespace vellmar
