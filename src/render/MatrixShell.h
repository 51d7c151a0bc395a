#pragma once
// One current transform with a stack of saved ones. Bound to a transform target it
// sends every change there at once; free-standing (target nullptr) it only maps points.
// The shell does not own its target, which must outlive it.

#include <cstdint>
#include <vector>

#include "geometry/Matrix44.h"
#include "geometry/XYZ.h"
#include "render/TransformTarget.h"

namespace vellmar {

class TMatrixShell {
 public:
  static constexpr int32_t kMaxDepth = 64;

  explicit TMatrixShell(ITransformTarget* device = nullptr, uint32_t transformState = D3DTS_WORLD);

  // Elements below 1e-7 in magnitude become 0 so that rotations by right angles and
  // products that should cancel compare exactly; returns whether the result is the identity.
  bool SetMatrix(const TMatrix44& m);
  void LoadIdentity();
  TMatrix44 GetMatrix() const { return matrix_; }
  bool IsIdentity() const { return isIdentity_; }
  // Sends the current matrix to the target again (after the device lost it).
  void Apply();

  // Both throw EVellmarError and leave the shell unchanged on overflow.
  void PushMatrix();
  void PopMatrix();

  // after = false puts m before the current transform (points go through m first);
  // after = true puts it after.
  void Multiply(const TMatrix44& m, bool after);
  void Scale(bool after, double x, double y, double z);
  void Translate(bool after, double x, double y, double z);
  // A positive angle (radians) turns a y-up picture clockwise.
  void RotateZ(bool after, double angle);
  // RotateZ by the angle whose sine and cosine are proportional to s and c.
  void RotateByVector(bool after, double s, double c);

  TXYZ TransformPoint(const TXYZ& p) const;
  TXYZ InverseTransformPoint(const TXYZ& p) const;

 private:
  void MultiplyRotation(bool after, double cosA, double sinA);

  std::vector<TMatrix44> stack_;  // grows on demand, never shrinks
  int32_t top_ = -1;
  ITransformTarget* device_;
  uint32_t transformState_;
  TMatrix44 matrix_;
  mutable TMatrix44 inverse_;
  mutable bool inverseValid_ = false;
  bool isIdentity_ = false;
};

}  // namespace vellmar
