#pragma once
// The registry of the 41 item kinds: for each kind index its stream ident, display name,
// geometric base and class-level descriptors, and the factory that makes its items.
// The registry is program-wide; it is filled by one explicit call, RegisterItemKinds(),
// and the kinds' own classes then replace the factories of their entries.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "document/Ident.h"
#include "document/KindSet.h"

namespace vellmar {

class TAbstractItem;
class TStreetStructure;

constexpr int32_t kKindCount = 41;
// The curve kind: lists that follow a curve take its densified points (point storage).
constexpr int32_t kArcCoordsKind = 26;

// The geometric base class a kind derives from.
enum class TKindBase { Abstract, Point, OrientPoint, Line, Polygon };

struct TItemKind;

// Makes a new item of the kind for the street; the caller owns it.
using TItemFactory = std::unique_ptr<TAbstractItem> (*)(TStreetStructure& street, const TItemKind& kind);
// Creates the kind's primitive collections in the street's per-kind collection array.
using TKindCollectionsInit = void (*)(TStreetStructure& street);

// A kind, with the operations the item interface calls on the class rather than on an item.
struct TItemKind {
  int32_t Index = -1;
  TIdent Ident;
  std::string_view DisplayName;  // Windows-1251
  TKindBase Base = TKindBase::Abstract;
  uint8_t Category = 0;
  int32_t MinPointCount = 0;
  int32_t MaxPointCount = 0;  // 0 = no limit
  bool IsClosed = false;
  bool IsAnnotationKind = false;
  TItemFactory Factory = nullptr;
  TKindCollectionsInit InitKindCollections = nullptr;  // nullptr = the kind draws nothing retained
  // False only for a class known to draw nothing per frame (RegisterKindClass tells it
  // from the class): the street then does not visit the items every frame.
  bool DrawsImmediate = true;
  // True only for a class whose rebuild touches nothing but its own items, its kind's own
  // collections and street state it only reads (RegisterKindClass tells it from the
  // class): the street may then rebuild the kind on a worker thread alongside others.
  bool RebuildsAlongside = false;
};

class TKindRegistry {
 public:
  // The kind at an index 0..40; raises for any other index or before registration.
  static const TItemKind& Kind(int32_t index);
  static bool IsRegistered(int32_t index);
  // Enters (or replaces) the kind at its own index.
  static void Register(const TItemKind& kind);
  // Keeps the registered entry of the index and makes its items with factory: how a kind's
  // own class replaces the generic one.
  static void RegisterFactory(int32_t index, TItemFactory factory);
  // The kind whose ident equals the 8 bytes, searching indices 0..40; nullptr if none.
  static const TItemKind* FindKindByIdent(const TIdent& ident);

  // Display names of the kinds in the set, each followed by ";".
  static std::string KindSetToText(const TKindSet& set);
  // Every kind whose display name followed by ";" occurs in the text.
  static TKindSet TextToKindSet(std::string_view text);
  static TKindSet AllKinds();
};

// The factory of an item class made from (street, kind); kinds register it as
// MakeItem<TTheirItem>.
template <typename TItem>
std::unique_ptr<TAbstractItem> MakeItem(TStreetStructure& street, const TItemKind& kind) {
  return std::make_unique<TItem>(street, kind);
}

// Fills the registry with all 41 kinds, each with the item class of its geometric base
// (point, oriented point, line, polygon, or the plain item); a kind's own registration
// later replaces its entry. Calling it again restores the generic entries.
void RegisterItemKinds();

}  // namespace vellmar
