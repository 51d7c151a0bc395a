#include "items/signs/Znak2Item.h"

#include "items/signs/EmfSubItem.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"

namespace vellmar {

int32_t TZnak2Item::Width() const {
  return picture_ != nullptr ? picture_->Width() : 0;
}

int32_t TZnak2Item::Height() const {
  return picture_ != nullptr ? picture_->Height() : 0;
}

void TZnak2Item::LoadFromStream(TStream& stream) {
  // An item without points is kept (and draws nothing), as every kind of the item
  // base is: dropping it would lose its comment and group at the next save.
  TAbstractItem::LoadFromStream(stream);
  // The picture comes from the library, never from a fixed place on one machine's disk.
  const TSignLibraries& libraries = libraries_ != nullptr ? *libraries_ : ProgramSignLibraries();
  const int32_t index = libraries.Library.IndexOfName(kPictureName);
  libName_ = index < 0 ? std::string(kPictureName) : libraries.Library.Name(index);
  libIndex_ = index < 0 ? TEmfSubItem::kMissingPicture : index;
  const TMetafile& picture = index < 0 ? libraries.Missing : libraries.Library.Metafile(index);
  picture_ = picture.Empty() ? nullptr : &picture;
}

}  // namespace vellmar
