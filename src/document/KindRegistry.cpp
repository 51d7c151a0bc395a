#include "document/KindRegistry.h"

#include <string>
#include <utility>

#include "document/AbstractItem.h"
#include "document/LineItem.h"
#include "document/OrientPointItem.h"
#include "document/PointItem.h"
#include "document/PolygonItem.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

std::array<TItemKind, kKindCount>& Table() {
  static std::array<TItemKind, kKindCount> table;
  return table;
}

// The collections of a polygon kind without a class of its own; the init slot is given
// no kind index, so each kind gets its own instance.
template <int32_t Index>
void InitGenericPolygonKind(TStreetStructure& street) {
  InitGenericPolygonCollections(street, Index);
}

template <int32_t... Index>
constexpr std::array<TKindCollectionsInit, kKindCount> GenericPolygonInits(
    std::integer_sequence<int32_t, Index...>) {
  return {&InitGenericPolygonKind<Index>...};
}

constexpr std::array<TKindCollectionsInit, kKindCount> kGenericPolygonInits =
    GenericPolygonInits(std::make_integer_sequence<int32_t, kKindCount>());

// Point-count and shape descriptors that each geometric base gives its kinds.
TItemKind Shaped(int32_t index, TIdent ident, std::string_view displayName, TKindBase base) {
  TItemKind kind;
  kind.Index = index;
  kind.Ident = ident;
  kind.DisplayName = displayName;
  kind.Base = base;
  kind.Factory = MakeItem<TAbstractItem>;
  switch (base) {
    case TKindBase::Point:
      kind.Factory = MakeItem<TPointItem>;
      kind.MinPointCount = 1;
      kind.MaxPointCount = 1;
      kind.IsAnnotationKind = true;
      break;
    case TKindBase::OrientPoint:
      kind.Factory = MakeItem<TOrientPointItem>;
      kind.MinPointCount = 1;
      kind.MaxPointCount = 2;
      kind.IsAnnotationKind = true;
      break;
    case TKindBase::Line:
      kind.Factory = MakeItem<TLineItem>;
      kind.MinPointCount = 2;
      break;
    case TKindBase::Polygon:
      kind.Factory = MakeItem<TPolygonItem>;
      kind.InitKindCollections = kGenericPolygonInits[static_cast<size_t>(index)];
      kind.MinPointCount = 3;
      kind.IsClosed = true;
      break;
    case TKindBase::Abstract:
      break;
  }
  return kind;
}

// A kind derived straight from the item base, with its own point counts.
TItemKind Plain(int32_t index, TIdent ident, std::string_view displayName, int32_t minPoints,
                int32_t maxPoints, bool annotation) {
  TItemKind kind = Shaped(index, ident, displayName, TKindBase::Abstract);
  kind.MinPointCount = minPoints;
  kind.MaxPointCount = maxPoints;
  kind.IsAnnotationKind = annotation;
  return kind;
}

// A kind whose own point counts replace those of its base.
TItemKind WithPoints(TItemKind kind, int32_t minPoints, int32_t maxPoints) {
  kind.MinPointCount = minPoints;
  kind.MaxPointCount = maxPoints;
  return kind;
}

TItemKind WithCategory(TItemKind kind, uint8_t category) {
  kind.Category = category;
  return kind;
}

}  // namespace

const TItemKind& TKindRegistry::Kind(int32_t index) {
  if (!IsRegistered(index)) {
    throw EVellmarError("TKindRegistry.Kind: no kind " + std::to_string(index) + " registered");
  }
  return Table()[static_cast<size_t>(index)];
}

bool TKindRegistry::IsRegistered(int32_t index) {
  return index >= 0 && index < kKindCount && Table()[static_cast<size_t>(index)].Factory != nullptr;
}

void TKindRegistry::Register(const TItemKind& kind) {
  if (kind.Index < 0 || kind.Index >= kKindCount || kind.Factory == nullptr) {
    throw EVellmarError("TKindRegistry.Register: kind " + std::to_string(kind.Index) +
                        " needs an index 0..40 and a factory");
  }
  Table()[static_cast<size_t>(kind.Index)] = kind;
}

void TKindRegistry::RegisterFactory(int32_t index, TItemFactory factory) {
  TItemKind kind = Kind(index);
  kind.Factory = factory;
  // Nothing is known of the class's per-frame drawing, nor of what its rebuild touches.
  kind.DrawsImmediate = true;
  kind.RebuildsAlongside = false;
  Register(kind);
}

const TItemKind* TKindRegistry::FindKindByIdent(const TIdent& ident) {
  for (const TItemKind& kind : Table()) {
    if (kind.Factory != nullptr && kind.Ident == ident) return &kind;
  }
  return nullptr;
}

std::string TKindRegistry::KindSetToText(const TKindSet& set) {
  std::string text;
  for (int32_t i = 0; i < kKindCount; ++i) {
    if (set.Contains(i) && IsRegistered(i)) {
      text += Kind(i).DisplayName;
      text += ';';
    }
  }
  return text;
}

