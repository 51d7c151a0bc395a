#include "document/AbstractItem.h"

#include <cmath>
#include <string>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "geometry/Matrix.h"
#include "geometry/Vector.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {

TAbstractItem::TAbstractItem(TStreetStructure& street, const TItemKind& kind)
    : street_(street), kind_(kind), points_(this, street.Points()), references_(street, /*fixed=*/true, 1) {
  // The first item of a kind (since the list was last cleared) sets up its collections.
  if (street_.ItemList(kind_.Index).LastID() == 0) InitKindCollections();
  street_.MarkModified();
}

TAbstractItem::~TAbstractItem() {
  for (const TKindPrimitives& entry : kindPrimitives_) {
    if (OwnsCollection(entry.Collection)) entry.Collection->MarkDeleted(entry.Prims);
  }
  if (isReferenced_) street_.RemoveFromReferenceLists(this);
}

bool TAbstractItem::OwnsCollection(const TDxPrimCollection* collection) const {
  for (const auto& own : street_.KindCollections(kind_.Index)) {
    if (own.get() == collection) return true;
  }
  return false;
}

void TAbstractItem::Rebuild() {
  if (!points_.Modified()) return;
  const auto& collections = street_.KindCollections(kind_.Index);
  bool current = kindPrimitives_.size() == collections.size();
  for (const TKindPrimitives& entry : kindPrimitives_) {
    if (!OwnsCollection(entry.Collection)) {
      current = false;
    } else if (!entry.Prims.empty()) {
      entry.Collection->MarkDeleted(entry.Prims);
    }
  }
  // The kind's collections were made anew (or the kind has others now): start over.
  if (!current) {
    kindPrimitives_.clear();
    for (const auto& collection : collections) kindPrimitives_.push_back({collection.get(), {}});
  }
  for (const TKindPrimitives& entry : kindPrimitives_) entry.Collection->BeginRecord();
  if (active_) BuildPrimitives();
  for (TKindPrimitives& entry : kindPrimitives_) entry.Prims = entry.Collection->TakeRecorded();
  points_.SetModified(false);
}

void TAbstractItem::InitKindCollections() const {
  if (kind_.InitKindCollections != nullptr) kind_.InitKindCollections(street_);
}

uint8_t TAbstractItem::Category() const {
  return kind_.Category;
}
int32_t TAbstractItem::KindIndex() const {
  return kind_.Index;
}
std::string_view TAbstractItem::DisplayName() const {
  return kind_.DisplayName;
}
TIdent TAbstractItem::Ident() const {
  return kind_.Ident;
}
int32_t TAbstractItem::MinPointCount() const {
  return kind_.MinPointCount;
}
int32_t TAbstractItem::MaxPointCount() const {
  return kind_.MaxPointCount;
}
bool TAbstractItem::IsClosed() const {
  return kind_.IsClosed;
}
bool TAbstractItem::IsAnnotationKind() const {
  return kind_.IsAnnotationKind;
}

void TAbstractItem::SetID(int32_t id) {
  id_ = id;
  street_.ItemList(kind_.Index).IDsChanged();
}

bool TAbstractItem::HitTest(const TXYZ& point, float& distance, float maxDistance) {
  double d = 0.0;
  if (points_.Count() == 1) {
    d = DistanceXYZ(points_.GetVertex(0), point);
  } else {
    const std::optional<TPolylineLocation> location = points_.Locate(point);
    if (!location) return false;
    d = std::fabs(location->Offset);
  }
  if (!(d <= maxDistance)) return false;
  distance = static_cast<float>(d);
  return true;
}

void TAbstractItem::GetPropertyNames(std::vector<std::string>& lines) const {
  static constexpr auto kGroup = Cp1251("Имя_группы");
  static constexpr auto kComment = Cp1251("Примечание");
  static constexpr auto kComment2 = Cp1251("Примечание2");
  lines.push_back("ID");
  lines.push_back(kGroup.Str());
  lines.push_back(kComment.Str());
  lines.push_back(kComment2.Str());
}

