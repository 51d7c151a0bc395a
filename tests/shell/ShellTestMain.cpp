// The GUI tests share one application object; settings and the synchronisation socket go
// to a scratch directory so the tests never read or write the user's.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "items/signs/SignLibraries.h"
#include "kinds/AllKinds.h"
#include "platform/WarningSink.h"

namespace {
// The exit status ctest takes for a skip (SKIP_RETURN_CODE in CMakeLists.txt).
constexpr int kSkipped = 77;
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The software GL driver keeps a few blocks until exit and is unloaded before the leak
  // check; kept loaded, its blocks are named and suppressed (lsan.supp).
  dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE);
  QApplication application(argc, argv);
  QTemporaryDir settings;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  // The viewers and the hubs of this run meet on a socket of its own, never on the user's
  // hub nor on a parallel run's.
  qputenv("VELLMAR_SYNC_SERVER", settings.filePath(QStringLiteral("hub")).toLocal8Bit());
  vellmar::RegisterAllKinds();
  // The program-wide sign libraries load once; what they miss here (the repository has no
  // sign metafiles) is said before any test, not inside whichever test loads a sign first.
  vellmar::ProgramSignLibraries();
  vellmar::TakePendingWarnings();
  const int failed = RUN_ALL_TESTS();
  // ctest sees this program as one entry: a test that skipped (a tool missing on this
  // machine) shows there as a skip of the entry instead of vanishing into its pass.
  if (failed == 0 && testing::UnitTest::GetInstance()->skipped_test_count() > 0) return kSkipped;
  return failed;
}
