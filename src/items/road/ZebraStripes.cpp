// The zebra drawn: stripes stepped along its path.

#include <cmath>
#include <memory>
#include <optional>

#include "document/StreetStructure.h"
#include "geometry/Planar.h"
#include "geometry/Vector.h"
#include "items/road/ModeSets.h"
#include "items/road/ZebraItem.h"
#include "platform/gpu/DxVertex.h"
#include "render/DxTriangleCollection.h"

namespace vellmar {

namespace {

constexpr double kStripeHalf = 0.2;  // half the width of a black stripe
constexpr double kStep = 0.5;        // from a stripe to the next gap stripe and on
// Up to this width the crossing is one row of stripes; wider ones are split.
constexpr double kPlainWidth = 6.0;
constexpr double kMiddleGap = 0.1;  // half the gap between the halves of a split stripe
// A crossing longer than this many metres is damaged data: it is not striped, rather
// than the frame spending its time (and memory) on millions of stripes.
constexpr double kLongestCrossing = 10000.0;
constexpr uint32_t kBlack = MakeColor(0, 0, 0, 255);
constexpr uint32_t kYellow = MakeColor(240, 240, 0, 255);

// The arrow template: a shaft 0.2 wide and 0.68 long and a head 0.6 wide, pointing
// along +y with its tip at 1.2; three triangles.
constexpr TXYZ kArrow[9] = {{-0.1f, 0, 0},     {0.1f, 0, 0},     {-0.1f, 0.68f, 0},
                            {0.1f, 0, 0},      {-0.1f, 0.68f, 0}, {0.1f, 0.68f, 0},
                            {-0.3f, 0.68f, 0}, {0.3f, 0.68f, 0},  {0, 1.2f, 0}};

// A stripe's own frame: x along the stripe direction, y along the stepping direction,
// turned half a turn for the second arrow stripe.
struct TFrame {
  TXYZ Centre;
  TXYZ X;
  TXYZ Y;
  TXYZ At(double x, double y) const {
    return MakeXYZ(Centre.x + X.x * x + Y.x * y, Centre.y + X.y * x + Y.y * y, Centre.z);
  }
};

class TZebraBuilder {
 public:
  TZebraBuilder(const TAbstractItem* owner, TDxTriangleCollection& out, double width, double gap)
      : owner_(owner), out_(out), width_(width), gap_(gap) {}

  // Lays the stripes along path; step gives the stepping direction, stripe the stripe
  // direction (a quarter turn clockwise from it).
  void Build(const TXYZArray& path, const TXYZ& step, const TXYZ& stripe, bool background);

 private:
  // The path point at position c (its projection on the stepping direction), or none.
  std::optional<TXYZ> PointAt(double c) const;
  // The band from x0 to x1 across, half as deep as given along the stepping direction.
  void AddBand(const TFrame& frame, double x0, double x1, double halfDepth, uint32_t colour);
  void AddArrows(const TFrame& frame);
  TFrame FrameAt(const TXYZ& centre, bool turned) const;

