#include "underlay/SubLayerItem.h"

#include <exception>
#include <optional>

#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/files/PathLookup.h"
#include "underlay/SubLayerFile.h"

namespace vellmar {

TSubLayerItem::TSubLayerItem(TStreetStructure& street, const TItemKind& kind) : TAbstractItem(street, kind) {}

TSubLayerItem::~TSubLayerItem() = default;

void TSubLayerItem::SetFileName(const std::string& name) {
  fileName_ = name;
  file_.reset();
  const std::optional<std::filesystem::path> path = ResolveStoredPath(name, Street().FileName());
  if (path) {
    try {
      file_ = std::make_unique<TSubLayerFile>(*path);
    } catch (const std::exception&) {
      // An unreadable underlay is not an error of the street: the outline still shows.
    }
  }
  // The tiles are laid anew over the corners once the file is known.
  Points().SetModified(true);
}

void TSubLayerItem::LoadFromStream(TStream& stream) {
  TAbstractItem::LoadFromStream(stream);
  if (TestIdent(stream, "VSUBFILE")) SetFileName(ReadString(stream));
}

void TSubLayerItem::SaveToStream(TStream& stream) const {
  TAbstractItem::SaveToStream(stream);
  WriteIdent(stream, "VSUBFILE");
  WriteString(stream, fileName_);
}

}  // namespace vellmar
