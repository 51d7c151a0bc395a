#include "items/signs/ZnakItem.h"

#include "document/TaggedStream.h"
#include "geometry/Vector.h"
#include "items/signs/SignLibraries.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

// The plate's name among the sign descriptions, by its library file, else by the file
// its picture came from.
std::string PlateDescription(const TEmfSubItem& plate) {
  const TNameValueList& descriptions = SignDescriptions();
  for (const std::string& name : {plate.LibName(), plate.FileName()}) {
    if (name.empty()) continue;
    const size_t slash = name.find_last_of("\\/");
    if (std::optional<std::string> found = descriptions.Value(slash == std::string::npos ? name : name.substr(slash + 1))) {
      return *found;
    }
  }
  return {};
}

}  // namespace

void TZnakItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TPointItem::GetPropertyNames(lines);
  lines.emplace_back("Тип_опоры"_cp1251);
  for (int32_t i = 1; i <= PlateCount(); ++i) {
    for (const std::string_view field : {"Знак_"_cp1251, "Название_"_cp1251, "Статус_"_cp1251}) {
      std::string& name = lines.emplace_back(field);
      name += std::to_string(i);
    }
  }
}

void TZnakItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TPointItem::GetPropertyValues(lines);
  lines.push_back(supportType_);
  for (const auto& plate : plates_) {
    lines.push_back(plate->Caption());
    lines.push_back(PlateDescription(*plate));
    lines.push_back(plate->Status());
  }
}

const TSignLibraries& TZnakItem::Libraries() const {
  return libraries_ != nullptr ? *libraries_ : ProgramSignLibraries();
}

TEmfSubItem& TZnakItem::Plate(int32_t index) const {
  if (index < 0 || index >= PlateCount()) {
    throw EVellmarError("TZnakItem.Plate: index " + std::to_string(index) + " out of 0.." +
                        std::to_string(PlateCount() - 1));
  }
  return *plates_[static_cast<size_t>(index)];
}

TEmfSubItem& TZnakItem::AddPlate() {
  TEmfSubItem& plate = *plates_.emplace_back(std::make_unique<TEmfSubItem>(*this));
  Points().SetModified(true);
  return plate;
}

void TZnakItem::DeletePlate(int32_t index) {
  Plate(index);  // checks the index
  plates_.erase(plates_.begin() + index);
  Points().SetModified(true);
}

void TZnakItem::LoadFromStream(TStream& stream) {
  TPointItem::LoadFromStream(stream);
  supportType_ = TestIdent(stream, "ZNANCKND") ? ReadString(stream) : std::string();
  newPointLayout_ = TestIdent(stream, "ZNNEWPNT");
  plates_.clear();
  // Every stored plate opens with an ident, which bounds a damaged count.
  const int32_t count = TestIdent(stream, "ZNSUBCNT") ? ReadCount(stream, TIdent::kLength) : 0;
  for (int32_t i = 0; i < count; ++i) AddPlate().LoadFromStream(stream);
}

void TZnakItem::SaveToStream(TStream& stream) const {
  TPointItem::SaveToStream(stream);
  if (!supportType_.empty()) {
    WriteIdent(stream, "ZNANCKND");
    WriteString(stream, supportType_);
  }
  WriteIdent(stream, "ZNNEWPNT");
  WriteIdent(stream, "ZNSUBCNT");
  WriteCount(stream, plates_.size());
  for (const auto& plate : plates_) plate->SaveToStream(stream);
}

void TZnakItem::AfterLoad() {
  TPointList& points = Points();
  if (!newPointLayout_ && points.Count() == 3) {
    // The old layout had the plates at point 1: the post now bends 3 units before them.
    const TXYZ p1 = points.GetVertex(1);
    const TXYZ ahead = SubXYZ(p1, points.GetVertex(2));
    // Coinciding points give no direction; the bend then stays where it is.
    const TXYZ back = LengthXYZ(ahead) > 0.0 ? SetLengthXYZ(ahead, 3.0) : TXYZ{};
    points.SetVertex(1, SubXYZ(back, p1));
    points.SetVertex(2, p1);
  }
  // Repaired once: saving writes the current layout.
  newPointLayout_ = true;
  if (points.Count() == 2) {
    points.InsertNew(2, AddXYZ(points.GetVertex(1), {1.0f, 1.0f, 0.0f}));
  }
}

}  // namespace vellmar
