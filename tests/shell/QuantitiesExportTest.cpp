// The quantities panel and the export action on the demo street, through the real
// window: the panel's table is the street's own quantities and follows the tabs, its
// CSV button writes the table; "Export…" writes the shown kinds, and a failure is told
// in the status line with nothing written.

#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include <fstream>
#include <iterator>

#include "ShellFixture.h"
#include "WaitSoon.h"
#include "document/StreetStructure.h"
#include "export/Quantities.h"
#include "shell/tools/PlanExportAction.h"
#include "shell/tools/QuantitiesPanel.h"

namespace vellmar::test {
namespace {

class QuantitiesExportTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    form_->OpenFilesInBackground({DemoCopy("demo.pln")});
    WaitForOpening();
    ASSERT_SOON(Drawer().Street().MainAxis() != nullptr, 10000);
  }
  void TearDown() override {
    TQuantitiesPanel::SetFileChooser({});
    TPlanExportAction::SetFileChooser({});
    ShellTest::TearDown();
  }
  TQuantitiesPanel& Panel() { return *form_->findChild<TQuantitiesPanel*>(); }
  TPlanExportAction& Export() { return *form_->findChild<TPlanExportAction*>(); }
  QTreeWidgetItem* Section(int index) { return Panel().Table().topLevelItem(index); }
  // The row of a type under a section, nullptr when there is none.
  QTreeWidgetItem* TypeRow(int section, const QString& name) {
    QTreeWidgetItem* parent = Section(section);
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
      if (parent->child(i)->text(TQuantitiesPanel::kNameColumn) == name) return parent->child(i);
    }
    return nullptr;
  }
};

TEST_F(QuantitiesExportTest, ThePanelShowsTheStreetsQuantitiesAndFollowsTheTabs) {
  QTest::keyClick(form_.get(), Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_SOON(Panel().Dock().isVisible(), 5000);
  ASSERT_SOON(Panel().Table().topLevelItemCount() == 4, 5000);
  const TQuantities expected = CountQuantities(Drawer().Street());
  ASSERT_EQ(Section(0)->childCount(), static_cast<int>(expected.Markings.size()));
  for (const TMarkingQuantity& m : expected.Markings) {
    QTreeWidgetItem* row = TypeRow(0, QString::fromStdString(m.Type));
    ASSERT_NE(row, nullptr) << m.Type;
    EXPECT_EQ(row->text(TQuantitiesPanel::kCountColumn), QString::number(m.Count)) << m.Type;
    EXPECT_EQ(row->text(TQuantitiesPanel::kAreaColumn), QString::number(m.Area, 'f', 2)) << m.Type;
  }
  QTreeWidgetItem* zebra = TypeRow(0, QStringLiteral("1.14.1"));
  ASSERT_NE(zebra, nullptr) << "the demo's crossings";
  ASSERT_NE(TypeRow(1, QStringLiteral("5.19.1")), nullptr);
  EXPECT_EQ(TypeRow(1, QStringLiteral("5.19.1"))->childCount(), 1) << "one sign, with its station";

  // An empty street beside it: the table follows the tab.
  Streets().SetCurrentIndex(Streets().NewStreet());
  form_->PlanChanged();
  ASSERT_SOON(Section(0) != nullptr && Section(0)->childCount() == 0, 5000);
  Streets().SetCurrentIndex(0);
  form_->PlanChanged();
  ASSERT_SOON(Section(0) != nullptr && Section(0)->childCount() == static_cast<int>(expected.Markings.size()), 5000);
}

TEST_F(QuantitiesExportTest, TheCsvButtonWritesTheTableAndNamesAFolderItCannotWriteTo) {
  QTest::keyClick(form_.get(), Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_SOON(Panel().Dock().isVisible(), 5000);
  const std::filesystem::path csv = dir_ / "demo-quantities.csv";
  TQuantitiesPanel::SetFileChooser([&](const QString&, const QString& suggested, const QString&) {
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("demo-quantities.csv"))) << suggested.toStdString();
    return Q(csv);
  });
  QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("quantitiesCsv")), Qt::LeftButton);
  std::ifstream in(csv);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, QuantitiesCsv(CountQuantities(Drawer().Street())));
  EXPECT_TRUE(Panel().Note().text().contains(QStringLiteral("demo-quantities.csv")));

  TQuantitiesPanel::SetFileChooser([&](const QString&, const QString&, const QString&) { return Q(dir_ / "missing" / "q.csv"); });
  QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("quantitiesCsv")), Qt::LeftButton);
  EXPECT_TRUE(Panel().Note().text().contains(QStringLiteral("missing"))) << Panel().Note().text().toStdString();
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
}

TEST_F(QuantitiesExportTest, ExportWritesTheShownKindsAndReportsAFailure) {
  const std::filesystem::path dxf = dir_ / "demo.dxf";
  TPlanExportAction::SetFileChooser([&](const QString&, const QString& suggested, const QString& filter) {
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("demo.dxf"))) << suggested.toStdString();
    EXPECT_TRUE(filter.contains(QStringLiteral("*.gpkg")));
    return Q(dxf);
  });
  QTest::keyClick(form_.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(std::filesystem::exists(dxf));
  std::ifstream in(dxf);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("ROADWAY"), std::string::npos);
  EXPECT_NE(text.find("SIGN_5.19.1"), std::string::npos);
  EXPECT_TRUE(form_->statusBar()->currentMessage().contains(QStringLiteral("demo.dxf")));

  // The panel's button starts the same export.
  const std::filesystem::path gpkgLess = dir_ / "again.dxf";
  TPlanExportAction::SetFileChooser([&](const QString&, const QString&, const QString&) { return Q(gpkgLess); });
  QTest::keyClick(form_.get(), Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_SOON(Panel().Dock().isVisible(), 5000);
  QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("quantitiesExport")), Qt::LeftButton);
  EXPECT_TRUE(std::filesystem::exists(gpkgLess));

  EXPECT_FALSE(Export().ExportTo(Q(dir_ / "demo.shp")));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "demo.shp"));
  EXPECT_TRUE(form_->statusBar()->currentMessage().contains(QStringLiteral(".gpkg")))
      << form_->statusBar()->currentMessage().toStdString();
}

}  // namespace
}  // namespace vellmar::test
