#include "render/DxPrimCollection.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "geometry/Vector.h"
#include "platform/Error.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"

namespace vellmar {

TDxPrimCollection::TDxPrimCollection(size_t verticesPerPrim, uint32_t primitiveType)
    : verticesPerPrim_(verticesPerPrim), primitiveType_(primitiveType) {}

TDxPrimCollection::~TDxPrimCollection() = default;

void TDxPrimCollection::Clear() {
  bounds_.clear();
  owners_.Clear();
  deleted_.clear();
  serials_.Clear();
  vertices_.clear();
  visible_.clear();
  deviceBuffers_.Invalidate();
  grid_.Clear();
  runsStale_ = true;
  recordStart_ = nextSerial_;
  deletedCount_ = 0;
  modedCount_ = 0;
  handedOver_ = 0;
  minX_ = minY_ = INFINITY;
  maxX_ = maxY_ = -INFINITY;
  local_.LoadIdentity();
}

TTextureSurface& TDxPrimCollection::CreateOwnTexture() {
  ownTexture_ = std::make_unique<TTextureSurface>();
  texture_ = ownTexture_.get();
  return *ownTexture_;
}

void TDxPrimCollection::LoadTexture(const std::filesystem::path& fileName) {
  CreateOwnTexture().LoadFromFile(fileName);
}

void TDxPrimCollection::ShareTexture(TTextureSurface* surface) {
  ownTexture_.reset();
  texture_ = surface;
}

TDxVertex* TDxPrimCollection::BeginPrim() {
  const size_t start = vertices_.size();
  vertices_.resize(start + verticesPerPrim_);
  return &vertices_[start];
}

void TDxPrimCollection::CommitPrim(const TAbstractItem* owner) {
  TDxVertex* const first = &vertices_[vertices_.size() - verticesPerPrim_];
  const std::span<TDxVertex> prim(first, verticesPerPrim_);
  const bool transform = !local_.IsIdentity();
  double sumX = 0.0;
  double sumY = 0.0;
  for (TDxVertex& v : prim) {
    if (transform) {
      const TXYZ p = local_.TransformPoint(TXYZ{v.X, v.Y, v.Z});
      v.X = p.x;
      v.Y = p.y;
      v.Z = p.z;
    }
    v.Color = color_;
    sumX += v.X;
    sumY += v.Y;
  }
  const auto count = static_cast<double>(verticesPerPrim_);
  TDxPrimBounds bounds;
  bounds.CentreX = static_cast<float>(sumX / count);
  bounds.CentreY = static_cast<float>(sumY / count);
  double radius = 0.0;
  for (const TDxVertex& v : prim) {
    radius = std::max(radius, std::fabs(double{v.X} - bounds.CentreX) + std::fabs(double{v.Y} - bounds.CentreY));
  }
  bounds.Radius = static_cast<float>(radius);
  if (modeSet_ != 0) ++modedCount_;
  minX_ = std::fmin(minX_, bounds.CentreX);
  maxX_ = std::fmax(maxX_, bounds.CentreX);
  minY_ = std::fmin(minY_, bounds.CentreY);
  maxY_ = std::fmax(maxY_, bounds.CentreY);

  const auto index = static_cast<uint32_t>(bounds_.size());
  bounds_.push_back(bounds);
  owners_.Append(index, owner, modeSet_);
  deleted_.push_back(false);
  serials_.Append(nextSerial_);
  ++nextSerial_;
  if (PassesCull(index)) {
    visible_.push_back(index);
    runsStale_ = true;
  }
}

void TDxPrimCollection::AddPrim(const TAbstractItem* owner, std::span<const TDxVertex> vertices) {
  AddPrims(owner, vertices, 1);
}

void TDxPrimCollection::AddPrims(const TAbstractItem* owner, std::span<const TDxVertex> vertices,
                                 size_t count) {
  count = std::min(count, vertices.size() / verticesPerPrim_);
  for (size_t i = 0; i < count; ++i) {
    std::copy_n(&vertices[i * verticesPerPrim_], verticesPerPrim_, BeginPrim());
    CommitPrim(owner);
  }
}

size_t TDxPrimCollection::IndexOf(TDxPrimRef ref) const {
  const auto serial = static_cast<uint64_t>(ref);
  const size_t index = serials_.LowerBound(serial);
  if (index == serials_.Count() || serials_.SerialAt(index) != serial) return serials_.Count();
  return index;
}

TDxPrimRun TDxPrimCollection::IndicesOf(const TDxPrimRange& range) const {
  const size_t first = serials_.LowerBound(range.First);
  const size_t end = range.End > range.First ? serials_.LowerBound(range.End) : first;
  return TDxPrimRun{static_cast<uint32_t>(first), static_cast<uint32_t>(end - first)};
}

TDxPrimView TDxPrimCollection::PrimAt(size_t index) const {
  const TDxPrimBounds& b = bounds_[index];
  const TDxOwnerRuns::TRun& run = owners_.At(index);
  return TDxPrimView{run.Owner,
                     run.ModeSet,
                     deleted_[index],
                     b.CentreX,
                     b.CentreY,
                     b.Radius,
                     index < handedOver_ ? std::span<const TDxVertex>()
                                         : std::span<const TDxVertex>(&vertices_[index * verticesPerPrim_],
                                                                      verticesPerPrim_)};
}

void TDxPrimCollection::TakeRecorded(TDxPrimList& list) const {
  list.clear();
  for (size_t i = serials_.LowerBound(recordStart_); i < serials_.Count(); ++i) {
    list.push_back(TDxPrimRef{serials_.SerialAt(i)});
  }
}

void TDxPrimCollection::MarkDeletedAt(size_t index) {
  if (deleted_[index]) return;
  deleted_[index] = true;
  ++deletedCount_;
  runsStale_ = true;
}

void TDxPrimCollection::MarkDeleted(const TDxPrimList& list) {
  for (const TDxPrimRef ref : list) {
    const size_t index = IndexOf(ref);
    if (index < bounds_.size()) MarkDeletedAt(index);
  }
}

void TDxPrimCollection::MarkDeleted(const TDxPrimRange& range) {
  const TDxPrimRun run = IndicesOf(range);
  for (size_t i = run.First; i < size_t{run.First} + run.Count; ++i) MarkDeletedAt(i);
}

template <typename Predicate>
void TDxPrimCollection::RemoveWhere(Predicate drop) {
  // The serials first: drop looks at the primitives' present places.
  serials_.KeepWhere([&drop](size_t i) { return !drop(i); });
  const size_t count = bounds_.size();
  TDxOwnerRuns::TCursor owner(owners_);
  TDxOwnerRuns keptOwners;
  size_t kept = 0;
  size_t nextVisible = 0;
  size_t keptVisible = 0;
  size_t droppedDeleted = 0;
  size_t droppedModed = 0;
  size_t firstDropped = count;
  for (size_t i = 0; i < count; ++i) {
    const bool visible = nextVisible < visible_.size() && visible_[nextVisible] == i;
    if (visible) ++nextVisible;
    const TDxOwnerRuns::TRun& run = owner.At(i);
    if (drop(i)) {
      firstDropped = std::min(firstDropped, i);
      if (deleted_[i]) ++droppedDeleted;
      if (run.ModeSet != 0) ++droppedModed;
      continue;
    }
    keptOwners.Append(kept, run.Owner, run.ModeSet);
    if (kept != i) {
      bounds_[kept] = bounds_[i];
      deleted_[kept] = deleted_[i];
      std::copy_n(&vertices_[i * verticesPerPrim_], verticesPerPrim_, &vertices_[kept * verticesPerPrim_]);
    }
    if (visible) visible_[keptVisible++] = static_cast<uint32_t>(kept);
    ++kept;
  }
  if (kept == count) return;
  owners_ = std::move(keptOwners);
  // Primitives moved: the devices' copies from the first gap on and the grid describe
  // the old places.
  deviceBuffers_.Invalidate(firstDropped);
  grid_.Clear();
  runsStale_ = true;
  bounds_.resize(kept);
  deleted_.resize(kept);
  vertices_.resize(kept * verticesPerPrim_);
  visible_.resize(keptVisible);
  deletedCount_ -= droppedDeleted;
  modedCount_ -= droppedModed;
}

void TDxPrimCollection::RemoveOwner(const TAbstractItem* owner) {
  const std::span<const TDxOwnerRuns::TRun> runs = owners_.Runs();
  if (handedOver_ > 0) {
    // Vertices that live only on the device cannot move: the owner's become holes.
    for (size_t r = 0; r < runs.size(); ++r) {
      if (runs[r].Owner != owner) continue;
      const size_t end = r + 1 < runs.size() ? runs[r + 1].First : bounds_.size();
      for (size_t i = runs[r].First; i < end; ++i) MarkDeletedAt(i);
    }
    return;
  }
  std::vector<bool> owned;
  for (size_t r = 0; r < runs.size(); ++r) {
    if (runs[r].Owner != owner) continue;
    owned.resize(bounds_.size());
    const size_t end = r + 1 < runs.size() ? runs[r + 1].First : bounds_.size();
    std::fill(owned.begin() + runs[r].First, owned.begin() + static_cast<ptrdiff_t>(end), true);
  }
  if (!owned.empty()) RemoveWhere([&owned](size_t i) { return bool{owned[i]}; });
}

void TDxPrimCollection::Compact() {
  RemoveWhere([this](size_t i) { return bool{deleted_[i]}; });
}

bool TDxPrimCollection::PassesCull(size_t index) const {
  const TDxPrimBounds& b = bounds_[index];
  const double distance = DistanceXYZ(cullCentre_, TXYZ{b.CentreX, b.CentreY, 0.0f});
  return !deleted_[index] && distance - b.Radius - kCullMargin < cullRadius_;
}

void TDxPrimCollection::RebuildVisible() {
  runsStale_ = true;
  // A grid pays off only for a collection large enough, and it is built again once
  // a quarter of the primitives came after it.
  constexpr size_t kGridFrom = 4096;
  const double reach = double{cullRadius_} + kCullMargin;
  const bool coversAll = cullCentre_.x - reach <= minX_ && cullCentre_.x + reach >= maxX_ &&
                         cullCentre_.y - reach <= minY_ && cullCentre_.y + reach >= maxY_;
  if (ReachHoldsEveryCentre(reach)) return RebuildVisibleAll();
  if (bounds_.size() < kGridFrom || coversAll) return RebuildVisibleByScan();
  if (grid_.IndexedCount() < bounds_.size() - bounds_.size() / 4) {
    grid_.Build(bounds_.size(), [this](size_t i) { return bounds_[i]; });
  }
  RebuildVisibleFromGrid();
}

bool TDxPrimCollection::ReachHoldsEveryCentre(double reach) const {
  if (!std::isfinite(reach) || !(minX_ <= maxX_) || !std::isfinite(cullCentre_.x) || !std::isfinite(cullCentre_.y))
    return false;
  const double dx = std::max(std::fabs(cullCentre_.x - double{minX_}), std::fabs(cullCentre_.x - double{maxX_}));
  const double dy = std::max(std::fabs(cullCentre_.y - double{minY_}), std::fabs(cullCentre_.y - double{maxY_}));
  // Kept clear of the edge by a little, so that rounding in the distances never lets
  // a primitive through that the rule would keep out.
  return std::hypot(dx, dy) * (1.0 + 1e-6) + 1e-6 < reach;
}

void TDxPrimCollection::RebuildVisibleAll() {
  visible_.clear();
  for (size_t i = 0; i < bounds_.size(); ++i) {
    const TDxPrimBounds& b = bounds_[i];
    // Only a primitive without a finite centre or with no radius at all fails the rule
    // here, as the distance to it is not a number.
    if (!deleted_[i] && std::isfinite(b.CentreX) && std::isfinite(b.CentreY) && !std::isnan(b.Radius))
      visible_.push_back(static_cast<uint32_t>(i));
  }
}

void TDxPrimCollection::RebuildVisibleByScan() {
  visible_.clear();
  for (size_t i = 0; i < bounds_.size(); ++i) {
    if (PassesCull(i)) visible_.push_back(static_cast<uint32_t>(i));
  }
}

void TDxPrimCollection::RebuildVisibleFromGrid() {
  // A primitive passes when its centre lies nearer than the view radius, the margin and
  // its own radius; the grid widens the square by the cells' largest radius itself.
  const double reach = double{cullRadius_} + kCullMargin;
  const size_t indexed = grid_.IndexedCount();
  // When most primitives are near the view anyway, testing them in order is cheaper.
  if (!std::isfinite(reach) || grid_.CandidateCount(cullCentre_.x, cullCentre_.y, reach) > indexed / 2) {
    return RebuildVisibleByScan();
  }
  visibleBits_.assign((indexed + 63) / 64, 0);
  grid_.ForEachCandidate(cullCentre_.x, cullCentre_.y, reach, [this](uint32_t i) {
    if (PassesCull(i)) visibleBits_[i / 64] |= uint64_t{1} << (i % 64);
  });
  visible_.clear();
  for (size_t w = 0; w < visibleBits_.size(); ++w) {
    for (uint64_t bits = visibleBits_[w]; bits != 0; bits &= bits - 1) {
      visible_.push_back(static_cast<uint32_t>(w * 64 + static_cast<size_t>(std::countr_zero(bits))));
    }
  }
  for (size_t i = indexed; i < bounds_.size(); ++i) {
    if (PassesCull(i)) visible_.push_back(static_cast<uint32_t>(i));
  }
}

void TDxPrimCollection::BuildRuns() {
  runs_.clear();
  runVertices_ = 0;
  const bool checkEach = deletedCount_ != 0 || modedCount_ != 0;
  TDxOwnerRuns::TCursor owner(owners_);
  for (const uint32_t index : visible_) {
    if (checkEach) {
      const uint32_t modes = owner.At(index).ModeSet;
      if (deleted_[index] || (modes != 0 && (modes & modeSet_) == 0)) continue;
    }
    if (!runs_.empty() && runs_.back().First + runs_.back().Count == index)
      ++runs_.back().Count;
    else
      runs_.push_back(TDxPrimRun{index, 1});
    runVertices_ += verticesPerPrim_;
  }
  runsModeSet_ = modeSet_;
  runsStale_ = false;
}

std::span<const TDxVertex> TDxPrimCollection::RunVertices(const TDxPrimRun& run) const {
  if (run.Count > 0 && run.First < handedOver_) {
    throw EVellmarError("TDxPrimCollection.RunVertices: the vertices live on a device; build the items again first");
  }
  return std::span<const TDxVertex>(vertices_).subspan(size_t{run.First} * verticesPerPrim_,
                                                        size_t{run.Count} * verticesPerPrim_);
}

bool TDxPrimCollection::NeedsVertices(const IGpuDevice* device) const {
  if (handedOver_ == 0) return false;
  return device == nullptr || !deviceBuffers_.Holds(device, bounds_.size()) ||
         (deletedCount_ > 0 && deletedCount_ >= bounds_.size() / 10);
}

TDxPrimCollection::TGathered TDxPrimCollection::Gather(const TXYZ& centre, float radius) {
  if (handedOver_ == 0 && !bounds_.empty() && deletedCount_ >= bounds_.size() / 10) Compact();
  if (bounds_.empty()) return TGathered{};
  TGathered result;
  result.SubmittedVertices = verticesPerPrim_ * bounds_.size();
  const double moved = std::fabs(double{radius} - cullRadius_) + DistanceXYZ(centre, cullCentre_);
  if (moved >= kCullMargin) {
    cullCentre_ = centre;
    cullRadius_ = radius;
    RebuildVisible();
  }
  result.VisiblePrims = visible_.size();
  if (visible_.empty()) return result;
  if (runsStale_ || runsModeSet_ != modeSet_) BuildRuns();
  result.DrawnVertices = runVertices_;
  result.Runs = runs_;
  return result;
}

void TDxPrimCollection::Draw(const TDxDrawParams& params) {
  TdxRenderer& renderer = *params.Renderer;
  const TGathered gathered = Gather(params.Centre, params.Radius);
  if (gathered.SubmittedVertices == 0) return;
  TFrameCounters& counters = renderer.FrameCounters();
  counters.SubmittedVertices += gathered.SubmittedVertices;
  if (renderer.HasDevice()) {
    IGpuDevice& device = *renderer.Device();
    if (handedOver_ > 0 && !deviceBuffers_.Holds(&device, bounds_.size())) {
      if (gathered.Runs.empty()) return;
      throw EVellmarError("TDxPrimCollection.Draw: the vertices live on another device; build the items again first");
    }
    // Everything goes, seen or not: the collection then keeps no vertices at all.
    if (renderer.KeepsVertices() && handedOver_ < bounds_.size()) {
      deviceBuffers_.HandOver(device, vertices_, verticesPerPrim_, handedOver_);
      handedOver_ = bounds_.size();
    }
  }
  if (gathered.VisiblePrims == 0) return;
  counters.DrawnVertices += gathered.DrawnVertices;
  if (texture_ != nullptr) texture_->Apply(renderer);
  if (!gathered.Runs.empty() && renderer.HasDevice()) {
    if (handedOver_ == 0 && RunsScattered())
      DrawCopied(renderer, gathered.Runs);
    else
      DrawFromBuffer(renderer, gathered.Runs);
  }
  if (texture_ != nullptr) renderer.BindTexture(nullptr);
}

bool TDxPrimCollection::RunsScattered() const {
  // Many runs of a few vertices each: a tenth of a chunk on average.
  constexpr size_t kFewRuns = 64;
  return runs_.size() > kFewRuns && runVertices_ < runs_.size() * (kChunkVertices / 10);
}

void TDxPrimCollection::DrawFromBuffer(TdxRenderer& renderer, std::span<const TDxPrimRun> runs) {
  renderer.BindVertexBuffer(&deviceBuffers_.Prepare(*renderer.Device(), vertices_, verticesPerPrim_, runs));
  const size_t chunkPrims = kChunkVertices / verticesPerPrim_;
  for (const TDxPrimRun& run : runs) {
    for (size_t done = 0; done < run.Count; done += chunkPrims) {
      const size_t count = std::min(chunkPrims, run.Count - done);
      renderer.DrawBufferedPrimitives(primitiveType_, static_cast<uint32_t>((run.First + done) * verticesPerPrim_),
                                      static_cast<uint32_t>(count));
    }
  }
  renderer.BindVertexBuffer(nullptr);
}

void TDxPrimCollection::DrawCopied(TdxRenderer& renderer, std::span<const TDxPrimRun> runs) {
  if (copied_.size() < runVertices_) copied_.resize(runVertices_);
  size_t filled = 0;
  for (const TDxPrimRun& run : runs) {
    const std::span<const TDxVertex> v = RunVertices(run);
    std::copy(v.begin(), v.end(), copied_.begin() + static_cast<ptrdiff_t>(filled));
    filled += v.size();
  }
  for (size_t offset = 0; offset < filled; offset += kChunkVertices) {
    const size_t count = std::min(kChunkVertices, filled - offset);
    renderer.DrawVertexArray(primitiveType_, static_cast<uint32_t>(count / verticesPerPrim_), sizeof(TDxVertex),
                             &copied_[offset]);
  }
}

}  // namespace vellmar