void TAbstractItem::GetPropertyValues(std::vector<std::string>& lines) const {
  lines.push_back(std::to_string(id_));
  lines.push_back(groupName_);
  lines.push_back(comment_);
  lines.push_back(comment2_);
}

void TAbstractItem::DrawImmediate(const TDxDrawParams& /*params*/, TModeSet /*modes*/) {}

void TAbstractItem::DrawDirect(const TDxDrawParams& /*params*/) {}

void TAbstractItem::ExportSvg(std::vector<std::string>& lines, const TMatrix44& view) {
  const TXYZArray& polyline = points_.Polyline();
  if (polyline.empty()) return;
  std::string line = "<polyline points=\"";
  for (size_t k = 0; k < polyline.size(); ++k) {
    const TXYZ p = MatrixTransformPoint(view, polyline[k]);
    if (k > 0) line += ' ';
    line += FormatGeneral(p.x) + ',' + FormatGeneral(p.y);
  }
  line += "\" fill=\"none\" stroke=\"black\"/>";
  lines.push_back(std::move(line));
}

void TAbstractItem::GetTransformedPoints(const TMatrix44& matrix, TXYZArray& points) const {
  points.clear();
  for (int32_t i = 0; i < points_.Count(); ++i)
    points.push_back(MatrixTransformPoint(matrix, points_.GetVertex(i)));
}

TAbstractItem* TAbstractItem::ReferenceAxis() const {
  TAbstractItem* axis = references_.Items(0);
  return axis != nullptr ? axis : street_.MainAxis();
}

void TAbstractItem::KindNeedsRebuild() const {
  street_.ItemList(kind_.Index).SetNeedsRebuild(true);
}

void TAbstractItem::SetGroupName(const std::string& name) {
  if (name != groupName_) street_.MarkModified();
  const bool wasActive = active_;
  groupName_ = name;
  active_ = true;
  if (!name.empty()) {
    if (const std::optional<std::string> value = street_.GroupNames().Value(name)) active_ = *value == "ON";
  }
  if (active_ != wasActive) points_.SetModified(true);
}

void TAbstractItem::LoadFromStream(TStream& stream) {
  if (!TestIdent(stream, "ITEM    ")) throw EVellmarError("TAbstractItem.LoadFromStream: Ident<>ITEM");
  if (!TestIdent(stream, Ident())) {
    throw EVellmarError("TAbstractItem.LoadFromStream: Ident<>" + Ident().Text());
  }
  SetID(ReadInt32(stream));
  points_.LoadFromStream(stream);
  if (TestIdent(stream, "ITEMACTV")) active_ = ReadFlag(stream);
  SetGroupName(TestIdent(stream, "GROUPNAM") ? ReadString(stream) : std::string());
  comment_ = TestIdent(stream, "COMMENT ") ? ReadString(stream) : std::string();
  comment2_ = TestIdent(stream, "COMMENT2") ? ReadString(stream) : std::string();
  if (TestIdent(stream, "REFERAX ")) references_.LoadFromStream(stream);
}

void TAbstractItem::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "ITEM    ");
  WriteIdent(stream, Ident());
  WriteInt32(stream, id_);
  points_.SaveToStream(stream);
  WriteIdent(stream, "ITEMACTV");
  WriteFlag(stream, active_);
  if (!groupName_.empty()) {
    WriteIdent(stream, "GROUPNAM");
    WriteString(stream, groupName_);
  }
  if (!comment_.empty()) {
    WriteIdent(stream, "COMMENT ");
    WriteString(stream, comment_);
  }
  if (!comment2_.empty()) {
    WriteIdent(stream, "COMMENT2");
    WriteString(stream, comment2_);
  }
  if (references_.Items(0) != nullptr) {
    WriteIdent(stream, "REFERAX ");
    references_.SaveToStream(stream);
  }
}

}  // namespace vellmar
