// Frames of the real window: coalesced redraws, errors while drawing, and the picture.

#include <utility>

#include <QFrame>
#include <QImage>
#include <QTabBar>

#include "document/StreetStructure.h"
#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "shell/plan/FloatingAction.h"
#include "shell/plan/FloatingButton.h"
#include "shell/plan/PlanSurface.h"
#include "render/DisplayRenderer.h"
#include "shell/print/PrintForm.h"
#include "ShellFixture.h"

namespace vellmar::test {

TEST_F(ShellTest, SeveralChangesWithinATickDrawOneFrame) {
  Settle();
  const int before = form_->FrameCount();
  for (int i = 0; i < 5; ++i) form_->PlanChanged();
  QTest::qWait(100);
  EXPECT_EQ(form_->FrameCount(), before + 1);
  QTest::qWait(100);
  EXPECT_EQ(form_->FrameCount(), before + 1) << "an idle window draws nothing";
}

TEST_F(ShellTest, AnErrorWhileDrawingIsShownOnceAndTheWindowGoesOn) {
  bool fail = true;
  form_->AddDrawHook([&](const TDxDrawParams&) {
    if (fail) throw EVellmarError("TTest.Draw: broken tile");
  });
  for (int i = 0; i < 4; ++i) {
    form_->PlanChanged();
    Settle();
  }
  EXPECT_EQ(prompts_->Messages, QStringList{QStringLiteral("TTest.Draw: broken tile")});
  fail = false;
  const int before = form_->FrameCount();
  form_->PlanChanged();
  Settle();
  EXPECT_EQ(form_->FrameCount(), before + 1) << "the frame bracket was closed after the failure";
  EXPECT_EQ(prompts_->Messages.size(), 1);
}

TEST_F(ShellTest, WarningsAreShownOneBoxAtATimeAndNotTwice) {
  bool reported = false;
  prompts_->WhileShowing = [&] {
    // A warning raised while a box is open waits for it instead of opening another.
    if (!std::exchange(reported, true)) ReportWarning("C");
    QTest::qWait(20);
  };
  ReportWarning("A");
  ReportWarning("A");
  ReportWarning("B");
  QTest::qWait(100);
  EXPECT_EQ(prompts_->Messages, (QStringList{"A", "B", "C"}));
  EXPECT_EQ(prompts_->DeepestNesting, 1);
}

TEST_F(ShellTest, TheDemoStreetIsDrawnInTheWindow) {
  form_->OpenFiles({DemoCopy("demo.pln")});
  Drawer().ShowAllView();
  form_->PlanChanged();
  Settle();
  const QImage picture = form_->Surface().grabFramebuffer();
  ASSERT_FALSE(picture.isNull());
  int coloured = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb pixel = picture.pixel(x, y);
      if (qRed(pixel) < 240 || qGreen(pixel) < 240 || qBlue(pixel) < 240) ++coloured;
    }
  }
  // The fitted avenue covers a band across the middle; an undrawn frame is white.
  EXPECT_GT(coloured, picture.width() * picture.height() / 50);
  EXPECT_EQ(picture.pixel(2, picture.height() - 3), qRgb(255, 255, 255)) << "the corner is background";
}

TEST_F(ShellTest, TheSixteenViewButtonsMakeOneRowOf28PixelButtons) {
  QFrame& panel = form_->ActionPanel();
  EXPECT_EQ(panel.contentsRect().size(), QSize(16 * 28, 28));
  // A hidden action leaves no gap.
  TFloatingAction& hidden = form_->FloatingActions().Named("ShiftRight");
  hidden.OnUpdateState = [](TFloatingAction& action) { action.SetVisible(false); };
  form_->PlanChanged();
  EXPECT_EQ(panel.contentsRect().size(), QSize(15 * 28, 28));
  EXPECT_FALSE(hidden.ExistingButton()->isVisible());
  EXPECT_EQ(form_->FloatingActions().Named("ShiftUp").ExistingButton()->x(), 2 * 28);
}

TEST_F(ShellTest, TheAllStreetsButtonTogglesAndShowsItsState) {
  TFloatingAction& action = form_->FloatingActions().Named("AllStreetsDraw");
  TFloatingButton* button = action.ExistingButton();
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(action.Down());
  EXPECT_TRUE(Drawer().AllStreets());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(action.Down());
  EXPECT_FALSE(Drawer().AllStreets());
}

