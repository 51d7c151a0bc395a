// Design lines on the plan: bands kept in the kind's collections (the item's own styles,
// or a line definition's caps and repeated picture), and the thin centre line drawn
// every frame.

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "document/StreetStructure.h"
#include "document/design/DsnLineDefList.h"
#include "document/design/LentCollections.h"
#include "geometry/Vector.h"
#include "items/design/DesignLineItem.h"
#include "items/road/DataTexture.h"
#include "platform/gpu/DxVertex.h"
#include "platform/text/Cp1251.h"
#include "render/DxDrawParams.h"
#include "render/DxLineCollection.h"
#include "render/DxRenderer.h"
#include "render/DxTriangleCollection.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {

constexpr int32_t kKindIndex = TDsnLineDefList::kKindIndex;
// A definition without a repeated picture draws this band.
constexpr uint32_t kNoPictureColour = MakeColor(192, 0, 0, 255);
constexpr std::array<std::string_view, 2> kStyleTextures = {"\\DataFiles\\Текстуры\\LnStyle_Dash.bmp"_cp1251,
                                                            "\\DataFiles\\Текстуры\\LnStyle_Dash_Dot.bmp"_cp1251};

std::unique_ptr<TDxTriangleCollection> StyleBand(std::string_view texture) {
  auto band = std::make_unique<TDxTriangleCollection>();
  TTextureSettings& settings = LoadDataTexture(*band, texture).Settings();
  settings.ColorArg1 = TTextureArg::Texture;
  settings.ColorArg2 = TTextureArg::Diffuse;
  settings.ColorOp = TTextureOp::Add;
  // Linear filtering would otherwise blend the band's far edge into its near one.
  settings.AddressV = TTextureAddress::Clamp;
  return band;
}

// The point at a station of a polyline whose cumulative stations are given.
TXYZ PointAtStation(const TXYZArray& points, const std::vector<float>& stations, double station) {
  size_t i = 1;
  while (i + 1 < points.size() && stations[i] < station) ++i;
  const double length = double(stations[i]) - stations[i - 1];
  const double f = length > 0 ? std::clamp((station - stations[i - 1]) / length, 0.0, 1.0) : 0.0;
  const TXYZ& a = points[i - 1];
  const TXYZ& b = points[i];
  return TXYZ{static_cast<float>(a.x + (b.x - a.x) * f), static_cast<float>(a.y + (b.y - a.y) * f),
              static_cast<float>(a.z + (b.z - a.z) * f)};
}

// The part of the polyline from station from to station to: the end points interpolated,
// the vertices strictly between them kept.
TXYZArray Piece(const TXYZArray& points, const std::vector<float>& stations, double from, double to) {
  TXYZArray piece{PointAtStation(points, stations, from)};
  for (size_t i = 0; i < points.size(); ++i) {
    if (stations[i] > from && stations[i] < to) piece.push_back(points[i]);
  }
  piece.push_back(PointAtStation(points, stations, to));
  return piece;
}

}  // namespace

void TDesignLineItem::InitKindCollections(TStreetStructure& street) {
  TDxPrimCollections own;
  own.push_back(std::make_unique<TDxLineCollection>());
  own.push_back(std::make_unique<TDxTriangleCollection>());
  for (const std::string_view texture : kStyleTextures) own.push_back(StyleBand(texture));
  SetOwnCollections(street, kKindIndex, std::move(own));
}

TDxTriangleCollection* TDesignLineItem::PartCollection(TLinePart part) const {
  auto* library = dynamic_cast<TDsnLineDefList*>(Street().Library(TStreetLibrary::TSlot::Lines));
  if (library == nullptr) return nullptr;
  const int32_t index = library->IndexOfName(lineDefName_);
  if (index < 0) return nullptr;
  const size_t slot = kOwnCollections + size_t(index) * TDsnLineDef::kParts + static_cast<size_t>(part);
  return dynamic_cast<TDxTriangleCollection*>(
      LentCollection(Street(), kKindIndex, slot, library->Item(index).Collection(part)));
}

