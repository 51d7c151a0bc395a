// Guards against a kind's class-level descriptors drifting from the file format's definition
// of that kind, as when the road sign reported category 0 instead of 2.

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>

#include "document/KindRegistry.h"
#include "kinds/AllKinds.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

struct TKindRow {
  int32_t Index;
  TIdent Ident;
  const char* DisplayName;  // UTF-8
  TKindBase Base;
  uint8_t Category;
  int32_t MinPoints;
  int32_t MaxPoints;  // 0 = no limit
  bool Closed;
  bool Annotation;
};

using B = TKindBase;

// Point kinds give 1..1 points and are annotations, oriented points 1..2; lines need 2 points,
// polygons 3 and are closed; kinds on the plain item give their own counts.
constexpr TKindRow kKinds[] = {
    {0, "SUBLAYER", "Подложка", B::Abstract, 0, 4, 4, false, true},
    {1, "RAZDPOL ", "Разд. полоса", B::Polygon, 0, 3, 0, true, false},
    {2, "ROADWAY ", "Проезжая часть", B::Polygon, 0, 3, 0, true, false},
    {3, "TROTUAR ", "Тротуар", B::Polygon, 0, 3, 0, true, false},
    {4, "GAZON   ", "Газон", B::Polygon, 0, 3, 0, true, false},
    {5, "OBOCH   ", "Обочина", B::Polygon, 0, 3, 0, true, false},
    {6, "HOUSE   ", "Здание", B::Polygon, 0, 3, 0, true, false},
    {7, "DSGNFIGR", "Оформительская фигура", B::Polygon, 0, 3, 0, true, false},
    {8, "BORT    ", "Борт", B::Line, 0, 2, 0, false, false},
    {9, "ROADWALL", "Ограждение", B::Line, 0, 2, 0, false, false},
    {10, "LNRAZMET", "Линия разметки", B::Line, 0, 2, 0, false, false},
    {11, "ARRAZMET", "Разметка символы", B::Line, 0, 2, 0, false, false},
    {12, "OSTROVOK", "Разметка-островок", B::Polygon, 0, 3, 0, true, false},
    {13, "RAZMSTOP", "Разметка остановки", B::Line, 0, 2, 0, false, false},
    {14, "ZEBRA   ", "Разметка-зебра", B::Line, 0, 2, 0, false, false},
    {15, "RAZMTEXT", "Разметка текст", B::OrientPoint, 0, 1, 2, false, true},
    {16, "RAZMZNAK", "Разметка знак", B::OrientPoint, 0, 1, 2, false, true},
    {17, "PICTURE ", "Картинка", B::OrientPoint, 0, 1, 2, false, true},
    {18, "TRAMWAY ", "Трам. линия", B::Line, 0, 2, 0, false, false},
    {19, "DSGNLINE", "Оформительская линия", B::Line, 0, 2, 0, false, false},
    // One placed copy of the block per point, as many as wanted.
    {20, "DSNBLOCK", "Оформительский блок", B::Abstract, 0, 1, 0, false, true},
    {21, "TXTLABEL", "Текст", B::OrientPoint, 0, 1, 2, false, true},
    // Foot of the post, a point behind the plates, the plates' mount: exactly three.
    {22, "ZNAK    ", "Дорожный знак", B::Point, 2, 3, 3, false, true},
    {23, "ROADSGN2", "Дорожный знак 2", B::Abstract, 0, 1, 3, false, false},
    {24, "KMSIGN  ", "Километровый знак", B::Point, 0, 1, 1, false, true},
    {25, "RULER   ", "Привязочные точки", B::Abstract, 0, 1, 0, false, false},
    {26, "ARCCOORD", "Кривая", B::Line, 0, 2, 0, false, false},
    {27, "KOLOD   ", "Колодец", B::Point, 0, 1, 1, false, true},
    {28, "RESHET  ", "Решетка", B::OrientPoint, 0, 1, 2, false, true},
    {29, "SVETOFOR", "Светофор", B::Point, 0, 1, 1, false, true},
    {30, "RAZMER  ", "Размерная линия", B::Abstract, 0, 2, 0, false, false},
    {31, "RZLABLEP", "Место для подписей", B::Line, 0, 2, 0, false, false},
    // A stop with fewer than two points is dropped at load.
    {32, "STOP    ", "Остановка", B::OrientPoint, 0, 2, 2, false, true},
    // A design block with a label: the block's counts.
    {33, "KERN    ", "Керн", B::Abstract, 0, 1, 0, false, true},
    {34, "CALCAREA", "Область обсчета", B::Polygon, 0, 3, 0, true, false},
    {35, "AXIS    ", "Направляющая", B::Line, 0, 2, 0, false, false},
    // The sheet's corner and the point that turns it.
    {36, "PLANDEF ", "План", B::OrientPoint, 0, 2, 2, false, true},
    {37, "LNDEFECT", "Линейный дефект", B::Line, 0, 2, 0, false, false},
    {38, "SQDEFECT", "Площадной дефект", B::Polygon, 0, 3, 0, true, false},
    {39, "RAD_MEAS", "Измеритель радиуса", B::Abstract, 0, 3, 3, false, false},
    {40, "SLOPMEAS", "Измеритель уклона", B::Abstract, 0, 2, 3, false, false},
};
static_assert(std::size(kKinds) == kKindCount);

void ExpectKindsAsDefined(const char* registration) {
  for (const TKindRow& row : kKinds) {
    SCOPED_TRACE(std::string(registration) + ", kind " + std::to_string(row.Index) + " " + row.Ident.Text());
    const TItemKind& kind = TKindRegistry::Kind(row.Index);
    EXPECT_EQ(kind.Index, row.Index);
    EXPECT_EQ(kind.Ident.Text(), row.Ident.Text());
    EXPECT_EQ(kind.DisplayName, Utf8ToCp1251(row.DisplayName));
    EXPECT_EQ(kind.Base, row.Base);
    EXPECT_EQ(kind.Category, row.Category);
    EXPECT_EQ(kind.MinPointCount, row.MinPoints);
    EXPECT_EQ(kind.MaxPointCount, row.MaxPoints);
    EXPECT_EQ(kind.IsClosed, row.Closed);
    EXPECT_EQ(kind.IsAnnotationKind, row.Annotation);
  }
}

TEST(KindDescriptors, EveryKindHasItsDefinedDescriptorsBeforeAndAfterItsOwnClassRegisters) {
  RegisterItemKinds();
  ExpectKindsAsDefined("generic entries");
  // The kinds' own classes replace factories and collections, never the descriptors.
  RegisterAllKinds();
  ExpectKindsAsDefined("own classes");
}

}  // namespace
}  // namespace vellmar
