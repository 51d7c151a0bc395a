// Enhanced metafile records played onto the GDI canvas. The picture frame the header
// declares (0.01 mm, converted to pixels of the recording device) is stretched onto
// the target rectangle; records then draw in the recording device's coordinates.

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/metafile/GdiBitmaps.h"
#include "platform/metafile/GdiCanvas.h"
#include "platform/metafile/GdiText.h"
#include "platform/metafile/MetafileRecordReader.h"
#include "platform/metafile/MetafileRecordTypes.h"
#include "platform/metafile/RecordPlayers.h"

namespace vellmar {

namespace {

using namespace emr;


constexpr double kDefaultPixelsPerMm = 96 / 25.4;
constexpr uint32_t kEtoPdy = 0x2000;
constexpr std::size_t kRecordHead = 8;
constexpr std::size_t kBoundsSize = 16;

struct TEmfHeader {
  double PixelsPerMmX = kDefaultPixelsPerMm;
  double PixelsPerMmY = kDefaultPixelsPerMm;
  // The picture frame in recording-device pixels.
  double Left = 0, Top = 0, Right = 0, Bottom = 0;
  uint16_t Handles = 0;
};

TEmfHeader ReadHeader(const TMetafile& picture) {
  TRecordReader r(picture.Bytes(), kRecordHead);
  int32_t bounds[4], frame[4];
  for (int32_t& v : bounds) v = r.I32();
  for (int32_t& v : frame) v = r.I32();
  r.Skip(16);  // signature, version, bytes, records
  TEmfHeader header;
  header.Handles = r.U16();
  r.Skip(14);  // reserved, description, palette
  const int32_t device[2] = {r.I32(), r.I32()};
  const int32_t millimetres[2] = {r.I32(), r.I32()};
  if (device[0] > 0 && millimetres[0] > 0) header.PixelsPerMmX = static_cast<double>(device[0]) / millimetres[0];
  if (device[1] > 0 && millimetres[1] > 0) header.PixelsPerMmY = static_cast<double>(device[1]) / millimetres[1];
  if (frame[2] > frame[0] && frame[3] > frame[1]) {
    header.Left = frame[0] / 100.0 * header.PixelsPerMmX;
    header.Top = frame[1] / 100.0 * header.PixelsPerMmY;
    header.Right = frame[2] / 100.0 * header.PixelsPerMmX;
    header.Bottom = frame[3] / 100.0 * header.PixelsPerMmY;
  } else {
    // The bounds are inclusive pixels.
    header.Left = bounds[0];
    header.Top = bounds[1];
    header.Right = static_cast<double>(bounds[2]) + 1;
    header.Bottom = static_cast<double>(bounds[3]) + 1;
  }
  return header;
}

std::vector<TPointD> ReadPoints(TRecordReader& r, uint32_t count, bool shortPoints) {
  r.NeedItems(count, shortPoints ? 4 : 8);
  std::vector<TPointD> points(count);
  for (TPointD& p : points) {
    if (shortPoints) {
      p.X = r.I16();
      p.Y = r.I16();
    } else {
      p.X = r.I32();
      p.Y = r.I32();
    }
  }
  return points;
}

std::array<double, 4> ReadRect(TRecordReader& r) {
  std::array<double, 4> rect;
  for (double& v : rect) v = r.I32();
  return rect;
}

TPointD ReadPoint(TRecordReader& r) {
  const double x = r.I32();
  return {x, static_cast<double>(r.I32())};
}

cairo_matrix_t ReadXform(TRecordReader& r) {
  float f[6];
  for (float& v : f) v = r.F32();
  return {f[0], f[1], f[2], f[3], f[4], f[5]};  // eM11, eM12, eM21, eM22, eDx, eDy
}

// Points of a poly record: bounds, count, points.
bool PlayPoly(TGdiCanvas& canvas, TRecordReader& r, uint32_t type) {
  r.Skip(kBoundsSize);
  const uint32_t count = r.U32();
  const bool shortPoints = type >= kPolyBezier16;
  const auto points = ReadPoints(r, count, shortPoints);
  switch (shortPoints ? type - kPolyBezier16 + kPolyBezier : type) {
    case kPolyBezier: return canvas.PolyBezier(points);
    case kPolygon: return canvas.Polygon(points);
    case kPolyline: return canvas.Polyline(points);
    case kPolyBezierTo: return canvas.PolyBezierTo(points);
    default: return canvas.PolylineTo(points);
  }
}

bool PlayPolyPoly(TGdiCanvas& canvas, TRecordReader& r, bool polygon, bool shortPoints) {
  r.Skip(kBoundsSize);
  const uint32_t polygons = r.U32();
  const uint32_t total = r.U32();
  r.NeedItems(polygons, 4);
  std::vector<uint32_t> counts(polygons);
  uint64_t sum = 0;
  for (uint32_t& c : counts) sum += c = r.U32();
  if (sum != total) return false;
  const auto points = ReadPoints(r, total, shortPoints);
  return polygon ? canvas.PolyPolygon(points, counts) : canvas.PolyPolyline(points, counts);
}

TGdiFont ReadLogFontW(TRecordReader& r) {
  TGdiFont font = ReadLogFontFields<int32_t>(r);
  auto name = DecodeUtf16(r.Slice(r.Position(), 64));
  name.resize(std::min(name.size(), name.find(U'\0')));
  font.FaceName = EncodeUtf8(name);
  return font;
}

// A pen of ExtCreatePen: LOGPEN_EX after the bitmap offsets.
TGdiPen ReadExtPen(TRecordReader& r) {
  r.Skip(16);  // offBmi, cbBmi, offBits, cbBits
  TGdiPen pen;
  pen.Style = r.U32();
  pen.Width = r.U32();
  const uint32_t brushStyle = r.U32();
  pen.Color = r.U32();
  r.U32();  // hatch
  const uint32_t entries = r.U32();
  if ((pen.Style & kPenStyleMask) == kPsUserStyle) {
    r.NeedItems(entries, 4);
    for (uint32_t i = 0; i < entries; ++i) pen.Dashes.push_back(r.U32());
  }
  if (brushStyle == kBsNull) pen.Style = (pen.Style & ~kPenStyleMask) | kPsNull;
  return pen;
}

std::optional<TGdiBrush> ReadDibBrush(TRecordReader& r, std::span<const uint8_t> record) {
  r.U32();  // usage
  const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  const auto bitmap = DecodeDib(r.Slice(offBmi, cbBmi), TRecordReader(record, 0).Slice(offBits, cbBits));
  if (!bitmap) return std::nullopt;
  TGdiBrush brush;
  brush.Style = kBsDibPatternPt;
  brush.Pattern = BitmapSurface(*bitmap);
  return brush;
}

bool PlayText(TGdiCanvas& canvas, TRecordReader& r, bool wide) {
  r.Skip(kBoundsSize + 12);  // bounds, graphics mode, x and y scales
  TTextRun run;
  run.Reference = ReadPoint(r);
  const uint32_t chars = r.U32();
  const uint32_t offString = r.U32();
  run.Options = r.U32();
  const auto rect = ReadRect(r);
  const uint32_t offDx = r.U32();
  if (run.Options & (kEtoOpaque | kEtoClipped)) run.Rect = rect;
  const uint64_t bytes = uint64_t{chars} * (wide ? 2 : 1);
  const auto text = r.Slice(offString, bytes);
  run.Text = wide ? DecodeUtf16(text) : DecodeCharsetText(text, canvas.State().Font.CharSet);
  // Advances follow the characters; with ETO_PDY each has a vertical one too.
  const uint32_t step = run.Options & kEtoPdy ? 2 : 1;
  if (offDx != 0 && chars > 0) {
    TRecordReader dx(r.Slice(offDx, uint64_t{chars} * 4 * step), 0);
    for (uint32_t i = 0; i < chars; ++i) {
      run.Dx.push_back(dx.I32());
      if (step == 2) dx.I32();
    }
    // A surrogate pair has one advance for its two units: keep one per character.
    run.Dx.resize(std::min(run.Dx.size(), run.Text.size()));
  }
  return canvas.TextOut(run);
}

bool PlayClipRegion(TGdiCanvas& canvas, TRecordReader& r) {
  const uint32_t size = r.U32();
  const int mode = static_cast<int>(r.U32());
  if (size < 32) return canvas.SelectClipRects({}, mode);
  TRecordReader region(r.Slice(r.Position(), size), 0);
  region.Skip(8);  // dwSize, iType
  const uint32_t count = region.U32();
  region.Skip(20);  // nRgnSize, rcBound
  region.NeedItems(count, 16);
  std::vector<std::array<double, 4>> rects(count);
  for (auto& rect : rects) rect = ReadRect(region);
  return canvas.SelectClipRects(rects, mode);
}

// BitBlt and StretchBlt: a bitmap from a memory device, or with no bitmap a pattern
// fill by the raster operation.
bool PlayBlt(TGdiCanvas& canvas, TRecordReader& r, std::span<const uint8_t> record, bool stretch) {
  r.Skip(kBoundsSize);
  const double xDest = r.I32(), yDest = r.I32(), cxDest = r.I32(), cyDest = r.I32();
  const uint32_t rop = r.U32();
  const double xSrc = r.I32(), ySrc = r.I32();
  r.Skip(24 + 4 + 4);  // source transform, background colour, usage
  const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  double cxSrc = cxDest, cySrc = cyDest;
  if (stretch) {
    cxSrc = r.I32();
    cySrc = r.I32();
  }
  if (cbBmi == 0) return canvas.PatBlt(xDest, yDest, cxDest, cyDest, rop);
  const TRecordReader whole(record, 0);
  const auto bitmap = DecodeDib(whole.Slice(offBmi, cbBmi), whole.Slice(offBits, cbBits));
  if (!bitmap) return false;
  return canvas.DrawBitmap(*bitmap, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, rop);
}

// AlphaBlend: StretchBlt's layout with a blend function in place of the raster
// operation. Only "source over" exists; the source's own alpha counts when its format
// says so.
bool PlayAlphaBlend(TGdiCanvas& canvas, TRecordReader& r, std::span<const uint8_t> record) {
  constexpr uint8_t kSourceOver = 0, kSourceAlpha = 1;
  r.Skip(kBoundsSize);
  const double xDest = r.I32(), yDest = r.I32(), cxDest = r.I32(), cyDest = r.I32();
  const uint32_t blend = r.U32();
  const double xSrc = r.I32(), ySrc = r.I32();
  r.Skip(24 + 4);  // source transform, background colour
  const uint32_t usage = r.U32();
  const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  const double cxSrc = r.I32(), cySrc = r.I32();
  const auto op = static_cast<uint8_t>(blend), constantAlpha = static_cast<uint8_t>(blend >> 16),
             format = static_cast<uint8_t>(blend >> 24);
  if (op != kSourceOver || usage != 0 || cbBmi == 0) return false;
  const TRecordReader whole(record, 0);
  const auto bitmap = DecodeDib(whole.Slice(offBmi, cbBmi), whole.Slice(offBits, cbBits));
  if (!bitmap) return false;
  // The source is a device: its rows count from the top.
  return canvas.BlendBitmap(*bitmap, xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, constantAlpha,
                            (format & kSourceAlpha) != 0);
}

bool PlayPolyDraw(TGdiCanvas& canvas, TRecordReader& r, bool shortPoints) {
  r.Skip(kBoundsSize);
  const uint32_t count = r.U32();
  const auto points = ReadPoints(r, count, shortPoints);
  const auto types = r.Slice(r.Position(), count);
  return canvas.PolyDraw(points, types);
}

// SetDIBitsToDevice: the bitmap's rectangle one to one; only whole bitmaps (the scan
// lines given are all of them).
bool PlaySetDiBitsToDevice(TGdiCanvas& canvas, TRecordReader& r, std::span<const uint8_t> record) {
  r.Skip(kBoundsSize);
  const double xDest = r.I32(), yDest = r.I32(), xSrc = r.I32(), ySrc = r.I32();
  const double cxSrc = r.I32(), cySrc = r.I32();
  const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  if (r.U32() != 0) return false;  // DIB_PAL_COLORS
  const TRecordReader whole(record, 0);
  const auto bitmap = DecodeDib(whole.Slice(offBmi, cbBmi), whole.Slice(offBits, cbBits));
  if (!bitmap) return false;
  const double top = bitmap->TopDown() ? ySrc : bitmap->Height() - ySrc - cySrc;
  return canvas.DrawBitmap(*bitmap, xDest, yDest, cxSrc, cySrc, xSrc, top, cxSrc, cySrc, kRopSrcCopy);
}

bool PlayStretchDiBits(TGdiCanvas& canvas, TRecordReader& r, std::span<const uint8_t> record) {
  r.Skip(kBoundsSize);
  const double xDest = r.I32(), yDest = r.I32(), xSrc = r.I32(), ySrc = r.I32();
  const double cxSrc = r.I32(), cySrc = r.I32();
  const uint32_t offBmi = r.U32(), cbBmi = r.U32(), offBits = r.U32(), cbBits = r.U32();
  const uint32_t usage = r.U32();
  const uint32_t rop = r.U32();
  const double cxDest = r.I32(), cyDest = r.I32();
  if (usage != 0) return false;  // DIB_PAL_COLORS indexes a palette the player does not keep
  const TRecordReader whole(record, 0);
  const auto bitmap = DecodeDib(whole.Slice(offBmi, cbBmi), whole.Slice(offBits, cbBits));
  if (!bitmap) return false;
  // A bottom-up DIB counts its source rows from the bottom.
  const double top = bitmap->TopDown() ? ySrc : bitmap->Height() - ySrc - cySrc;
  return canvas.DrawBitmap(*bitmap, xDest, yDest, cxDest, cyDest, xSrc, top, cxSrc, cySrc, rop);
}

bool PlayRecord(TGdiCanvas& canvas, const TMetafileRecord& record) {
  TRecordReader r(record.Bytes, kRecordHead);
  TGdiState& state = canvas.State();
  switch (record.Type) {
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo:
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16: return PlayPoly(canvas, r, record.Type);
    case kPolyPolyline: return PlayPolyPoly(canvas, r, false, false);
    case kPolyPolygon: return PlayPolyPoly(canvas, r, true, false);
    case kPolyPolyline16: return PlayPolyPoly(canvas, r, false, true);
    case kPolyPolygon16: return PlayPolyPoly(canvas, r, true, true);

    case kSetWindowExtEx: {
      const double x = r.I32();
      return canvas.SetWindowExt(x, r.I32());
    }
    case kSetWindowOrgEx: state.WindowOrg = ReadPoint(r); return true;
    case kSetViewportExtEx: {
      const double x = r.I32();
      return canvas.SetViewportExt(x, r.I32());
    }
    case kSetViewportOrgEx: state.ViewportOrg = ReadPoint(r); return true;
    case kScaleViewportExtEx:
    case kScaleWindowExtEx: {
      const double xNum = r.I32(), xDenom = r.I32(), yNum = r.I32(), yDenom = r.I32();
      return record.Type == kScaleWindowExtEx ? canvas.ScaleWindowExt(xNum, xDenom, yNum, yDenom)
                                              : canvas.ScaleViewportExt(xNum, xDenom, yNum, yDenom);
    }
    case kSetMapMode: {
      const int mode = static_cast<int>(r.U32());
      if (mode < kMmText || mode > kMmAnisotropic) return false;
      state.MapMode = mode;
      return true;
    }
    case kSetWorldTransform: return canvas.SetWorldTransform(ReadXform(r));
    case kModifyWorldTransform: {
      const auto xform = ReadXform(r);
      return canvas.ModifyWorldTransform(xform, r.U32());
    }

    case kSetBkMode: state.BkMode = r.U32() == kBkTransparent ? kBkTransparent : kBkOpaque; return true;
    case kSetPolyFillMode: state.PolyFillMode = r.U32() == kFillWinding ? kFillWinding : kFillAlternate; return true;
    case kSetTextAlign: state.TextAlign = r.U32(); return true;
    case kSetTextColor: state.TextColor = r.U32() & 0xFFFFFF; return true;
    case kSetBkColor: state.BkColor = r.U32() & 0xFFFFFF; return true;
    case kSetArcDirection: state.ArcDirection = r.U32() == kArcClockwise ? kArcClockwise : kArcCounterClockwise; return true;
    case kSetMiterLimit: state.MiterLimit = r.U32(); return true;

    case kCreatePen: {
      const uint32_t index = r.U32();
      TGdiPen pen;
      pen.Style = r.U32();
      pen.Width = r.I32();
      r.I32();
      pen.Color = r.U32() & 0xFFFFFF;
      // A wide pen of CreatePen is a geometric one with round ends and joins.
      if (pen.Width > 0) pen.Style = (pen.Style & kPenStyleMask) | kPsGeometric;
      return canvas.CreateObject(index, pen);
    }
    case kExtCreatePen: {
      const uint32_t index = r.U32();
      return canvas.CreateObject(index, ReadExtPen(r));
    }
    case kCreateBrushIndirect: {
      const uint32_t index = r.U32();
      TGdiBrush brush;
      brush.Style = r.U32();
      brush.Color = r.U32() & 0xFFFFFF;
      brush.Hatch = r.U32();
      return canvas.CreateObject(index, brush);
    }
    case kCreateMonoBrush:
    case kCreateDibPatternBrushPt: {
      const uint32_t index = r.U32();
      auto brush = ReadDibBrush(r, record.Bytes);
      // The slot is taken even when the picture is unreadable, so that later
      // selections of it find a (solid) brush rather than an older object.
      canvas.CreateObject(index, brush ? *brush : TGdiBrush{});
      return brush.has_value();
    }
    case kExtCreateFontIndirectW: {
      const uint32_t index = r.U32();
      return canvas.CreateObject(index, ReadLogFontW(r));
    }
    case kCreatePalette: return canvas.CreateObject(r.U32(), TGdiPlaceholder{});
    case kSelectObject: return canvas.SelectObject(r.U32());
    case kDeleteObject: return canvas.DeleteObject(r.U32());
    case kSaveDc: return canvas.SaveDC();
    case kRestoreDc: return canvas.RestoreDC(r.I32());

    case kMoveToEx: canvas.MoveTo(ReadPoint(r)); return true;
    case kLineTo: return canvas.LineTo(ReadPoint(r));
    case kRectangle: {
      const auto b = ReadRect(r);
      return canvas.Rectangle(b[0], b[1], b[2], b[3]);
    }
    case kEllipse: {
      const auto b = ReadRect(r);
      return canvas.Ellipse(b[0], b[1], b[2], b[3]);
    }
    case kRoundRect: {
      const auto b = ReadRect(r);
      const double w = r.I32();
      return canvas.RoundRect(b[0], b[1], b[2], b[3], w, r.I32());
    }
    case kArc:
    case kArcTo:
    case kChord:
    case kPie: {
      const auto b = ReadRect(r);
      const TPointD start = ReadPoint(r);
      const TPointD end = ReadPoint(r);
      const TArcKind kind = record.Type == kArc     ? TArcKind::Arc
                            : record.Type == kArcTo ? TArcKind::ArcTo
                            : record.Type == kChord ? TArcKind::Chord
                                                    : TArcKind::Pie;
      return canvas.Arc(kind, b[0], b[1], b[2], b[3], start, end);
    }
    case kPolyDraw: return PlayPolyDraw(canvas, r, false);
    case kPolyDraw16: return PlayPolyDraw(canvas, r, true);
    case kAngleArc: {
      const TPointD centre = ReadPoint(r);
      const double radius = r.U32();
      const double start = r.F32();
      return canvas.AngleArc(centre, radius, start, r.F32());
    }
    case kSetDiBitsToDevice: return PlaySetDiBitsToDevice(canvas, r, record.Bytes);
    case kSetPixelV: {
      const TPointD p = ReadPoint(r);
      return canvas.SetPixel(p, r.U32() & 0xFFFFFF);
    }

    case kBeginPath: canvas.BeginPath(); return true;
    case kEndPath: return canvas.EndPath();
    case kCloseFigure: return canvas.CloseFigure();
    case kFillPath: return canvas.FillPath();
    case kStrokePath: return canvas.StrokePath();
    case kStrokeAndFillPath: return canvas.StrokeAndFillPath();
    case kAbortPath: canvas.AbortPath(); return true;
    case kSelectClipPath: return canvas.SelectClipPath(static_cast<int>(r.U32()));

    case kIntersectClipRect: {
      const auto b = ReadRect(r);
      return canvas.IntersectClipRect(b[0], b[1], b[2], b[3]);
    }
    case kExcludeClipRect: {
      const auto b = ReadRect(r);
      return canvas.ExcludeClipRect(b[0], b[1], b[2], b[3]);
    }
    case kExtSelectClipRgn: return PlayClipRegion(canvas, r);

    case kExtTextOutA: return PlayText(canvas, r, false);
    case kExtTextOutW: return PlayText(canvas, r, true);
    case kBitBlt: return PlayBlt(canvas, r, record.Bytes, false);
    case kStretchBlt: return PlayBlt(canvas, r, record.Bytes, true);
    case kStretchDiBits: return PlayStretchDiBits(canvas, r, record.Bytes);
    case kAlphaBlend: return PlayAlphaBlend(canvas, r, record.Bytes);

    // Records that change nothing a picture shows.
    case kEof:
    case kGdiComment:
    case kSetBrushOrgEx:
    case kSetMapperFlags:
    case kSetRop2:
    case kSetStretchBltMode:
    case kSetColorAdjustment:
    case kSetMetaRgn:
    case kSelectPalette:
    case kSetPaletteEntries:
    case kResizePalette:
    case kRealizePalette:
    case kFlattenPath:
    case kSetIcmMode:
    case kSetLayout: return true;
    default: return false;
  }
}

}  // namespace

void PlayEnhancedRecords(const TMetafile& picture, cairo_t* cr, const std::array<double, 4>& target,
                         TMetafilePlayback& report) {
  const auto records = picture.Records();
  TEmfHeader header;
  try {
    header = ReadHeader(picture);
  } catch (const EDamagedRecord&) {
  }
  const double width = header.Right - header.Left;
  const double height = header.Bottom - header.Top;
  if (!(width > 0 && height > 0)) {
    // Without a frame there is nowhere to put the picture.
    report.Skipped += static_cast<int>(records.size());
    return;
  }
  const double sx = (target[2] - target[0]) / width;
  const double sy = (target[3] - target[1]) / height;
  const cairo_matrix_t deviceToTarget{sx, 0, 0, sy, target[0] - header.Left * sx, target[1] - header.Top * sy};
  TGdiCanvas canvas(cr, deviceToTarget, target, header.PixelsPerMmX, header.PixelsPerMmY,
                    std::max<std::size_t>(header.Handles, 1));
  PlayAll(records, [&](const TMetafileRecord& record) { return PlayRecord(canvas, record); }, report);
}

}  // namespace vellmar
