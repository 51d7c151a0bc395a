#include "shell/sync/SyncServerName.h"

#include <QDir>
#include <QStandardPaths>

namespace vellmar {

QString SyncServerName() {
  const QString chosen = qEnvironmentVariable("VELLMAR_SYNC_SERVER");
  if (!chosen.isEmpty()) return chosen;
  // Qt makes a private runtime directory when XDG_RUNTIME_DIR is not set.
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return QDir(runtime).filePath(QStringLiteral("TSyncHubForm"));
}

}  // namespace vellmar
