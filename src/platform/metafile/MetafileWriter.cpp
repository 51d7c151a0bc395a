#include "platform/metafile/MetafileWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/metafile/MetafileRecordTypes.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace vellmar {

namespace {

constexpr int32_t kDevicePixels = 960;  // a 96 dpi reference device: 960 pixels in 254 mm
constexpr int32_t kDeviceMm = 254;

void Put32(std::vector<uint8_t>& bytes, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void Patch32(std::vector<uint8_t>& bytes, std::size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutPoints(std::vector<uint8_t>& payload, std::span<const TPointD> points) {
  for (const TPointD& p : points) {
    Put32(payload, static_cast<uint32_t>(static_cast<int32_t>(std::lround(p.X))));
    Put32(payload, static_cast<uint32_t>(static_cast<int32_t>(std::lround(p.Y))));
  }
}

std::vector<uint8_t> EmptyBounds() { return std::vector<uint8_t>(16, 0); }

void PadTo4(std::vector<uint8_t>& bytes) {
  while (bytes.size() % 4 != 0) bytes.push_back(0);
}


// Records carry their bitmap as a bottom-up DIB right behind their fixed fields: these
// put the four fields that place it (info offset and size, bits offset and size) and
// then the info and the bits themselves.
uint32_t DibBitsSize(const TBitmap& dib) { return static_cast<uint32_t>(int64_t{dib.Stride()} * dib.Height()); }

void PutDibPlace(std::vector<uint8_t>& payload, uint32_t infoOffset, const TBitmap& dib) {
  Put32(payload, infoOffset);
  Put32(payload, sizeof(TBitmapInfoHeader));
  Put32(payload, infoOffset + sizeof(TBitmapInfoHeader));
  Put32(payload, DibBitsSize(dib));
}

void AppendDib(std::vector<uint8_t>& payload, const TBitmap& dib) {
  const TBitmapInfoHeader info = BitmapInfoHeader(dib);
  const auto* infoBytes = reinterpret_cast<const uint8_t*>(&info);
  payload.insert(payload.end(), infoBytes, infoBytes + sizeof info);
  const uint8_t* bits = BitmapFirstRow(dib);
  payload.insert(payload.end(), bits, bits + DibBitsSize(dib));
}

}  // namespace

// ---- enhanced ----

TEmfWriter::TEmfWriter(int32_t width, int32_t height) {
  const auto frame = [](int32_t pixels) { return (int64_t{pixels} * 2540 + 48) / 96; };
  Put32(bytes_, emr::kHeader);
  Put32(bytes_, static_cast<uint32_t>(TMetafile::kEnhancedHeaderSize));
  for (int32_t v : {0, 0, width - 1, height - 1}) Put32(bytes_, static_cast<uint32_t>(v));
  for (int64_t v : {int64_t{0}, int64_t{0}, frame(width), frame(height)}) Put32(bytes_, static_cast<uint32_t>(v));
  Put32(bytes_, TMetafile::kEnhancedSignature);
  Put32(bytes_, 0x10000);
  Put32(bytes_, 0);  // bytes, at the end
  Put32(bytes_, 0);  // records, at the end
  Put32(bytes_, 0);  // handles (16 bits) and reserved, at the end
  Put32(bytes_, 0);  // description
  Put32(bytes_, 0);
  Put32(bytes_, 0);  // palette entries
  for (int32_t v : {kDevicePixels, kDevicePixels, kDeviceMm, kDeviceMm}) Put32(bytes_, static_cast<uint32_t>(v));
}

void TEmfWriter::Record(uint32_t type, std::span<const uint8_t> payload) {
  Put32(bytes_, type);
  Put32(bytes_, static_cast<uint32_t>(8 + (payload.size() + 3) / 4 * 4));
  bytes_.insert(bytes_.end(), payload.begin(), payload.end());
  PadTo4(bytes_);
  ++records_;
}

void TEmfWriter::Record(uint32_t type, std::initializer_list<int32_t> fields) {
  std::vector<uint8_t> payload;
  for (int32_t v : fields) Put32(payload, static_cast<uint32_t>(v));
  Record(type, payload);
}

uint32_t TEmfWriter::NewHandle() {
  const auto free = std::find(handles_.begin(), handles_.end(), false);
  const auto handle = static_cast<uint32_t>(free - handles_.begin());
  if (free == handles_.end())
    handles_.push_back(true);
  else
    *free = true;
  return handle;
}

uint32_t TEmfWriter::CreatePen(uint32_t style, int32_t width, TColorRef color) {
  const uint32_t handle = NewHandle();
  Record(emr::kCreatePen, {static_cast<int32_t>(handle), static_cast<int32_t>(style), width, 0,
                         static_cast<int32_t>(color)});
  return handle;
}

uint32_t TEmfWriter::CreateBrush(uint32_t style, TColorRef color, uint32_t hatch) {
  const uint32_t handle = NewHandle();
  Record(emr::kCreateBrushIndirect, {static_cast<int32_t>(handle), static_cast<int32_t>(style),
                                   static_cast<int32_t>(color), static_cast<int32_t>(hatch)});
  return handle;
}

uint32_t TEmfWriter::CreateFont(const TGdiFont& font) {
  const uint32_t handle = NewHandle();
  std::vector<uint8_t> payload;
  Put32(payload, handle);
  for (int32_t v : {font.Height, font.Width, font.Escapement, font.Escapement, font.Weight})
    Put32(payload, static_cast<uint32_t>(v));
  for (uint8_t b : {uint8_t{font.Italic}, uint8_t{font.Underline}, uint8_t{font.StrikeOut}, font.CharSet,
                    uint8_t{0}, uint8_t{0}, uint8_t{0}, uint8_t{0}})
    payload.push_back(b);
  std::vector<uint8_t> name(64, 0);
  std::size_t at = 0;
  std::size_t pos = 0;
  while (pos < font.FaceName.size() && at + 2 < name.size()) {
    const char32_t c = DecodeUtf8(font.FaceName, pos);
    name[at++] = static_cast<uint8_t>(c);
    name[at++] = static_cast<uint8_t>(c >> 8);
  }
  payload.insert(payload.end(), name.begin(), name.end());
  Record(emr::kExtCreateFontIndirectW, payload);
  return handle;
}

void TEmfWriter::SelectObject(uint32_t handle) { Record(emr::kSelectObject, {static_cast<int32_t>(handle)}); }

void TEmfWriter::DeleteObject(uint32_t handle) {
  Record(emr::kDeleteObject, {static_cast<int32_t>(handle)});
  if (handle < handles_.size()) handles_[handle] = false;
}

void TEmfWriter::SetMapMode(int mode) { Record(emr::kSetMapMode, {mode}); }
void TEmfWriter::SetWindowOrg(int32_t x, int32_t y) { Record(emr::kSetWindowOrgEx, {x, y}); }
void TEmfWriter::SetWindowExt(int32_t x, int32_t y) { Record(emr::kSetWindowExtEx, {x, y}); }
void TEmfWriter::SetViewportOrg(int32_t x, int32_t y) { Record(emr::kSetViewportOrgEx, {x, y}); }
void TEmfWriter::SetViewportExt(int32_t x, int32_t y) { Record(emr::kSetViewportExtEx, {x, y}); }
void TEmfWriter::SaveDC() { Record(emr::kSaveDc, {}); }
void TEmfWriter::RestoreDC(int32_t which) { Record(emr::kRestoreDc, {which}); }

void TEmfWriter::SetWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy) {
  std::vector<uint8_t> payload;
  for (float f : {m11, m12, m21, m22, dx, dy}) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    Put32(payload, bits);
  }
  Record(emr::kSetWorldTransform, payload);
}

