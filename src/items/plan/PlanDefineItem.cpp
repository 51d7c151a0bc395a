#include "items/plan/PlanDefineItem.h"

#include <string>
#include <utility>

#include "document/ChunkFields.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"

namespace vellmar {

namespace {

// Stamp idents by corner, in the order they are stored.
constexpr std::array<TIdent, TPlanDefineItem::kCorners> kStampIdents = {"PLDFSTTL", "PLDFSTTR", "PLDFSTBL",
                                                                        "PLDFSTBR"};

// How many stamp streets are being read inside each other right now.
thread_local int stampDepth = 0;

class TDepthGuard {
 public:
  TDepthGuard() {
    if (stampDepth >= TPlanDefineItem::kMaxStampDepth) {
      throw EVellmarError("TPlanDefineItem.LoadFromStream: stamps nested deeper than " +
                          std::to_string(TPlanDefineItem::kMaxStampDepth));
    }
    ++stampDepth;
  }
  ~TDepthGuard() { --stampDepth; }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;
};

void LoadOptionalDouble(TStream& stream, const TIdent& ident, double& field) {
  if (TestIdent(stream, ident)) field = ReadDouble(stream);
}

}  // namespace

TPlanDefineItem::TPlanDefineItem(TStreetStructure& street, const TItemKind& kind)
    : TOrientPointItem(street, kind) {}

TPlanDefineItem::~TPlanDefineItem() = default;

void TPlanDefineItem::SetIndents(int32_t left, int32_t right, int32_t top, int32_t bottom) {
  indentLeft_ = left;
  indentRight_ = right;
  indentTop_ = top;
  indentBottom_ = bottom;
}

void TPlanDefineItem::SetStamp(TCorner corner, std::unique_ptr<TStreetStructure> stamp) {
  stamps_[static_cast<size_t>(corner)] = std::move(stamp);
}

void TPlanDefineItem::LoadStamp(TStream& stream, TCorner corner) {
  const TDepthGuard guard;
  auto stamp = std::make_unique<TStreetStructure>();
  stamp->LoadFromStream(stream);
  SetStamp(corner, std::move(stamp));
}

void TPlanDefineItem::LoadFromStream(TStream& stream) {
  TOrientPointItem::LoadFromStream(stream);
  if (TestIdent(stream, "PLDFSTMP")) oldStamp_.LoadFromStream(stream);
  if (TestIdent(stream, "PLDFCOMM")) oldComment_.LoadFromStream(stream);
  LoadOptionalDouble(stream, "PLDFSCAL", sheetScale_);
  LoadChunk(stream, "PLDFDPI ", dpi_);
  if (TestIdent(stream, "PLDFDSET")) sheetKinds_ = ReadKindSet(stream, Street().TagsSize());
  // The text form replaces the binary one: it names kinds the same way whatever the set width.
  if (TestIdent(stream, "PLDFDS_2")) sheetKinds_ = TKindRegistry::TextToKindSet(ReadString(stream));
  LoadChunk(stream, "PLDFFMTH", formatHeight_);
  LoadChunk(stream, "PLDFFMTW", formatWidth_);
  LoadChunk(stream, "PLDFILFT", indentLeft_);
  LoadChunk(stream, "PLDFIRGH", indentRight_);
  LoadChunk(stream, "PLDFITOP", indentTop_);
  LoadChunk(stream, "PLDFIBOT", indentBottom_);
  LoadChunk(stream, "PLDFLAND", landscape_);
  // Older files had a single stamp in the top-right corner.
  if (TestIdent(stream, "PLDFSTP2")) LoadStamp(stream, TCorner::TopRight);
  for (size_t corner = 0; corner < kStampIdents.size(); ++corner) {
    if (TestIdent(stream, kStampIdents[corner])) LoadStamp(stream, static_cast<TCorner>(corner));
  }
  TestIdent(stream, "PLDFSTOP");
}

void TPlanDefineItem::SaveToStream(TStream& stream) const {
  TOrientPointItem::SaveToStream(stream);
  if (!oldStamp_.Empty()) {
    WriteIdent(stream, "PLDFSTMP");
    oldStamp_.SaveToStream(stream);
  }
  if (!oldComment_.Empty()) {
    WriteIdent(stream, "PLDFCOMM");
    oldComment_.SaveToStream(stream);
  }
  WriteIdent(stream, "PLDFSCAL");
  WriteDouble(stream, sheetScale_);
  SaveChunk(stream, "PLDFDPI ", dpi_);
  SaveChunk(stream, "PLDFDS_2", TKindRegistry::KindSetToText(sheetKinds_));
  SaveChunk(stream, "PLDFFMTH", formatHeight_);
  SaveChunk(stream, "PLDFFMTW", formatWidth_);
  SaveChunk(stream, "PLDFILFT", indentLeft_);
  SaveChunk(stream, "PLDFIRGH", indentRight_);
  SaveChunk(stream, "PLDFITOP", indentTop_);
  SaveChunk(stream, "PLDFIBOT", indentBottom_);
  SaveChunk(stream, "PLDFLAND", landscape_);
  for (size_t corner = 0; corner < kStampIdents.size(); ++corner) {
    if (stamps_[corner] == nullptr) continue;
    WriteIdent(stream, kStampIdents[corner]);
    stamps_[corner]->SaveToStream(stream);
  }
  WriteIdent(stream, "PLDFSTOP");
}

}  // namespace vellmar
