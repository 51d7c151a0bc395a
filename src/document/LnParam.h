#pragma once
// The line-marking parameter record and the street's "LNPARAMS" table of them. The
// record's memory layout is its stored layout (788 bytes, little-endian); texts are
// length-prefixed short strings of Windows-1251 bytes, zero beyond their length.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vellmar {

class TStream;

// A length byte and up to 255 characters.
using TShortString = std::array<uint8_t, 256>;

struct LnParam {
  TShortString Name{};
  TShortString TextureFile{};
  float Period = 0.0f;
  float Disp1 = 0.0f;
  float Disp2 = 0.0f;
  TShortString Description{};
  float SqCoeff = 0.0f;
  uint8_t FullPeriods = 0;
  uint8_t Yellow = 0;
  uint8_t Plastic = 0;
  uint8_t CountItems = 0;
};
static_assert(sizeof(LnParam) == 788, "LnParam is stored byte for byte");
static_assert(offsetof(LnParam, Period) == 512 && offsetof(LnParam, Description) == 524 &&
                  offsetof(LnParam, SqCoeff) == 780 && offsetof(LnParam, CountItems) == 787,
              "LnParam fields sit at their stored offsets");

using TLnParams = std::vector<LnParam>;

// Reads an "LNPARAMS" table into params when the next ident is "LNPARAMS"; otherwise
// the stream and params stay as they are. Records stored with another size are read
// up to 788 bytes (the rest zero) and their surplus skipped.
void ReadLnParams(TStream& stream, TLnParams& params);
void WriteLnParams(TStream& stream, const TLnParams& params);

}  // namespace vellmar
