#pragma once
// A retained batch of lines or triangles in world coordinates. Items add primitives
// (each tagged with the item that owns it) when their geometry changes; every frame the
// collection draws those near the view. The collection owns its primitives and its Local
// shell; it owns its texture surface only when it made it itself (CreateOwnTexture,
// LoadTexture), never one given to ShareTexture.
//
// Primitives live in contiguous arrays (a header per primitive plus one vertex arena),
// not in one heap block each, so that compaction is one pass. Drawing copies no vertices
// per frame: each device keeps the primitives it has drawn in a vertex buffer laid out
// as the arena, and the visible ones are drawn from there in runs of neighbours. A grid
// over the primitives' centres, built once per layout, lets a re-cull after a pan look
// only at the primitives near the view.
//
// Drawn by a renderer whose device keeps the vertices (TdxRenderer::KeepsVertices), the
// collection hands every vertex to that device's buffer and keeps no copy of its own:
// what stays is what culling and the items need (centres, radii, owners, serials). It
// can then be drawn only on that device; once the device is gone, or for another device
// or a reader of vertices (NeedsVertices), its items must build it again. Until then
// deleted primitives stay in place, as holes the runs skip.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "geometry/XYZ.h"
#include "platform/PodArray.h"
#include "platform/gpu/DxVertex.h"
#include "render/DeviceVertexBuffers.h"
#include "render/DxDrawParams.h"
#include "render/DxOwnerRuns.h"
#include "render/DxPrimGrid.h"
#include "render/DxSerialRuns.h"
#include "render/MatrixShell.h"

namespace vellmar {

// Owners are items, which live in a layer above the renderer: the collection never
// dereferences an owner, it only compares addresses (RemoveOwner).
class TAbstractItem;
class TTextureSurface;
class TdxRenderer;

// Names one primitive of one collection. Serials are never reused, so a reference to a
// primitive that has been freed finds nothing instead of another primitive.
enum class TDxPrimRef : uint64_t {};
using TDxPrimList = std::vector<TDxPrimRef>;
// The primitives added between one BeginRecord and the TakeRecorded after it, as the
// serials First ... End - 1 they were given. Those of them still stored lie side by side
// (IndicesOf), so an owner keeps two numbers instead of a reference per primitive.
struct TDxPrimRange {
  uint64_t First = 0;
  uint64_t End = 0;
  bool empty() const { return First == End; }
  // How many primitives were added.
  size_t size() const { return static_cast<size_t>(End - First); }
  bool operator==(const TDxPrimRange&) const = default;
};

// A read-only look at one stored primitive; valid until the collection next changes.
struct TDxPrimView {
  const TAbstractItem* Owner = nullptr;
  uint32_t ModeSet = 0;
  bool Deleted = false;
  float CentreX = 0.0f;
  float CentreY = 0.0f;  // the centre's Z is always 0
  float Radius = 0.0f;   // Manhattan radius around the centre
  std::span<const TDxVertex> Vertices;
};

class TDxPrimCollection {
 public:
  // World units added to the view radius when culling, and the view movement (centre
  // shift plus radius change) below which the visible set is kept as it is.
  static constexpr double kCullMargin = 20.0;
  // Vertices per draw call; a multiple of 2 and 3, so no primitive is split.
  static constexpr size_t kChunkVertices = 3000;

  virtual ~TDxPrimCollection();
  TDxPrimCollection(const TDxPrimCollection&) = delete;
  TDxPrimCollection& operator=(const TDxPrimCollection&) = delete;

  size_t VerticesPerPrim() const { return verticesPerPrim_; }
  uint32_t PrimitiveType() const { return primitiveType_; }

  // Stamped on every vertex added; whatever colour the vertices carried is replaced.
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t color) { color_ = color; }
  // Bit i stands for mode i. Stamped on new primitives; at draw time the street's filter.
  // A primitive with an empty set is always drawn.
  uint32_t ModeSet() const { return modeSet_; }
  void SetModeSet(uint32_t modeSet) { modeSet_ = modeSet; }
  // Applied to positions as they are added.
  TMatrixShell& Local() { return local_; }

