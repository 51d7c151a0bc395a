#pragma once
// Small writers of enhanced and (placeable) Windows metafiles: the pictures of the
// sign library and the test pictures of the player are made with them. They write
// what a GDI program recording the same calls would: records with their bounds left
// empty (players do not read them), object handles taken in order.
// A writer owns the bytes it builds; Finish hands them over.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "platform/imaging/Bitmap.h"
#include "platform/metafile/GdiObjects.h"
#include "platform/metafile/GdiState.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

// Stock objects for SelectObject.
inline constexpr uint32_t kStockNullBrush = 0x80000005, kStockBlackPen = 0x80000007, kStockNullPen = 0x80000008;

class TEmfWriter {
 public:
  // A picture of width x height pixels of a 96 dpi device; records draw in those
  // pixels until a mapping record says otherwise.
  TEmfWriter(int32_t width, int32_t height);

  // Any record: its type and its 32-bit fields after the type and size.
  void Record(uint32_t type, std::initializer_list<int32_t> fields);
  void Record(uint32_t type, std::span<const uint8_t> payload);

  // Objects take the lowest free handle, which the call returns.
  uint32_t CreatePen(uint32_t style, int32_t width, TColorRef color);
  uint32_t CreateBrush(uint32_t style, TColorRef color, uint32_t hatch = 0);
  uint32_t CreateFont(const TGdiFont& font);
  void SelectObject(uint32_t handle);
  void DeleteObject(uint32_t handle);

  void SetMapMode(int mode);
  void SetWindowOrg(int32_t x, int32_t y);
  void SetWindowExt(int32_t x, int32_t y);
  void SetViewportOrg(int32_t x, int32_t y);
  void SetViewportExt(int32_t x, int32_t y);
  void SetWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy);
  void SaveDC();
  void RestoreDC(int32_t which);

  void Polygon(std::span<const TPointD> points);
  void PolyPolygon(const std::vector<std::vector<TPointD>>& polygons);
  void Polyline(std::span<const TPointD> points);
  // A start point and three points a curve.
  void PolyBezier(std::span<const TPointD> points);
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t width, int32_t height);

  void SetTextAlign(uint32_t align);
  void SetTextColor(TColorRef color);
  void SetBkMode(int mode);
  // ExtTextOutW of UTF-8 text at (x, y), each character advanced by `dx` (empty: the
  // font's own advances).
  void TextOut(int32_t x, int32_t y, std::string_view utf8, std::span<const int32_t> dx = {});
  // StretchDIBits of a 24-bit copy of the bitmap into the rectangle by the raster
  // operation (SRCCOPY unless told).
  void StretchDIBits(int32_t x, int32_t y, int32_t width, int32_t height, const TBitmap& bitmap,
                     uint32_t rop = 0x00CC0020);

  // AlphaBlend of the whole bitmap into the rectangle, all pixels times constantAlpha /
  // 255; with `pixelAlpha` the bitmap must be 32-bit, its fourth bytes alpha and its
  // colours premultiplied.
  void AlphaBlend(int32_t x, int32_t y, int32_t width, int32_t height, const TBitmap& bitmap, uint8_t constantAlpha,
                  bool pixelAlpha);

  // The metafile with its end record and header counts.
  std::vector<uint8_t> Finish();

 private:
  uint32_t NewHandle();

  std::vector<uint8_t> bytes_;
  uint32_t records_ = 1;
  std::vector<bool> handles_{true};  // handle 0 is the metafile's own
};

class TWmfWriter {
 public:
  // A placeable Windows metafile whose logical window is width x height units at
  // `unitsPerInch`; its records start by setting that window.
  TWmfWriter(int16_t width, int16_t height, uint16_t unitsPerInch);

  // Any record: its function number and its 16-bit parameters as stored, or its
  // parameter bytes (padded to a whole word).
  void Record(uint16_t function, std::initializer_list<int16_t> params);
  void Record(uint16_t function, std::span<const uint8_t> payload);

  // Objects take the lowest free slot, which the call returns.
  uint16_t CreatePen(uint16_t style, int16_t width, TColorRef color);
  uint16_t CreateBrush(uint16_t style, TColorRef color, uint16_t hatch = 0);
  // The face name is written as Windows-1251 bytes.
  uint16_t CreateFont(const TGdiFont& font);
  void SelectObject(uint16_t slot);
  void DeleteObject(uint16_t slot);

  void Polygon(std::span<const TPointD> points);
  void PolyPolygon(const std::vector<std::vector<TPointD>>& polygons);
  void Polyline(std::span<const TPointD> points);
  void Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom);
  void Ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom);
  // TextOut of bytes in the font's character set.
  void TextOut(int16_t x, int16_t y, std::string_view bytes);
  void SetTextAlign(uint16_t align);
  void SetTextColor(TColorRef color);
  void SetBkMode(int mode);

  std::vector<uint8_t> Finish();

 private:
  void Begin(uint16_t function, std::size_t paramWords);
  void Put16(int32_t v);
  void Put32(uint32_t v);
  void PutPoints(std::span<const TPointD> points);
  uint16_t NewSlot();

  std::vector<uint8_t> bytes_;
  std::vector<bool> slots_;
  uint32_t maxRecordWords_ = 0;
};

}  // namespace vellmar
