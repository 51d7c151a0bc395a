// The kinds that are rebuilt on worker threads give the very primitives a rebuild of
// every kind on the calling thread gives, in every collection of every kind: on the demo
// street (every kind, curves shared with surfaces and lines) and on the large street of
// the load benchmark (a hundred thousand lawns and curbs), first built and then rebuilt
// after some items changed.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_map>

#include "document/AbstractItem.h"
#include "document/KindRebuild.h"
#include "document/StreetStructure.h"
#include "kinds/AllKinds.h"
#include "support/BenchmarkStreet.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

// Every item of a street by its kind and place in its list, to match owners across two
// loads of one file.
class TItemPlaces {
 public:
  explicit TItemPlaces(TStreetStructure& street) {
    for (int32_t kind = 0; kind < kKindCount; ++kind) {
      const TItemList& list = street.ItemList(kind);
      for (int32_t i = 0; i < list.Count(); ++i) places_[list.Items(i)] = kind * 10'000'000LL + i;
    }
  }
  long long Of(const TAbstractItem* item) const {
    const auto it = places_.find(item);
    return it == places_.end() ? -1 : it->second;
  }

 private:
  std::unordered_map<const TAbstractItem*, long long> places_;
};

bool SameVertices(const TDxPrimView& a, const TDxPrimView& b) {
  return a.Vertices.size() == b.Vertices.size() &&
         std::memcmp(a.Vertices.data(), b.Vertices.data(), a.Vertices.size_bytes()) == 0;
}

// Where the two streets' primitives first differ; empty when they do not.
std::string FirstDifference(TStreetStructure& a, TStreetStructure& b) {
  const TItemPlaces placesA(a);
  const TItemPlaces placesB(b);
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    const TDxPrimCollections& ca = a.KindCollections(kind);
    const TDxPrimCollections& cb = b.KindCollections(kind);
    std::string where = "kind ";
    where += std::to_string(kind);
    if (ca.size() != cb.size()) return where + ": collection count";
    for (size_t j = 0; j < ca.size(); ++j) {
      where += ", collection ";
      where += std::to_string(j);
      if (ca[j]->Count() != cb[j]->Count()) return where + ": primitive count";
      if (ca[j]->DeletedCount() != cb[j]->DeletedCount()) return where + ": deleted count";
      for (size_t i = 0; i < ca[j]->Count(); ++i) {
        const TDxPrimView pa = ca[j]->PrimAt(i);
        const TDxPrimView pb = cb[j]->PrimAt(i);
        if (placesA.Of(pa.Owner) != placesB.Of(pb.Owner) || pa.ModeSet != pb.ModeSet ||
            pa.Deleted != pb.Deleted || !SameVertices(pa, pb)) {
          return where + ", primitive " + std::to_string(i);
        }
      }
    }
  }
  return {};
}

// Marks every third item of every kind as changed.
void ChangeSomeItems(TStreetStructure& street) {
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    const TItemList& list = street.ItemList(kind);
    for (int32_t i = 0; i < list.Count(); i += 3) list.Items(i)->Points().SetModified(true);
  }
}

int32_t KindsWithItems(TStreetStructure& street) {
  int32_t kinds = 0;
  for (int32_t kind = 0; kind < kKindCount; ++kind) kinds += street.ItemList(kind).Count() > 0 ? 1 : 0;
  return kinds;
}

void ExpectSameAsOneThread(const std::filesystem::path& file, int32_t kindsWithItems) {
  RegisterAllKinds();
  TStreetStructure serial;
  TStreetStructure parallel;
  serial.LoadFromFile(file);
  parallel.LoadFromFile(file);
  ASSERT_EQ(KindsWithItems(parallel), kindsWithItems);
  // Not a vacuous comparison: at least two groups of kinds go to worker threads.
  ASSERT_GE(AlongsideGroups(parallel, TKindRegistry::AllKinds()).size(), 2u);
  serial.RebuildKinds(TKindRegistry::AllKinds(), 1);
  parallel.RebuildKinds(TKindRegistry::AllKinds(), 4);
  EXPECT_EQ(FirstDifference(serial, parallel), "");

  for (TStreetStructure* street : {&serial, &parallel}) {
    for (int32_t kind = 0; kind < kKindCount; ++kind) EXPECT_FALSE(street->ItemList(kind).NeedsRebuild());
  }
  ChangeSomeItems(serial);
  ChangeSomeItems(parallel);
  ASSERT_GE(AlongsideGroups(parallel, TKindRegistry::AllKinds()).size(), 2u);
  serial.RebuildKinds(TKindRegistry::AllKinds(), 1);
  parallel.RebuildKinds(TKindRegistry::AllKinds(), 4);
  EXPECT_EQ(FirstDifference(serial, parallel), "");
}

TEST(KindRebuildParity, StreetsRebuildAsOnOneThread) {
  struct TCase {
    const char* Name;
    std::function<std::filesystem::path(const test::TempDir&)> File;
    int32_t KindsWithItems;
  };
  const TCase cases[] = {
      {"the demo street", [](const test::TempDir&) { return test::SourceDir() / "examples/demo.pln"; },
       kKindCount},
      {"the benchmark street",
       [](const test::TempDir& scratch) {
         const std::filesystem::path path = scratch / "street.pln";
         test::WriteBenchmarkStreet(path);
         return path;
       },
       2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    test::TempDir scratch;
    ExpectSameAsOneThread(c.File(scratch), c.KindsWithItems);
  }
}

}  // namespace
}  // namespace vellmar