void TEmfWriter::Polygon(std::span<const TPointD> points) {
  auto payload = EmptyBounds();
  Put32(payload, static_cast<uint32_t>(points.size()));
  PutPoints(payload, points);
  Record(emr::kPolygon, payload);
}

void TEmfWriter::Polyline(std::span<const TPointD> points) {
  auto payload = EmptyBounds();
  Put32(payload, static_cast<uint32_t>(points.size()));
  PutPoints(payload, points);
  Record(emr::kPolyline, payload);
}

void TEmfWriter::PolyBezier(std::span<const TPointD> points) {
  auto payload = EmptyBounds();
  Put32(payload, static_cast<uint32_t>(points.size()));
  PutPoints(payload, points);
  Record(emr::kPolyBezier, payload);
}

void TEmfWriter::PolyPolygon(const std::vector<std::vector<TPointD>>& polygons) {
  auto payload = EmptyBounds();
  std::size_t total = 0;
  for (const auto& p : polygons) total += p.size();
  Put32(payload, static_cast<uint32_t>(polygons.size()));
  Put32(payload, static_cast<uint32_t>(total));
  for (const auto& p : polygons) Put32(payload, static_cast<uint32_t>(p.size()));
  for (const auto& p : polygons) PutPoints(payload, p);
  Record(emr::kPolyPolygon, payload);
}

