// Scalar reference of the decoder's pixel stages, written straight from the
// fixed-point rules; the vector kernels are tested byte for byte against it.

#include <algorithm>

#include "underlay/KolvexKernels.h"

namespace vellmar {

namespace {

int16_t Wrap(int value) {
  return static_cast<int16_t>(value);
}

// One pass over one input column: eight 16-bit inputs, eight outputs, every sum
// wrapping in 16 bits as the encoder assumed.
void TransformColumn(const int16_t (&x)[8], int16_t (&out)[8]) {
  for (int k = 0; k < 4; ++k) {
    int16_t t[8];
    for (int n = 0; n < 8; ++n) {
      const int product = x[n] * kKolvexCosine[n][k];
      t[n] = Wrap(Wrap((product >> 16) + 1) >> 1);
    }
    const int16_t even = Wrap(Wrap(t[0] + t[2]) + Wrap(t[4] + t[6]));
    const int16_t odd = Wrap(Wrap(t[1] + t[3]) + Wrap(t[5] + t[7]));
    out[k] = Wrap(even + odd);
    out[7 - k] = Wrap(even - odd);
  }
}

uint8_t Clamp(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

}  // namespace

void InverseTransformBlockReference(const TKolvexPlane& plane, const TDequantTable& dequant, int block) {
  const int blockCount = plane.blockColumns * plane.blockRows;
  int16_t x[64];
  for (int k = 0; k < 64; ++k) x[k] = Wrap(plane.coefficients[k * blockCount + block] * dequant[k]);

  int16_t z[8][8];
  for (int c = 0; c < 8; ++c) {
    int16_t column[8];
    for (int n = 0; n < 8; ++n) column[n] = x[8 * n + c];
    TransformColumn(column, z[c]);
  }
  const int stride = 8 * plane.blockColumns;
  uint8_t* origin =
      plane.pixels + (block / plane.blockColumns) * 8 * stride + (block % plane.blockColumns) * 8;
  for (int c = 0; c < 8; ++c) {
    int16_t column[8];
    int16_t row[8];
    for (int n = 0; n < 8; ++n) column[n] = z[n][c];
    TransformColumn(column, row);
    for (int k = 0; k < 8; ++k) origin[c * stride + k] = Clamp(row[k]);
  }
}

void InverseTransformReference(const TKolvexPlane& plane, const TDequantTable& dequant) {
  const int blockCount = plane.blockColumns * plane.blockRows;
  for (int block = 0; block < blockCount; ++block) InverseTransformBlockReference(plane, dequant, block);
}

void YCbCrRowReference(const uint8_t* y, const uint8_t* cr, const uint8_t* cb, uint8_t* out, int pixels) {
  for (int x = 0; x < pixels; ++x, out += 4) {
    // The offset 127 wraps in a signed byte: 255 stands for -128.
    const int dr = static_cast<int8_t>(static_cast<uint8_t>(cr[x / 2] - 127));
    const int db = static_cast<int8_t>(static_cast<uint8_t>(cb[x / 2] - 127));
    const int l = y[x];
    out[0] = Clamp(l + ((db * 256 * 454) >> 16));
    out[1] = Clamp(l - ((dr * 256 * 183) >> 16) - ((db * 256 * 88) >> 16));
    out[2] = Clamp(l + ((dr * 256 * 359) >> 16));
    out[3] = 0;
  }
}

void YCbCrToBgra(const TKolvexColourJob& job, TColourRow row) {
  const int chromaWidth = job.width / 2;
  const uint8_t* crPlane = job.image + job.width * job.height;
  const uint8_t* cbPlane = crPlane + chromaWidth * (job.height / 2);
  for (int y = 0; y < job.height; ++y) {
    const int chromaRow = (y / 2) * chromaWidth;
    row(job.image + y * job.width, crPlane + chromaRow, cbPlane + chromaRow, job.row0 + y * job.stride,
        job.width);
  }
}

}  // namespace vellmar