TKindSet TKindRegistry::TextToKindSet(std::string_view text) {
  TKindSet set;
  for (int32_t i = 0; i < kKindCount; ++i) {
    if (!IsRegistered(i)) continue;
    const std::string name = std::string(Kind(i).DisplayName) + ';';
    if (text.find(name) != std::string_view::npos) set.Include(i);
  }
  return set;
}

TKindSet TKindRegistry::AllKinds() {
  TKindSet::TBytes bytes;
  bytes.fill(0xFF);
  return TKindSet::FromBytes(bytes);
}

void RegisterItemKinds() {
  using B = TKindBase;
  const TItemKind kinds[kKindCount] = {
      Plain(0, "SUBLAYER", "Подложка"_cp1251, 4, 4, true),
      Shaped(1, "RAZDPOL ", "Разд. полоса"_cp1251, B::Polygon),
      Shaped(2, "ROADWAY ", "Проезжая часть"_cp1251, B::Polygon),
      Shaped(3, "TROTUAR ", "Тротуар"_cp1251, B::Polygon),
      Shaped(4, "GAZON   ", "Газон"_cp1251, B::Polygon),
      Shaped(5, "OBOCH   ", "Обочина"_cp1251, B::Polygon),
      Shaped(6, "HOUSE   ", "Здание"_cp1251, B::Polygon),
      Shaped(7, "DSGNFIGR", "Оформительская фигура"_cp1251, B::Polygon),
      Shaped(8, "BORT    ", "Борт"_cp1251, B::Line),
      Shaped(9, "ROADWALL", "Ограждение"_cp1251, B::Line),
      Shaped(10, "LNRAZMET", "Линия разметки"_cp1251, B::Line),
      Shaped(11, "ARRAZMET", "Разметка символы"_cp1251, B::Line),
      Shaped(12, "OSTROVOK", "Разметка-островок"_cp1251, B::Polygon),
      Shaped(13, "RAZMSTOP", "Разметка остановки"_cp1251, B::Line),
      Shaped(14, "ZEBRA   ", "Разметка-зебра"_cp1251, B::Line),
      Shaped(15, "RAZMTEXT", "Разметка текст"_cp1251, B::OrientPoint),
      Shaped(16, "RAZMZNAK", "Разметка знак"_cp1251, B::OrientPoint),
      Shaped(17, "PICTURE ", "Картинка"_cp1251, B::OrientPoint),
      Shaped(18, "TRAMWAY ", "Трам. линия"_cp1251, B::Line),
      Shaped(19, "DSGNLINE", "Оформительская линия"_cp1251, B::Line),
      Plain(20, "DSNBLOCK", "Оформительский блок"_cp1251, 1, 0, true),
      Shaped(21, "TXTLABEL", "Текст"_cp1251, B::OrientPoint),
      // The road sign stands on exactly three points: the foot of the post, a point behind
      // the plates that turns them, and the point where they are mounted.
      WithCategory(WithPoints(Shaped(22, "ZNAK    ", "Дорожный знак"_cp1251, B::Point), 3, 3), 2),
      Plain(23, "ROADSGN2", "Дорожный знак 2"_cp1251, 1, 3, false),
      Shaped(24, "KMSIGN  ", "Километровый знак"_cp1251, B::Point),
      Plain(25, "RULER   ", "Привязочные точки"_cp1251, 1, 0, false),
      Shaped(26, "ARCCOORD", "Кривая"_cp1251, B::Line),
      Shaped(27, "KOLOD   ", "Колодец"_cp1251, B::Point),
      Shaped(28, "RESHET  ", "Решетка"_cp1251, B::OrientPoint),
      Shaped(29, "SVETOFOR", "Светофор"_cp1251, B::Point),
      Plain(30, "RAZMER  ", "Размерная линия"_cp1251, 2, 0, false),
      Shaped(31, "RZLABLEP", "Место для подписей"_cp1251, B::Line),
      // Neither form of a stop can be drawn from one point; it is dropped at load with fewer
      // than two.
      WithPoints(Shaped(32, "STOP    ", "Остановка"_cp1251, B::OrientPoint), 2, 2),
      // The core-sample mark is a design block with a label.
      Plain(33, "KERN    ", "Керн"_cp1251, 1, 0, true),
      Shaped(34, "CALCAREA", "Область обсчета"_cp1251, B::Polygon),
      Shaped(35, "AXIS    ", "Направляющая"_cp1251, B::Line),
      // A sheet is placed by its corner and the point that gives its rotation.
      WithPoints(Shaped(36, "PLANDEF ", "План"_cp1251, B::OrientPoint), 2, 2),
      Shaped(37, "LNDEFECT", "Линейный дефект"_cp1251, B::Line),
      Shaped(38, "SQDEFECT", "Площадной дефект"_cp1251, B::Polygon),
      Plain(39, "RAD_MEAS", "Измеритель радиуса"_cp1251, 3, 3, false),
      Plain(40, "SLOPMEAS", "Измеритель уклона"_cp1251, 2, 3, false),
  };
  for (const TItemKind& kind : kinds) TKindRegistry::Register(kind);
}

}  // namespace vellmar