void TEmfWriter::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Record(emr::kRectangle, {left, top, right, bottom});
}

void TEmfWriter::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  Record(emr::kEllipse, {left, top, right, bottom});
}

void TEmfWriter::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t width, int32_t height) {
  Record(emr::kRoundRect, {left, top, right, bottom, width, height});
}

void TEmfWriter::SetTextAlign(uint32_t align) { Record(emr::kSetTextAlign, {static_cast<int32_t>(align)}); }
void TEmfWriter::SetTextColor(TColorRef color) { Record(emr::kSetTextColor, {static_cast<int32_t>(color)}); }
void TEmfWriter::SetBkMode(int mode) { Record(emr::kSetBkMode, {mode}); }

void TEmfWriter::TextOut(int32_t x, int32_t y, std::string_view utf8, std::span<const int32_t> dx) {
  std::vector<uint16_t> units;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = DecodeUtf8(utf8, pos);
    if (c >= 0x10000 && c != kInvalidCodePoint) {
      units.push_back(static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
      units.push_back(static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<uint16_t>(c == kInvalidCodePoint ? 0xFFFD : c));
    }
  }
  constexpr uint32_t kTextOffset = 8 + 16 + 12 + 40;  // head, bounds, mode and scales, EMRTEXT
  const auto textBytes = static_cast<uint32_t>((units.size() * 2 + 3) / 4 * 4);
  std::vector<uint8_t> payload = EmptyBounds();
  Put32(payload, 1);  // GM_COMPATIBLE
  Put32(payload, 0);
  Put32(payload, 0);
  Put32(payload, static_cast<uint32_t>(x));
  Put32(payload, static_cast<uint32_t>(y));
  Put32(payload, static_cast<uint32_t>(units.size()));
  Put32(payload, kTextOffset);
  Put32(payload, 0);  // options
  for (int i = 0; i < 4; ++i) Put32(payload, 0);
  Put32(payload, dx.empty() ? 0 : kTextOffset + textBytes);
  for (uint16_t u : units) {
    payload.push_back(static_cast<uint8_t>(u));
    payload.push_back(static_cast<uint8_t>(u >> 8));
  }
  PadTo4(payload);
  for (int32_t d : dx) Put32(payload, static_cast<uint32_t>(d));
  Record(emr::kExtTextOutW, payload);
}

void TEmfWriter::StretchDIBits(int32_t x, int32_t y, int32_t width, int32_t height, const TBitmap& bitmap,
                               uint32_t rop) {
  TBitmap copy = bitmap;
  copy.SetPixelFormat(TPixelFormat::pf24bit);
  copy.SetTopDown(false);
  constexpr uint32_t kInfoOffset = 8 + 72;
  std::vector<uint8_t> payload = EmptyBounds();
  for (int32_t v : {x, y, 0, 0, copy.Width(), copy.Height()}) Put32(payload, static_cast<uint32_t>(v));
  PutDibPlace(payload, kInfoOffset, copy);
  Put32(payload, 0);           // DIB_RGB_COLORS
  Put32(payload, rop);
  Put32(payload, static_cast<uint32_t>(width));
  Put32(payload, static_cast<uint32_t>(height));
  AppendDib(payload, copy);
  Record(emr::kStretchDiBits, payload);
}

