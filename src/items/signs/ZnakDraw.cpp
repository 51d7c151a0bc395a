// The road sign drawn: the post and its captions retained in the kind's collections, the
// plates' pictures every frame.

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

#include "document/PointStructure.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/AtlasLabels.h"
#include "items/signs/SignPicture.h"
#include "items/signs/ZnakItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"
#include "render/DxTriangleCollection.h"
#include "render/ViewReach.h"

namespace vellmar {

namespace {

constexpr uint32_t kPostColour = MakeColor(5, 5, 5, 255);
// Atlas pixels to picture units across and up the caption.
constexpr double kCaptionScaleX = 12.0;
constexpr double kCaptionScaleY = 15.0;

enum TCollection : size_t { kFootprint = 0, kPost = 1, kCaptions = 2 };

struct TCaptionPlace {
  double EdgeX, EdgeY;  // the picture's edge, in picture halves
  double StepX, StepY;  // one caption unit outwards
};

// Where a caption goes for each side; any other side centres it on the picture.
TCaptionPlace CaptionPlace(uint8_t side) {
  switch (side) {
    case TEmfSubItem::kBelow:
      return {0, -1, 0, -1};
    case TEmfSubItem::kRight:
      return {1, 0, 1, 0};
    case TEmfSubItem::kLeft:
      return {-1, 0, -1, 0};
    case TEmfSubItem::kAbove:
      return {0, 1, 0, 1};
    default:
      return {0, 0, 0, 0};
  }
}

// The lower left of the caption line's centre, given the block's width and height and
// the status line's height.
TXYZ BlockOffset(uint8_t side, double width, double height, double statusHeight) {
  switch (side) {
    case TEmfSubItem::kBelow:
      return {0.0f, static_cast<float>(statusHeight - height), 0.0f};
    case TEmfSubItem::kRight:
      return {static_cast<float>(width / 2), static_cast<float>(-height / 2 + statusHeight), 0.0f};
    case TEmfSubItem::kLeft:
      return {static_cast<float>(-width / 2), static_cast<float>(-height / 2 + statusHeight), 0.0f};
    case TEmfSubItem::kAbove:
      return {0.0f, static_cast<float>(statusHeight), 0.0f};
    default:
      return {0.0f, static_cast<float>(-height / 2 + statusHeight), 0.0f};
  }
}

// The footprint of the post's foot: a 1 by 0.3 block behind and below the foot.
constexpr std::array<TXYZ, 4> kFootprintQuad = {{{0, 0, 0}, {-1, 0, 0}, {0, -0.3f, 0}, {-1, -0.3f, 0}}};

}  // namespace

void TZnakItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections& collections = street.KindCollections(kKindIndex);
  auto footprint = std::make_unique<TDxTriangleCollection>();
  footprint->SetColor(kPostColour);
  collections.push_back(std::move(footprint));
  auto post = std::make_unique<TDxLineCollection>();
  post->SetColor(kPostColour);
  collections.push_back(std::move(post));
  collections.push_back(std::make_unique<TDxTriangleCollection>());
}

void TZnakItem::PlacePlate(TMatrixShell& shell, const TEmfSubItem& plate) {
  const TPointList& points = Points();
  const TXYZ a = points.GetVertex(points.Count() - 2);
  const TXYZ b = points.GetVertex(points.Count() - 1);
  TXYZ d = SubXYZ(a, b);
  // Coinciding points give no direction: the plates then stand unturned.
  if (d.x == 0.0f && d.y == 0.0f) d = {1.0f, 0.0f, 0.0f};
  const double s = SignUnitSize(Street());
  shell.Translate(false, b.x, b.y, b.z);
  shell.RotateByVector(false, -d.y, d.x);
  shell.Translate(false, plate.Origin().x, plate.Origin().y, plate.Origin().z);
  shell.RotateZ(false, -plate.Orientation() * std::numbers::pi / 180.0);
  shell.Scale(false, s, s, s);
}

std::optional<std::array<TXYZ, 4>> TZnakItem::PlateOutline(const TEmfSubItem& plate) {
  if (Points().Count() < 3 || plate.Picture() == nullptr || plate.Width() == 0) return std::nullopt;
  // The frame DrawImmediate draws the picture in, its middle at the plate's origin.
  TMatrixShell shell;
  PlacePlate(shell, plate);
  const double scale = PictureScale(plate.Scale());
  const auto w = static_cast<float>(plate.Width() * scale / 2), h = static_cast<float>(plate.Height() * scale / 2);
  return std::array<TXYZ, 4>{shell.TransformPoint({-w, -h, 0}), shell.TransformPoint({w, -h, 0}),
                             shell.TransformPoint({w, h, 0}), shell.TransformPoint({-w, h, 0})};
}

