#pragma once
// The underlay item: a tiled raster image from an underlay file, laid under the street
// between its four corner points (bottom-left, top-left, top-right, bottom-right). The
// item owns the open underlay file; a name that cannot be opened leaves it without one.

#include <memory>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "underlay/TexShell.h"

namespace vellmar {

class TSubLayerFile;

class TSubLayerItem final : public TAbstractItem {
 public:
  TSubLayerItem(TStreetStructure& street, const TItemKind& kind);
  ~TSubLayerItem() override;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  // Moved corners lay every tile anew on the next frame; the textures stay.
  void PointsChanged() override;
  // The item has no primitives; a rebuild means its corners moved (perhaps through a
  // point it shares with another item).
  void BuildPrimitives() override;
  // The outline through the four corners, then every tile of a sensible size for the view.
  void DrawImmediate(const TDxDrawParams& params, TModeSet modes) override;

  // The underlay file as the street stores it (Windows-1251, maybe a Windows path).
  const std::string& FileName() const { return fileName_; }
  // Stores the name and opens the file: as given, else by its bare name beside the
  // street's file. A file that is missing or unreadable leaves the item without one,
  // silently: the item keeps its name and draws its outline only.
  void SetFileName(const std::string& name);
  // nullptr when the file could not be opened.
  TSubLayerFile* File() const { return file_.get(); }
  // Every tile of the open file: level 1, 2, 4, then 8, each row by row; owned.
  const std::vector<TTexShell>& Tiles() const { return tiles_; }

 private:
  void InvalidateQuads();

  std::string fileName_;
  std::unique_ptr<TSubLayerFile> file_;
  std::vector<TTexShell> tiles_;
};

// Makes the underlay item the class of its kind in the kind registry, in place of the
// generic entry the item kinds register.
void RegisterSubLayerKind();

}  // namespace vellmar
