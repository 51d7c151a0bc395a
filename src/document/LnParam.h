#pragma once
// The line-marking library: one LnParam record per marking type of the road-marking
// standard (texture, repeat period, band offsets), read from the text library file
// "Default.LnRazmet" or carried by a street file as its "LNPARAMS" table. A record's
// memory layout is its stored layout (788 bytes, little-endian); texts are
// length-prefixed short strings of Windows-1251 bytes. A street owns its table
// (TStreetStructure::LineParams); items refer to records by index.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace vellmar {

class TStream;

// A length byte and up to 255 characters. Bytes beyond the length are zero when the
// text is set here, and kept as they are when a record is read from a stream.
using TShortString = std::array<uint8_t, 256>;
inline constexpr std::size_t kShortStringMax = 255;

inline std::string_view ShortStringText(const TShortString& text) {
  return {reinterpret_cast<const char*>(text.data() + 1), text[0]};
}
// Texts longer than 255 characters are cut to 255.
void SetShortString(TShortString& target, std::string_view text);

struct LnParam {
  TShortString Name{};         // the marking's number in the standard
  TShortString TextureFile{};  // relative to "\DataFiles\Разметка\"
  float Period = 0;            // metres along the line per repeat of the texture
  float Disp1 = 0;             // metres from the line to the band's first edge
  float Disp2 = 0;             // ... and to its second edge
  TShortString Description{};
  float SqCoeff = 0;  // area coefficient
  uint8_t FullPeriods = 0;
  uint8_t Yellow = 0;
  uint8_t Plastic = 0;
  uint8_t CountItems = 0;

  friend bool operator==(const LnParam&, const LnParam&) = default;
};
static_assert(sizeof(LnParam) == 788, "LnParam is stored byte for byte");
static_assert(offsetof(LnParam, Name) == 0 && offsetof(LnParam, TextureFile) == 256 &&
                  offsetof(LnParam, Period) == 512 && offsetof(LnParam, Disp1) == 516 &&
                  offsetof(LnParam, Disp2) == 520 && offsetof(LnParam, Description) == 524 &&
                  offsetof(LnParam, SqCoeff) == 780 && offsetof(LnParam, FullPeriods) == 784 &&
                  offsetof(LnParam, Yellow) == 785 && offsetof(LnParam, Plastic) == 786 &&
                  offsetof(LnParam, CountItems) == 787,
              "LnParam fields sit at their stored offsets");

using TLnParams = std::vector<LnParam>;

// A text library: every section is one marking type, named by the section; the keys
// "TextureFile", "Period", "Disp1", "Disp2", "Description", "SqCoeff", "FullPeriods",
// "Yellow", "Plastic", "CountItems". A missing or unreadable value keeps the zero
// default ("0,5" is unreadable: the separator is "."); texts are cut to 255 bytes.
// A file that cannot be read gives an empty library.
TLnParams LoadLnParamsFromIni(const std::filesystem::path& fileName);
// "\DataFiles\Разметка\Default.LnRazmet" below the data root, the library that
// fills a street's empty table; empty when the file is not there.
TLnParams LoadDefaultLnParams();

// Index of the first record named exactly name (case-sensitive), else -1.
int32_t FindLnParam(std::string_view name, const TLnParams& params);

// "LNPARAMS", int32 count, int32 record size (788), the records. Reading replaces
// params when the next ident is "LNPARAMS"; otherwise neither the stream nor params
// change. Records stored with another size are read up to 788 bytes (the rest zero)
// and their surplus skipped. A size below 1, a negative count, records the stream
// cannot hold, or more than kMaxLnParams records (a library has a few hundred; the
// cap keeps a damaged table of 1-byte records from asking for 788 times its bytes)
// raise "ReadLnParams: ..." and leave params as they were.
inline constexpr int32_t kMaxLnParams = 65536;
void ReadLnParams(TStream& stream, TLnParams& params);
void WriteLnParams(TStream& stream, const TLnParams& params);

}  // namespace vellmar
