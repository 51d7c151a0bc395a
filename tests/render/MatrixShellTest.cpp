#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "geometry/Matrix.h"
#include "geometry/Vector.h"
#include "platform/Error.h"
#include "render/MatrixShell.h"

namespace vellmar {
namespace {

constexpr double kPi = std::numbers::pi;

class TRecordingTarget final : public ITransformTarget {
 public:
  struct TCall {
    uint32_t state;
    TMatrix44 matrix;
  };
  void SetTransform(uint32_t transformState, const TMatrix44& matrix) override {
    calls.push_back(TCall{transformState, matrix});
  }
  std::vector<TCall> calls;
};

bool SameMatrix(const TMatrix44& a, const TMatrix44& b) {
  return a.m == b.m;
}

TEST(MatrixShell, FreshShellIsIdentityAndLeavesPointsAlone) {
  TMatrixShell shell;
  EXPECT_TRUE(shell.IsIdentity());
  EXPECT_TRUE(SameMatrix(shell.GetMatrix(), MatrixIdentity()));
  // No arithmetic at all: a product with the identity would turn -0 into +0.
  const TXYZ p = TXYZ{1e30f, -0.0f, 7.0f};
  const TXYZ q = shell.TransformPoint(p);
  EXPECT_EQ(q.x, p.x);
  EXPECT_TRUE(std::signbit(q.y));
  EXPECT_EQ(shell.InverseTransformPoint(p).x, p.x);
}

TEST(MatrixShell, TranslateAndRightAngleRotation) {
  TMatrixShell shell;
  shell.Translate(false, 1, 2, 0);
  EXPECT_FALSE(shell.IsIdentity());
  const TXYZ moved = shell.TransformPoint(MakeXYZ(0, 0, 0));
  EXPECT_EQ(moved.x, 1.0f);
  EXPECT_EQ(moved.y, 2.0f);

  shell.LoadIdentity();
  shell.RotateZ(false, kPi / 2);
  // cos(pi/2) is not quite 0 in double; the clean-up must make it exactly 0.
  EXPECT_EQ(shell.GetMatrix()[0], 0.0f);
  EXPECT_EQ(shell.GetMatrix()[5], 0.0f);
  const TXYZ turned = shell.TransformPoint(MakeXYZ(1, 0, 0));
  EXPECT_EQ(turned.x, 0.0f);
  EXPECT_EQ(turned.y, -1.0f);  // clockwise on a y-up plan
}

TEST(MatrixShell, RotateByVectorMatchesRotateZWithoutTrigonometry) {
  TMatrixShell byAngle;
  TMatrixShell byVector;
  byAngle.RotateZ(false, std::atan2(3.0, 4.0));
  byVector.RotateByVector(false, 30, 40);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(byAngle.GetMatrix()[i], byVector.GetMatrix()[i]) << i;
}

TEST(MatrixShell, RotationBackToStartIsIdentityAgain) {
  TMatrixShell shell;
  shell.RotateZ(false, kPi / 2);
  shell.RotateZ(false, -kPi / 2);
  EXPECT_TRUE(shell.IsIdentity());
  EXPECT_TRUE(shell.SetMatrix(MatrixIdentity()));
}

TEST(MatrixShell, CompositionOrderFollowsAfterFlag) {
  // Issued with after = false, the last call acts on points first: scale, then translate.
  TMatrixShell before;
  before.Translate(false, 10, 0, 0);
  before.Scale(false, 2, 2, 1);
  const TXYZ p = before.TransformPoint(MakeXYZ(1, 1, 0));
  EXPECT_EQ(p.x, 12.0f);
  EXPECT_EQ(p.y, 2.0f);

  TMatrixShell after;
  after.Translate(true, 10, 0, 0);
  after.Scale(true, 2, 2, 1);
  const TXYZ q = after.TransformPoint(MakeXYZ(1, 1, 0));
  EXPECT_EQ(q.x, 22.0f);
  EXPECT_EQ(q.y, 2.0f);

  // An existing transform maps last when new ones come before it.
  TMatrixShell nested;
  nested.RotateZ(false, kPi / 2);
  nested.Translate(false, 1, 0, 0);
  const TXYZ r = nested.TransformPoint(MakeXYZ(0, 0, 0));
  EXPECT_EQ(r.x, 0.0f);
  EXPECT_EQ(r.y, -1.0f);
}

TEST(MatrixShell, StackHoldsSixtyFourMatrices) {
  TMatrixShell shell;
  for (int i = 0; i < 64; ++i) {
    shell.Translate(false, 1, 0, 0);
    shell.PushMatrix();
  }
  const TMatrix44 top = shell.GetMatrix();
  try {
    shell.PushMatrix();
    FAIL() << "the 65th push must fail";
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TMatrixShell.PushMatrix overflow");
  }
  EXPECT_TRUE(SameMatrix(shell.GetMatrix(), top));
  for (int i = 64; i > 0; --i) {
    shell.PopMatrix();
    EXPECT_EQ(shell.TransformPoint(MakeXYZ(0, 0, 0)).x, static_cast<float>(i));
  }
  try {
    shell.PopMatrix();
    FAIL() << "a pop on the empty stack must fail";
  } catch (const EVellmarError& e) {
    EXPECT_STREQ(e.what(), "TMatrixShell.PopMatrix overflow");
  }
  EXPECT_EQ(shell.TransformPoint(MakeXYZ(0, 0, 0)).x, 1.0f);
  // The failed push left the stack usable.
  shell.PushMatrix();
  shell.PopMatrix();
}

TEST(MatrixShell, BoundShellSendsEveryChangeAndTheRestoredMatrix) {
  TRecordingTarget target;
  TMatrixShell shell(&target, D3DTS_VIEW);
  ASSERT_EQ(target.calls.size(), 1u);  // the initial identity
  EXPECT_EQ(target.calls[0].state, D3DTS_VIEW);
  EXPECT_TRUE(SameMatrix(target.calls[0].matrix, MatrixIdentity()));

  shell.Translate(false, 3, 4, 0);
  const TMatrix44 saved = shell.GetMatrix();
  shell.PushMatrix();
  EXPECT_EQ(target.calls.size(), 2u);  // saving changes nothing on the device
  shell.RotateZ(false, 0.3);
  shell.Scale(false, 2, 2, 2);
  EXPECT_EQ(target.calls.size(), 4u);
  EXPECT_TRUE(SameMatrix(target.calls.back().matrix, shell.GetMatrix()));
  shell.PopMatrix();
  ASSERT_EQ(target.calls.size(), 5u);
  EXPECT_TRUE(SameMatrix(shell.GetMatrix(), saved));
  EXPECT_TRUE(SameMatrix(target.calls.back().matrix, saved));
  shell.Apply();
  EXPECT_EQ(target.calls.size(), 6u);
  EXPECT_EQ(target.calls.back().state, D3DTS_VIEW);
}

TEST(MatrixShell, InverseTransformUndoesTransformAndFollowsChanges) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<double> value(-100.0, 100.0);
  TMatrixShell shell;
  for (int n = 0; n < 200; ++n) {
    shell.LoadIdentity();
    shell.Translate(false, value(rng), value(rng), value(rng));
    shell.RotateZ(false, value(rng));
    shell.Scale(false, 0.5 + std::fabs(value(rng)), 0.5 + std::fabs(value(rng)), 1);
    const TXYZ p = MakeXYZ(value(rng), value(rng), value(rng));
    // The shell is reused, so an inverse cached in the previous round and not dropped would show.
    const TXYZ back = shell.InverseTransformPoint(shell.TransformPoint(p));
    ASSERT_NEAR(back.x, p.x, 1e-3);
    ASSERT_NEAR(back.y, p.y, 1e-3);
    ASSERT_NEAR(back.z, p.z, 1e-3);
  }
}

}  // namespace
}  // namespace vellmar
