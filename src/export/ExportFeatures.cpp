#include "export/ExportFeatures.h"

#include <cmath>
#include <numbers>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRebuild.h"
#include "document/KindRegistry.h"
#include "document/OrientPointItem.h"
#include "document/StreetStructure.h"
#include "export/BuiltShapes.h"
#include "export/MarkingPattern.h"
#include "geometry/Vector.h"
#include "export/PaintedMarking.h"
#include "items/ItemBoxes.h"
#include "items/road/AxisPlace.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/ZebraItem.h"
#include "items/signs/EmfSubItem.h"
#include "items/signs/ZnakItem.h"
#include "items/text/TextLabelItem.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

// ID, group and the two comments: every item's first four fields, kept apart from the kind's own.
constexpr size_t kCommonFields = 4;

double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// The underlay's four points are the corners of the picture it lays on the plan.
constexpr int32_t kUnderlayKind = 0;

TFeatureShape ShapeOf(const TItemKind& kind, int32_t pointCount) {
  if (pointCount == 1) return TFeatureShape::Point;
  if (kind.Index == kUnderlayKind) return TFeatureShape::Area;
  if (kind.Base == TKindBase::Point || kind.Base == TKindBase::OrientPoint) return TFeatureShape::Point;
  return kind.IsClosed ? TFeatureShape::Area : TFeatureShape::Lines;
}

void AddShape(TExportFeature& feature, TAbstractItem& item, TMarkingPatterns& patterns) {
  const TItemKind& kind = item.Kind();
  TPointList& points = item.Points();
  feature.Shape = ShapeOf(kind, points.Count());
  if (feature.Shape == TFeatureShape::Point) {
    feature.Parts.push_back({points.GetVertex(0)});
    if (const auto* oriented = dynamic_cast<const TOrientPointItem*>(&item)) {
      feature.Rotation = Degrees(oriented->Orientation());
    } else if (points.Count() >= 2) {
      // A sign's plates face along its last segment.
      const TXYZ a = points.GetVertex(points.Count() - 2), b = points.GetVertex(points.Count() - 1);
      if (!XYZEqual(a, b)) feature.Rotation = Degrees(std::atan2(double{b.y} - a.y, double{b.x} - a.x));
    }
    return;
  }
  if (auto* marking = dynamic_cast<TLineRazmetItem*>(&item)) {
    feature.Parts = PaintMarking(*marking, patterns).Pieces;
    return;
  }
  if (item.KindIndex() == TZebraItem::kKindIndex) {
    // A crossing is its stripes: the path it is laid along is not painted.
    const std::vector<TPlanPolygon> stripes = TrianglesUnion(BuiltTriangles(item));
    if (!stripes.empty()) {
      feature.Shape = TFeatureShape::Area;
      for (const TPlanPolygon& stripe : stripes) {
        for (const TPlanRing& ring : stripe.Rings) {
          TXYZArray& part = feature.Parts.emplace_back();
          for (const TPlanXY& p : ring) part.push_back({static_cast<float>(p.X), static_cast<float>(p.Y), 0.0f});
        }
      }
      return;
    }
  }
  feature.Parts.push_back(DrawnLine(item));
}

void AddTexts(TExportFeature& feature, TAbstractItem& item) {
  if (const auto* label = dynamic_cast<const TTextLabelItem*>(&item)) feature.Text = Cp1251ToUtf8(label->Text());
  if (const auto* painted = dynamic_cast<const TRazmetTextItem*>(&item)) feature.Text = Cp1251ToUtf8(painted->Text());
  if (auto* sign = dynamic_cast<TZnakItem*>(&item)) {
    for (int32_t i = 0; i < sign->PlateCount(); ++i) {
      TEmfSubItem& plate = sign->Plate(i);
      feature.Plates.push_back({Cp1251ToUtf8(plate.Caption()), sign->PlateOutline(plate)});
    }
  }
  std::vector<std::string> names, values;
  item.GetPropertyNames(names);
  item.GetPropertyValues(values);
  for (size_t i = kCommonFields; i < names.size(); ++i) {
    feature.Fields.push_back({Cp1251ToUtf8(names[i]), i < values.size() ? Cp1251ToUtf8(values[i]) : std::string()});
  }
}

}  // namespace

std::string TrimmedIdent(int32_t kind) {
  std::string text = TKindRegistry::Kind(kind).Ident.Text();
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::vector<TKindFeatures> CollectFeatures(TStreetStructure& street, const TKindSet& kinds,
                                           const TExportProgress& progress) {
  int64_t total = 0, done = 0;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (kinds.Contains(kind)) total += street.ItemList(kind).Count();
  }
  if (kinds.Contains(TZebraItem::kKindIndex)) {
    TKindSet built;
    built.Include(TZebraItem::kKindIndex);
    // Their vertices are read below: collections that handed them to a device build again.
    street.RebuildKinds(KindsToBuildForDevice(street, built, nullptr), 1);
  }
  TMarkingPatterns patterns(street);
  TAbstractItem* axis = street.MainAxis();
  std::vector<TKindFeatures> out;
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    if (!kinds.Contains(kind) || !TKindRegistry::IsRegistered(kind)) continue;
    TItemList& list = street.ItemList(kind);
    TKindFeatures features{kind, TrimmedIdent(kind), Cp1251ToUtf8(TKindRegistry::Kind(kind).DisplayName), {}, {}};
    for (int32_t i = 0; i < list.Count(); ++i) {
      TAbstractItem& item = *list.Items(i);
      if (!ShownOnPlan(item) || item.Points().Count() == 0) continue;
      TExportFeature feature;
      feature.Item = &item;
      AddShape(feature, item, patterns);
      if (feature.Parts.empty()) continue;
      AddTexts(feature, item);
      if (axis != nullptr && axis != &item) {
        if (const auto place = PlaceOnAxis(axis->Points(), item.Points().GetVertex(0))) {
          feature.Station = place->Station;
          feature.Offset = place->Offset;
        }
      }
      for (const TFeatureField& field : feature.Fields) {
        if (std::find(features.FieldNames.begin(), features.FieldNames.end(), field.Name) == features.FieldNames.end()) {
          features.FieldNames.push_back(field.Name);
        }
      }
      features.Features.push_back(std::move(feature));
    }
    done += list.Count();
    if (progress && !progress(done, total)) throw EVellmarError("Export: stopped");
    if (!features.Features.empty()) out.push_back(std::move(features));
  }
  return out;
}

}  // namespace vellmar
