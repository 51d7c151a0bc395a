#pragma once
// Record types of the two metafile formats, numbered as the formats number them. The
// reader, the players and the writer all name records by these.

#include <cstdint>

namespace vellmar {

// Enhanced metafile records (EMR_*).
namespace emr {
enum : uint32_t {
  kHeader = 1,
  kPolyBezier = 2, kPolygon = 3, kPolyline = 4, kPolyBezierTo = 5, kPolylineTo = 6, kPolyPolyline = 7,
  kPolyPolygon = 8, kSetWindowExtEx = 9, kSetWindowOrgEx = 10, kSetViewportExtEx = 11, kSetViewportOrgEx = 12,
  kSetBrushOrgEx = 13, kEof = 14, kSetPixelV = 15, kSetMapperFlags = 16, kSetMapMode = 17, kSetBkMode = 18,
  kSetPolyFillMode = 19, kSetRop2 = 20, kSetStretchBltMode = 21, kSetTextAlign = 22, kSetColorAdjustment = 23,
  kSetTextColor = 24, kSetBkColor = 25, kMoveToEx = 27, kSetMetaRgn = 28, kExcludeClipRect = 29,
  kIntersectClipRect = 30, kScaleViewportExtEx = 31, kScaleWindowExtEx = 32, kSaveDc = 33, kRestoreDc = 34,
  kSetWorldTransform = 35, kModifyWorldTransform = 36, kSelectObject = 37, kCreatePen = 38,
  kCreateBrushIndirect = 39, kDeleteObject = 40, kEllipse = 42, kRectangle = 43, kRoundRect = 44, kArc = 45,
  kChord = 46, kPie = 47, kSelectPalette = 48, kCreatePalette = 49, kSetPaletteEntries = 50,
  kResizePalette = 51, kRealizePalette = 52, kLineTo = 54, kArcTo = 55, kSetArcDirection = 57,
  kSetMiterLimit = 58, kBeginPath = 59, kEndPath = 60, kCloseFigure = 61, kFillPath = 62,
  kStrokeAndFillPath = 63, kStrokePath = 64, kFlattenPath = 65, kSelectClipPath = 67, kAbortPath = 68,
  kAngleArc = 41, kPolyDraw = 56, kPolyDraw16 = 92, kSetDiBitsToDevice = 80, kGdiComment = 70, kExtSelectClipRgn = 75, kBitBlt = 76, kStretchBlt = 77, kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82, kExtTextOutA = 83, kExtTextOutW = 84, kPolyBezier16 = 85, kPolygon16 = 86,
  kPolyline16 = 87, kPolyBezierTo16 = 88, kPolylineTo16 = 89, kPolyPolyline16 = 90, kPolyPolygon16 = 91,
  kCreateMonoBrush = 93, kCreateDibPatternBrushPt = 94, kExtCreatePen = 95, kSetIcmMode = 98,
  kAlphaBlend = 114, kSetLayout = 115,
};
}  // namespace emr

// Windows metafile records (META_*), by their function numbers.
namespace wmf {
enum : uint16_t {
  kEof = 0x0000, kSetBkColor = 0x0201, kSetBkMode = 0x0102, kSetMapMode = 0x0103, kSetRop2 = 0x0104,
  kSetRelAbs = 0x0105, kSetPolyFillMode = 0x0106, kSetStretchBltMode = 0x0107, kSetTextCharExtra = 0x0108,
  kSetTextColor = 0x0209, kSetTextJustification = 0x020A, kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C,
  kOffsetWindowOrg = 0x020F, kScaleWindowExt = 0x0410, kLineTo = 0x0213, kMoveTo = 0x0214,
  kExcludeClipRect = 0x0415, kIntersectClipRect = 0x0416, kArc = 0x0817, kEllipse = 0x0418, kPie = 0x081A,
  kRectangle = 0x041B, kRoundRect = 0x061C, kPatBlt = 0x061D, kSaveDc = 0x001E, kSetPixel = 0x041F,
  kTextOut = 0x0521, kPolygon = 0x0324, kPolyline = 0x0325, kEscape = 0x0626, kRestoreDc = 0x0127,
  kSelectObject = 0x012D, kSetTextAlign = 0x012E, kChord = 0x0830, kSetMapperFlags = 0x0231,
  kExtTextOut = 0x0A32, kSelectPalette = 0x0234, kRealizePalette = 0x0035, kSetPalEntries = 0x0037,
  kPolyPolygon = 0x0538, kDibBitBlt = 0x0940, kDibStretchBlt = 0x0B41, kDibCreatePatternBrush = 0x0142,
  kStretchDib = 0x0F43, kDeleteObject = 0x01F0, kCreatePalette = 0x00F7, kCreatePatternBrush = 0x01F9,
  kCreatePenIndirect = 0x02FA, kCreateFontIndirect = 0x02FB, kCreateBrushIndirect = 0x02FC,
  kCreateRegion = 0x06FF,
};
}  // namespace wmf

}  // namespace vellmar
