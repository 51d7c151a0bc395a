#include "document/StreetStructure.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "document/KindRebuild.h"
#include "document/TaggedStream.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/text/Numbers.h"
#include "render/DxDrawParams.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

// The scale a cleared street, or a stored scale of 0, gets.
constexpr float kDefaultViewScale = 0.01f;

struct TLibraryChunk {
  TStreetLibrary::TSlot Slot;
  TIdent Ident;
};
constexpr std::array<TLibraryChunk, TStreetLibrary::kSlots> kLibraryChunks = {{
    {TStreetLibrary::TSlot::Blocks, "BLOCKDEF"},
    {TStreetLibrary::TSlot::Lines, "DSNLNDEF"},
    {TStreetLibrary::TSlot::Figures, "DSNFGDEF"},
}};

void WriteOptionalString(TStream& stream, const TIdent& ident, const std::string& text) {
  if (text.empty()) return;
  WriteIdent(stream, ident);
  WriteString(stream, text);
}

void ReadOptionalString(TStream& stream, const TIdent& ident, std::string& text) {
  if (TestIdent(stream, ident)) text = ReadString(stream);
}

void ReadOptionalFlag(TStream& stream, const TIdent& ident, bool& flag) {
  if (TestIdent(stream, ident)) flag = ReadFlag(stream);
}

// Clears a flag when it leaves scope, however it leaves.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TStreetStructure::TStreetStructure() : mainReferences_(*this, /*fixed=*/true, 1) {
  points_.SetStreet(this);
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    itemLists_[static_cast<size_t>(kind)] = std::make_unique<TItemList>(*this, kind);
  }
  for (const TLibraryChunk& chunk : kLibraryChunks) {
    if (TStreetLibrary::TFactory factory = TStreetLibrary::Factory(chunk.Slot)) {
      libraries_[static_cast<size_t>(chunk.Slot)] = factory(*this);
    }
  }
}

TStreetStructure::~TStreetStructure() {
  // Everything goes, so the items need not leave the reference lists one by one (which
  // costs a search per item), nor their points (a million records visited for nothing);
  // they are freed while the point table and their kinds' collections still exist.
  referenceLists_.clear();
  points_.BeginDiscard();
  for (auto& list : itemLists_) list->Clear();
}

namespace {

// Kind bytes carry the kind in their low 7 bits.
size_t KindSlot(int32_t kind, const char* who) {
  const int32_t index = kind & 0x7F;
  if (index >= kKindCount) throw EVellmarError(std::string(who) + ": no kind " + std::to_string(index));
  return static_cast<size_t>(index);
}

}  // namespace

TItemList& TStreetStructure::ItemList(int32_t kind) {
  return *itemLists_[KindSlot(kind, "TStreetStructure.ItemList")];
}

TDxPrimCollections& TStreetStructure::KindCollections(int32_t kind) {
  return kindCollections_[KindSlot(kind, "TStreetStructure.KindCollections")];
}

void TStreetStructure::RebuildKinds(const TKindSet& kinds, int32_t threads) {
  RebuildStreetKinds(*this, kinds, threads);
}

TStreetLibrary* TStreetStructure::Library(TStreetLibrary::TSlot slot) const {
  return libraries_[static_cast<size_t>(slot)].get();
}

void TStreetStructure::RegisterReferenceList(TConnectedItems* list) {
  referenceLists_.push_back(list);
}

void TStreetStructure::UnregisterReferenceList(TConnectedItems* list) {
  // Searched from the end: the list freed is most often the one made last (an item
  // discarded while loading).
  auto it = std::find(referenceLists_.rbegin(), referenceLists_.rend(), list);
  if (it != referenceLists_.rend()) referenceLists_.erase(std::next(it).base());
}

void TStreetStructure::RemoveFromReferenceLists(const TAbstractItem* item) {
  for (TConnectedItems* list : referenceLists_) list->RemoveItem(item);
}

void TStreetStructure::MarkModified() {
  modified_ = true;
  touched_ = true;
}