void TEmfWriter::AlphaBlend(int32_t x, int32_t y, int32_t width, int32_t height, const TBitmap& bitmap,
                            uint8_t constantAlpha, bool pixelAlpha) {
  TBitmap copy = bitmap;
  if (!pixelAlpha) copy.SetPixelFormat(TPixelFormat::pf24bit);
  copy.SetTopDown(false);
  constexpr uint32_t kInfoOffset = 8 + 100;
  std::vector<uint8_t> payload = EmptyBounds();
  for (int32_t v : {x, y, width, height}) Put32(payload, static_cast<uint32_t>(v));
  Put32(payload, uint32_t{constantAlpha} << 16 | (pixelAlpha ? 1u << 24 : 0u));  // source over
  Put32(payload, 0);  // source x
  Put32(payload, 0);  // source y
  for (const float e : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) Put32(payload, std::bit_cast<uint32_t>(e));
  Put32(payload, 0);  // background colour
  Put32(payload, 0);  // DIB_RGB_COLORS
  PutDibPlace(payload, kInfoOffset, copy);
  Put32(payload, static_cast<uint32_t>(copy.Width()));
  Put32(payload, static_cast<uint32_t>(copy.Height()));
  AppendDib(payload, copy);
  Record(emr::kAlphaBlend, payload);
}

std::vector<uint8_t> TEmfWriter::Finish() {
  Record(emr::kEof, {0, 16, 20});
  Patch32(bytes_, 48, static_cast<uint32_t>(bytes_.size()));
  Patch32(bytes_, 52, records_);
  Patch32(bytes_, 56, static_cast<uint32_t>(handles_.size()));
  return std::move(bytes_);
}

// ---- Windows ----

namespace {

constexpr std::size_t kPlaceableSize = TMetafile::kPlaceableHeaderSize;

}  // namespace

TWmfWriter::TWmfWriter(int16_t width, int16_t height, uint16_t unitsPerInch) {
  Put32(TMetafile::kPlaceableKey);
  Put16(0);  // handle
  for (int16_t v : {int16_t{0}, int16_t{0}, width, height}) Put16(v);
  Put16(unitsPerInch);
  Put32(0);
  uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(bytes_[i] | bytes_[i + 1] << 8);
  Put16(checksum);
  // The Windows header; its sizes are filled in by Finish.
  for (int v : {1, 9, 0x0300, 0, 0, 0, 0, 0, 0}) Put16(v);
  Record(wmf::kSetMapMode, {kMmAnisotropic});
  Record(wmf::kSetWindowOrg, {0, 0});
  Record(wmf::kSetWindowExt, {height, width});
}

