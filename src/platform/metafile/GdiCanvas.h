#pragma once
// The GDI state machine the enhanced and Windows metafile players share: a device
// context drawn onto a Cairo context. Records hand it logical coordinates; it maps
// them through the world transform, the window and viewport, and the picture's
// placement on the target (`deviceToTarget`), and draws with the selected pen, brush
// and font. Between BeginPath and EndPath shapes only add to the path.
//
// Every operation that a damaged record could make impossible (a degenerate mapping,
// an object index past the table) returns false and draws nothing, so that the player
// counts the record as skipped. The canvas does not own the Cairo context.
//
// The definitions are kept by concept: the mapping, objects, saved states, pens and
// brushes in GdiCanvas.cpp, the shapes in GdiShapes.cpp, paths and clipping in
// GdiPaths.cpp (text and bitmaps in GdiText.cpp and GdiBitmaps.cpp).

#include <cairo.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/metafile/GdiObjects.h"
#include "platform/metafile/GdiState.h"

namespace vellmar {

class TBitmap;

inline constexpr int kRgnAnd = 1, kRgnOr = 2, kRgnXor = 3, kRgnDiff = 4, kRgnCopy = 5;

enum class TArcKind : uint8_t { Arc, ArcTo, Chord, Pie };

// A run of text as ExtTextOut gives it: Unicode characters, the advance of each in
// logical units (empty: the font's own advances), the reference point and the
// options with their rectangle.
struct TTextRun {
  TPointD Reference;
  std::u32string Text;
  std::vector<double> Dx;
  uint32_t Options = 0;  // ETO_OPAQUE 2, ETO_CLIPPED 4
  std::optional<std::array<double, 4>> Rect;  // left, top, right, bottom
};

class TGdiCanvas {
 public:
  // `pixelsPerMm` is the device resolution the fixed map modes measure by;
  // `objectSlots` bounds the object table.
  // `picture` is the target rectangle (left, top, right, bottom, pixels) that nothing
  // is drawn outside of.
  TGdiCanvas(cairo_t* cr, const cairo_matrix_t& deviceToTarget, const std::array<double, 4>& picture,
             double pixelsPerMmX, double pixelsPerMmY, std::size_t objectSlots);
  ~TGdiCanvas();
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  TGdiState& State() { return state_; }

  // Mapping. Extents of zero are refused, as GDI refuses them.
  bool SetWindowExt(double x, double y);
  bool SetViewportExt(double x, double y);
  bool ScaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
  bool ScaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
  bool SetWorldTransform(const cairo_matrix_t& xform);
  // MWT_IDENTITY 1, MWT_LEFTMULTIPLY 2, MWT_RIGHTMULTIPLY 3.
  bool ModifyWorldTransform(const cairo_matrix_t& xform, uint32_t mode);

  // Objects. Enhanced metafiles name the slot; Windows metafiles take the lowest free one.
  bool CreateObject(uint32_t index, TGdiObject object);
  bool CreateObjectInFreeSlot(TGdiObject object);
  bool SelectObject(uint32_t index);
  bool SelectStockObject(uint32_t index);
  bool DeleteObject(uint32_t index);

  bool SaveDC();
  // Negative: that many levels back; positive: the level SaveDC numbered so.
  bool RestoreDC(int32_t which);

  // Shapes in logical coordinates.
  bool Polygon(std::span<const TPointD> points);
  bool PolyPolygon(std::span<const TPointD> points, std::span<const uint32_t> counts);
  bool Polyline(std::span<const TPointD> points);
  bool PolyPolyline(std::span<const TPointD> points, std::span<const uint32_t> counts);
  bool PolylineTo(std::span<const TPointD> points);
  // Start point then three points a curve; PolyBezierTo starts at the current position.
  bool PolyBezier(std::span<const TPointD> points);
  bool PolyBezierTo(std::span<const TPointD> points);
  // Points with PT_MOVETO, PT_LINETO, PT_BEZIERTO types (PT_CLOSEFIGURE or-ed in),
  // from the current position.
  bool PolyDraw(std::span<const TPointD> points, std::span<const uint8_t> types);
  // A line from the current position to the arc's start, then the arc; angles in
  // degrees, anticlockwise for a positive sweep.
  bool AngleArc(TPointD centre, double radius, double startDegrees, double sweepDegrees);
  void MoveTo(TPointD p);
  bool LineTo(TPointD p);
  bool Rectangle(double left, double top, double right, double bottom);
  bool RoundRect(double left, double top, double right, double bottom, double width, double height);
  bool Ellipse(double left, double top, double right, double bottom);
  bool Arc(TArcKind kind, double left, double top, double right, double bottom, TPointD start, TPointD end);
  bool SetPixel(TPointD p, TColorRef color);
  // A rectangle painted by a raster operation without a source: the brush (PATCOPY),
  // black or white; other operations are refused.
  bool PatBlt(double x, double y, double width, double height, uint32_t rop);