void TStreetStructure::InvalidateAll() {
  for (auto& list : itemLists_) list->InvalidatePoints();
}

void TStreetStructure::SetView(const TXYZ& centre, float scale, float angle) {
  viewCentre_ = centre;
  viewScale_ = scale;
  viewAngle_ = angle;
}

void TStreetStructure::SetPlasticFlags(const std::array<bool, 4>& flags) {
  arrowPlastic_ = flags[0];
  islandPlastic_ = flags[1];
  stopPlastic_ = flags[2];
  zebraPlastic_ = flags[3];
}

void TStreetStructure::Clear() {
  for (TConnectedItems* list : referenceLists_) list->Clear();
  referenceLists_.clear();
  for (auto& list : itemLists_) list->Clear();
  for (const TLibraryChunk& chunk : kLibraryChunks) {
    // The block library keeps its entries; the line and figure libraries are emptied.
    if (chunk.Slot != TStreetLibrary::TSlot::Blocks && Library(chunk.Slot) != nullptr)
      Library(chunk.Slot)->Clear();
  }
  for (TDxPrimCollections& collections : kindCollections_) collections.clear();
  points_.Clear();
  referenceLists_.push_back(&mainReferences_);
  tagsSize_ = kMaxTagsSize;
  modified_ = false;
  placement_.LoadIdentity();
  groupNames_.Clear();
  viewCentre_ = TXYZ{};
  viewScale_ = kDefaultViewScale;
  viewAngle_ = 0.0f;
}

void TStreetStructure::Draw(const TDxDrawParams& params, const TKindSet& visible, TModeSet modes) {
  if (params.Renderer == nullptr) throw EVellmarError("TStreetStructure.Draw: no renderer");
  TMatrixShell& world = params.Renderer->World();
  world.PushMatrix();
  try {
    world.Multiply(placement_.GetMatrix(), /*after=*/false);
    // Items that fail to build are left out of the frame, which then says why; the rest
    // of the street is drawn all the same.
    std::exception_ptr failed;
    try {
      // Collections that gave their vertices to a device other than this one, or to one
      // that is gone, are built again by their items first.
      RebuildKinds(params.Renderer->HasDevice() ? KindsToBuildForDevice(*this, visible, params.Renderer->Device())
                                                : visible);
    } catch (...) {
      failed = std::current_exception();
    }
    for (int32_t kind = 0; kind < kKindCount; ++kind) {
      TItemList& list = ItemList(kind);
      if (!visible.Contains(kind) || list.Count() == 0) continue;
      for (const auto& collection : KindCollections(kind)) {
        collection->SetModeSet(modes);
        collection->Draw(params);
      }
      list.DrawImmediate(params, modes);
    }
    if (failed) std::rethrow_exception(failed);
  } catch (...) {
    // The world matrix comes back whatever a kind raised.
    world.PopMatrix();
    throw;
  }
  world.PopMatrix();
}

// ---- options --------------------------------------------------------------------------

TLnParams& TStreetStructure::GetLineParams() {
  if (lineParams_.empty()) lineParams_ = LoadDefaultLnParams();
  return lineParams_;
}

bool TStreetStructure::DrawOption(std::string_view name) const {
  return DrawOptionText(name) == "1";
}

double TStreetStructure::DrawOptionFloat(std::string_view name) const {
  return ParseDouble(DrawOptionText(name)).value_or(0.0);
}

int32_t TStreetStructure::DrawOptionInt(std::string_view name) const {
  return ParseInt32(DrawOptionText(name)).value_or(0);
}

std::string TStreetStructure::DrawOptionText(std::string_view name) const {
  return drawOptions_.Value(name).value_or(std::string());
}

float TStreetStructure::SignScale() {
  if (signScale_ == 0.0f) signScale_ = static_cast<float>(DrawOptionInt("ZnakScale") / 100.0);
  return signScale_ == 0.0f ? 1.0f : signScale_;
}