void TZnakItem::BuildPrimitives() {
  TPointList& points = Points();
  if (points.Count() != 3) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  auto& footprint = dynamic_cast<TDxTriangleCollection&>(*collections.at(kFootprint));
  auto& post = dynamic_cast<TDxLineCollection&>(*collections.at(kPost));
  auto& captions = dynamic_cast<TDxTriangleCollection&>(*collections.at(kCaptions));
  const TXYZ p0 = points.GetVertex(0);
  const TXYZ p1 = points.GetVertex(1);
  const TXYZ p2 = points.GetVertex(2);

  post.AddSegments(this, TXYZArray{p0, p1, p1, p2});

  // A foot shared with another item is that item's to draw.
  if (points.VertexRecord(0)->Users.size() == 1) {
    double angle = AngleOf(SubXYZ(p1, p2));
    if (angle < 0.0) angle += 2.0 * std::numbers::pi;
    TMatrixShell& local = footprint.Local();
    local.PushMatrix();
    local.Translate(false, p0.x, p0.y, p0.z);
    local.RotateZ(false, -angle);
    footprint.AddQuads(this, kFootprintQuad);
    local.PopMatrix();
  }

  TAtlasLabels labels(captions, this);
  TMatrixShell& local = labels.Local();
  // Each line under the placement as it stands, which comes back afterwards.
  const auto addLine = [&](const std::string& text, double x, double y) {
    local.PushMatrix();
    local.Translate(false, x, y, 0);
    labels.Add(text);
    local.PopMatrix();
  };
  for (int32_t i = 0; i < PlateCount(); ++i) {
    const TEmfSubItem& plate = Plate(i);
    if (plate.Picture() == nullptr) continue;
    const double scale = PictureScale(plate.Scale());
    const TCaptionPlace place = CaptionPlace(plate.CaptionSide());
    local.PushMatrix();
    PlacePlate(local, plate);
    local.Scale(false, scale, scale, scale);
    local.Translate(false, place.EdgeX * plate.Width() / 2, place.EdgeY * plate.Height() / 2, 0);
    local.Scale(false, kCaptionScaleX / scale, kCaptionScaleY / scale, kCaptionScaleX / scale);
    local.Translate(false, place.StepX, place.StepY, 0);

    const std::string caption = plate.Caption();
    const std::string status = plate.Status().empty() ? std::string() : "(" + plate.Status() + ")";
    const double w1 = labels.Width(caption);
    const double h1 = labels.Height();
    const double w2 = status.empty() ? 0.0 : labels.Width(status);
    const double h2 = status.empty() ? 0.0 : labels.Height();
    const TXYZ block = BlockOffset(plate.CaptionSide(), std::max(w1, w2), h1 + h2, h2);
    local.Translate(false, block.x, block.y, 0);
    addLine(caption, -w1 / 2, 0);
    if (!status.empty()) addLine(status, -w2 / 2, -h2);
    local.PopMatrix();
  }
}

void TZnakItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TPointItem::DrawImmediate(params, modes);
  TPointList& points = Points();
  if (points.Count() < 3 || params.Renderer == nullptr) return;
  TdxRenderer& renderer = *params.Renderer;
  TMatrixShell& world = renderer.World();
  for (int32_t i = 0; i < PlateCount(); ++i) {
    TEmfSubItem& plate = Plate(i);
    if (plate.Picture() == nullptr || plate.Width() == 0) continue;
    const double scale = PictureScale(plate.Scale());
    const auto w = static_cast<float>(plate.Width());
    const auto h = static_cast<float>(plate.Height());
    // The picture's rows run downwards.
    const auto place = [&](TMatrixShell& shell) {
      PlacePlate(shell, plate);
      shell.Scale(false, scale, -scale, scale);
      shell.Translate(false, -w / 2, -h / 2, 0);
    };
    // Each plate by its own circle: one mounted low shows in views that hold neither the
    // post's foot nor its top.
    TMatrixShell placed;
    place(placed);
    if (!PlacedRectReachesView(placed.GetMatrix(), 0, 0, w, h, params)) continue;
    TTextureSurface* texture = SignPictureTexture(renderer, *plate.Picture(), plate.Scale(), plate.CacheHint());
    const std::array<TDxVertex, 6> quad = {{{0, 0, 0, 0, 0, 0},
                                            {w, 0, 0, 0, 1, 0},
                                            {w, h, 0, 0, 1, 1},
                                            {w, h, 0, 0, 1, 1},
                                            {0, h, 0, 0, 0, 1},
                                            {0, 0, 0, 0, 0, 0}}};
    world.PushMatrix();
    place(world);
    DrawSignPicture(renderer, texture, quad, /*fan=*/false);
    world.PopMatrix();
  }
}

}  // namespace vellmar
