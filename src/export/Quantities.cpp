#include "export/Quantities.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRebuild.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "export/BuiltShapes.h"
#include "export/MarkingPattern.h"
#include "export/PaintedMarking.h"
#include "export/PlanPolygon.h"
#include "geometry/Planar.h"
#include "geometry/PolylineMeasure.h"
#include "items/ItemBoxes.h"
#include "items/road/ArrowLibrary.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/AxisPlace.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/OstrovokItem.h"
#include "items/road/ZebraItem.h"
#include "items/signs/EmfSubItem.h"
#include "items/signs/ZnakItem.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {

namespace {

constexpr int32_t kSurfaceKinds[] = {1, 2, 3, 4, 5, 6};
constexpr int32_t kLinearKinds[] = {8, 9, 18};
constexpr const char* kZebraType = "1.14.1";
constexpr int32_t kSecondSignKind = 23;
constexpr const char* kSecondSignNumber = "1.24";
constexpr const char* kIslandTypes[] = {"1.16.1", "1.16.2", "1.16.3", "1.16.4*", "1.16.5*"};

template <typename TVisit>
void ForShown(TStreetStructure& street, int32_t kind, TVisit visit) {
  TItemList& list = street.ItemList(kind);
  for (int32_t i = 0; i < list.Count(); ++i) {
    TAbstractItem& item = *list.Items(i);
    if (ShownOnPlan(item) && item.Points().Count() > 0) visit(item);
  }
}

std::string Metres(double value) { return FormatFixed(std::nearbyint(value * 1000.0) / 1000.0 + 0.0, 3); }

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string Optional(const std::optional<double>& value) { return value ? Metres(*value) : std::string(); }

}  // namespace