void TStreetStructure::ReadDimOptions() {
  dimScale_ = static_cast<float>(DrawOptionFloat("RazmerScale"));
  if (dimScale_ == 0.0f) dimScale_ = 1.0f;
  dimColour_ = DrawOptionInt("RazmerColor");
  dimRound_ = DrawOptionFloat("RazmerRound");
}

// ---- files ----------------------------------------------------------------------------

void TStreetStructure::LoadFromFile(const std::filesystem::path& path, const TLoadControl& control) {
  TFileStream stream(path, TFileMode::OpenRead);
  const auto stopped = [&control] { return control.Stop && control.Stop->load(std::memory_order_relaxed); };
  if (control.Progress || control.Stop) {
    stream.SetReadObserver([&](std::int64_t offset) {
      if (stopped()) throw ELoadCancelled("StreetStructure.LoadFromFile: cancelled");
      if (control.Progress) control.Progress(offset, stream.Size());
    });
  }
  // Absolute, so that files stored beside the street are found whatever the working
  // directory and however the street was named ("plan.pln" has no directory at all).
  fileName_ = std::filesystem::absolute(path);
  LoadFromStream(stream);
  // A small file is read whole by the first read; a stop asked for after it still counts.
  if (stopped()) throw ELoadCancelled("StreetStructure.LoadFromFile: cancelled");
}

void TStreetStructure::SaveToFile(const std::filesystem::path& path) {
  const bool wasModified = modified_;
  try {
    TAtomicFile file(path);
    SaveToStream(file.Stream());
    file.Commit();
  } catch (...) {
    modified_ = wasModified;
    throw;
  }
  fileName_ = std::filesystem::absolute(path);
}

void TStreetStructure::SaveToStream(TStream& stream) {
  TFlagScope saving(saving_);
  tagsSize_ = kMaxTagsSize;
  WriteIdent(stream, "TAGSSIZE");
  WriteInt32(stream, tagsSize_);
  WriteIdent(stream, "STREET  ");
  WriteOptionalString(stream, "STRNAME ", streetName_);
  WriteOptionalString(stream, "STRSTART", startName_);
  WriteOptionalString(stream, "STRFIN  ", endName_);
  if (geoRef_[0] != 0.0 || geoRef_[1] != 0.0 || geoRef_[2] != 0.0) {
    WriteIdent(stream, "ECEFMAP0");
    for (double value : geoRef_) WriteDouble(stream, value);
  }
  WriteIdent(stream, "STRCONN ");
  mainReferences_.SaveToStream(stream);
  WriteLnParams(stream, lineParams_);
  WriteIdent(stream, "ARROWBIG");
  WriteFlag(stream, arrowBig_);
  WriteIdent(stream, "ARRPLAST");
  WriteFlag(stream, arrowPlastic_);
  WriteIdent(stream, "OSTPLAST");
  WriteFlag(stream, islandPlastic_);
  WriteIdent(stream, "STPPLAST");
  WriteFlag(stream, stopPlastic_);
  WriteIdent(stream, "ZEBPLAST");
  WriteFlag(stream, zebraPlastic_);
  if (zebraOption_ != 0) {
    WriteIdent(stream, "ZEBRAYOP");
    WriteInt32(stream, zebraOption_);
  }
  WriteIdent(stream, "GRPNAMES");
  WriteTextList(stream, groupNames_.Lines());
  WriteIdent(stream, "VIEWDEF ");
  WriteSingle(stream, viewCentre_.x);
  WriteSingle(stream, viewCentre_.y);
  WriteSingle(stream, viewCentre_.z);
  WriteSingle(stream, viewScale_);
  WriteSingle(stream, viewAngle_);
  WriteIdent(stream, "WORKTIME");
  WriteInt32(stream, workTime_);
  points_.Compact();
  points_.SaveToStream(stream);
  for (const TLibraryChunk& chunk : kLibraryChunks) {
    const TStreetLibrary* library = Library(chunk.Slot);
    // The block library is always written; the others only with entries.
    if (library == nullptr || (chunk.Slot != TStreetLibrary::TSlot::Blocks && library->Count() == 0))
      continue;
    WriteIdent(stream, chunk.Ident);
    library->SaveToStream(stream);
  }
  if (!drawOptions_.Empty()) {
    WriteIdent(stream, "DRAWOPTS");
    WriteTextList(stream, drawOptions_.Lines());
  }
  for (auto& list : itemLists_) list->SaveToStream(stream);
  modified_ = false;
}

