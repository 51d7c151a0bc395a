// The hub's window and relay in this process, with a real viewer window connected over
// the run's own socket: the list of viewers, the last view and the station field.

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "document/SyncMessage.h"
#include "HubForm.h"
#include "HubServer.h"
#include "items/road/StationView.h"
#include "shell/sync/SyncServerName.h"
#include "shell/sync/VellmarSync.h"
#include "shell/ui/Translation.h"
#include "ShellFixture.h"
#include "WaitSoon.h"

namespace vellmar::test {
namespace {

constexpr int kPatienceMs = 20000;

class HubFormTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_FALSE(server_.Listen(SyncServerName()).has_value());
    hub_ = std::make_unique<THubForm>(server_, SyncServerName());
    hub_->show();
    const QString street = DemoCopy("street.pln");
    form_->OpenFiles({street});
    ASSERT_SOON(Streets().CurrentFileName() == street, kPatienceMs);
    ASSERT_SOON(form_->Sync().IsConnected() && server_.Clients().size() == 1, kPatienceMs);
  }
  void TearDown() override {
    hub_.reset();
    ShellTest::TearDown();
  }
  QListWidget& Clients() { return *hub_->findChild<QListWidget*>(); }

  THubServer server_;
  std::unique_ptr<THubForm> hub_;
};

TEST_F(HubFormTest, TheStationFieldPointsTheViewersAtTheAxisAndRefusesWhatIsNoNumber) {
  EXPECT_EQ(Clients().count(), 1);
  auto* station = hub_->findChild<QLineEdit*>(QStringLiteral("Station"));
  ASSERT_NE(station, nullptr);
  TAbstractItem* axis = Drawer().Street().MainAxis();
  ASSERT_NE(axis, nullptr);
  struct TCase {
    QString Text;
    std::optional<double> Station;  // none: the viewer stays where it is
  };
  const TCase cases[] = {{"12.5", 12.5}, {" -30 ", -30.0}, {"abc", std::nullopt}, {"1e40", std::nullopt},
                         {"", std::nullopt}, {"40", 40.0}};
  // Away from every station's centre and turned, so that text read as station 0 (or as
  // any station) would move the viewer.
  const TViewState away{{7, 8, 0}, 0.5f, 0.25f};
  const std::optional<TViewState> atZero = ViewAtStation(axis->Points(), 0.0, away);
  ASSERT_TRUE(atZero);
  ASSERT_NE(EncodeViewMessage(*atZero), EncodeViewMessage(away));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text.toStdString());
    Drawer().SetView(away);
    Settle();
    station->setText(c.Text);
    QTest::keyClick(station, Qt::Key_Return);
    if (c.Station) {
      const std::optional<TViewState> expected = ViewAtStation(axis->Points(), *c.Station, away);
      ASSERT_TRUE(expected);
      ASSERT_SOON(EncodeViewMessage(Drawer().View()) == EncodeViewMessage(*expected), kPatienceMs);
    } else {
      // A station sent reaches this viewer over the local socket well within this wait.
      QTest::qWait(300);
      EXPECT_EQ(EncodeViewMessage(Drawer().View()), EncodeViewMessage(away));
    }
  }
}

TEST_F(HubFormTest, AViewerWhoseStreetHasNoAxisStaysWhereItIs) {
  TMainForm bare(std::make_unique<TScriptedPrompts>());
  bare.show();
  bare.Drawer().SetView({{7, 8, 0}, 0.5f, 0.25f});
  ASSERT_SOON(bare.Sync().IsConnected() && server_.Clients().size() == 2, kPatienceMs);
  ASSERT_EQ(bare.Drawer().Street().MainAxis(), nullptr);
  SetPlainView();
  server_.SendStation(10.0f);
  // The viewer with the axis has moved, so the message has been delivered to both.
  ASSERT_SOON(Drawer().Centre().x != 0.0f, kPatienceMs);
  QTest::qWait(200);
  EXPECT_EQ(EncodeViewMessage(bare.Drawer().View()), EncodeViewMessage({{7, 8, 0}, 0.5f, 0.25f}));
}

TEST_F(HubFormTest, TheHubShowsTheActiveViewersViewAndForgetsAViewerThatLeft) {
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  Drawer().SetView({{3, 4, 0}, 0.125f, 0.5f});
  form_->PlanChanged();
  ASSERT_SOON(server_.LastView().has_value() && EncodeViewMessage(*server_.LastView()) ==
                                                                  EncodeViewMessage(Drawer().View()),
                           kPatienceMs);
  form_.reset();
  ASSERT_SOON(server_.Clients().empty() && Clients().count() == 0, kPatienceMs);
}

// The hub's window in both languages: every text whole within the window, none left in
// the other language.
TEST(HubFormLanguage, TextsAreWholeAndInTheChosenLanguage) {
  for (const QLocale::Language language : {QLocale::English, QLocale::Russian}) {
    ClearSettings();
    const TTranslation translation{QLocale(language)};
    THubServer server;
    THubForm hub(server, QStringLiteral("a-rather-long-socket-name-of-a-user-session"));
    hub.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&hub));
    for (const QLabel* label : hub.findChildren<QLabel*>()) {
      if (label->text().isEmpty()) continue;
      SCOPED_TRACE(label->text().toStdString());
      const QString text = label->text();
      const bool cyrillic =
          std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04FF; });
      EXPECT_EQ(cyrillic, language == QLocale::Russian);
      if (!label->wordWrap()) {
        EXPECT_GE(label->width(), label->sizeHint().width());
      }
      EXPECT_LE(label->geometry().right(), hub.width());
    }
  }
}

}  // namespace
}  // namespace vellmar::test