  // Frees every primitive and forgets the recorded ones; Local back to identity.
  void Clear();

  // A new empty surface of the collection's own (the old one freed if it was owned).
  TTextureSurface& CreateOwnTexture();
  // CreateOwnTexture, then the bitmap file into it; a bad file raises.
  void LoadTexture(const std::filesystem::path& fileName);
  // Draws with a surface owned elsewhere (the font atlas), which must outlive the
  // collection or be replaced first; nullptr draws untextured.
  void ShareTexture(TTextureSurface* surface);
  TTextureSurface* Texture() const { return texture_; }

  // Adds one primitive from the first VerticesPerPrim vertices; nothing when fewer.
  void AddPrim(const TAbstractItem* owner, std::span<const TDxVertex> vertices);
  // Adds count primitives whose vertices lie in a row; at most as many as are complete.
  void AddPrims(const TAbstractItem* owner, std::span<const TDxVertex> vertices, size_t count);

  void BeginRecord() { recordStart_ = nextSerial_; }
  // Replaces list's contents with the primitives added since BeginRecord that still
  // exist, in order.
  void TakeRecorded(TDxPrimList& list) const;
  // The primitives added since BeginRecord, as a range.
  TDxPrimRange TakeRecorded() const { return TDxPrimRange{recordStart_, nextSerial_}; }
  // Flags the primitives for removal; they are freed in bulk by a later Draw. References
  // to primitives already freed or already flagged are ignored.
  void MarkDeleted(const TDxPrimList& list);
  void MarkDeleted(const TDxPrimRange& range);
  // Frees every primitive of owner at once.
  void RemoveOwner(const TAbstractItem* owner);

  // What Draw hands to the device for a view, after compaction, culling and mode-set
  // filtering: runs of neighbouring primitives, in order. Runs stay valid until the
  // collection next changes.
  struct TGathered {
    size_t SubmittedVertices = 0;  // VerticesPerPrim per stored primitive
    size_t VisiblePrims = 0;       // before mode-set filtering
    size_t DrawnVertices = 0;      // in the runs
    std::span<const TDxPrimRun> Runs;
  };
  TGathered Gather(const TXYZ& centre, float radius);
  // Draws the primitives near the view with the texture applied, in calls of at most
  // kChunkVertices vertices from the device's vertex buffer (the primitives it lacks are
  // written into it first), and adds to the renderer's frame counters. Runs scattered
  // by deletions or modes into many short pieces are copied together and handed over
  // in a few large draws instead: one draw call per piece would cost more than the copy.
  void Draw(const TDxDrawParams& params);

  size_t Count() const { return bounds_.size(); }
  TDxPrimView PrimAt(size_t index) const;
  // The index of the primitive, or Count() when it has been freed.
  size_t IndexOf(TDxPrimRef ref) const;
  // The places of the range's primitives that are still stored.
  TDxPrimRun IndicesOf(const TDxPrimRange& range) const;
  size_t VisibleCount() const { return visible_.size(); }
  // The vertices of primitives First ... First + Count - 1, as stored; raises
  // EVellmarError when they were handed over to a device.
  std::span<const TDxVertex> RunVertices(const TDxPrimRun& run) const;
  // Primitives 0 ... HandedOverCount() - 1 live only in a device's buffer.
  size_t HandedOverCount() const { return handedOver_; }
  // Whether the collection must be built again by its items before it can be drawn on
  // the device (nullptr: before its vertices can be read): it handed its vertices to
  // another device, or the device lost them, lacks room for the primitives added since,
  // or holds a tenth of deleted ones that only a build can drop.
  bool NeedsVertices(const IGpuDevice* device) const;
  // Devices holding a vertex buffer of this collection.
  size_t DeviceBufferCount() const { return deviceBuffers_.LinkCount(); }
  // Bytes of vertices the collection keeps itself, and those its devices' buffers hold.
  size_t HeldVertexBytes() const { return (bounds_.size() - handedOver_) * verticesPerPrim_ * sizeof(TDxVertex); }
  size_t DeviceVertexBytes() const { return deviceBuffers_.DeviceBytes(); }
  // Primitives flagged and not yet freed.
  size_t DeletedCount() const { return deletedCount_; }

