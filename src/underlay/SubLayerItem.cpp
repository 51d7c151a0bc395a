#include "underlay/SubLayerItem.h"

#include <exception>
#include <optional>

#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/TaggedStream.h"
#include "platform/files/PathLookup.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"
#include "underlay/SubLayerFile.h"

namespace vellmar {

namespace {
constexpr int32_t kSubLayerKind = 0;
}  // namespace

void RegisterSubLayerKind() { TKindRegistry::RegisterFactory(kSubLayerKind, MakeItem<TSubLayerItem>); }

TSubLayerItem::TSubLayerItem(TStreetStructure& street, const TItemKind& kind) : TAbstractItem(street, kind) {}

TSubLayerItem::~TSubLayerItem() = default;

void TSubLayerItem::SetFileName(const std::string& name) {
  fileName_ = name;
  tiles_.clear();
  file_.reset();
  const std::optional<std::filesystem::path> path = ResolveStoredPath(name, Street().FileName());
  if (path) {
    try {
      file_ = std::make_unique<TSubLayerFile>(*path);
    } catch (const std::exception&) {
      // An unreadable underlay is not an error of the street: the outline still shows.
    }
  }
  if (file_) {
    for (const int level : kSubLayerLevels) {
      const TSubLayerLevel& grid = file_->Level(level);
      for (int row = 0; row < grid.Rows; ++row) {
        for (int column = 0; column < grid.Columns; ++column) tiles_.emplace_back(level, column, row);
      }
    }
  }
  // The tiles are laid anew over the corners once the file is known.
  Points().SetModified(true);
}

void TSubLayerItem::InvalidateQuads() {
  for (TTexShell& tile : tiles_) tile.InvalidateQuad();
}

void TSubLayerItem::PointsChanged() {
  TAbstractItem::PointsChanged();
  if (!Points().Modified()) return;
  InvalidateQuads();
  Points().SetModified(false);
}

// A corner shared with another item can move without PointsChanged being called here;
// the kind's rebuild still comes, so the quads follow then.
void TSubLayerItem::BuildPrimitives() {
  TAbstractItem::BuildPrimitives();
  InvalidateQuads();
}

void TSubLayerItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TAbstractItem::DrawImmediate(params, modes);
  if (Points().Count() < 4) return;
  const TSubLayerCorners corners = {Points().GetVertex(0), Points().GetVertex(1), Points().GetVertex(2),
                                    Points().GetVertex(3)};
  params.Renderer->DrawPolyline({corners[0], corners[1], corners[2], corners[3], corners[0]},
                                MakeColor(0, 0, 0, 0));
  if (!file_) return;
  for (TTexShell& tile : tiles_) tile.Draw(params, corners, *file_);
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