  const TAbstractItem* owner_;
  TDxTriangleCollection& out_;
  double width_;
  double gap_;
  TXYZArray path_;
  std::vector<double> positions_;
  TXYZ step_;
  TXYZ stripe_;
};

std::optional<TXYZ> TZebraBuilder::PointAt(double c) const {
  for (size_t i = 1; i < path_.size(); ++i) {
    const double a = positions_[i - 1], b = positions_[i];
    if (c < std::min(a, b) || c > std::max(a, b) || a == b) continue;
    return LerpXYZ(path_[i - 1], path_[i], (c - a) / (b - a));
  }
  return std::nullopt;
}

TFrame TZebraBuilder::FrameAt(const TXYZ& centre, bool turned) const {
  return turned ? TFrame{centre, Negate2D(stripe_), Negate2D(step_)} : TFrame{centre, stripe_, step_};
}

void TZebraBuilder::AddBand(const TFrame& frame, double x0, double x1, double halfDepth, uint32_t colour) {
  out_.SetColor(colour);
  out_.AddQuads(owner_, TXYZArray{frame.At(x0, -halfDepth), frame.At(x1, -halfDepth), frame.At(x0, halfDepth),
                                  frame.At(x1, halfDepth)});
}

void TZebraBuilder::AddArrows(const TFrame& frame) {
  out_.SetColor(kBlack);
  const double anchors[3][2] = {
      {0.25 * width_ + kMiddleGap, -0.5}, {0.15 * width_ + kMiddleGap, -0.7}, {0.35 * width_ + kMiddleGap, -0.7}};
  TXYZArray triangles;
  for (const auto& anchor : anchors) {
    for (const TXYZ& p : kArrow) triangles.push_back(frame.At(anchor[0] + p.x, anchor[1] + p.y));
  }
  out_.AddTriangles(owner_, triangles);
}

void TZebraBuilder::Build(const TXYZArray& path, const TXYZ& step, const TXYZ& stripe, bool background) {
  path_ = path;
  step_ = step;
  stripe_ = stripe;
  positions_.clear();
  for (const TXYZ& p : path_) {
    const TXYZ v = SubXYZ(path_.front(), p);
    positions_.push_back(v.x * step.x + v.y * step.y);
  }
  double end = positions_.back();
  for (const double a : positions_) end = std::max(end, a);
  if (!std::isfinite(end) || end > kLongestCrossing) return;

  const bool split = width_ > kPlainWidth;
  const double half = width_ / 2;
  // Stripes 1 and m - 1 of a split crossing carry the arrows.
  const auto m = static_cast<int64_t>(std::trunc(end)) - 1;
  // Stripes sit at 0.5, 1.5, ... and gap stripes at 1.0, 2.0, ...: a stripe needs
  // half a step of path beyond it, a gap stripe a whole step (room for the next stripe).
  int64_t k = 0;
  for (double c = kStep; c + kStep <= end; c += 2 * kStep, ++k) {
    const std::optional<TXYZ> at = PointAt(c);
    if (at) {
      if (!split) {
        AddBand(FrameAt(*at, false), -half, half, kStripeHalf, kBlack);
      } else if (k == 1 || k == m - 1) {
        const TFrame frame = FrameAt(*at, k != 1);
        AddBand(frame, -half - kMiddleGap, -kMiddleGap, kStripeHalf, kBlack);
        AddArrows(frame);
      } else {
        const TFrame frame = FrameAt(*at, false);
        AddBand(frame, -half - kMiddleGap, -kMiddleGap, kStripeHalf, kBlack);
        AddBand(frame, kMiddleGap, half + kMiddleGap, kStripeHalf, kBlack);
      }
    }
    const double g = c + kStep;
    if (!background || g + 2 * kStep > end) continue;
    const std::optional<TXYZ> gapAt = PointAt(g);
    if (!gapAt) continue;
    if (!split) {
      AddBand(FrameAt(*gapAt, false), -half, half, gap_ / 2, kYellow);
    } else if (k == 0 || k == 1 || k == m - 2 || k == m - 1) {
      // Beside an arrow stripe only the half without its arrows is painted.
      const TFrame frame = FrameAt(*gapAt, k > 1);
      AddBand(frame, -half - kMiddleGap, -kMiddleGap, gap_ / 2, kYellow);
    } else {
      const TFrame frame = FrameAt(*gapAt, false);
      AddBand(frame, -half - kMiddleGap, -kMiddleGap, gap_ / 2, kYellow);
      AddBand(frame, kMiddleGap, half + kMiddleGap, gap_ / 2, kYellow);
    }
  }
}

}  // namespace

void TZebraItem::InitKindCollections(TStreetStructure& street) {
  auto stripes = std::make_unique<TDxTriangleCollection>();
  stripes->SetColor(MakeColor(5, 5, 5, 255));
  street.KindCollections(kKindIndex).push_back(std::move(stripes));
}

void TZebraItem::BuildPrimitives() {
  TPointList& points = Points();
  const int32_t count = points.Count();
  if (count < 2) return;
  const TXYZArray& polyline = points.Polyline();
  TXYZ step;
  TXYZ stripe;
  TXYZArray path;
  if (count == 2) {
    step = SubXYZ(points.GetVertex(0), points.GetVertex(1));
    path = polyline;
  } else {
    // The last point only gives the stripes' direction (a skewed crossing). The stripe
    // direction is taken to the right of the path's last leg, so that the stepping
    // direction, a quarter turn to its left, runs forward along the path.
    const TXYZ a = points.GetVertex(count - 3), b = points.GetVertex(count - 2), c = points.GetVertex(count - 1);
    stripe = SubXYZ(b, c);
    if (SignedArea(a, b, c) > 0) stripe = Negate2D(stripe);
    step = PerpLeft(stripe);
    const int32_t last = points.VertexIndex().at(static_cast<size_t>(count - 2));
    path.assign(polyline.begin(), polyline.begin() + last + 1);
  }
  // Coincident points give no direction: nothing to step along.
  if (LengthXYZ(step) == 0.0 || path.size() < 2) return;
  step = SetLengthXYZ(step, 1.0);
  stripe = PerpRight(step);
  const double gap = Street().ZebraOption() != 0 ? 0.4 : 0.6;
  auto& out = dynamic_cast<TDxTriangleCollection&>(*Street().KindCollections(kKindIndex).at(0));
  out.SetModeSet(kPlanModes);
  TZebraBuilder(this, out, width_, gap).Build(path, step, stripe, background_);
}

}  // namespace vellmar