 protected:
  TDxPrimCollection(size_t verticesPerPrim, uint32_t primitiveType);

  // Room for one primitive's vertices at the end of the arena, zeroed; the caller fills
  // positions (and U, V) and then calls CommitPrim. Nothing else may run in between.
  TDxVertex* BeginPrim();
  void CommitPrim(const TAbstractItem* owner);
  static void SetPosition(TDxVertex& v, const TXYZ& p) {
    v.X = p.x;
    v.Y = p.y;
    v.Z = p.z;
  }

 private:
  void MarkDeletedAt(size_t index);
  bool PassesCull(size_t index) const;
  void RebuildVisible();
  // Whether the view's circle widened by reach holds every finite centre: then every
  // primitive passes but those flagged or without a finite centre.
  bool ReachHoldsEveryCentre(double reach) const;
  void RebuildVisibleAll();
  // The reference: every primitive tested in order.
  void RebuildVisibleByScan();
  // Only the primitives the grid offers near the view, and those added since it was built.
  void RebuildVisibleFromGrid();
  // The runs of visible primitives that pass the mode filter.
  void BuildRuns();
  bool RunsScattered() const;
  void DrawFromBuffer(TdxRenderer& renderer, std::span<const TDxPrimRun> runs);
  void DrawCopied(TdxRenderer& renderer, std::span<const TDxPrimRun> runs);
  // Frees the primitives for which drop(index) holds, keeping the order of the rest.
  template <typename Predicate>
  void RemoveWhere(Predicate drop);
  void Compact();

  size_t verticesPerPrim_;
  uint32_t primitiveType_;
  uint32_t color_ = 0;
  uint32_t modeSet_ = 0;
  TMatrixShell local_;
  TTextureSurface* texture_ = nullptr;
  std::unique_ptr<TTextureSurface> ownTexture_;  // texture_ when the collection owns it

  // Prims, in order of addition: bounds_[i], deleted_[i], place i of owners_ and of
  // serials_ (ascending) and the vertices vertices_[i * VerticesPerPrim ...] belong
  // together.
  TPodArray<TDxPrimBounds> bounds_;
  TDxOwnerRuns owners_;
  std::vector<bool> deleted_;
  TDxSerialRuns serials_;
  TPodArray<TDxVertex> vertices_;
  uint64_t nextSerial_ = 1;
  size_t handedOver_ = 0;  // primitives whose vertices went to a device and are not kept

  TDeviceVertexBuffers deviceBuffers_;
  TDxPrimGrid grid_;
  std::vector<uint64_t> visibleBits_;  // scratch of RebuildVisibleFromGrid, kept for its capacity
  // The drawn runs for the visible set and the mode filter they were built with; they
  // are built again when either changes.
  std::vector<TDxPrimRun> runs_;
  size_t runVertices_ = 0;
  std::vector<TDxVertex> copied_;  // DrawCopied's vertices; grows, never shrinks
  bool runsStale_ = true;
  uint32_t runsModeSet_ = 0;
  TXYZ cullCentre_;
  float cullRadius_ = 0.0f;
  std::vector<uint32_t> visible_;  // ascending indices into the prims
  // Serials are given in order of addition, so the primitives added since BeginRecord
  // are those from this serial on: no list needs to grow with every primitive added.
  uint64_t recordStart_ = 1;
  size_t deletedCount_ = 0;
  size_t modedCount_ = 0;  // primitives with a non-empty mode set
  // Around the finite centres of the primitives added since the last Clear: a view that
  // covers them all is culled by the plain scan, without building the grid.
  float minX_ = INFINITY, minY_ = INFINITY, maxX_ = -INFINITY, maxY_ = -INFINITY;
};

}  // namespace vellmar
