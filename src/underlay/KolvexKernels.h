#pragma once
// The pixel stages of the tile decoder in three interchangeable forms: a scalar
// reference written straight from the fixed-point rules, and SSE2 and AVX2 forms
// that must give the same bytes for every input. The vector forms give each lane
// its own 8×8 block: coefficient k of neighbouring blocks lies side by side in the
// coefficient-major plane, so a block group loads with one vector per coefficient.
// None of these functions owns memory; callers pass planes and pixel buffers.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellmar {

enum class TKolvexKernel { Reference, Sse2, Avx2 };

// The fastest kernel this CPU runs.
TKolvexKernel BestKolvexKernel();

// Per-coefficient multipliers 2 << shift[k], natural order, kept to 16 bits.
using TDequantTable = std::array<int16_t, 64>;

// One coefficient-major plane of blockColumns × blockRows blocks and the pixels
// (row-major, width 8·blockColumns) its inverse transform is stored into.
struct TKolvexPlane {
  const int16_t* coefficients;
  int blockColumns;
  int blockRows;
  uint8_t* pixels;
};

// A decoded image (Y plane, then Cr and Cb at half size in both directions) and
// where its colour-converted rows go: image row y starts at row0 + y·stride, four
// bytes B, G, R, 0 per pixel; stride is negative for a bottom-up bitmap.
struct TKolvexColourJob {
  const uint8_t* image;
  int width;
  int height;
  uint8_t* row0;
  std::ptrdiff_t stride;
};

// Dequantises, inverse-transforms and clamps one block (the reference rules).
void InverseTransformBlockReference(const TKolvexPlane& plane, const TDequantTable& dequant, int block);

void InverseTransformReference(const TKolvexPlane& plane, const TDequantTable& dequant);
void InverseTransformSse2(const TKolvexPlane& plane, const TDequantTable& dequant);
void InverseTransformAvx2(const TKolvexPlane& plane, const TDequantTable& dequant);

// Eight neighbouring blocks of one block row, starting at block, with SSE2.
void InverseTransformGroupSse2(const TKolvexPlane& plane, const TDequantTable& dequant, int block);

// Colour conversion of one image row: pixels luma samples, pixels / 2 samples of each
// chroma row, 4·pixels bytes out. The vector forms need pixels to be a multiple of 16.
using TColourRow = void (*)(const uint8_t* y, const uint8_t* cr, const uint8_t* cb, uint8_t* out, int pixels);
void YCbCrRowReference(const uint8_t* y, const uint8_t* cr, const uint8_t* cb, uint8_t* out, int pixels);
void YCbCrRowSse2(const uint8_t* y, const uint8_t* cr, const uint8_t* cb, uint8_t* out, int pixels);
void YCbCrRowAvx2(const uint8_t* y, const uint8_t* cr, const uint8_t* cb, uint8_t* out, int pixels);

// Converts every row of the job with the given row form; two rows share a chroma row.
void YCbCrToBgra(const TKolvexColourJob& job, TColourRow row);

// The one-dimensional transform's multipliers T[n][k]: 16384 for n = 0, else
// 16384·√2·cos((2k + 1)·n·π/16) rounded. Outputs 7 − k reuse column k with odd n negated.
inline constexpr std::array<std::array<int16_t, 4>, 8> kKolvexCosine = {{
    {16384, 16384, 16384, 16384},
    {22725, 19266, 12873, 4520},
    {21407, 8867, -8867, -21407},
    {19266, -4520, -22725, -12873},
    {16384, -16384, -16384, 16384},
    {12873, -22725, 4520, 19266},
    {8867, -21407, 21407, -8867},
    {4520, -12873, 19266, -22725},
}};

}  // namespace vellmar
