#pragma once
// One open street plan: the shared point table, one item list per kind, the street's
// settings, drawing options, design libraries and last view. The street owns all of
// them; the reference lists it keeps track of belong to their items (or to the street).

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/ConnectedItems.h"
#include "document/ItemList.h"
#include "document/KindCollection.h"
#include "document/KindRegistry.h"
#include "document/LoadControl.h"
#include "document/LnParam.h"
#include "document/NameValueList.h"
#include "document/PointStructure.h"
#include "document/StreetLibrary.h"
#include "geometry/XYZ.h"
#include "render/DxPrimCollection.h"
#include "render/MatrixShell.h"

namespace vellmar {

class TStream;

// A kind's retained geometry, in the order the kind chose: its own collections, then
// any a design library lends it.
using TDxPrimCollections = std::vector<TKindCollection>;

// The "ECEFMAP0" record: three coordinates and a fourth value, kept and written back.
using TGeoRef = std::array<double, 4>;

class TStreetStructure {
 public:
  // Empty, with every kind's item list; the kind registry must be filled.
  TStreetStructure();
  ~TStreetStructure();
  TStreetStructure(const TStreetStructure&) = delete;
  TStreetStructure& operator=(const TStreetStructure&) = delete;

  void Clear();
  // Control: progress and stop flag for a load on a worker thread (ELoadCancelled when
  // stopped); the street is then half read and only fit to be thrown away.
  void LoadFromFile(const std::filesystem::path& path, const TLoadControl& control = {});
  void LoadFromStream(TStream& stream);
  // Writes a temporary file beside the target and renames it over the target, so a
  // failed save leaves the old file whole (and the street modified).
  void SaveToFile(const std::filesystem::path& path);
  void SaveToStream(TStream& stream);

  TPointStructure& Points() { return points_; }
  // The list of a kind; the index is taken modulo 128 (the kind byte's low 7 bits).
  TItemList& ItemList(int32_t kind);
  TConnectedItems& MainReferences() { return mainReferences_; }
  TAbstractItem* MainAxis() const { return mainReferences_.Items(0); }
  void InvalidateAll();

  // Reference lists register here on creation and leave on destruction.
  void RegisterReferenceList(TConnectedItems* list);
  void UnregisterReferenceList(TConnectedItems* list);
  // Empties every slot of every reference list that holds the item.
  void RemoveFromReferenceLists(const TAbstractItem* item);
  int32_t ReferenceListCount() const { return static_cast<int32_t>(referenceLists_.size()); }

  bool Modified() const { return modified_; }
  void MarkModified();
  bool Loaded() const { return loaded_; }
  bool Saving() const { return saving_; }
  // Neither loaded nor ever edited.
  bool IsPristine() const { return !loaded_ && !touched_; }

  int32_t TagsSize() const { return tagsSize_; }
  TMatrixShell& Placement() { return placement_; }
  const TXYZ& ViewCentre() const { return viewCentre_; }
  float ViewScale() const { return viewScale_; }
  float ViewAngle() const { return viewAngle_; }
  void SetView(const TXYZ& centre, float scale, float angle);
  int32_t WorkTime() const { return workTime_; }
  void SetWorkTime(int32_t minutes) { workTime_ = minutes; }

  const std::filesystem::path& FileName() const { return fileName_; }
  const std::string& StreetName() const { return streetName_; }
  void SetStreetName(const std::string& name) { streetName_ = name; }
  const std::string& StartName() const { return startName_; }
  void SetStartName(const std::string& name) { startName_ = name; }
  const std::string& EndName() const { return endName_; }
  void SetEndName(const std::string& name) { endName_ = name; }
  const TGeoRef& GeoRef() const { return geoRef_; }
  void SetGeoRef(const TGeoRef& geoRef) { geoRef_ = geoRef; }

