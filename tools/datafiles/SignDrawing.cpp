#include "SignDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>

#include "platform/metafile/GdiText.h"
#include "platform/metafile/MetafileWriter.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

// Logical units a millimetre: the pictures keep a tenth of a millimetre.
constexpr double kUnits = 10;
constexpr uint32_t kStockSystemFont = 0x8000000D;
constexpr uint32_t kTextCentredOnBaseline = kTaCenter | kTaBaseline;

std::vector<TPointD> Scaled(const std::vector<TPointD>& points) {
  std::vector<TPointD> out;
  out.reserve(points.size());
  for (const TPointD& p : points) out.push_back({p.X * kUnits, p.Y * kUnits});
  return out;
}

int32_t Units(double mm) { return static_cast<int32_t>(std::lround(mm * kUnits)); }

// The sign face's mean character width as a share of its height. Pictures are played
// into square textures whatever their proportions, and a font without a width keeps
// its own proportions in the texture, so text on a plate twice as wide as tall came
// out twice too wide once the texture was laid on the plate. A font with a width
// is stretched with the picture instead.
constexpr double kSignFaceWidth = 0.61;

TGdiFont SignFont(double em) {
  TGdiFont font;
  font.Height = -Units(em);
  font.Width = Units(em * kSignFaceWidth);
  font.Weight = 700;
  font.CharSet = kRussianCharset;
  font.FaceName = "Arial";
  return font;
}

TPointD Lerp(TPointD a, TPointD b, double t) { return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t}; }

}  // namespace

void TSignPicture::Fill(TColorRef color, std::vector<TPointD> contour) {
  shapes_.push_back({TSignShape::TKind::Fill, color, {std::move(contour)}, 0, {}});
}

void TSignPicture::FillWithHoles(TColorRef color, std::vector<std::vector<TPointD>> contours) {
  shapes_.push_back({TSignShape::TKind::Fill, color, std::move(contours), 0, {}});
}

void TSignPicture::Disc(TColorRef color, double cx, double cy, double radius) {
  shapes_.push_back({TSignShape::TKind::Disc, color, {{{cx - radius, cy - radius}, {cx + radius, cy + radius}}}, 0, {}});
}

void TSignPicture::Stroke(TColorRef color, double width, std::vector<TPointD> line) {
  shapes_.push_back({TSignShape::TKind::Stroke, color, {std::move(line)}, width, {}});
}

void TSignPicture::Arrow(TColorRef color, double width, std::vector<TPointD> line, double headLength,
                         double headWidth) {
  const TPointD tip = line.back();
  const TPointD from = line[line.size() - 2];
  const double length = std::hypot(tip.X - from.X, tip.Y - from.Y);
  const TPointD u{(tip.X - from.X) / length, (tip.Y - from.Y) / length};
  const TPointD n{-u.Y, u.X};
  const TPointD base{tip.X - u.X * headLength, tip.Y - u.Y * headLength};
  // The shaft stops inside the head so that its round end does not show at the tip.
  line.back() = {base.X + u.X * headLength * 0.3, base.Y + u.Y * headLength * 0.3};
  Stroke(color, width, std::move(line));
  Fill(color, {tip, {base.X + n.X * headWidth / 2, base.Y + n.Y * headWidth / 2},
               {base.X - n.X * headWidth / 2, base.Y - n.Y * headWidth / 2}});
}

void TSignPicture::Text(TColorRef color, double x, double baseline, double em, std::string utf8) {
  shapes_.push_back({TSignShape::TKind::Text, color, {{{x, baseline}}}, em, std::move(utf8)});
}

void TSignPicture::Place(const TSignPicture& pictogram, double cx, double cy, double scale, bool mirror) {
  const double ox = pictogram.Width() / 2, oy = pictogram.Height() / 2;
  for (TSignShape shape : pictogram.Shapes()) {
    for (auto& contour : shape.Contours)
      for (TPointD& p : contour) p = {cx + (mirror ? ox - p.X : p.X - ox) * scale, cy + (p.Y - oy) * scale};
    if (shape.Kind == TSignShape::TKind::Disc) {
      auto& box = shape.Contours[0];
      if (box[0].X > box[1].X) std::swap(box[0].X, box[1].X);
    }
    shape.Width *= scale;
    shapes_.push_back(std::move(shape));
  }
}

namespace {

// The shapes through either writer: each object is created for its shape, selected,
// and deleted after it (the enhanced format first selects a stock object in its place,
// as GDI wants a selected object never deleted).
template <class TWriter>
void WriteShapes(TWriter& w, const std::vector<TSignShape>& shapes) {
  constexpr bool kEnhanced = std::is_same_v<TWriter, TEmfWriter>;
  using TCoord = std::conditional_t<kEnhanced, int32_t, int16_t>;
  const auto unit = [](double mm) { return static_cast<TCoord>(Units(mm)); };
  w.SetBkMode(kBkTransparent);
  w.SetTextAlign(kTextCentredOnBaseline);
  for (const TSignShape& s : shapes) {
    switch (s.Kind) {
      case TSignShape::TKind::Fill:
      case TSignShape::TKind::Disc: {
        const auto brush = w.CreateBrush(kBsSolid, s.Color);
        w.SelectObject(brush);
        const auto pen = kEnhanced ? kStockNullPen : w.CreatePen(kPsNull, 0, 0);
        w.SelectObject(static_cast<decltype(brush)>(pen));
        if (s.Kind == TSignShape::TKind::Disc) {
          const auto& b = s.Contours[0];
          w.Ellipse(unit(b[0].X), unit(b[0].Y), unit(b[1].X), unit(b[1].Y));
        } else if (s.Contours.size() == 1) {
          w.Polygon(Scaled(s.Contours[0]));
        } else {
          std::vector<std::vector<TPointD>> contours;
          for (const auto& c : s.Contours) contours.push_back(Scaled(c));
          w.PolyPolygon(contours);
        }
        if constexpr (kEnhanced) {
          w.SelectObject(kStockNullBrush);
        } else {
          w.DeleteObject(static_cast<uint16_t>(pen));
        }
        w.DeleteObject(brush);
        break;
      }
      case TSignShape::TKind::Stroke: {
        const auto pen = w.CreatePen(kPsSolid, unit(s.Width), s.Color);
        w.SelectObject(pen);
        w.Polyline(Scaled(s.Contours[0]));
        if constexpr (kEnhanced) w.SelectObject(kStockBlackPen);
        w.DeleteObject(pen);
        break;
      }
      case TSignShape::TKind::Text: {
        const auto font = w.CreateFont(SignFont(s.Width));
        w.SelectObject(font);
        w.SetTextColor(s.Color);
        const TPointD at = s.Contours[0][0];
        if constexpr (kEnhanced) {
          w.TextOut(unit(at.X), unit(at.Y), s.Text);
          w.SelectObject(kStockSystemFont);
        } else {
          w.TextOut(unit(at.X), unit(at.Y), Utf8ToCp1251(s.Text));
        }
        w.DeleteObject(font);
        break;
      }
    }
  }
}

}  // namespace

