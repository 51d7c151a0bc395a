#pragma once
// Small captions of the road kinds in atlas text: each label is a row of textured quads
// placed by the label collection's Local shell. The writer shares the program's black
// atlas with the collection; the collection is owned by the street, the atlas by the
// fonts data.

#include <string_view>
#include <vector>

#include "platform/gpu/DxVertex.h"

namespace vellmar {

class TAbstractItem;
class TDxTriangleCollection;
class TFontTexture;
class TMatrixShell;

class TAtlasLabels {
 public:
  TAtlasLabels(TDxTriangleCollection& labels, const TAbstractItem* owner);

  // Size of a text in the atlas units the labels are laid out in.
  double Width(std::string_view text) const;
  double Height() const;
  // Where the next label goes; identity after every Add.
  TMatrixShell& Local();
  // Adds text under Local as the caller set it.
  void Add(std::string_view text);

 private:
  TDxTriangleCollection& labels_;
  const TAbstractItem* owner_;
  TFontTexture& atlas_;
  std::vector<TDxVertex> quads_;
};

}  // namespace vellmar