  // Paths.
  void BeginPath();
  bool EndPath();
  bool CloseFigure();
  void AbortPath();
  bool FillPath();
  bool StrokePath();
  bool StrokeAndFillPath();
  bool SelectClipPath(int mode);

  // Clipping.
  bool IntersectClipRect(double left, double top, double right, double bottom);
  bool ExcludeClipRect(double left, double top, double right, double bottom);
  // Rectangles in device units (left, top, right, bottom each); none with kRgnCopy
  // resets the clip to the picture.
  bool SelectClipRects(std::span<const std::array<double, 4>> rects, int mode);

  // Text (GdiText.cpp).
  bool TextOut(const TTextRun& run);

  // A DIB's pixels stretched into the logical rectangle (GdiBitmaps.cpp); the source
  // rectangle counts rows from the picture's top. `rop` is the raster operation.
  bool DrawBitmap(const TBitmap& bitmap, double xDest, double yDest, double cxDest, double cyDest, double xSrc,
                  double ySrc, double cxSrc, double cySrc, uint32_t rop);
  // The same rectangle blended over the picture: the pixels' own alpha when `pixelAlpha`
  // (32-bit bitmaps, colours premultiplied), all of them times constantAlpha / 255.
  bool BlendBitmap(const TBitmap& bitmap, double xDest, double yDest, double cxDest, double cyDest, double xSrc,
                   double ySrc, double cxSrc, double cySrc, uint8_t constantAlpha, bool pixelAlpha);

 private:
  // Paints the source rectangle of the surface into the logical destination rectangle.
  bool PaintBitmapSurface(cairo_surface_t* surface, double xDest, double yDest, double cxDest, double cyDest,
                          double xSrc, double ySrc, double cxSrc, double cySrc, cairo_operator_t op, double alpha);
  // Keeps the path being built in a path bracket across operations that paint on
  // their own (bitmaps, pixels, text, clipping), which would otherwise consume it.
  class TPathKeeper {
   public:
    TPathKeeper(cairo_t* cr, bool inPath);
    ~TPathKeeper();
    TPathKeeper(const TPathKeeper&) = delete;
    TPathKeeper& operator=(const TPathKeeper&) = delete;

   private:
    cairo_t* cr_;
    cairo_path_t* path_;
  };

  // The full logical-to-target matrix, or nothing when it is degenerate.
  std::optional<cairo_matrix_t> LogicalToTarget() const;
  // Sets the Cairo matrix for adding logical coordinates; false when degenerate.
  bool BeginShape();
  // Fills and/or strokes the shape just added (nothing inside a path bracket).
  bool EndShape(bool fill, bool stroke);
  void AddPolygon(std::span<const TPointD> points, bool close);
  void AddEllipse(double left, double top, double right, double bottom);
  bool SetBrushSource();
  bool SetPenSource();
  double PenWidthInPixels() const;
  void ResetClipToPicture();
  void ClipToRect(double left, double top, double right, double bottom, bool exclude);
  void Fill();
  void Stroke();
  bool FillRect(double left, double top, double right, double bottom, std::optional<TColorRef> color);
  void AddSavedPath();

  cairo_t* cr_;
  cairo_matrix_t deviceToTarget_;
  double pixelsPerMmX_;
  double pixelsPerMmY_;
  TGdiState state_;
  std::array<double, 4> picture_;
  std::vector<TGdiState> saved_;
  std::size_t objectSlots_;
  std::vector<std::optional<TGdiObject>> objects_;
  bool inPath_ = false;
  // The path EndPath closed, in target pixels.
  std::unique_ptr<cairo_path_t, void (*)(cairo_path_t*)> path_{nullptr, cairo_path_destroy};
};

}  // namespace vellmar
