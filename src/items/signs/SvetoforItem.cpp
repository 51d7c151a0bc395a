#include "items/signs/SvetoforItem.h"

#include "document/ChunkFields.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "items/signs/SvetoforPictureLib.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

void TSvetoforSubItem::SetName(std::string name) {
  name_ = std::move(name);
  // An unknown name clears the index, so that name and picture never disagree.
  libIndex_ = owner_.Heads().IndexOfName(name_);
  owner_.Points().SetModified(true);
}

void TSvetoforSubItem::SetOffset(const TXYZ& offset) {
  offset_ = offset;
  owner_.Points().SetModified(true);
}

void TSvetoforSubItem::SetRotation(float rotation) {
  rotation_ = rotation;
  owner_.Points().SetModified(true);
}

void TSvetoforItem::UseLibraries(const TSvetoforPictureLib& supports, const TSvetoforPictureLib& heads) {
  supports_ = &supports;
  headPictures_ = &heads;
  MakeKindCollections(Street(), supports, heads);
  Street().ItemList(kKindIndex).InvalidatePoints();
}

const TSvetoforPictureLib& TSvetoforItem::Supports() const {
  return supports_ != nullptr ? *supports_ : SvetoforSupports();
}

const TSvetoforPictureLib& TSvetoforItem::Heads() const {
  return headPictures_ != nullptr ? *headPictures_ : SvetoforHeads();
}

void TSvetoforItem::SetSupport(std::string name) {
  supportName_ = std::move(name);
  supportIndex_ = Supports().IndexOfName(supportName_);
  Points().SetModified(true);
}

TSvetoforSubItem& TSvetoforItem::Head(int32_t index) const {
  if (index < 0 || index >= HeadCount()) {
    throw EVellmarError("TSvetoforItem.Head: index " + std::to_string(index) + " out of 0.." +
                        std::to_string(HeadCount() - 1));
  }
  return *heads_[static_cast<size_t>(index)];
}

TSvetoforSubItem& TSvetoforItem::AddHead() {
  TSvetoforSubItem& head = *heads_.emplace_back(std::make_unique<TSvetoforSubItem>(*this));
  Points().SetModified(true);
  return head;
}

void TSvetoforItem::DeleteHead(int32_t index) {
  Head(index);  // checks the index
  heads_.erase(heads_.begin() + index);
  Points().SetModified(true);
}

void TSvetoforItem::LoadFromStream(TStream& stream) {
  TPointItem::LoadFromStream(stream);
  if (TestIdent(stream, "ANC_NAME")) SetSupport(ReadString(stream));
  heads_.clear();
  // Every stored head opens with an ident, which bounds a damaged count.
  const int32_t count = TestIdent(stream, "SUBCOUNT") ? ReadCount(stream, TIdent::kLength) : 0;
  for (int32_t i = 0; i < count; ++i) {
    TSvetoforSubItem& head = AddHead();
    if (TestIdent(stream, "SVETNAME")) head.SetName(ReadString(stream));
    if (TestIdent(stream, "SVETDPOS")) head.SetOffset(ReadXYZ(stream));
    if (TestIdent(stream, "SVETFROT")) head.SetRotation(ReadSingle(stream));
  }
  if (heads_.empty()) SetInvalid(true);
}

void TSvetoforItem::SaveToStream(TStream& stream) const {
  TPointItem::SaveToStream(stream);
  SaveChunk(stream, "ANC_NAME", std::string_view(supportName_));
  WriteIdent(stream, "SUBCOUNT");
  WriteCount(stream, heads_.size());
  for (const auto& head : heads_) {
    SaveChunk(stream, "SVETNAME", std::string_view(head->Name()));
    WriteIdent(stream, "SVETDPOS");
    WriteXYZ(stream, head->Offset());
    SaveChunk(stream, "SVETFROT", head->Rotation());
  }
}

void TSvetoforItem::GetPropertyNames(std::vector<std::string>& lines) const {
  TPointItem::GetPropertyNames(lines);
  lines.emplace_back("Опора"_cp1251);
  for (int32_t i = 1; i <= HeadCount(); ++i) {
    std::string& name = lines.emplace_back("Секция_"_cp1251);
    name += std::to_string(i);
  }
}

void TSvetoforItem::GetPropertyValues(std::vector<std::string>& lines) const {
  TPointItem::GetPropertyValues(lines);
  lines.push_back(supportName_);
  for (const auto& head : heads_) lines.push_back(head->Name());
}

}  // namespace vellmar
