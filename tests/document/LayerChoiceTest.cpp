#include <gtest/gtest.h>

#include <vector>

#include "document/LayerChoice.h"
#include "document/StreetStructure.h"

namespace vellmar {
namespace {

constexpr int32_t kRoadway = 2, kLawn = 4, kCurb = 8, kAxis = 35;

TKindSet AllBut(int32_t kind) { return TLayerChoice::With(TLayerChoice::Every(), kind, false); }

// Each step double-clicks a kind; the set shown after it.
struct TOnlyCase {
  const char* Name;
  TKindSet Start;
  std::vector<int32_t> Clicks;
  TKindSet Shown;
};

class LayerChoiceOnly : public testing::TestWithParam<TOnlyCase> {};

TEST_P(LayerChoiceOnly, DoubleClicksShowOneKindAndGoBack) {
  const TOnlyCase& c = GetParam();
  TLayerChoice choice;
  TKindSet shown = c.Start;
  for (const int32_t kind : c.Clicks) shown = choice.OnlyOrBack(shown, kind);
  EXPECT_EQ(shown, c.Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LayerChoiceOnly,
    testing::Values(TOnlyCase{"OnlyOne", AllBut(34), {kLawn}, {kLawn}},
                    TOnlyCase{"AgainGoesBack", AllBut(34), {kLawn, kLawn}, AllBut(34)},
                    TOnlyCase{"AnotherAloneThenBackToTheFirstSet", {kRoadway, kCurb}, {kLawn, kAxis, kAxis}, {kRoadway, kCurb}},
                    TOnlyCase{"ShownAloneAlreadyMeansEvery", {kLawn}, {kLawn}, TLayerChoice::Every()},
                    TOnlyCase{"BackTwiceComesAloneAgain", {kRoadway, kCurb}, {kLawn, kLawn, kLawn}, {kLawn}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LayerChoice, AChangeBetweenOnlyAndBackStartsAfresh) {
  TLayerChoice choice;
  TKindSet shown = choice.OnlyOrBack({kRoadway, kCurb}, kLawn);
  shown = TLayerChoice::With(shown, kAxis, true);  // ticked by hand
  shown = choice.OnlyOrBack(shown, kCurb);
  EXPECT_EQ(shown, TKindSet{kCurb});
  EXPECT_EQ(choice.OnlyOrBack(shown, kCurb), (TKindSet{kLawn, kAxis}));
}

TEST(LayerChoice, RowsCountEachKindsItemsAndSayWhatIsShown) {
  RegisterItemKinds();
  TStreetStructure street;
  for (int i = 0; i < 3; ++i) street.ItemList(kLawn).NewItem();
  street.ItemList(kCurb).NewItem();
  const std::vector<TLayerRow> rows = LayerRows(street, {kCurb, kAxis});
  ASSERT_EQ(rows.size(), size_t{kKindCount});
  for (const TLayerRow& row : rows) {
    EXPECT_EQ(row.Name, TKindRegistry::Kind(row.Kind).DisplayName);
    EXPECT_EQ(row.Count, row.Kind == kLawn ? 3 : row.Kind == kCurb ? 1 : 0) << row.Kind;
    EXPECT_EQ(row.Visible, row.Kind == kCurb || row.Kind == kAxis) << row.Kind;
  }
  EXPECT_EQ(rows[kAxis].Kind, kAxis);
}

}  // namespace
}  // namespace vellmar
