#include "shell/tools/BookmarkSettings.h"

#include <string>
#include <vector>

#include <QStringList>
#include <QUrl>

#include "shell/ui/Settings.h"

namespace vellmar {

namespace {

const QString kSection = QStringLiteral("Bookmarks");

QString ValueName(const QString& filePath) { return QString::fromLatin1(QUrl::toPercentEncoding(filePath)); }

}  // namespace

TViewBookmarks ReadViewBookmarks(const QString& filePath) {
  QStringList stored;
  ReadSettingList(kSection, ValueName(filePath), stored);
  std::vector<std::string> lines;
  for (const QString& line : stored) lines.push_back(line.toStdString());
  return TViewBookmarks::FromLines(lines);
}

void WriteViewBookmarks(const QString& filePath, const TViewBookmarks& bookmarks) {
  QStringList lines;
  for (const std::string& line : bookmarks.ToLines()) lines << QString::fromStdString(line);
  WriteSettingList(kSection, ValueName(filePath), lines);
}

}  // namespace vellmar
