#pragma once
// A fixture for the stream tests of item kinds: a street whose point table holds four
// points (IDs 1..4, the corners of a 10 m square), and helpers that write the chunks
// every item of a kind carries before its own ones - value by value, the way another
// program could have written them - and that load and save items through their kind's
// item list. Kinds describe their own chunks as a TKindCase, which the parameterised
// KindChunks tests run through loading, saving and the point-count rule.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "platform/MemoryStream.h"

namespace vellmar::test {

using TBytes = std::vector<uint8_t>;

class KindStreamTest : public ::testing::Test {
 protected:
  KindStreamTest();

  // "ITEM    ", the kind's ident, ID 1, the point list over the first pointCount points
  // (no smoothing), "ITEMACTV" 1 and, for a polygon kind, its empty neighbour list.
  static void WriteItemHead(TStream& out, int32_t kind, int32_t pointCount);
  // How many points an item of the kind needs at least.
  static int32_t PointsNeeded(int32_t kind);

  // The items (count of them, back to back) as one item list of the kind, loaded into
  // the street in place of what the list held.
  TItemList& LoadList(int32_t kind, int32_t count, const TMemoryStream& items);
  // One item; nullptr when the list dropped it.
  TAbstractItem* LoadItem(int32_t kind, const TMemoryStream& item);
  static TBytes Save(const TAbstractItem& item);
  static TBytes BytesOf(const TMemoryStream& stream);

 private:
  // Registers every kind before the street is made.
  struct TRegistration {
    TRegistration();
  } registration_;

 protected:
  TStreetStructure street;
};

// The own chunks of a kind, for the parameterised tests.
struct TKindCase {
  std::string Name;
  int32_t Kind = -1;
  // Every chunk of the kind, with values other than the defaults, in stored order.
  std::function<void(TStream&)> WriteAll;
  std::function<void(const TAbstractItem&)> CheckAll;
  // The chunks an item with the default values writes.
  std::function<void(TStream&)> WriteDefaults;
  std::function<void(const TAbstractItem&)> CheckDefaults;
};

// Failures name the case rather than dump its bytes.
void PrintTo(const TKindCase& c, std::ostream* os);

class KindChunks : public KindStreamTest, public ::testing::WithParamInterface<TKindCase> {};

// The test name of a case.
std::string KindCaseName(const ::testing::TestParamInfo<TKindCase>& info);

template <class T>
const T& As(const TAbstractItem& item) {
  return dynamic_cast<const T&>(item);
}

}  // namespace vellmar::test
