// AVX2 forms of the decoder's pixel stages, compiled for AVX2 function by function
// (target attributes) so that nothing else in the program assumes the CPU has it;
// BestKolvexKernel() picks them only where the CPU reports AVX2. Sixteen lanes carry
// sixteen blocks; unpack and pack work within 128-bit halves, so each half does the
// SSE2 byte transpose for its eight blocks and the halves are recombined on store.

#include <immintrin.h>

#include "underlay/KolvexKernels.h"

namespace vellmar {

namespace {

[[gnu::target("avx2")]] __m256i Splat(int16_t value) {
  return _mm256_set1_epi16(value);
}

[[gnu::target("avx2"), gnu::always_inline]] inline void TransformColumn(const __m256i (&x)[8],
                                                                        __m256i (&out)[8]) {
  const __m256i one = Splat(1);
  const __m256i t0 = _mm256_srai_epi16(_mm256_add_epi16(_mm256_mulhi_epi16(x[0], Splat(16384)), one), 1);
  for (int k = 0; k < 4; ++k) {
    __m256i t[8];
    t[0] = t0;
    for (int n = 1; n < 8; ++n) {
      t[n] =
          _mm256_srai_epi16(_mm256_add_epi16(_mm256_mulhi_epi16(x[n], Splat(kKolvexCosine[n][k])), one), 1);
    }
    const __m256i even = _mm256_add_epi16(_mm256_add_epi16(t[0], t[2]), _mm256_add_epi16(t[4], t[6]));
    const __m256i odd = _mm256_add_epi16(_mm256_add_epi16(t[1], t[3]), _mm256_add_epi16(t[5], t[7]));
    out[k] = _mm256_add_epi16(even, odd);
    out[7 - k] = _mm256_sub_epi16(even, odd);
  }
}

[[gnu::target("avx2")]] __m256i PackPair(__m256i a, __m256i b) {
  return _mm256_packus_epi16(_mm256_unpacklo_epi16(a, b), _mm256_unpackhi_epi16(a, b));
}

[[gnu::target("avx2")]] void StoreHalves(uint8_t* dst, __m256i a, __m256i b, __m256i c, __m256i d) {
  __m256i* out = reinterpret_cast<__m256i*>(dst);
  _mm256_storeu_si256(out + 0, _mm256_permute2x128_si256(a, b, 0x20));
  _mm256_storeu_si256(out + 1, _mm256_permute2x128_si256(c, d, 0x20));
  _mm256_storeu_si256(out + 2, _mm256_permute2x128_si256(a, b, 0x31));
  _mm256_storeu_si256(out + 3, _mm256_permute2x128_si256(c, d, 0x31));
}

// Sixteen neighbouring blocks of one block row.
[[gnu::target("avx2")]] void TransformGroup(const TKolvexPlane& plane, const TDequantTable& dequant,
                                            int block) {
  const int blockCount = plane.blockColumns * plane.blockRows;
  __m256i x[64];
  for (int k = 0; k < 64; ++k) {
    const __m256i c =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(plane.coefficients + k * blockCount + block));
    x[k] = _mm256_mullo_epi16(c, Splat(dequant[k]));
  }
  __m256i z[8][8];
  for (int c = 0; c < 8; ++c) {
    const __m256i column[8] = {x[c],      x[8 + c],  x[16 + c], x[24 + c],
                               x[32 + c], x[40 + c], x[48 + c], x[56 + c]};
    TransformColumn(column, z[c]);
  }
  const int stride = 8 * plane.blockColumns;
  uint8_t* origin =
      plane.pixels + (block / plane.blockColumns) * 8 * stride + (block % plane.blockColumns) * 8;
  for (int c = 0; c < 8; ++c) {
    const __m256i column[8] = {z[0][c], z[1][c], z[2][c], z[3][c], z[4][c], z[5][c], z[6][c], z[7][c]};
    __m256i p[8];
    TransformColumn(column, p);
    const __m256i t0 = PackPair(p[0], p[1]);
    const __m256i t1 = PackPair(p[2], p[3]);
    const __m256i t2 = PackPair(p[4], p[5]);
    const __m256i t3 = PackPair(p[6], p[7]);
    const __m256i u0 = _mm256_unpacklo_epi16(t0, t1);
    const __m256i u1 = _mm256_unpackhi_epi16(t0, t1);
    const __m256i u2 = _mm256_unpacklo_epi16(t2, t3);
    const __m256i u3 = _mm256_unpackhi_epi16(t2, t3);
    // Per half: blocks (0,1), (2,3), (4,5), (6,7) of that half's eight.
    StoreHalves(origin + c * stride, _mm256_unpacklo_epi32(u0, u2), _mm256_unpackhi_epi32(u0, u2),
                _mm256_unpacklo_epi32(u1, u3), _mm256_unpackhi_epi32(u1, u3));
  }
}

}  // namespace

