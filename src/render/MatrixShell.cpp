#include "render/MatrixShell.h"

#include <cmath>
#include <cstring>

#include "geometry/Matrix.h"
#include "platform/Error.h"

namespace vellmar {

namespace {

constexpr TMatrix44 kIdentity = MatrixIdentity();

}  // namespace

TMatrixShell::TMatrixShell(ITransformTarget* device, uint32_t transformState)
    : device_(device), transformState_(transformState) {
  LoadIdentity();
}

bool TMatrixShell::SetMatrix(const TMatrix44& m) {
  matrix_ = m;
  for (float& v : matrix_.m) {
    if (std::fabs(double{v}) < 1e-7) v = 0.0f;
  }
  inverseValid_ = false;
  if (device_ != nullptr) device_->SetTransform(transformState_, matrix_);
  isIdentity_ = std::memcmp(matrix_.m.data(), kIdentity.m.data(), sizeof(TMatrix44)) == 0;
  return isIdentity_;
}

void TMatrixShell::LoadIdentity() {
  SetMatrix(kIdentity);
}

void TMatrixShell::Apply() {
  if (device_ != nullptr) device_->SetTransform(transformState_, matrix_);
}

void TMatrixShell::PushMatrix() {
  if (top_ >= kMaxDepth - 1) throw EVellmarError("TMatrixShell.PushMatrix overflow");
  if (static_cast<int32_t>(stack_.size()) < top_ + 2) stack_.resize(static_cast<size_t>(top_ + 2));
  ++top_;
  stack_[static_cast<size_t>(top_)] = matrix_;
}

void TMatrixShell::PopMatrix() {
  if (top_ < 0) throw EVellmarError("TMatrixShell.PopMatrix overflow");
  SetMatrix(stack_[static_cast<size_t>(top_)]);
  --top_;
}

void TMatrixShell::Multiply(const TMatrix44& m, bool after) {
  SetMatrix(after ? MatrixMultiply(matrix_, m) : MatrixMultiply(m, matrix_));
}

void TMatrixShell::Scale(bool after, double x, double y, double z) {
  TMatrix44 m = kIdentity;
  m[0] = static_cast<float>(x);
  m[5] = static_cast<float>(y);
  m[10] = static_cast<float>(z);
  Multiply(m, after);
}

void TMatrixShell::Translate(bool after, double x, double y, double z) {
  TMatrix44 m = kIdentity;
  m[12] = static_cast<float>(x);
  m[13] = static_cast<float>(y);
  m[14] = static_cast<float>(z);
  Multiply(m, after);
}

void TMatrixShell::RotateZ(bool after, double angle) {
  MultiplyRotation(after, std::cos(angle), std::sin(angle));
}

void TMatrixShell::RotateByVector(bool after, double s, double c) {
  const double length = std::sqrt(s * s + c * c);
  MultiplyRotation(after, c / length, s / length);
}

void TMatrixShell::MultiplyRotation(bool after, double cosA, double sinA) {
  TMatrix44 m = kIdentity;
  m[0] = static_cast<float>(cosA);
  m[1] = static_cast<float>(-sinA);
  m[4] = static_cast<float>(sinA);
  m[5] = static_cast<float>(cosA);
  Multiply(m, after);
}

TXYZ TMatrixShell::TransformPoint(const TXYZ& p) const {
  return isIdentity_ ? p : MatrixTransformPoint(matrix_, p);
}

TXYZ TMatrixShell::InverseTransformPoint(const TXYZ& p) const {
  if (isIdentity_) return p;
  if (!inverseValid_) {
    inverse_ = MatrixInvert(matrix_);
    inverseValid_ = true;
  }
  return MatrixTransformPoint(inverse_, p);
}

}  // namespace vellmar
