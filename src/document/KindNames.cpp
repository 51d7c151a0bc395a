#include "document/KindNames.h"

#include <array>

#include "document/KindRegistry.h"

namespace vellmar {

namespace {

// In kind order.
constexpr std::array<std::string_view, kKindCount> kEnglishNames = {
    "Underlay",        "Median strip",     "Carriageway",      "Sidewalk",         "Lawn",
    "Shoulder",        "Building",         "Design figure",    "Curb",             "Road barrier",
    "Marking line",    "Marking symbols",  "Island marking",   "Bus-stop marking", "Zebra crossing",
    "Marking text",    "Marking sign",     "Picture",          "Tram line",        "Design line",
    "Design block",    "Text",             "Road sign",        "Road sign 2",      "Kilometre sign",
    "Reference points", "Curve",           "Manhole",          "Grate",            "Traffic light",
    "Dimension line",  "Label place",      "Bus stop",         "Survey mark",      "Calculation area",
    "Road axis",       "Plan sheet",       "Line defect",      "Area defect",      "Radius gauge",
    "Slope gauge",
};

}  // namespace

std::string_view KindEnglishName(int32_t index) {
  if (index < 0 || index >= kKindCount) return {};
  return kEnglishNames[static_cast<size_t>(index)];
}

std::string_view KindName(int32_t index, TLanguage language) {
  return language == TLanguage::Russian ? TKindRegistry::Kind(index).DisplayName : KindEnglishName(index);
}

}  // namespace vellmar