void TDesignLineItem::BuildPrimitives() {
  Points().EnsurePolyline();
  if (Points().Count() < 2) return;
  const TXYZArray& polyline = Points().Polyline();
  boundsMin_ = boundsMax_ = polyline.front();
  for (const TXYZ& p : polyline) {
    boundsMin_ = TXYZ{std::min(boundsMin_.x, p.x), std::min(boundsMin_.y, p.y), 0.0f};
    boundsMax_ = TXYZ{std::max(boundsMax_.x, p.x), std::max(boundsMax_.y, p.y), 0.0f};
  }
  if (const TDsnLineDef* def = LineDef()) {
    AddPatternBand(*def);
  } else {
    AddStyleBand();
  }
}

void TDesignLineItem::AddPatternBand(const TDsnLineDef& def) {
  const TXYZArray& polyline = Points().Polyline();
  const double left = def.Width() / 2.0 - def.Disp(), right = -def.Width() / 2.0 - def.Disp();
  const TBitmap* repeat = def.Bitmap(TLinePart::Repeat);
  if (repeat == nullptr || repeat->Width() <= 0) {
    if (TDxTriangleCollection* band = PartCollection(TLinePart::Repeat)) {
      band->SetColor(kNoPictureColour);
      band->AddSmoothRibbon(this, polyline, def.Period(), left, right, 0, 1);
    }
    return;
  }
  // World units per picture pixel: the caps are as long as their pictures are wide.
  const double k = double(def.Period()) / repeat->Width();
  const auto capLength = [&](TLinePart part) {
    const TBitmap* cap = def.Bitmap(part);
    return cap != nullptr ? k * cap->Width() : 0.0;
  };
  const std::vector<float>& stations = Points().Stations();
  const double total = stations.back();
  // Caps longer than the line share it; neither runs past the other.
  const double startEnd = std::clamp(capLength(TLinePart::Start), 0.0, total);
  const double finishStart = std::clamp(total - capLength(TLinePart::Finish), startEnd, total);
  const struct {
    TLinePart Part;
    double From, To, Period;
  } pieces[] = {{TLinePart::Start, 0.0, startEnd, startEnd},
                {TLinePart::Repeat, startEnd, finishStart, def.Period()},
                {TLinePart::Finish, finishStart, total, total - finishStart}};
  for (const auto& piece : pieces) {
    if (!(piece.To > piece.From)) continue;
    TDxTriangleCollection* band = PartCollection(piece.Part);
    if (band == nullptr) continue;
    band->SetColor(color_);
    band->AddSmoothRibbon(this, Piece(polyline, stations, piece.From, piece.To), piece.Period, left, right, 0, 1);
  }
}

int32_t TDesignLineItem::DrawnStyle() const {
  // Only the three styles have a band of their own; anything else is drawn solid.
  return style_ == kDashed || style_ == kDashDot ? style_ : kSolid;
}

void TDesignLineItem::AddStyleBand() {
  if (width_ == 0.0f) return;
  const TDxPrimCollections& collections = Street().KindCollections(kKindIndex);
  const size_t slot = static_cast<size_t>(DrawnStyle()) + 1;
  auto* band = slot < collections.size() ? dynamic_cast<TDxTriangleCollection*>(collections[slot].get()) : nullptr;
  if (band == nullptr) return;
  band->SetColor(color_);
  const double period = period_ == 0.0f ? 1.0 : period_;
  band->AddSmoothRibbon(this, Points().Polyline(), period, width_ / 2.0 - disp_, -disp_ - width_ / 2.0, 0, 1);
}

void TDesignLineItem::DrawImmediate(const TDxDrawParams& params, TModeSet modes) {
  TLineItem::DrawImmediate(params, modes);
  if (params.Renderer == nullptr || Points().Count() < 2 || LineDef() != nullptr) return;
  if (width_ != 0.0f && DrawnStyle() != kSolid) return;
  const TXYZ& c = params.Centre;
  const float r = params.Radius;
  if (!(c.x > boundsMin_.x - r && c.x < boundsMax_.x + r && c.y > boundsMin_.y - r && c.y < boundsMax_.y + r))
    return;
  if (disp_ == 0.0f) {
    params.Renderer->DrawPolyline(Points().Polyline(), color_);
  } else {
    params.Renderer->DrawPolyline(Points().OffsetPolyline(-disp_), color_);
  }
}

}  // namespace vellmar
