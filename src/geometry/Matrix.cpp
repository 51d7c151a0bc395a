#include "geometry/Matrix.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace vellmar {

namespace {

using TRows = std::array<std::array<double, 4>, 4>;

TRows Widen(const TMatrix44& m) {
  TRows r{};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) r[i][j] = m.at(i, j);
  }
  return r;
}

TRows Product(const TRows& a, const TRows& b) {
  TRows r{};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[i][k] * b[k][j];
      r[i][j] = sum;
    }
  }
  return r;
}

TRows IdentityRows() {
  TRows r{};
  for (int i = 0; i < 4; ++i) r[i][i] = 1.0;
  return r;
}

TMatrix44 Narrow(const TRows& r) {
  TMatrix44 m;
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) m.at(i, j) = static_cast<float>(r[i][j]);
  }
  return m;
}

}  // namespace

TMatrix44 MatrixMultiply(const TMatrix44& a, const TMatrix44& b) {
  return Narrow(Product(Widen(a), Widen(b)));
}

TMatrix44 MatrixInvert(const TMatrix44& m) {
  // T takes the translation (as seen through w) back out of m, leaving only the
  // linear part for the elimination.
  const TXYZ t = MatrixTransformPoint(m, TXYZ{});
  TRows shift = IdentityRows();
  shift[3] = {-double{t.x}, -double{t.y}, -double{t.z}, 1.0};
  TRows a = Product(Widen(m), shift);
  TRows r = IdentityRows();

  for (int i = 0; i < 4; ++i) {
    int pivot = i;
    for (int k = i + 1; k < 4; ++k) {
      if (std::fabs(a[k][i]) > std::fabs(a[pivot][i])) pivot = k;
    }
    if (a[pivot][i] == 0.0) {
      TMatrix44 undefined;
      undefined.m.fill(std::numeric_limits<float>::quiet_NaN());
      return undefined;
    }
    std::swap(a[i], a[pivot]);
    std::swap(r[i], r[pivot]);
    const double scale = 1.0 / a[i][i];
    for (int k = 0; k < 4; ++k) {
      a[i][k] *= scale;
      r[i][k] *= scale;
    }
    for (int j = 3; j >= 0; --j) {
      if (j == i) continue;
      const double factor = a[j][i];
      for (int k = 0; k < 4; ++k) {
        a[j][k] -= factor * a[i][k];
        r[j][k] -= factor * r[i][k];
      }
    }
  }
  return Narrow(Product(shift, r));
}

TXYZ MatrixTransformPoint(const TMatrix44& m, const TXYZ& p) {
  double out[4];
  for (int j = 0; j < 4; ++j) {
    out[j] = double{p.x} * m.at(0, j) + double{p.y} * m.at(1, j) + double{p.z} * m.at(2, j) + m.at(3, j);
  }
  return TXYZ{static_cast<float>(out[0] / out[3]), static_cast<float>(out[1] / out[3]),
              static_cast<float>(out[2] / out[3])};
}

TPlane PlaneThrough(const TXYZ& p, const TXYZ& q) {
  const double nx = double{q.x} - p.x;
  const double ny = double{q.y} - p.y;
  const double nz = double{q.z} - p.z;
  return TPlane{static_cast<float>(nx), static_cast<float>(ny), static_cast<float>(nz),
                static_cast<float>(-(nx * p.x + ny * p.y + nz * p.z))};
}

}  // namespace vellmar
