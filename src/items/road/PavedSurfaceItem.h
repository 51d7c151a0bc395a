#pragma once
// A paved surface polygon (carriageway, sidewalk) with its surface material and passport
// reference; each kind stores the two texts under chunk idents of its own.

#include <string>

#include "document/Ident.h"
#include "document/PolygonItem.h"

namespace vellmar {

class TPavedSurfaceItem : public TPolygonItem {
 public:
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  const std::string& Material() const { return material_; }
  void SetMaterial(const std::string& material) { material_ = material; }
  const std::string& Passport() const { return passport_; }
  void SetPassport(const std::string& passport) { passport_ = passport; }

 protected:
  TPavedSurfaceItem(TStreetStructure& street, const TItemKind& kind, TIdent materialIdent,
                    TIdent passportIdent)
      : TPolygonItem(street, kind), materialIdent_(materialIdent), passportIdent_(passportIdent) {}

 private:
  TIdent materialIdent_;
  TIdent passportIdent_;
  std::string material_;
  std::string passport_;
};

}  // namespace vellmar