bool DesignationLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const bool digitA = a[i] >= '0' && a[i] <= '9', digitB = b[j] >= '0' && b[j] <= '9';
    if (digitA && digitB) {
      uint64_t x = 0, y = 0;
      const auto endA = std::from_chars(a.data() + i, a.data() + a.size(), x).ptr;
      const auto endB = std::from_chars(b.data() + j, b.data() + b.size(), y).ptr;
      if (x != y) return x < y;
      i = static_cast<size_t>(endA - a.data());
      j = static_cast<size_t>(endB - b.data());
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

TQuantities CountQuantities(TStreetStructure& street) {
  TKindSet built;
  built.Include(TZebraItem::kKindIndex);
  built.Include(TOstrovokItem::kKindIndex);
  // Their vertices are read below: collections that handed them to a device build again.
  street.RebuildKinds(KindsToBuildForDevice(street, built, nullptr), 1);

  TQuantities out;
  std::map<std::string, TMarkingQuantity, decltype(&DesignationLess)> markings(&DesignationLess);
  const auto marking = [&](const std::string& type) -> TMarkingQuantity& {
    TMarkingQuantity& entry = markings[type];
    entry.Type = type;
    return entry;
  };
  TMarkingPatterns patterns(street);
  ForShown(street, TLineRazmetItem::kKindIndex, [&](TAbstractItem& item) {
    auto& line = dynamic_cast<TLineRazmetItem&>(item);
    const TPaintedMarking painted = PaintMarking(line, patterns);
    TMarkingQuantity& entry = marking(line.GostName().empty() ? std::string("?") : Cp1251ToUtf8(line.GostName()));
    ++entry.Count;
    entry.Length += painted.PaintedLength;
    entry.Area += painted.PaintedArea;
  });
  ForShown(street, TZebraItem::kKindIndex, [&](TAbstractItem& item) {
    TMarkingQuantity& entry = marking(kZebraType);
    ++entry.Count;
    entry.Length += PolylineLength(DrawnLine(item), false);
    entry.Area += TriangleListArea(BuiltTriangles(item));
  });
  ForShown(street, TOstrovokItem::kKindIndex, [&](TAbstractItem& item) {
    const auto& island = dynamic_cast<const TOstrovokItem&>(item);
    const size_t type = std::min<size_t>(island.GostType(), std::size(kIslandTypes) - 1);
    TMarkingQuantity& entry = marking(kIslandTypes[type]);
    ++entry.Count;
    entry.Length += PolylineLength(DrawnLine(item), true);
    entry.Area += TriangleListArea(BuiltTriangles(item));
  });
  ForShown(street, TArrowRazmetItem::kKindIndex, [&](TAbstractItem& item) {
    const auto& arrows = dynamic_cast<const TArrowRazmetItem&>(item);
    const int32_t index = arrows.ArrowIndex();
    if (index < 0 || index >= ArrowLibrary().Count()) return;
    const TArrowType& type = ArrowLibrary().Type(index);
    const int32_t count = std::max(0, item.Points().Count() - 1);
    TMarkingQuantity& entry = marking(Cp1251ToUtf8(type.GostSubName));
    entry.Count += count;
    entry.Area += count * (street.ArrowBig() ? type.Big.Area : type.Normal.Area);
  });
  for (auto& [type, entry] : markings) out.Markings.push_back(entry);

  TAbstractItem* axis = street.MainAxis();
  std::map<std::string, TSignQuantity, decltype(&DesignationLess)> signs(&DesignationLess);
  const auto place = [axis](TAbstractItem& item) {
    TSignPlace at{item.ID(), std::nullopt, std::nullopt, {}};
    if (axis == nullptr) return at;
    if (const auto on = PlaceOnAxis(axis->Points(), item.Points().GetVertex(0))) {
      at.Station = on->Station;
      at.Offset = on->Offset;
      at.Side = on->Offset > 0 ? "right" : on->Offset < 0 ? "left" : "axis";
    }
    return at;
  };
  const auto count = [&signs](const std::string& number, const TSignPlace& at) {
    TSignQuantity& entry = signs[number];
    entry.Number = number;
    entry.Places.push_back(at);
  };
  ForShown(street, TZnakItem::kKindIndex, [&](TAbstractItem& item) {
    auto& sign = dynamic_cast<TZnakItem&>(item);
    const TSignPlace at = place(item);
    for (int32_t i = 0; i < sign.PlateCount(); ++i) count(Cp1251ToUtf8(sign.Plate(i).Caption()), at);
  });
  // The second sign kind always shows sign 1.24.
  ForShown(street, kSecondSignKind, [&](TAbstractItem& item) { count(kSecondSignNumber, place(item)); });
  for (auto& [number, entry] : signs) {
    std::stable_sort(entry.Places.begin(), entry.Places.end(), [](const TSignPlace& a, const TSignPlace& b) {
      return a.Station.value_or(0.0) < b.Station.value_or(0.0);
    });
    out.Signs.push_back(std::move(entry));
  }

  for (const int32_t kind : kSurfaceKinds) {
    TKindQuantity entry{kind, Cp1251ToUtf8(TKindRegistry::Kind(kind).DisplayName), 0, 0.0};
    std::vector<TPlanPolygon> polygons;
    ForShown(street, kind, [&](TAbstractItem& item) {
      ++entry.Count;
      std::vector<TPlanPolygon> own = EvenOddPolygons({DrawnLine(item)});
      polygons.insert(polygons.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    });
    if (entry.Count == 0) continue;
    entry.Amount = UnionArea(polygons);
    out.Surfaces.push_back(std::move(entry));
  }
  for (const int32_t kind : kLinearKinds) {
    TKindQuantity entry{kind, Cp1251ToUtf8(TKindRegistry::Kind(kind).DisplayName), 0, 0.0};
    ForShown(street, kind, [&](TAbstractItem& item) {
      ++entry.Count;
      entry.Amount += PolylineLength(DrawnLine(item), false);
    });
    if (entry.Count > 0) out.Lines.push_back(std::move(entry));
  }
  return out;
}

std::string QuantitiesText(const TQuantities& q) {
  std::string text;
  for (const TMarkingQuantity& m : q.Markings) {
    text += "marking " + m.Type + " count " + std::to_string(m.Count) + " length " + Metres(m.Length) + " area " +
            Metres(m.Area) + "\n";
  }
  for (const TSignQuantity& s : q.Signs) {
    text += "sign " + s.Number + " count " + std::to_string(s.Places.size()) + "\n";
    for (const TSignPlace& p : s.Places) {
      text += "  id " + std::to_string(p.Id);
      if (p.Station) text += " station " + Metres(*p.Station) + " offset " + Metres(*p.Offset) + " " + p.Side;
      text += "\n";
    }
  }
  for (const TKindQuantity& k : q.Surfaces) {
    text += "surface " + k.Name + " count " + std::to_string(k.Count) + " area " + Metres(k.Amount) + "\n";
  }
  for (const TKindQuantity& k : q.Lines) {
    text += "line " + k.Name + " count " + std::to_string(k.Count) + " length " + Metres(k.Amount) + "\n";
  }
  return text;
}

std::string QuantitiesCsv(const TQuantities& q) {
  std::string text = "section,name,count,length_m,area_m2,id,station_m,offset_m,side\n";
  const auto row = [&text](std::initializer_list<std::string> fields) {
    bool first = true;
    for (const std::string& field : fields) {
      if (!first) text += ',';
      text += CsvField(field);
      first = false;
    }
    text += '\n';
  };
  for (const TMarkingQuantity& m : q.Markings) {
    row({"marking", m.Type, std::to_string(m.Count), Metres(m.Length), Metres(m.Area), "", "", "", ""});
  }
  for (const TSignQuantity& s : q.Signs) {
    row({"sign", s.Number, std::to_string(s.Places.size()), "", "", "", "", "", ""});
    for (const TSignPlace& p : s.Places) {
      row({"sign_place", s.Number, "", "", "", std::to_string(p.Id), Optional(p.Station), Optional(p.Offset), p.Side});
    }
  }
  for (const TKindQuantity& k : q.Surfaces) {
    row({"surface", k.Name, std::to_string(k.Count), "", Metres(k.Amount), "", "", "", ""});
  }
  for (const TKindQuantity& k : q.Lines) {
    row({"line", k.Name, std::to_string(k.Count), Metres(k.Amount), "", "", "", "", ""});
  }
  return text;
}

}  // namespace vellmar
