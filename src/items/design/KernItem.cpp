#include "items/design/KernItem.h"

#include "document/ChunkFields.h"
#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/text/Cp1251.h"

namespace vellmar {
namespace {

constexpr std::array<TIdent, TKernItem::kMaterialCount> kNameIdents{TIdent("MATNAME1"), TIdent("MATNAME2"),
                                                                    TIdent("MATNAME3")};
constexpr std::array<TIdent, TKernItem::kMaterialCount> kValueIdents{TIdent("MAT_H1  "), TIdent("MAT_H2  "),
                                                                     TIdent("MAT_H3  ")};

}  // namespace

TKernItem::TKernItem(TStreetStructure& street, const TItemKind& kind) : TDesignBlockItem(street, kind) {
  SetBlockName(std::string("Керн"_cp1251));
}

void TKernItem::SetLabel(std::string label) {
  label_ = std::move(label);
  Points().SetModified(true);
}

void TKernItem::SetMaterial(int32_t index, TKernMaterial material) {
  if (index < 0 || index >= kMaterialCount) {
    throw EVellmarError("TKernItem.SetMaterial: index " + std::to_string(index) + " out of 0..2");
  }
  materials_[static_cast<size_t>(index)] = std::move(material);
}

void TKernItem::LoadFromStream(TStream& stream) {
  TDesignBlockItem::LoadFromStream(stream);
  LoadChunk(stream, "TXTLABEL", label_);
  for (size_t i = 0; i < materials_.size(); ++i) {
    LoadChunk(stream, kNameIdents[i], materials_[i].Name);
    LoadChunk(stream, kValueIdents[i], materials_[i].Value);
  }
}

void TKernItem::SaveToStream(TStream& stream) const {
  TDesignBlockItem::SaveToStream(stream);
  SaveChunk(stream, "TXTLABEL", std::string_view(label_));
  for (size_t i = 0; i < materials_.size(); ++i) {
    SaveChunk(stream, kNameIdents[i], std::string_view(materials_[i].Name));
    SaveChunk(stream, kValueIdents[i], materials_[i].Value);
  }
}

}  // namespace vellmar
