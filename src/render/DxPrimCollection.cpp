#include "render/DxPrimCollection.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "geometry/Vector.h"
#include "render/DxRenderer.h"
#include "render/TextureSurface.h"

namespace vellmar {

TDxPrimCollection::TDxPrimCollection(size_t verticesPerPrim, uint32_t primitiveType)
    : verticesPerPrim_(verticesPerPrim), primitiveType_(primitiveType) {}

TDxPrimCollection::~TDxPrimCollection() = default;

void TDxPrimCollection::Clear() {
  headers_.clear();
  serials_.clear();
  vertices_.clear();
  visible_.clear();
  recordStart_ = nextSerial_;
  deletedCount_ = 0;
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
  THeader header{};
  header.CentreX = static_cast<float>(sumX / count);
  header.CentreY = static_cast<float>(sumY / count);
  double radius = 0.0;
  for (const TDxVertex& v : prim) {
    radius =
        std::max(radius, std::fabs(double{v.X} - header.CentreX) + std::fabs(double{v.Y} - header.CentreY));
  }
  header.Radius = static_cast<float>(radius);
  header.ModeSet = modeSet_;
  if (modeSet_ != 0) ++modedCount_;
  header.Owner = owner;
  header.Deleted = false;

  const auto index = static_cast<uint32_t>(headers_.size());
  headers_.push_back(header);
  serials_.push_back(nextSerial_);
  ++nextSerial_;
  if (PassesCull(header)) visible_.push_back(index);
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
  const auto it = std::lower_bound(serials_.begin(), serials_.end(), serial);
  if (it == serials_.end() || *it != serial) return serials_.size();
  return static_cast<size_t>(it - serials_.begin());
}

TDxPrimView TDxPrimCollection::PrimAt(size_t index) const {
  const THeader& h = headers_[index];
  return TDxPrimView{h.Owner,
                     h.ModeSet,
                     h.Deleted,
                     h.CentreX,
                     h.CentreY,
                     h.Radius,
                     std::span<const TDxVertex>(&vertices_[index * verticesPerPrim_], verticesPerPrim_)};
}

void TDxPrimCollection::TakeRecorded(TDxPrimList& list) const {
  const auto first = std::lower_bound(serials_.begin(), serials_.end(), recordStart_);
  list.resize(static_cast<size_t>(serials_.end() - first));
  std::transform(first, serials_.end(), list.begin(), [](uint64_t serial) { return TDxPrimRef{serial}; });
}

void TDxPrimCollection::MarkDeleted(const TDxPrimList& list) {
  for (const TDxPrimRef ref : list) {
    const size_t index = IndexOf(ref);
    if (index == headers_.size() || headers_[index].Deleted) continue;
    headers_[index].Deleted = true;
    ++deletedCount_;
  }
}

template <typename Predicate>
void TDxPrimCollection::RemoveWhere(Predicate drop) {
  const size_t count = headers_.size();
  size_t kept = 0;
  size_t nextVisible = 0;
  size_t keptVisible = 0;
  size_t droppedDeleted = 0;
  size_t droppedModed = 0;
  for (size_t i = 0; i < count; ++i) {
    const bool visible = nextVisible < visible_.size() && visible_[nextVisible] == i;
    if (visible) ++nextVisible;
    if (drop(headers_[i])) {
      if (headers_[i].Deleted) ++droppedDeleted;
      if (headers_[i].ModeSet != 0) ++droppedModed;
      continue;
    }
    if (kept != i) {
      headers_[kept] = headers_[i];
      serials_[kept] = serials_[i];
      std::copy_n(&vertices_[i * verticesPerPrim_], verticesPerPrim_, &vertices_[kept * verticesPerPrim_]);
    }
    if (visible) visible_[keptVisible++] = static_cast<uint32_t>(kept);
    ++kept;
  }
  headers_.resize(kept);
  serials_.resize(kept);
  vertices_.resize(kept * verticesPerPrim_);
  visible_.resize(keptVisible);
  deletedCount_ -= droppedDeleted;
  modedCount_ -= droppedModed;
}

void TDxPrimCollection::RemoveOwner(const TAbstractItem* owner) {
  const bool any =
      std::any_of(headers_.begin(), headers_.end(), [owner](const THeader& h) { return h.Owner == owner; });
  if (any) RemoveWhere([owner](const THeader& h) { return h.Owner == owner; });
}

void TDxPrimCollection::Compact() {
  RemoveWhere([](const THeader& h) { return h.Deleted; });
}

bool TDxPrimCollection::PassesCull(const THeader& header) const {
  const double distance = DistanceXYZ(cullCentre_, TXYZ{header.CentreX, header.CentreY, 0.0f});
  return !header.Deleted && distance - header.Radius - kCullMargin < cullRadius_;
}

void TDxPrimCollection::RebuildVisible() {
  visible_.clear();
  for (size_t i = 0; i < headers_.size(); ++i) {
    if (PassesCull(headers_[i])) visible_.push_back(static_cast<uint32_t>(i));
  }
}

size_t TDxPrimCollection::GatherVisible() {
  const size_t needed = visible_.size() * verticesPerPrim_;
  if (drawBuffer_.size() < needed) drawBuffer_.resize(needed);
  // With nothing flagged and no mode sets every visible primitive is drawn; when all are
  // visible that is the whole arena in one copy.
  const bool checkEach = deletedCount_ != 0 || modedCount_ != 0;
  if (!checkEach && visible_.size() == headers_.size()) {
    std::memcpy(drawBuffer_.data(), vertices_.data(), needed * sizeof(TDxVertex));
    return needed;
  }
  // Runs of neighbouring primitives that are all drawn are copied in one go, so an
  // unfiltered view is a few large copies rather than one small copy per primitive.
  size_t filled = 0;
  size_t runStart = 0;
  size_t runLength = 0;
  const auto flush = [&] {
    const size_t n = runLength * verticesPerPrim_;
    std::memcpy(&drawBuffer_[filled], &vertices_[runStart * verticesPerPrim_], n * sizeof(TDxVertex));
    filled += n;
  };
  for (const uint32_t index : visible_) {
    if (checkEach) {
      const THeader& h = headers_[index];
      if (h.Deleted || (h.ModeSet != 0 && (h.ModeSet & modeSet_) == 0)) continue;
    }
    if (runLength != 0 && index == runStart + runLength) {
      ++runLength;
      continue;
    }
    if (runLength != 0) flush();
    runStart = index;
    runLength = 1;
  }
  if (runLength != 0) flush();
  return filled;
}

TDxPrimCollection::TGathered TDxPrimCollection::Gather(const TXYZ& centre, float radius) {
  if (!headers_.empty() && deletedCount_ >= headers_.size() / 10) Compact();
  if (headers_.empty()) return TGathered{};
  TGathered result;
  result.SubmittedVertices = verticesPerPrim_ * headers_.size();
  const double moved = std::fabs(double{radius} - cullRadius_) + DistanceXYZ(centre, cullCentre_);
  if (moved >= kCullMargin) {
    cullCentre_ = centre;
    cullRadius_ = radius;
    RebuildVisible();
  }
  result.VisiblePrims = visible_.size();
  if (visible_.empty()) return result;
  // Gathering may grow the buffer: take its address only afterwards (arguments of one
  // call are evaluated in no fixed order).
  const size_t gathered = GatherVisible();
  result.Vertices = std::span<const TDxVertex>(drawBuffer_.data(), gathered);
  return result;
}

void TDxPrimCollection::Draw(const TDxDrawParams& params) {
  TdxRenderer& renderer = *params.Renderer;
  const TGathered gathered = Gather(params.Centre, params.Radius);
  if (gathered.SubmittedVertices == 0) return;
  TFrameCounters& counters = renderer.FrameCounters();
  counters.SubmittedVertices += gathered.SubmittedVertices;
  if (gathered.VisiblePrims == 0) return;
  counters.DrawnVertices += gathered.Vertices.size();
  if (texture_ != nullptr) texture_->Apply(renderer);
  const std::span<const TDxVertex> all = gathered.Vertices;
  for (size_t offset = 0; offset < all.size(); offset += kChunkVertices) {
    const size_t count = std::min(kChunkVertices, all.size() - offset);
    renderer.DrawVertexArray(primitiveType_, static_cast<uint32_t>(count / verticesPerPrim_),
                             sizeof(TDxVertex), &all[offset]);
  }
  if (texture_ != nullptr) renderer.BindTexture(nullptr);
}

}  // namespace vellmar
