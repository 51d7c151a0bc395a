// SSE2 forms of the decoder's pixel stages (SSE2 is part of every x86-64 CPU).
// Each of the eight 16-bit lanes carries one block through both transform passes,
// so the passes need no transposes; only the final byte rows are transposed so that
// every block's pixel row lands as eight contiguous bytes.

#include <emmintrin.h>

#include "underlay/KolvexKernels.h"

namespace vellmar {

namespace {

__m128i Splat(int16_t value) {
  return _mm_set1_epi16(value);
}

// The one-dimensional pass of the reference for eight blocks at once: mulhi is the
// high half of the 32-bit product, and the 16-bit adds wrap like the rules ask.
[[gnu::always_inline]] inline void TransformColumn(const __m128i (&x)[8], __m128i (&out)[8]) {
  const __m128i one = Splat(1);
  const __m128i t0 = _mm_srai_epi16(_mm_add_epi16(_mm_mulhi_epi16(x[0], Splat(16384)), one), 1);
  for (int k = 0; k < 4; ++k) {
    __m128i t[8];
    t[0] = t0;
    for (int n = 1; n < 8; ++n) {
      t[n] = _mm_srai_epi16(_mm_add_epi16(_mm_mulhi_epi16(x[n], Splat(kKolvexCosine[n][k])), one), 1);
    }
    const __m128i even = _mm_add_epi16(_mm_add_epi16(t[0], t[2]), _mm_add_epi16(t[4], t[6]));
    const __m128i odd = _mm_add_epi16(_mm_add_epi16(t[1], t[3]), _mm_add_epi16(t[5], t[7]));
    out[k] = _mm_add_epi16(even, odd);
    out[7 - k] = _mm_sub_epi16(even, odd);
  }
}

// Two pixel columns of eight blocks, saturated to bytes and interleaved per block.
__m128i PackPair(__m128i a, __m128i b) {
  return _mm_packus_epi16(_mm_unpacklo_epi16(a, b), _mm_unpackhi_epi16(a, b));
}

}  // namespace

void InverseTransformGroupSse2(const TKolvexPlane& plane, const TDequantTable& dequant, int block) {
  const int blockCount = plane.blockColumns * plane.blockRows;
  __m128i x[64];
  for (int k = 0; k < 64; ++k) {
    const __m128i c =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(plane.coefficients + k * blockCount + block));
    x[k] = _mm_mullo_epi16(c, Splat(dequant[k]));
  }
  __m128i z[8][8];
  for (int c = 0; c < 8; ++c) {
    const __m128i column[8] = {x[c],      x[8 + c],  x[16 + c], x[24 + c],
                               x[32 + c], x[40 + c], x[48 + c], x[56 + c]};
    TransformColumn(column, z[c]);
  }
  const int stride = 8 * plane.blockColumns;
  uint8_t* origin =
      plane.pixels + (block / plane.blockColumns) * 8 * stride + (block % plane.blockColumns) * 8;
  for (int c = 0; c < 8; ++c) {
    const __m128i column[8] = {z[0][c], z[1][c], z[2][c], z[3][c], z[4][c], z[5][c], z[6][c], z[7][c]};
    __m128i p[8];
    TransformColumn(column, p);
    // p[x] holds pixel x of this row for the eight blocks; gather each block's row.
    const __m128i t0 = PackPair(p[0], p[1]);
    const __m128i t1 = PackPair(p[2], p[3]);
    const __m128i t2 = PackPair(p[4], p[5]);
    const __m128i t3 = PackPair(p[6], p[7]);
    const __m128i u0 = _mm_unpacklo_epi16(t0, t1);
    const __m128i u1 = _mm_unpackhi_epi16(t0, t1);
    const __m128i u2 = _mm_unpacklo_epi16(t2, t3);
    const __m128i u3 = _mm_unpackhi_epi16(t2, t3);
    __m128i* row = reinterpret_cast<__m128i*>(origin + c * stride);
    _mm_storeu_si128(row + 0, _mm_unpacklo_epi32(u0, u2));
    _mm_storeu_si128(row + 1, _mm_unpackhi_epi32(u0, u2));
    _mm_storeu_si128(row + 2, _mm_unpacklo_epi32(u1, u3));
    _mm_storeu_si128(row + 3, _mm_unpackhi_epi32(u1, u3));
  }
}

void InverseTransformSse2(const TKolvexPlane& plane, const TDequantTable& dequant) {
  for (int by = 0; by < plane.blockRows; ++by) {
    const int first = by * plane.blockColumns;
    int bx = 0;
    for (; bx + 8 <= plane.blockColumns; bx += 8) InverseTransformGroupSse2(plane, dequant, first + bx);
    for (; bx < plane.blockColumns; ++bx) InverseTransformBlockReference(plane, dequant, first + bx);
  }
}

void YCbCrRowSse2(const uint8_t* y, const uint8_t* cr, const uint8_t* cb, uint8_t* out, int pixels) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i offset = Splat(127);
  for (int x = 0; x < pixels; x += 16, out += 64) {
    const __m128i luma = _mm_loadu_si128(reinterpret_cast<const __m128i*>(y + x));
    const __m128i crBytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr + x / 2));
    const __m128i cbBytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb + x / 2));
    // (c - 127) · 256 kept to 16 bits is the offset chroma as a signed byte times 256.
    const __m128i dr = _mm_slli_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(crBytes, zero), offset), 8);
    const __m128i db = _mm_slli_epi16(_mm_sub_epi16(_mm_unpacklo_epi8(cbBytes, zero), offset), 8);
    const __m128i r = _mm_mulhi_epi16(dr, Splat(359));
    const __m128i g = _mm_add_epi16(_mm_mulhi_epi16(dr, Splat(183)), _mm_mulhi_epi16(db, Splat(88)));
    const __m128i b = _mm_mulhi_epi16(db, Splat(454));
    const __m128i lumaLo = _mm_unpacklo_epi8(luma, zero);
    const __m128i lumaHi = _mm_unpackhi_epi8(luma, zero);
    const __m128i red = _mm_packus_epi16(_mm_add_epi16(lumaLo, _mm_unpacklo_epi16(r, r)),
                                         _mm_add_epi16(lumaHi, _mm_unpackhi_epi16(r, r)));
    const __m128i green = _mm_packus_epi16(_mm_sub_epi16(lumaLo, _mm_unpacklo_epi16(g, g)),
                                           _mm_sub_epi16(lumaHi, _mm_unpackhi_epi16(g, g)));
    const __m128i blue = _mm_packus_epi16(_mm_add_epi16(lumaLo, _mm_unpacklo_epi16(b, b)),
                                          _mm_add_epi16(lumaHi, _mm_unpackhi_epi16(b, b)));
    const __m128i bgLo = _mm_unpacklo_epi8(blue, green);
    const __m128i bgHi = _mm_unpackhi_epi8(blue, green);
    const __m128i r0Lo = _mm_unpacklo_epi8(red, zero);
    const __m128i r0Hi = _mm_unpackhi_epi8(red, zero);
    __m128i* dst = reinterpret_cast<__m128i*>(out);
    _mm_storeu_si128(dst + 0, _mm_unpacklo_epi16(bgLo, r0Lo));
    _mm_storeu_si128(dst + 1, _mm_unpackhi_epi16(bgLo, r0Lo));
    _mm_storeu_si128(dst + 2, _mm_unpacklo_epi16(bgHi, r0Hi));
    _mm_storeu_si128(dst + 3, _mm_unpackhi_epi16(bgHi, r0Hi));
  }
}

}  // namespace vellmar