[[gnu::target("avx2")]] void YCbCrRowAvx2(const uint8_t* y, const uint8_t* cr, const uint8_t* cb,
                                          uint8_t* out, int pixels) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i offset = Splat(127);
  int x = 0;
  for (; x + 32 <= pixels; x += 32, out += 128) {
    const __m256i luma = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(y + x));
    const __m256i crWords =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cr + x / 2)));
    const __m256i cbWords =
        _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(cb + x / 2)));
    const __m256i dr = _mm256_slli_epi16(_mm256_sub_epi16(crWords, offset), 8);
    const __m256i db = _mm256_slli_epi16(_mm256_sub_epi16(cbWords, offset), 8);
    const __m256i r = _mm256_mulhi_epi16(dr, Splat(359));
    const __m256i g = _mm256_add_epi16(_mm256_mulhi_epi16(dr, Splat(183)), _mm256_mulhi_epi16(db, Splat(88)));
    const __m256i b = _mm256_mulhi_epi16(db, Splat(454));
    // Halves hold pixels 0–7 | 16–23 (lo) and 8–15 | 24–31 (hi), for luma and chroma alike.
    const __m256i lumaLo = _mm256_unpacklo_epi8(luma, zero);
    const __m256i lumaHi = _mm256_unpackhi_epi8(luma, zero);
    const __m256i red = _mm256_packus_epi16(_mm256_add_epi16(lumaLo, _mm256_unpacklo_epi16(r, r)),
                                            _mm256_add_epi16(lumaHi, _mm256_unpackhi_epi16(r, r)));
    const __m256i green = _mm256_packus_epi16(_mm256_sub_epi16(lumaLo, _mm256_unpacklo_epi16(g, g)),
                                              _mm256_sub_epi16(lumaHi, _mm256_unpackhi_epi16(g, g)));
    const __m256i blue = _mm256_packus_epi16(_mm256_add_epi16(lumaLo, _mm256_unpacklo_epi16(b, b)),
                                             _mm256_add_epi16(lumaHi, _mm256_unpackhi_epi16(b, b)));
    const __m256i bgLo = _mm256_unpacklo_epi8(blue, green);
    const __m256i bgHi = _mm256_unpackhi_epi8(blue, green);
    const __m256i r0Lo = _mm256_unpacklo_epi8(red, zero);
    const __m256i r0Hi = _mm256_unpackhi_epi8(red, zero);
    StoreHalves(out, _mm256_unpacklo_epi16(bgLo, r0Lo), _mm256_unpackhi_epi16(bgLo, r0Lo),
                _mm256_unpacklo_epi16(bgHi, r0Hi), _mm256_unpackhi_epi16(bgHi, r0Hi));
  }
  if (x < pixels) YCbCrRowSse2(y + x, cr + x / 2, cb + x / 2, out, pixels - x);
}

TKolvexKernel BestKolvexKernel() {
  return __builtin_cpu_supports("avx2") ? TKolvexKernel::Avx2 : TKolvexKernel::Sse2;
}

void InverseTransformAvx2(const TKolvexPlane& plane, const TDequantTable& dequant) {
  for (int by = 0; by < plane.blockRows; ++by) {
    const int first = by * plane.blockColumns;
    int bx = 0;
    for (; bx + 16 <= plane.blockColumns; bx += 16) TransformGroup(plane, dequant, first + bx);
    for (; bx + 8 <= plane.blockColumns; bx += 8) InverseTransformGroupSse2(plane, dequant, first + bx);
    for (; bx < plane.blockColumns; ++bx) InverseTransformBlockReference(plane, dequant, first + bx);
  }
}

}  // namespace vellmar
