#pragma once
// The underlay item: a tiled raster image from an underlay file, laid under the street
// between its four corner points (bottom-left, top-left, top-right, bottom-right). The
// item owns the open underlay file; a name that cannot be opened leaves it without one.

#include <memory>
#include <string>

#include "document/AbstractItem.h"

namespace vellmar {

class TSubLayerFile;

class TSubLayerItem final : public TAbstractItem {
 public:
  TSubLayerItem(TStreetStructure& street, const TItemKind& kind);
  ~TSubLayerItem() override;

  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;

  // The underlay file as the street stores it (Windows-1251, maybe a Windows path).
  const std::string& FileName() const { return fileName_; }
  // Stores the name and opens the file: as given, else by its bare name beside the
  // street's file. A file that is missing or unreadable leaves the item without one,
  // silently: the item keeps its name and draws its outline only.
  void SetFileName(const std::string& name);
  // nullptr when the file could not be opened.
  TSubLayerFile* File() const { return file_.get(); }

 private:
  std::string fileName_;
  std::unique_ptr<TSubLayerFile> file_;
};

}  // namespace vellmar
