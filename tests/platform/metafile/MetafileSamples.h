#pragma once
// Small metafiles of each format, built field by field the way the formats lay them
// out, for the metafile tests and the fuzz seeds.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace vellmar::test {

class TMetafileBytes {
 public:
  TMetafileBytes& U16(uint32_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  TMetafileBytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  TMetafileBytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  TMetafileBytes& Append(const std::vector<uint8_t>& more) {
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return *this;
  }
  void PutU32(std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
  std::size_t Size() const { return bytes_.size(); }
  const std::vector<uint8_t>& Get() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

struct TRect32 {
  int32_t Left, Top, Right, Bottom;
};

// EMR_HEADER with the given frame (0.01 mm) and bounds (pixels of a 1000 x 500 pixel,
// 250 x 125 mm device), one EMR_RECTANGLE, EMR_EOF.
inline std::vector<uint8_t> EnhancedSample(TRect32 frame, TRect32 bounds) {
  TMetafileBytes b;
  b.U32(1).U32(88);
  for (int32_t v : {bounds.Left, bounds.Top, bounds.Right, bounds.Bottom}) b.I32(v);
  for (int32_t v : {frame.Left, frame.Top, frame.Right, frame.Bottom}) b.I32(v);
  b.U32(0x464D4520).U32(0x10000).U32(0).U32(3);        // signature, version, nBytes (later), nRecords
  b.U16(1).U16(0).U32(0).U32(0).U32(0);                // handles, reserved, description, palette
  b.I32(1000).I32(500).I32(250).I32(125);              // szlDevice, szlMillimeters
  b.U32(43).U32(24).I32(10).I32(20).I32(110).I32(70);  // EMR_RECTANGLE
  b.U32(14).U32(20).U32(0).U32(16).U32(20);            // EMR_EOF
  b.PutU32(48, static_cast<uint32_t>(b.Size()));
  return b.Get();
}

// The Windows metafile body: 18-byte header, the given records, META_EOF.
inline std::vector<uint8_t> WindowsSample(bool withWindowExt, int16_t extX = 400, int16_t extY = 300) {
  TMetafileBytes records;
  if (withWindowExt)
    records.U32(5).U16(0x020C).U16(static_cast<uint16_t>(extY)).U16(static_cast<uint16_t>(extX));
  records.U32(7).U16(0x041B).U16(70).U16(110).U16(20).U16(10);  // META_RECTANGLE
  records.U32(3).U16(0x0000);                                   // META_EOF
  TMetafileBytes b;
  const auto words = static_cast<uint32_t>((18 + records.Size()) / 2);
  b.U16(1).U16(9).U16(0x0300).U32(words).U16(0).U32(7).U16(0).Append(records.Get());
  return b.Get();
}

// The 22-byte placeable header (checksum over its first ten words) before a Windows
// metafile.
inline std::vector<uint8_t> PlaceableSample(TRect32 box, uint16_t inch) {
  TMetafileBytes b;
  b.U32(0x9AC6CDD7).U16(0);
  for (int32_t v : {box.Left, box.Top, box.Right, box.Bottom}) b.U16(static_cast<uint16_t>(v));
  b.U16(inch).U32(0);
  uint16_t checksum = 0;
  for (std::size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(b.Get()[i] | b.Get()[i + 1] << 8);
  b.U16(checksum).Append(WindowsSample(false));
  return b.Get();
}

}  // namespace vellmar::test