TEST_F(ShellTest, APlainButtonReleasedOffItRunsNothing) {
  TFloatingAction& action = form_->FloatingActions().Named("ShiftLeft");
  TFloatingButton* button = action.ExistingButton();
  SetPlainView();
  QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_TRUE(action.Down());
  QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
  EXPECT_FALSE(action.Down());
  EXPECT_EQ(Drawer().Centre().x, 0.0f);
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_LT(Drawer().Centre().x, 0.0f);
}

TEST_F(ShellTest, WithAllStreetsShownAChangeOfTabKeepsTheView) {
  form_->OpenFiles({DemoCopy("a.pln"), DemoCopy("b.pln")});
  QTest::mouseClick(form_->FloatingActions().Named("AllStreetsDraw").ExistingButton(), Qt::LeftButton);
  Drawer().SetView({{12.0f, 34.0f, 0.0f}, 0.5f, 0.25f});
  form_->StreetsTab().setCurrentIndex(0);
  EXPECT_EQ(Streets().CurrentIndex(), 0);
  EXPECT_EQ(Drawer().Centre().x, 12.0f);
  EXPECT_EQ(Drawer().Scale(), 0.5f);
  form_->PlanChanged();
  Settle();
  EXPECT_TRUE(prompts_->Messages.isEmpty());
}

// Printing works: the button opens the print window over the plan instead of the old
// "not working yet" message, and closing it leaves nothing behind.
TEST_F(ShellTest, ThePrintButtonOpensThePrintWindow) {
  form_->PrintSetupExecute();
  auto* print = form_->findChild<TPrintForm*>();
  ASSERT_NE(print, nullptr);
  EXPECT_TRUE(print->isVisible());
  EXPECT_TRUE(prompts_->Messages.isEmpty());
  print->close();
  // Deleted on close, by a deferred delete.
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_->findChild<TPrintForm*>() == nullptr; }, 10000));
}

// A resize keeps the window's device and the buffers it holds, so nothing is built or
// uploaded again, and the frame follows the new size.
TEST_F(ShellTest, AResizeKeepsTheDeviceAndItsVerticesAndDrawsAtTheNewSize) {
  form_->OpenFiles({DemoCopy("demo.pln")});
  Drawer().ShowAllView();
  form_->PlanChanged();
  Settle();
  TStreetStructure& street = Drawer().Street();
  const auto held = [&] {
    size_t bytes = 0;
    for (int32_t kind = 0; kind < kKindCount; ++kind)
      for (const TKindCollection& collection : street.KindCollections(kind)) bytes += collection->HeldVertexBytes();
    return bytes;
  };
  const auto onDevice = [&] {
    size_t bytes = 0;
    for (int32_t kind = 0; kind < kKindCount; ++kind)
      for (const TKindCollection& collection : street.KindCollections(kind)) bytes += collection->DeviceVertexBytes();
    return bytes;
  };
  const TDisplayRenderer* renderer = form_->Renderer();
  ASSERT_NE(renderer, nullptr);
  const size_t kept = held();
  const size_t uploaded = onDevice();
  ASSERT_GT(uploaded, 0u);
  const QSize before = form_->Surface().DeviceSize();
  const int frames = form_->FrameCount();
  form_->resize(form_->width() + 160, form_->height() + 100);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->Surface().DeviceSize() != before; }, 2000));
  form_->PlanChanged();
  Settle();
  const QSize after = form_->Surface().DeviceSize();
  EXPECT_GT(form_->FrameCount(), frames);
  EXPECT_EQ(form_->Renderer(), renderer) << "the same renderer and device";
  EXPECT_EQ(renderer->Width(), after.width());
  EXPECT_EQ(renderer->Height(), after.height());
  EXPECT_EQ(renderer->Viewport().Width, static_cast<uint32_t>(after.width()));
  EXPECT_EQ(held(), kept) << "nothing built again";
  EXPECT_EQ(onDevice(), uploaded) << "no buffer made again";
  const QImage picture = form_->Surface().grabFramebuffer();
  ASSERT_EQ(picture.size(), after);
  // The fitted street lies in the middle of the new frame: pixels off white on the
  // middle row reach past the old frame's width.
  int rightmost = -1;
  for (int x = 0; x < picture.width(); ++x) {
    const QRgb pixel = picture.pixel(x, picture.height() / 2);
    if (qRed(pixel) < 240 || qGreen(pixel) < 240 || qBlue(pixel) < 240) rightmost = x;
  }
  EXPECT_GT(rightmost, picture.width() / 2);
}

}  // namespace vellmar::test
