// Windows metafile records played onto the GDI canvas. A Windows metafile has no
// frame of its own: its logical window (the placeable header's box, or the window
// its records set) is stretched onto the target rectangle as the viewport of an
// anisotropic mapping. The player owns that viewport, so the records' own viewport
// and fixed map mode changes are not taken.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/metafile/GdiBitmaps.h"
#include "platform/metafile/GdiCanvas.h"
#include "platform/metafile/GdiText.h"
#include "platform/metafile/MetafileRecordReader.h"
#include "platform/metafile/MetafileRecordTypes.h"
#include "platform/metafile/RecordPlayers.h"

namespace vellmar {

namespace {

using namespace wmf;


constexpr std::size_t kRecordHead = 6;

// The size of a packed DIB's header and colour table, where its bits begin.
std::optional<std::size_t> PackedDibInfoSize(std::span<const uint8_t> dib) {
  TRecordReader r(dib, 0);
  const uint32_t headerSize = r.U32();
  if (headerSize == 12) {
    r.Skip(6);
    const uint16_t bits = r.U16();
    return 12 + (bits <= 8 ? (std::size_t{1} << bits) * 3 : 0);
  }
  if (headerSize < 40) return std::nullopt;
  r.Seek(14);
  const uint16_t bits = r.U16();
  const uint32_t compression = r.U32();
  r.Seek(32);
  const uint32_t used = r.U32();
  std::size_t colours = used != 0 ? used : bits <= 8 ? std::size_t{1} << bits : 0;
  if (used > 256 && bits <= 8) return std::nullopt;
  const std::size_t masks = headerSize == 40 && compression == 3 ? 12 : 0;
  return headerSize + masks + colours * 4;
}

std::optional<TBitmap> DecodePackedDib(std::span<const uint8_t> dib) {
  const auto info = PackedDibInfoSize(dib);
  if (!info || *info > dib.size()) return std::nullopt;
  return DecodeDib(dib.first(*info), dib.subspan(*info));
}

TPointD ReadPoint(TRecordReader& r) {  // y first, as the records store it
  const double y = r.I16();
  return {static_cast<double>(r.I16()), y};
}

// bottom, right, top, left as stored; returned left, top, right, bottom.
std::array<double, 4> ReadBox(TRecordReader& r) {
  const double bottom = r.I16(), right = r.I16(), top = r.I16(), left = r.I16();
  return {left, top, right, bottom};
}

std::vector<TPointD> ReadPoints(TRecordReader& r, uint32_t count) {
  r.NeedItems(count, 4);
  std::vector<TPointD> points(count);
  for (TPointD& p : points) {
    p.X = r.I16();
    p.Y = r.I16();
  }
  return points;
}

TGdiFont ReadLogFont(TRecordReader& r) {
  TGdiFont font = ReadLogFontFields<int16_t>(r);
  const auto name = r.Slice(r.Position(), std::min<std::size_t>(32, r.Left()));
  const auto end = std::find(name.begin(), name.end(), uint8_t{0});
  // Face names are in the system code page whatever the font's character set.
  font.FaceName = EncodeUtf8(DecodeCharsetText(std::span(name.begin(), end), kRussianCharset));
  return font;
}

bool PlayText(TGdiCanvas& canvas, TRecordReader& r, bool extended) {
  TTextRun run;
  std::size_t count = 0;
  if (extended) {
    run.Reference = ReadPoint(r);
    count = r.U16();
    run.Options = r.U16();
    if (run.Options & (kEtoOpaque | kEtoClipped)) {
      const double left = r.I16(), top = r.I16(), right = r.I16(), bottom = r.I16();
      run.Rect = std::array{left, top, right, bottom};
    }
  } else {
    count = r.U16();
  }
  const auto bytes = r.Slice(r.Position(), count);
  r.Skip(count + (count & 1));
  run.Text = DecodeCharsetText(bytes, canvas.State().Font.CharSet);
  if (!extended) {
    run.Reference = ReadPoint(r);
  } else if (r.Left() >= count * 2) {
    for (std::size_t i = 0; i < count; ++i) run.Dx.push_back(r.I16());
  }
  return canvas.TextOut(run);
}

// StretchDIB, DIBStretchBlt and DIBBitBlt; the last two without a bitmap are pattern
// fills (their record is then shorter by the bitmap and has a reserved word).
bool PlayDib(TGdiCanvas& canvas, TRecordReader& r, uint16_t function, std::size_t recordWords) {
  const uint32_t rop = r.U32();
  const bool withBitmap = recordWords != std::size_t{3} + (function >> 8);
  if (function == kStretchDib) {
    const uint16_t usage = r.U16();
    if (usage != 0) return false;
  }
  double srcHeight = 0, srcWidth = 0;
  if (function != kDibBitBlt) {
    srcHeight = r.I16();
    srcWidth = r.I16();
  }
  const double ySrc = r.I16(), xSrc = r.I16();
  if (!withBitmap) r.I16();
  const double destHeight = r.I16(), destWidth = r.I16(), yDest = r.I16(), xDest = r.I16();
  if (function == kDibBitBlt) {
    srcHeight = destHeight;
    srcWidth = destWidth;
  }
  if (!withBitmap) return canvas.PatBlt(xDest, yDest, destWidth, destHeight, rop);
  const auto bitmap = DecodePackedDib(r.Slice(r.Position(), r.Left()));
  if (!bitmap) return false;
  // StretchDIB counts a bottom-up bitmap's source rows from the bottom; the blits
  // read a device whose rows count from the top.
  const double top = function == kStretchDib && !bitmap->TopDown() ? bitmap->Height() - ySrc - srcHeight : ySrc;
  return canvas.DrawBitmap(*bitmap, xDest, yDest, destWidth, destHeight, xSrc, top, srcWidth, srcHeight, rop);
}

bool PlayRecord(TGdiCanvas& canvas, const TMetafileRecord& record) {
  TRecordReader r(record.Bytes, kRecordHead);
  TGdiState& state = canvas.State();
  switch (record.Type) {
    case kSetWindowOrg: state.WindowOrg = ReadPoint(r); return true;
    case kSetWindowExt: {
      const TPointD ext = ReadPoint(r);
      return canvas.SetWindowExt(ext.X, ext.Y);
    }
    case kOffsetWindowOrg: {
      const TPointD by = ReadPoint(r);
      state.WindowOrg = {state.WindowOrg.X + by.X, state.WindowOrg.Y + by.Y};
      return true;
    }
    case kScaleWindowExt: {
      const double yDenom = r.I16(), yNum = r.I16(), xDenom = r.I16(), xNum = r.I16();
      return canvas.ScaleWindowExt(xNum, xDenom, yNum, yDenom);
    }
    case kSetMapMode: {
      const int mode = r.I16();
      if (mode == kMmIsotropic || mode == kMmAnisotropic) state.MapMode = mode;
      return true;
    }
    case kSetBkColor: state.BkColor = r.U32() & 0xFFFFFF; return true;
    case kSetBkMode: state.BkMode = r.U16() == kBkTransparent ? kBkTransparent : kBkOpaque; return true;
    case kSetPolyFillMode: state.PolyFillMode = r.U16() == kFillWinding ? kFillWinding : kFillAlternate; return true;
    case kSetTextColor: state.TextColor = r.U32() & 0xFFFFFF; return true;
    case kSetTextAlign: state.TextAlign = r.U16(); return true;

    case kCreatePenIndirect: {
      TGdiPen pen;
      pen.Style = r.U16();
      pen.Width = r.I16();
      r.I16();
      pen.Color = r.U32() & 0xFFFFFF;
      if (pen.Width > 0) pen.Style = (pen.Style & kPenStyleMask) | kPsGeometric;
      return canvas.CreateObjectInFreeSlot(pen);
    }
    case kCreateBrushIndirect: {
      TGdiBrush brush;
      brush.Style = r.U16();
      brush.Color = r.U32() & 0xFFFFFF;
      brush.Hatch = r.U16();
      return canvas.CreateObjectInFreeSlot(brush);
    }
    case kDibCreatePatternBrush: {
      r.U16();  // style
      r.U16();  // usage
      const auto bitmap = DecodePackedDib(r.Slice(r.Position(), r.Left()));
      TGdiBrush brush;
      if (bitmap) {
        brush.Style = kBsDibPatternPt;
        brush.Pattern = BitmapSurface(*bitmap);
      }
      // The slot is taken either way, or later object numbers would shift.
      return canvas.CreateObjectInFreeSlot(brush) && bitmap;
    }
    case kCreateFontIndirect: return canvas.CreateObjectInFreeSlot(ReadLogFont(r));
    case kCreatePalette:
    case kCreatePatternBrush:
    case kCreateRegion: return canvas.CreateObjectInFreeSlot(TGdiPlaceholder{});
    case kSelectObject: return canvas.SelectObject(r.U16());
    case kDeleteObject: return canvas.DeleteObject(r.U16());
    case kSaveDc: return canvas.SaveDC();
    case kRestoreDc: return canvas.RestoreDC(r.I16());

    case kMoveTo: canvas.MoveTo(ReadPoint(r)); return true;
    case kLineTo: return canvas.LineTo(ReadPoint(r));
    case kPolygon:
    case kPolyline: {
      const auto points = ReadPoints(r, r.U16());
      return record.Type == kPolygon ? canvas.Polygon(points) : canvas.Polyline(points);
    }
    case kPolyPolygon: {
      const uint16_t polygons = r.U16();
      r.NeedItems(polygons, 2);
      std::vector<uint32_t> counts(polygons);
      uint32_t total = 0;
      for (uint32_t& c : counts) total += c = r.U16();
      return canvas.PolyPolygon(ReadPoints(r, total), counts);
    }
    case kRectangle: {
      const auto b = ReadBox(r);
      return canvas.Rectangle(b[0], b[1], b[2], b[3]);
    }
    case kEllipse: {
      const auto b = ReadBox(r);
      return canvas.Ellipse(b[0], b[1], b[2], b[3]);
    }
    case kRoundRect: {
      const double height = r.I16(), width = r.I16();
      const auto b = ReadBox(r);
      return canvas.RoundRect(b[0], b[1], b[2], b[3], width, height);
    }
    case kArc:
    case kPie:
    case kChord: {
      const TPointD end = ReadPoint(r);
      const TPointD start = ReadPoint(r);
      const auto b = ReadBox(r);
      const TArcKind kind = record.Type == kArc ? TArcKind::Arc : record.Type == kPie ? TArcKind::Pie : TArcKind::Chord;
      return canvas.Arc(kind, b[0], b[1], b[2], b[3], start, end);
    }
    case kSetPixel: {
      const TColorRef color = r.U32() & 0xFFFFFF;
      return canvas.SetPixel(ReadPoint(r), color);
    }
    case kPatBlt: {
      const uint32_t rop = r.U32();
      const double height = r.I16(), width = r.I16();
      const TPointD at = ReadPoint(r);
      return canvas.PatBlt(at.X, at.Y, width, height, rop);
    }
    case kIntersectClipRect:
    case kExcludeClipRect: {
      const auto b = ReadBox(r);
      return record.Type == kIntersectClipRect ? canvas.IntersectClipRect(b[0], b[1], b[2], b[3])
                                               : canvas.ExcludeClipRect(b[0], b[1], b[2], b[3]);
    }
    case kTextOut: return PlayText(canvas, r, false);
    case kExtTextOut: return PlayText(canvas, r, true);
    case kStretchDib:
    case kDibStretchBlt:
    case kDibBitBlt: return PlayDib(canvas, r, static_cast<uint16_t>(record.Type), record.Bytes.size() / 2);

    // Records that change nothing a picture shows.
    case kEof:
    case kSetRop2:
    case kSetRelAbs:
    case kSetStretchBltMode:
    case kSetTextCharExtra:
    case kSetTextJustification:
    case kSetMapperFlags:
    case kEscape:
    case kSelectPalette:
    case kRealizePalette:
    case kSetPalEntries: return true;
    default: return false;
  }
}

}  // namespace

void PlayWindowsRecords(const TMetafile& picture, cairo_t* cr, const std::array<double, 4>& target,
                        TMetafilePlayback& report) {
  const auto bytes = picture.Bytes();
  const bool placeable = picture.Format() == TMetafileFormat::Placeable;
  const std::size_t headerAt = placeable ? TMetafile::kPlaceableHeaderSize : 0;
  if (bytes.size() < headerAt + TMetafile::kWindowsHeaderSize) return;  // then there are no records
  uint16_t objects = 0;
  std::memcpy(&objects, bytes.data() + headerAt + 10, 2);

  const cairo_matrix_t identity{1, 0, 0, 1, 0, 0};
  TGdiCanvas canvas(cr, identity, target, 1, 1, objects);
  TGdiState& state = canvas.State();
  state.MapMode = kMmAnisotropic;
  state.ViewportOrg = {target[0], target[1]};
  state.ViewportExt = {target[2] - target[0], target[3] - target[1]};
  if (placeable) {
    int16_t box[4];
    std::memcpy(box, bytes.data() + 6, sizeof box);
    state.WindowOrg = {static_cast<double>(box[0]), static_cast<double>(box[1])};
    canvas.SetWindowExt(box[2] - box[0], box[3] - box[1]);
  } else {
    canvas.SetWindowExt(std::max(picture.Width(), 1), std::max(picture.Height(), 1));
  }
  PlayAll(picture.Records(), [&](const TMetafileRecord& record) { return PlayRecord(canvas, record); }, report);
}

}  // namespace vellmar
