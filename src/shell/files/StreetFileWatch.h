#pragma once
// Watches the files of the open streets and says when one of them was written by another
// program. A save by renaming a new file over the old one takes the old file out of the
// system's watch, so each file's directory is watched as well and the file is watched
// again once it is back. A file counts as changed when its inode, size or modification
// time differ from what was last seen; the window's own saves are noted beforehand, so
// they are not taken for changes. Bursts of events are gathered for a short while and
// looked at once.

#include <sys/types.h>

#include <cstdint>

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace vellmar {

class TStreetFileWatch final : public QObject {
  Q_OBJECT

 public:
  TStreetFileWatch();

  // The files to watch (absolute); names that are no files yet (new streets) are skipped.
  void SetFiles(const QStringList& files);
  // The file as it is now is the one the window knows (read or written by it).
  void NoteKnown(const QString& file);

 signals:
  void Changed(const QString& file);

 private:
  struct TStamp {
    ino_t Inode = 0;
    std::int64_t Size = -1;
    std::int64_t ModifiedNs = 0;
    bool operator==(const TStamp&) const = default;
  };
  static TStamp StampOf(const QString& file);
  void Look();

  QFileSystemWatcher watcher_;
  QStringList files_;
  QHash<QString, TStamp> known_;
  QTimer settle_;
};

}  // namespace vellmar
