#pragma once
// The sign pictures vellmar-datafiles draws: a picture is a list of shapes in
// millimetres of the sign (origin top left, y down), written as an enhanced or a
// placeable Windows metafile with our own writers. Pictograms are drawn in their own
// box and placed into signs scaled and moved.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/metafile/GdiObjects.h"
#include "platform/metafile/GdiState.h"

namespace vellmar {

constexpr TColorRef Rgb(int r, int g, int b) {
  return static_cast<TColorRef>(r | g << 8 | b << 16);
}

// The colours of the sign faces.
inline constexpr TColorRef kSignRed = Rgb(204, 24, 30), kSignBlue = Rgb(0, 82, 156), kSignYellow = Rgb(255, 204, 0),
                           kSignWhite = Rgb(255, 255, 255), kSignBlack = Rgb(20, 20, 20),
                           kSignGreen = Rgb(0, 140, 60), kSignGrey = Rgb(140, 140, 140);

struct TSignShape {
  enum class TKind : uint8_t { Fill, Disc, Stroke, Text };
  TKind Kind = TKind::Fill;
  TColorRef Color = kSignBlack;
  // Fill: contours filled alternately (holes); Disc: the box's two corners; Stroke:
  // one polyline; Text: the baseline's centre.
  std::vector<std::vector<TPointD>> Contours;
  double Width = 0;  // stroke width, or the text's em height
  std::string Text;  // UTF-8
};

class TSignPicture {
 public:
  TSignPicture(double width, double height) : width_(width), height_(height) {}

  double Width() const { return width_; }
  double Height() const { return height_; }
  const std::vector<TSignShape>& Shapes() const { return shapes_; }

  void Fill(TColorRef color, std::vector<TPointD> contour);
  void FillWithHoles(TColorRef color, std::vector<std::vector<TPointD>> contours);
  void Disc(TColorRef color, double cx, double cy, double radius);
  void Stroke(TColorRef color, double width, std::vector<TPointD> line);
  // An arrow along the line: its shaft `width` wide, a head at the last point.
  void Arrow(TColorRef color, double width, std::vector<TPointD> line, double headLength, double headWidth);
  // Bold text centred on (x, baseline).
  void Text(TColorRef color, double x, double baseline, double em, std::string utf8);
  // Another picture's shapes scaled by `scale` about its centre, centred on (cx, cy),
  // mirrored left to right when asked.
  void Place(const TSignPicture& pictogram, double cx, double cy, double scale, bool mirror = false);

  std::vector<uint8_t> ToEmf() const;
  std::vector<uint8_t> ToWmf() const;

 private:
  double width_;
  double height_;
  std::vector<TSignShape> shapes_;
};

// Sign faces. Each returns the picture with its frame drawn; pictograms go on top.
// Warning triangle (side 900), point up (or down for "give way").
TSignPicture WarningTriangle(bool pointDown = false);
// Round sign (diameter 700): red ring on white, or the given face colour.
TSignPicture RoundSign(TColorRef face = kSignWhite, bool redRing = true);
// Square sign (700) or rectangle of the face colour with a thin white edge.
TSignPicture SquareSign(TColorRef face, double width = 700, double height = 700);
// Plate: white rectangle with a black edge.
TSignPicture Plate(double width = 700, double height = 350);

// A regular polygon's corners, or an ellipse's outline, as points.
std::vector<TPointD> RegularPolygon(double cx, double cy, double radius, int corners, double firstAngle);
// Corners rounded with the radius (arcs of a few points each).
std::vector<TPointD> Rounded(const std::vector<TPointD>& corners, double radius);

}  // namespace vellmar
