#pragma once
// Item streams written value by value, as another program could have written them, and
// the round trip of one item through the street's item list.

#include <cstdint>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/MemoryStream.h"

namespace vellmar::test {

// The ITEM chunk of an active item without group, comments or reference.
inline void WriteItemHead(TStream& out, const TIdent& kind, int32_t id,
                          const std::vector<int32_t>& pointIDs) {
  WriteIdent(out, "ITEM    ");
  WriteIdent(out, kind);
  WriteInt32(out, id);
  if (!pointIDs.empty()) {
    WriteIdent(out, "PNTLIST ");
    WriteIdent(out, "PNTLSTSP");
    WriteFlag(out, false);
    WriteInt32(out, static_cast<int32_t>(pointIDs.size()));
    for (int32_t pointID : pointIDs) WriteInt32(out, pointID);
  }
  WriteIdent(out, "ITEMACTV");
  WriteFlag(out, true);
}

// IDs of new points of the street's table at the positions.
inline std::vector<int32_t> NewPoints(TStreetStructure& street, const std::vector<TXYZ>& positions) {
  std::vector<int32_t> ids;
  for (const TXYZ& position : positions) ids.push_back(street.Points().NewPoint(position)->ID);
  return ids;
}

// A list holding one item: "ITEMLIST", the kind, count 1, then the item bytes.
inline std::vector<uint8_t> AsItemList(const TIdent& kind, const TMemoryStream& item) {
  TMemoryStream out;
  WriteIdent(out, "ITEMLIST");
  WriteIdent(out, kind);
  WriteInt32(out, 1);
  out.Write(item.Bytes().data(), item.Bytes().size());
  return out.TakeBytes();
}

// Loads the item list bytes into the kind's list of the street; the item, or nullptr
// when it was dropped.
inline TAbstractItem* LoadOne(TStreetStructure& street, int32_t kind, const std::vector<uint8_t>& list) {
  TMemoryStream in(list);
  street.ItemList(kind).LoadFromStream(in);
  EXPECT_EQ(in.Position(), in.Size());
  return street.ItemList(kind).Count() == 0 ? nullptr : street.ItemList(kind).Items(0);
}

inline std::vector<uint8_t> SaveList(TStreetStructure& street, int32_t kind) {
  TMemoryStream out;
  street.ItemList(kind).SaveToStream(out);
  return out.TakeBytes();
}

}  // namespace vellmar::test
