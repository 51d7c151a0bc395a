#include "items/signs/ZnakItem.h"

#include "document/TaggedStream.h"
#include "geometry/Vector.h"
#include "items/signs/SignLibraries.h"
#include "platform/Error.h"

namespace vellmar {

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
