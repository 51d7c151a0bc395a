#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/StreetStructure.h"
#include "items/ItemDescription.h"
#include "items/ItemKinds.h"
#include "items/road/AxisItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/RoadDrawSupport.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/ZnakItem.h"
#include "items/text/TextLabelItem.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

constexpr int32_t kLawn = 4, kCurb = 8, kTextLabel = 21, kManhole = 27;

class ItemDescriptionTest : public testing::Test {
 public:
  ItemDescriptionTest() { RegisterAllItemKinds(); }
  TAbstractItem& Add(int32_t kind, const std::vector<TXYZ>& points) {
    TAbstractItem& item = *street.ItemList(kind).NewItem();
    for (const TXYZ& p : points) item.Points().InsertNew(item.Points().Count(), p);
    return item;
  }
  // The fields by their names, in UTF-8.
  static std::map<std::string, std::string> Fields(const TItemDescription& description) {
    std::map<std::string, std::string> fields;
    for (const TItemField& field : description.Fields) fields[Cp1251ToUtf8(field.Name)] = Cp1251ToUtf8(field.Value);
    return fields;
  }
  test::RoadDataRoot data;
  TStreetStructure street;
};

TEST_F(ItemDescriptionTest, LengthsOfLinesAndPerimetersAndAreasOfAreas) {
  struct TCase {
    const char* Name;
    int32_t Kind;
    std::vector<TXYZ> Points;
    std::optional<double> Length, Area;
  };
  // Far from the origin, where single coordinates keep centimetres only.
  const TCase cases[] = {
      {"a lawn, its closing edge counted", kLawn, {{1000, 500, 0}, {1030, 500, 0}, {1030, 508, 0}, {1000, 508, 0}}, 76.0, 240.0},
      {"a curb of two segments", kCurb, {{0, 0, 0}, {3, 4, 0}, {3, 10, 0}}, 11.0, std::nullopt},
      {"a manhole at a point", kManhole, {{5, 5, 0}}, std::nullopt, std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TAbstractItem& item = Add(c.Kind, c.Points);
    const TItemDescription description = DescribeItem(item);
    EXPECT_EQ(description.KindName, std::string(item.DisplayName()));
    EXPECT_EQ(description.PointCount, static_cast<int32_t>(c.Points.size()));
    ASSERT_EQ(description.Length.has_value(), c.Length.has_value());
    if (c.Length) {
      EXPECT_NEAR(*description.Length, *c.Length, 1e-9);
    }
    ASSERT_EQ(description.Area.has_value(), c.Area.has_value());
    if (c.Area) {
      EXPECT_NEAR(*description.Area, *c.Area, 1e-9);
    }
  }
}

TEST_F(ItemDescriptionTest, FieldsNameTheGroupCommentsAndWhatTheKindKeeps) {
  auto& marking = dynamic_cast<TLineRazmetItem&>(Add(TLineRazmetItem::kKindIndex, {{0, 0, 0}, {10, 0, 0}}));
  marking.SetGostName(std::string("1.5"));
  marking.SetComment(std::string("свежая"_cp1251));
  auto& axis = dynamic_cast<TAxisItem&>(Add(TAxisItem::kKindIndex, {{0, 0, 0}, {10, 0, 0}}));
  axis.SetAxisName(std::string("Главная"_cp1251));
  axis.SetPicketStep(20.5f);
  auto& label = dynamic_cast<TTextLabelItem&>(Add(kTextLabel, {{0, 0, 0}, {1, 0, 0}}));
  label.SetText(std::string("Проспект"_cp1251));
  struct TCase {
    TAbstractItem* Item;
    std::string Field, Value;
  };
  const TCase cases[] = {
      {&marking, "ID", std::to_string(marking.ID())},
      {&marking, "Примечание", "свежая"},
      {&marking, "Тип_разметки", "1.5"},
      {&marking, "Зеркально", "Нет"},
      {&axis, "Название", "Главная"},
      {&axis, "Шаг_пикетов", "20.5"},
      {&label, "Текст", "Проспект"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Field);
    const std::map<std::string, std::string> fields = Fields(DescribeItem(*c.Item));
    ASSERT_TRUE(fields.contains(c.Field));
    EXPECT_EQ(fields.at(c.Field), c.Value);
  }
}

// A sign tells each plate's number and name; the names come from the library's
// descriptions by the plate's picture file.
TEST_F(ItemDescriptionTest, ASignNamesEachPlateByNumberAndDescription) {
  TNamedMetafileLib library;
  TNameValueList translation;
  const TMetafile missing;
  const TSignLibraries libraries{library, translation, missing};
  auto& sign = dynamic_cast<TZnakItem&>(Add(TZnakItem::kKindIndex, {{0, 0, 0}, {-1, 5, 0}, {0, 5, 0}}));
  sign.UseLibraries(libraries);
  sign.AddPlate().SetLibName("5-19-1.emf");
  TEmfSubItem& second = sign.AddPlate();
  second.SetLibName("9-99_x.emf");
  second.SetStatus(std::string("снят"_cp1251));
  const std::map<std::string, std::string> fields = Fields(DescribeItem(sign));
  EXPECT_EQ(fields.at("Знак_1"), "5.19.1");
  EXPECT_EQ(fields.at("Название_1"), "Пешеходный переход");
  EXPECT_EQ(fields.at("Знак_2"), "9.99");
  EXPECT_EQ(fields.at("Название_2"), "");
  EXPECT_EQ(fields.at("Статус_2"), "снят");
}

}  // namespace
}  // namespace vellmar
