// The print window of the real viewer on the virtual display: opened from the toolbar's
// print button on the demo street, it previews the sheet and writes a PDF of the sheet,
// a PDF of the view and a PNG of the view, with the file names given by the test, so no
// dialog is ever left waiting.

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QComboBox>
#include <QProgressBar>

#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "shell/files/StreetOpener.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/print/PrintForm.h"
#include "ShellFixture.h"
#include "support/PdfRaster.h"
#include "WaitSoon.h"
#include "support/Prerequisite.h"

namespace vellmar::test {
namespace {

QPushButton* Button(QWidget& form, const QString& text) {
  for (QPushButton* button : form.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

// Width and height from a PNG's header.
std::pair<uint32_t, uint32_t> PngSize(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  const auto word = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(bytes[at + i]);
    return v;
  };
  return {word(16), word(20)};
}

// The names of the files in a folder.
std::set<std::string> FileNames(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

class PrintFormTest : public ShellTest {
 protected:
  void TearDown() override {
    TPrintForm::SetFileChooser(nullptr);
    ShellTest::TearDown();
  }

  // The print button pressed on the demo street; the form it opens.
  TPrintForm* OpenPrintForm() {
    form_->OpenFiles({DemoCopy("demo.pln")});
    WaitForOpening();
    Settle();
    form_->PrintSetupExecute();
    auto* print = form_->findChild<TPrintForm*>();
    return print;
  }

  // The next file each export is given.
  QString next_;
  QStringList captions_;
  void ChooseFiles() {
    TPrintForm::SetFileChooser([this](const QString& caption, const QString&, const QString&) {
      captions_ << caption;
      return next_;
    });
  }
};

TEST_F(PrintFormTest, ExportsTheSheetAndTheViewAsPdfAndTheViewAsAPicture) {
  ChooseFiles();
  TPrintForm* print = OpenPrintForm();
  ASSERT_NE(print, nullptr);
  EXPECT_TRUE(print->isVisible());
  // The demo's sheet is offered first, previewed in its A3 landscape shape.
  EXPECT_EQ(print->PageChoice().currentIndex(), 1);
  ASSERT_FALSE(print->Preview().pixmap().isNull()) << print->Status().text().toStdString();
  EXPECT_NEAR(double(print->Preview().pixmap().width()) / print->Preview().pixmap().height(), 420.0 / 297, 0.01);

  // Without the PDF tools the page sizes could not be read: skipped (failed on CI) as a
  // whole, not left out while the rest passes.
  if (const std::string missing = PdfToolsMissing(); !missing.empty()) VELLMAR_SKIP_OR_FAIL(missing);
  struct TCase {
    int Page;
    const char* Name;
    double Width, Height;  // points
  };
  const TCase cases[] = {{1, "sheet.pdf", 1190.55, 841.89}, {0, "view.pdf", 595.28, 841.89}};
  for (const TCase& c : cases) {
    print->PageChoice().setCurrentIndex(c.Page);
    next_ = Q(dir_ / c.Name);
    QTest::mouseClick(Button(*print, QStringLiteral("Экспорт PDF…")), Qt::LeftButton);
    ASSERT_SOON(!print->Busy(), 30000);
    ASSERT_TRUE(std::filesystem::exists(dir_ / c.Name)) << c.Name << ": " << print->Status().text().toStdString();
    const std::optional<TPageSize> size = PdfPageSize(dir_ / c.Name);
    ASSERT_TRUE(size) << c.Name;
    EXPECT_NEAR(size->Width, c.Width, 0.01) << c.Name;
    EXPECT_NEAR(size->Height, c.Height, 0.01) << c.Name;
  }

  print->PictureWidth().setValue(640);
  print->PictureHeight().setValue(1000);
  next_ = Q(dir_ / "view.png");
  QTest::mouseClick(Button(*print, QStringLiteral("Экспорт изображения…")), Qt::LeftButton);
  EXPECT_EQ(PngSize(dir_ / "view.png"), (std::pair<uint32_t, uint32_t>{640, 1000}))
      << print->Status().text().toStdString();
  EXPECT_EQ(captions_.size(), 3);

  // Cancelling writes nothing; an unwritable place is named in the status line.
  next_.clear();
  QTest::mouseClick(Button(*print, QStringLiteral("Экспорт PDF…")), Qt::LeftButton);
  next_ = Q(dir_ / "missing" / "out.pdf");
  QTest::mouseClick(Button(*print, QStringLiteral("Экспорт PDF…")), Qt::LeftButton);
  ASSERT_SOON(!print->Busy(), 30000);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing"));
  EXPECT_TRUE(print->Status().text().contains(QStringLiteral("missing"))) << print->Status().text().toStdString();
  // Told in the status line, never in a box that would wait for an answer.
  EXPECT_FALSE(prompts_->Messages.join('\n').contains(QStringLiteral("missing")));

  // Closing the form frees it; the window goes on drawing.
  const QPointer<TPrintForm> alive(print);
  QTest::mouseClick(Button(*print, QStringLiteral("Закрыть")), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull(); }, 2000));
  const int frames = form_->FrameCount();
  form_->PlanChanged();
  EXPECT_TRUE(QTest::qWaitFor([&] { return form_->FrameCount() > frames; }, 2000));
}

TEST_F(PrintFormTest, APdfIsWrittenOnAWorkerThreadWhileTheBarCountsTheItemsToTheEnd) {
  ChooseFiles();
  TPrintForm* print = OpenPrintForm();
  ASSERT_NE(print, nullptr);
  std::vector<int> values;
  QObject::connect(&print->ProgressBar(), &QProgressBar::valueChanged, [&](int value) { values.push_back(value); });
  next_ = Q(dir_ / "sheet.pdf");
  const std::set<std::string> before = FileNames(dir_.Path());
  QTest::mouseClick(Button(*print, QStringLiteral("Экспорт PDF…")), Qt::LeftButton);
  // The window answers meanwhile: this wait runs its event loop.
  ASSERT_SOON(!print->Busy(), 30000);
  EXPECT_EQ(print->Status().text(), QStringLiteral("PDF записан: %1").arg(next_));
  ASSERT_FALSE(values.empty());
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_GT(values.back(), 0);
  EXPECT_EQ(values.back(), print->ProgressBar().maximum());
  EXPECT_FALSE(print->ProgressBar().isVisible());
  // The PDF and nothing else is new beside the street.
  std::set<std::string> after = before;
  after.insert("sheet.pdf");
  EXPECT_EQ(FileNames(dir_.Path()), after);
  EXPECT_FALSE(form_->StreetLent());
  if (!PdfToolsMissing().empty()) VELLMAR_SKIP_OR_FAIL(PdfToolsMissing());
  EXPECT_EQ(PdfPageCount(dir_ / "sheet.pdf"), 1);
  // Drawn, not blank: some pixels of the page are not white.
  const std::optional<TOffscreenFrame> page = RasterisePdf(dir_ / "sheet.pdf", 20);
  ASSERT_TRUE(page);
  EXPECT_TRUE(std::any_of(page->Pixels.begin(), page->Pixels.end(),
                          [](uint32_t pixel) { return (pixel & 0xFFFFFFu) != 0xFFFFFFu; }));
}

TEST_F(PrintFormTest, AStoppedPdfLeavesTheOldFileAndNoTemporaryAndTheWindowDrawsAgain) {
  enum class TStop { CancelButton, CloseButton, EscapeKey };
  struct TCase {
    const char* What;
    TStop How;
  };
  const TCase cases[] = {{"the Cancel button", TStop::CancelButton},
                         {"the Close button", TStop::CloseButton},
                         {"Esc", TStop::EscapeKey}};
  ChooseFiles();
  ASSERT_NE(OpenPrintForm(), nullptr);
  const std::string old = "%PDF-1.4 the file that was there before\n";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    // The street stays open; a form closed by the case before is opened again.
    if (form_->findChild<TPrintForm*>() == nullptr) form_->PrintSetupExecute();
    TPrintForm* print = form_->findChild<TPrintForm*>();
    ASSERT_NE(print, nullptr);
    next_ = Q(dir_ / "out.pdf");
    std::ofstream(dir_ / "out.pdf", std::ios::binary) << old;
    const std::set<std::string> before = FileNames(dir_.Path());
    QTest::mouseClick(Button(*print, QStringLiteral("Экспорт PDF…")), Qt::LeftButton);
    ASSERT_TRUE(print->Busy());
    EXPECT_TRUE(form_->StreetLent());
    EXPECT_TRUE(print->ProgressBar().isVisible());
    const QPointer<TPrintForm> alive(print);
    if (c.How != TStop::CancelButton) {
      if (c.How == TStop::CloseButton) {
        QTest::mouseClick(Button(*print, QStringLiteral("Закрыть")), Qt::LeftButton);
      } else {
        QTest::keyClick(print, Qt::Key_Escape);
      }
      // Gone from the screen at once, however long the worker takes to let go.
      EXPECT_TRUE(alive.isNull() || !alive->isVisible());
      ASSERT_SOON(alive.isNull(), 30000);
    } else {
      QTest::mouseClick(&print->CancelButton(), Qt::LeftButton);
      ASSERT_SOON(!print->Busy(), 30000);
      EXPECT_EQ(print->Status().text(), QStringLiteral("Запись PDF отменена"));
    }
    const std::vector<uint8_t> kept = FileBytes(dir_ / "out.pdf");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), old);
    EXPECT_EQ(FileNames(dir_.Path()), before);
    EXPECT_FALSE(form_->StreetLent());
    const int frames = form_->FrameCount();
    form_->PlanChanged();
    ASSERT_SOON(form_->FrameCount() > frames, 5000);
  }
}

