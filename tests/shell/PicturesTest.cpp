// The cursors and pictures drawn in code: numbered as fixed, each its own, sharp at a
// device pixel ratio of 2.

#include <set>

#include <QCryptographicHash>
#include <QImage>

#include "shell/ui/Pictures.h"
#include "ShellFixture.h"

namespace vellmar::test {

namespace {

QByteArray Fingerprint(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  return QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()), QCryptographicHash::Sha1);
}

bool Blank(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return false;
  return true;
}

}  // namespace

TEST(Pictures, The35CursorsAreDistinctAndHaveTheirTipAtTheTopLeft) {
  std::set<QByteArray> seen;
  for (int number = kFirstCursor; number < kFirstCursor + kCursorCount; ++number) {
    const QPixmap picture = CursorPicture(number, 1.0);
    ASSERT_EQ(picture.size(), QSize(32, 32)) << number;
    EXPECT_TRUE(seen.insert(Fingerprint(picture)).second) << "cursor " << number << " repeats another";
    EXPECT_GT(qAlpha(picture.toImage().pixel(1, 1)), 0) << "cursor " << number << " hot spot is on its tip";
    EXPECT_EQ(CustomCursor(number, 1.0).hotSpot(), QPoint(0, 0));
  }
  EXPECT_EQ(CustomCursor(kFirstCursor + kCursorCount, 1.0).shape(), Qt::ArrowCursor);
}

TEST(Pictures, ButtonsAreDrawnAtTheDevicePixelRatio) {
  using P = TButtonPicture;
  std::set<QByteArray> seen;
  for (P p : {P::ShiftDown, P::ShiftLeft, P::ShiftRight, P::ShiftUp, P::ShowAll, P::RotCCW, P::RotCW, P::ScaleUp,
              P::ScaleDown, P::ShiftView, P::SelectArea, P::Zoom, P::Rotate, P::Identify, P::Measure,
              P::AllStreets}) {
    const QPixmap sharp = ButtonPicture(p, 2.0);
    EXPECT_EQ(sharp.size(), QSize(48, 48)) << static_cast<int>(p);
    EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(24, 24));
    EXPECT_FALSE(Blank(sharp)) << static_cast<int>(p);
    EXPECT_TRUE(seen.insert(Fingerprint(sharp)).second) << "button " << static_cast<int>(p) << " repeats another";
  }
  for (TTabPicture t : {TTabPicture::Pristine, TTabPicture::Saved, TTabPicture::Modified})
    EXPECT_TRUE(seen.insert(Fingerprint(TabPicture(t, 2.0))).second);
}

}  // namespace vellmar::test