void TStreetStructure::LoadFromStream(TStream& stream) {
  Clear();
  tagsSize_ = TestIdent(stream, "TAGSSIZE") ? ReadTagsSize(stream) : kMinTagsSize;
  if (!TestIdent(stream, "STREET  "))
    throw EVellmarError("StreetStructure.LoadFromStream: StreamIdent<>siStreet");
  ReadOptionalString(stream, "STRNAME ", streetName_);
  ReadOptionalString(stream, "STRSTART", startName_);
  ReadOptionalString(stream, "STRFIN  ", endName_);
  if (TestIdent(stream, "ECEFMAP0")) {
    for (double& value : geoRef_) value = ReadDouble(stream);
  }
  if (TestIdent(stream, "STRCONN ")) mainReferences_.LoadFromStream(stream);
  ReadLnParams(stream, lineParams_);
  ReadOptionalFlag(stream, "ARROWBIG", arrowBig_);
  ReadOptionalFlag(stream, "ARRPLAST", arrowPlastic_);
  ReadOptionalFlag(stream, "OSTPLAST", islandPlastic_);
  ReadOptionalFlag(stream, "STPPLAST", stopPlastic_);
  ReadOptionalFlag(stream, "ZEBPLAST", zebraPlastic_);
  if (TestIdent(stream, "ZEBRAYOP")) zebraOption_ = ReadInt32(stream);
  if (TestIdent(stream, "GRPNAMES")) groupNames_.Lines() = ReadTextList(stream);
  if (TestIdent(stream, "VIEWDEF ")) {
    viewCentre_.x = ReadSingle(stream);
    viewCentre_.y = ReadSingle(stream);
    viewCentre_.z = ReadSingle(stream);
    viewScale_ = ReadSingle(stream);
    viewAngle_ = ReadSingle(stream);
  }
  if (TestIdent(stream, "WORKTIME")) workTime_ = ReadInt32(stream);
  if (viewScale_ == 0.0f) viewScale_ = kDefaultViewScale;

  points_.LoadFromStream(stream);

  for (const TLibraryChunk& chunk : kLibraryChunks) {
    if (!TestIdent(stream, chunk.Ident)) continue;
    TStreetLibrary* library = Library(chunk.Slot);
    if (library == nullptr) {
      throw EVellmarError("StreetStructure.LoadFromStream: no reader for the " + chunk.Ident.Text() +
                          " library");
    }
    library->LoadFromStream(stream);
    library->BindToStreet();
  }
  if (TestIdent(stream, "DRAWOPTS")) drawOptions_.Lines() = ReadTextList(stream);

  while (TestIdent(stream, "ITEMLIST")) {
    const TItemKind* kind = TKindRegistry::FindKindByIdent(ReadIdent(stream));
    // An unknown kind ends the item lists; what was read so far stays.
    if (kind == nullptr) break;
    stream.Seek(-2 * int64_t{TIdent::kLength}, TSeekOrigin::Current);
    ItemList(kind->Index).LoadFromStream(stream);
  }

  // Copied: resolving never adds lists, but the copy keeps that from mattering.
  const std::vector<TConnectedItems*> lists = referenceLists_;
  for (TConnectedItems* list : lists) list->Resolve();
  for (auto& list : itemLists_) {
    for (int32_t i = 0; i < list->Count(); ++i) list->Items(i)->AfterLoad();
  }
  ReadDimOptions();
  modified_ = false;
  tagsSize_ = kMaxTagsSize;
  loaded_ = true;
}

}  // namespace vellmar