  TLnParams& LineParams() { return lineParams_; }
  // LineParams, first filled from the default line-marking library when it is empty.
  TLnParams& GetLineParams();
  bool ArrowBig() const { return arrowBig_; }
  void SetArrowBig(bool on) { arrowBig_ = on; }
  // The four plastic-marking flags: arrows, islands, stops, zebras.
  std::array<bool, 4> PlasticFlags() const {
    return {arrowPlastic_, islandPlastic_, stopPlastic_, zebraPlastic_};
  }
  void SetPlasticFlags(const std::array<bool, 4>& flags);
  int32_t ZebraOption() const { return zebraOption_; }
  void SetZebraOption(int32_t option) { zebraOption_ = option; }

  // Lines Name=Value; a group whose value is "ON" is shown.
  TNameValueList& GroupNames() { return groupNames_; }
  TNameValueList& DrawOptions() { return drawOptions_; }
  bool DrawOption(std::string_view name) const;
  double DrawOptionFloat(std::string_view name) const;
  int32_t DrawOptionInt(std::string_view name) const;
  std::string DrawOptionText(std::string_view name) const;

  // Scale of dimension lines ("RazmerScale"), 1 when unset.
  float DimScale() const { return dimScale_ == 0.0f ? 1.0f : dimScale_; }
  // Rounding step of dimension values ("RazmerRound"), 0.05 when unset or not a number.
  double DimRound() const { return dimRound_ == 0.0 ? 0.05 : dimRound_; }
  int32_t DimColour() const { return dimColour_; }
  // "ZnakScale" / 100, read on first use and then kept; 1 when unset.
  float SignScale();

  // The collections of a kind (index modulo 128), filled by the kind's InitKindCollections.
  TDxPrimCollections& KindCollections(int32_t kind);
  // Rebuilds every item of each kind in the set whose list needs it (see TAbstractItem::Rebuild),
  // the kinds that allow it on worker threads at once: on at most threads threads, 0
  // meaning one per hardware thread, 1 all on the calling thread (see KindRebuild.h).
  void RebuildKinds(const TKindSet& kinds, int32_t threads = 0);
  // One frame of the street through the renderer's world matrix and the placement: the
  // visible kinds that changed are rebuilt, then each draws its collections (filtered by
  // the mode set) and its active items' per-frame drawing.
  void Draw(const TDxDrawParams& params, const TKindSet& visible, TModeSet modes);

  // nullptr when no class is registered for the slot.
  TStreetLibrary* Library(TStreetLibrary::TSlot slot) const;

 private:
  void ReadDimOptions();

  TPointStructure points_;
  std::array<std::unique_ptr<TItemList>, kKindCount> itemLists_;
  std::vector<TConnectedItems*> referenceLists_;
  bool modified_ = false;
  TConnectedItems mainReferences_;
  int32_t tagsSize_ = kMaxTagsSize;
  TMatrixShell placement_;
  TXYZ viewCentre_;
  float viewScale_ = 0.0f;
  float viewAngle_ = 0.0f;
  std::array<std::unique_ptr<TStreetLibrary>, TStreetLibrary::kSlots> libraries_;
  int32_t workTime_ = 0;
  bool saving_ = false;
  bool loaded_ = false;
  bool touched_ = false;
  float dimScale_ = 0.0f;
  double dimRound_ = 0.0;
  int32_t dimColour_ = 0;
  TGeoRef geoRef_{};
  std::filesystem::path fileName_;
  std::string streetName_;
  std::string startName_;
  std::string endName_;
  TLnParams lineParams_;
  bool arrowBig_ = false;
  bool arrowPlastic_ = false;
  bool islandPlastic_ = false;
  bool stopPlastic_ = false;
  bool zebraPlastic_ = false;
  int32_t zebraOption_ = 0;
  TNameValueList groupNames_;
  TNameValueList drawOptions_;
  float signScale_ = 0.0f;
  std::array<TDxPrimCollections, kKindCount> kindCollections_;
};

}  // namespace vellmar