std::vector<uint8_t> TSignPicture::ToEmf() const {
  TEmfWriter w(static_cast<int32_t>(std::lround(width_)), static_cast<int32_t>(std::lround(height_)));
  w.SetMapMode(kMmAnisotropic);
  w.SetWindowExt(Units(width_), Units(height_));
  w.SetViewportExt(static_cast<int32_t>(std::lround(width_)), static_cast<int32_t>(std::lround(height_)));
  WriteShapes(w, shapes_);
  return w.Finish();
}

std::vector<uint8_t> TSignPicture::ToWmf() const {
  // 960 units an inch make a unit a tenth of a reference pixel, as in the EMF files.
  TWmfWriter w(static_cast<int16_t>(Units(width_)), static_cast<int16_t>(Units(height_)), 960);
  WriteShapes(w, shapes_);
  return w.Finish();
}

std::vector<TPointD> RegularPolygon(double cx, double cy, double radius, int corners, double firstAngle) {
  std::vector<TPointD> points;
  for (int i = 0; i < corners; ++i) {
    const double a = firstAngle + 2 * std::numbers::pi * i / corners;
    points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
  }
  return points;
}

std::vector<TPointD> Rounded(const std::vector<TPointD>& corners, double radius) {
  std::vector<TPointD> out;
  const std::size_t n = corners.size();
  for (std::size_t i = 0; i < n; ++i) {
    const TPointD p = corners[i], prev = corners[(i + n - 1) % n], next = corners[(i + 1) % n];
    const double toPrev = std::hypot(prev.X - p.X, prev.Y - p.Y), toNext = std::hypot(next.X - p.X, next.Y - p.Y);
    const TPointD a = Lerp(p, prev, std::min(0.5, radius / toPrev));
    const TPointD b = Lerp(p, next, std::min(0.5, radius / toNext));
    // A quadratic curve from one tangent point to the other, bent by the corner.
    for (int k = 0; k <= 6; ++k) {
      const double t = k / 6.0;
      out.push_back(Lerp(Lerp(a, p, t), Lerp(p, b, t), t));
    }
  }
  return out;
}

TSignPicture WarningTriangle(bool pointDown) {
  constexpr double kSide = 900, kBorder = 70;
  const double height = kSide * std::sqrt(3.0) / 2;
  TSignPicture picture(kSide, std::ceil(height));
  const auto triangle = [&](double inset) {
    // Inset towards the incentre, which lies a third of the height from the base.
    const double cy = pointDown ? height / 3 : height * 2 / 3;
    const double k = (height / 3 - inset) / (height / 3);
    std::vector<TPointD> corners = pointDown ? std::vector<TPointD>{{0, 0}, {kSide, 0}, {kSide / 2, height}}
                                             : std::vector<TPointD>{{kSide / 2, 0}, {kSide, height}, {0, height}};
    for (TPointD& p : corners) p = {kSide / 2 + (p.X - kSide / 2) * k, cy + (p.Y - cy) * k};
    return corners;
  };
  picture.Fill(kSignRed, Rounded(triangle(0), 60));
  picture.Fill(kSignWhite, Rounded(triangle(kBorder), 25));
  return picture;
}

TSignPicture RoundSign(TColorRef face, bool redRing) {
  TSignPicture picture(700, 700);
  if (redRing) {
    picture.Disc(kSignRed, 350, 350, 350);
    picture.Disc(face, 350, 350, 280);
  } else {
    picture.Disc(kSignWhite, 350, 350, 350);
    picture.Disc(face, 350, 350, 340);
  }
  return picture;
}

TSignPicture SquareSign(TColorRef face, double width, double height) {
  TSignPicture picture(width, height);
  picture.Fill(kSignWhite, Rounded({{0, 0}, {width, 0}, {width, height}, {0, height}}, 45));
  picture.Fill(face, Rounded({{12, 12}, {width - 12, 12}, {width - 12, height - 12}, {12, height - 12}}, 35));
  return picture;
}

TSignPicture Plate(double width, double height) {
  TSignPicture picture(width, height);
  picture.Fill(kSignBlack, Rounded({{0, 0}, {width, 0}, {width, height}, {0, height}}, 30));
  picture.Fill(kSignWhite, Rounded({{12, 12}, {width - 12, 12}, {width - 12, height - 12}, {12, height - 12}}, 20));
  return picture;
}

}  // namespace vellmar