// A street read while a print reads the current one joins only once the print is over:
// joining may close a pristine street or move the tabs under the worker.
TEST_F(PrintFormTest, AStreetReadDuringAPrintJoinsOnceThePrintIsOver) {
  ChooseFiles();
  TPrintForm* print = OpenPrintForm();
  ASSERT_NE(print, nullptr);
  const QString second = DemoCopy("second.pln");
  const int before = Streets().StreetCount();
  next_ = Q(dir_ / "sheet.pdf");
  QTest::mouseClick(Button(*print, QStringLiteral("Экспорт PDF…")), Qt::LeftButton);
  ASSERT_TRUE(print->Busy());
  // What the tabs are when the read street has arrived, while the print may still run.
  std::optional<std::pair<bool, int>> arrived;
  QObject::connect(&form_->Opener(), &TStreetOpener::Idle,
                   [&] { arrived = std::make_pair(form_->StreetLent(), Streets().StreetCount()); });
  form_->OpenFilesInBackground({second});
  ASSERT_SOON(arrived.has_value(), 30000);
  EXPECT_EQ(arrived->second, before + (arrived->first ? 0 : 1));
  ASSERT_SOON(!print->Busy(), 30000);
  EXPECT_EQ(Streets().StreetCount(), before + 1);
  EXPECT_EQ(Streets().IndexOfFile(second), before);
}

}  // namespace
}  // namespace vellmar::test
