#include "shell/files/StreetFileWatch.h"

#include <sys/stat.h>

#include <QFileInfo>

namespace vellmar {

namespace {

// Long enough for a writer to finish a burst of writes and renames, short enough to feel
// immediate.
constexpr int kSettleMs = 250;

}  // namespace

TStreetFileWatch::TStreetFileWatch() {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &TStreetFileWatch::Look);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

TStreetFileWatch::TStamp TStreetFileWatch::StampOf(const QString& file) {
  struct stat info {};
  if (::stat(QFile::encodeName(file).constData(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  return {info.st_ino, info.st_size, std::int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec};
}

void TStreetFileWatch::SetFiles(const QStringList& files) {
  QStringList present;
  for (const QString& file : files) {
    if (QFileInfo(file).isFile()) present << file;
  }
  if (present == files_) return;
  for (const QString& file : files_) {
    if (!present.contains(file)) known_.remove(file);
  }
  files_ = present;
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  for (const QString& file : files_) {
    if (!known_.contains(file)) known_.insert(file, StampOf(file));
    watcher_.addPath(file);
    const QString directory = QFileInfo(file).absolutePath();
    if (!watcher_.directories().contains(directory)) watcher_.addPath(directory);
  }
}

void TStreetFileWatch::NoteKnown(const QString& file) { known_.insert(file, StampOf(file)); }

void TStreetFileWatch::Look() {
  const QStringList watched = watcher_.files();
  for (const QString& file : files_) {
    const TStamp now = StampOf(file);
    // Gone for the moment (between the unlink and the rename of a save): the file is
    // looked at again when its directory changes next.
    if (now.Size < 0) continue;
    if (!watched.contains(file)) watcher_.addPath(file);
    if (now == known_.value(file)) continue;
    known_.insert(file, now);
    emit Changed(file);
  }
}

}  // namespace vellmar