void TWmfWriter::Put16(int32_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void TWmfWriter::Put32(uint32_t v) {
  Put16(static_cast<int32_t>(v & 0xFFFF));
  Put16(static_cast<int32_t>(v >> 16));
}

void TWmfWriter::Begin(uint16_t function, std::size_t paramWords) {
  const auto words = static_cast<uint32_t>(3 + paramWords);
  maxRecordWords_ = std::max(maxRecordWords_, words);
  Put32(words);
  Put16(function);
}

void TWmfWriter::Record(uint16_t function, std::initializer_list<int16_t> params) {
  Begin(function, params.size());
  for (int16_t v : params) Put16(v);
}

void TWmfWriter::Record(uint16_t function, std::span<const uint8_t> payload) {
  Begin(function, (payload.size() + 1) / 2);
  bytes_.insert(bytes_.end(), payload.begin(), payload.end());
  if (payload.size() % 2 != 0) bytes_.push_back(0);
}

uint16_t TWmfWriter::NewSlot() {
  const auto free = std::find(slots_.begin(), slots_.end(), false);
  const auto slot = static_cast<uint16_t>(free - slots_.begin());
  if (free == slots_.end())
    slots_.push_back(true);
  else
    *free = true;
  return slot;
}

uint16_t TWmfWriter::CreatePen(uint16_t style, int16_t width, TColorRef color) {
  Begin(wmf::kCreatePenIndirect, 5);
  Put16(style);
  Put16(width);
  Put16(0);
  Put32(color);
  return NewSlot();
}

uint16_t TWmfWriter::CreateBrush(uint16_t style, TColorRef color, uint16_t hatch) {
  Begin(wmf::kCreateBrushIndirect, 4);
  Put16(style);
  Put32(color);
  Put16(hatch);
  return NewSlot();
}

uint16_t TWmfWriter::CreateFont(const TGdiFont& font) {
  const std::string name = Utf8ToCp1251(font.FaceName).substr(0, 31);
  const std::size_t nameBytes = (name.size() + 2) / 2 * 2;  // with its terminating zero, even
  Begin(wmf::kCreateFontIndirect, 9 + nameBytes / 2);
  for (int32_t v : {font.Height, font.Width, font.Escapement, font.Escapement, font.Weight}) Put16(v);
  for (uint8_t b : {uint8_t{font.Italic}, uint8_t{font.Underline}, uint8_t{font.StrikeOut}, font.CharSet,
                    uint8_t{0}, uint8_t{0}, uint8_t{0}, uint8_t{0}})
    bytes_.push_back(b);
  bytes_.insert(bytes_.end(), name.begin(), name.end());
  bytes_.resize(bytes_.size() + nameBytes - name.size(), 0);
  return NewSlot();
}

void TWmfWriter::SelectObject(uint16_t slot) { Record(wmf::kSelectObject, {static_cast<int16_t>(slot)}); }

void TWmfWriter::DeleteObject(uint16_t slot) {
  Record(wmf::kDeleteObject, {static_cast<int16_t>(slot)});
  if (slot < slots_.size()) slots_[slot] = false;
}

void TWmfWriter::PutPoints(std::span<const TPointD> points) {
  for (const TPointD& p : points) {
    Put16(static_cast<int32_t>(std::lround(p.X)));
    Put16(static_cast<int32_t>(std::lround(p.Y)));
  }
}

void TWmfWriter::Polygon(std::span<const TPointD> points) {
  Begin(wmf::kPolygon, 1 + 2 * points.size());
  Put16(static_cast<int32_t>(points.size()));
  PutPoints(points);
}

void TWmfWriter::Polyline(std::span<const TPointD> points) {
  Begin(wmf::kPolyline, 1 + 2 * points.size());
  Put16(static_cast<int32_t>(points.size()));
  PutPoints(points);
}

void TWmfWriter::PolyPolygon(const std::vector<std::vector<TPointD>>& polygons) {
  std::size_t total = 0;
  for (const auto& p : polygons) total += p.size();
  Begin(wmf::kPolyPolygon, 1 + polygons.size() + 2 * total);
  Put16(static_cast<int32_t>(polygons.size()));
  for (const auto& p : polygons) Put16(static_cast<int32_t>(p.size()));
  for (const auto& p : polygons) PutPoints(p);
}

void TWmfWriter::Rectangle(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  Record(wmf::kRectangle, {bottom, right, top, left});
}

void TWmfWriter::Ellipse(int16_t left, int16_t top, int16_t right, int16_t bottom) {
  Record(wmf::kEllipse, {bottom, right, top, left});
}

void TWmfWriter::TextOut(int16_t x, int16_t y, std::string_view bytes) {
  const std::size_t padded = (bytes.size() + 1) / 2 * 2;
  Begin(wmf::kTextOut, 3 + padded / 2);
  Put16(static_cast<int32_t>(bytes.size()));
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  bytes_.resize(bytes_.size() + padded - bytes.size(), 0);
  Put16(y);
  Put16(x);
}

void TWmfWriter::SetTextAlign(uint16_t align) { Record(wmf::kSetTextAlign, {static_cast<int16_t>(align)}); }
void TWmfWriter::SetTextColor(TColorRef color) {
  Begin(wmf::kSetTextColor, 2);
  Put32(color);
}

void TWmfWriter::SetBkMode(int mode) { Record(wmf::kSetBkMode, {static_cast<int16_t>(mode)}); }

std::vector<uint8_t> TWmfWriter::Finish() {
  Record(wmf::kEof, {});
  const std::size_t windowsSize = bytes_.size() - kPlaceableSize;
  Patch32(bytes_, kPlaceableSize + 6, static_cast<uint32_t>(windowsSize / 2));
  bytes_[kPlaceableSize + 10] = static_cast<uint8_t>(slots_.size());
  bytes_[kPlaceableSize + 11] = static_cast<uint8_t>(slots_.size() >> 8);
  Patch32(bytes_, kPlaceableSize + 12, maxRecordWords_);
  return std::move(bytes_);
}

}  // namespace vellmar
