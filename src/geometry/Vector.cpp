#include "geometry/Vector.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace vellmar {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

TXYZ Store(double x, double y, double z) {
  return TXYZ{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

}  // namespace

TXYZ MakeXYZ(double x, double y, double z) {
  return Store(x, y, z);
}

bool XYZEqual(const TXYZ& a, const TXYZ& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool XYZSame2D(const TXYZ& a, const TXYZ& b) {
  return std::memcmp(&a.x, &b.x, sizeof(float)) == 0 && std::memcmp(&a.y, &b.y, sizeof(float)) == 0;
}

double Slope(const TXYZ& a, const TXYZ& b) {
  return (double{b.y} - double{a.y}) / (double{b.x} - double{a.x});
}

TXYZ Midpoint(const TXYZ& a, const TXYZ& b) {
  return Store((double{a.x} + b.x) / 2, (double{a.y} + b.y) / 2, (double{a.z} + b.z) / 2);
}

TXYZ AddXYZ(const TXYZ& a, const TXYZ& b) {
  return Store(double{a.x} + b.x, double{a.y} + b.y, double{a.z} + b.z);
}

TXYZ SumXYZ(std::span<const TXYZ> list) {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  for (const TXYZ& p : list) {
    x += p.x;
    y += p.y;
    z += p.z;
  }
  return Store(x, y, z);
}

TXYZ SubXYZ(const TXYZ& a, const TXYZ& b) {
  return Store(double{b.x} - a.x, double{b.y} - a.y, double{b.z} - a.z);
}

double LengthXYZ(const TXYZ& v) {
  const double x = v.x;
  const double y = v.y;
  const double z = v.z;
  return std::sqrt(x * x + y * y + z * z);
}

double DistanceXYZ(const TXYZ& a, const TXYZ& b) {
  const double x = double{b.x} - a.x;
  const double y = double{b.y} - a.y;
  const double z = double{b.z} - a.z;
  return std::sqrt(x * x + y * y + z * z);
}

TXYZ SetLengthXYZ(const TXYZ& v, double length) {
  return ScaleXYZ(v, length / LengthXYZ(v));
}

TXYZ LerpXYZ(const TXYZ& a, const TXYZ& b, double t) {
  return Store(a.x + (double{b.x} - a.x) * t, a.y + (double{b.y} - a.y) * t, a.z + (double{b.z} - a.z) * t);
}

TXYZ ScaleXYZ(const TXYZ& v, double k) {
  return Store(v.x * k, v.y * k, v.z * k);
}

TXYZ PerpLeft(const TXYZ& v) {
  return TXYZ{-v.y, v.x, v.z};
}

TXYZ PerpRight(const TXYZ& v) {
  return TXYZ{v.y, -v.x, v.z};
}

TXYZ Negate2D(const TXYZ& v) {
  return TXYZ{-v.x, -v.y, v.z};
}

TXYZ RotateAngle(const TXYZ& v, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return Store(v.x * c - v.y * s, v.x * s + v.y * c, v.z);
}

TXYZ RotateDir(const TXYZ& v, double c, double s) {
  const double length = std::sqrt(c * c + s * s);
  c /= length;
  s /= length;
  return Store(v.x * c - v.y * s, v.x * s + v.y * c, v.z);
}

double AngleOf(const TXYZ& v) {
  double angle = std::atan2(double{v.y}, double{v.x});
  if (angle < 0.0) {
    angle += kTwoPi;
    // A tiny negative angle would round up to 2*pi itself and leave the range.
    if (angle >= kTwoPi) angle = std::nextafter(kTwoPi, 0.0);
  }
  return angle;
}

double AngleRelative(const TXYZ& dir, const TXYZ& v) {
  return AngleOf(RotateDir(v, dir.x, -double{dir.y}));
}

double AngleBetween(const TXYZ& a, const TXYZ& b, const TXYZ& c, const TXYZ& d) {
  return AngleRelative(SubXYZ(a, b), SubXYZ(c, d));
}

TXYZ MirrorAcross(const TXYZ& p, const TXYZ& dir) {
  const double length = std::sqrt(double{dir.x} * dir.x + double{dir.y} * dir.y);
  const double c = dir.x / length;
  const double s = dir.y / length;
  // Into the frame of dir, flip across its x axis, and back out.
  const double u = p.x * c + p.y * s;
  const double w = -(-p.x * s + p.y * c);
  return Store(u * c - w * s, u * s + w * c, p.z);
}

}  // namespace vellmar
