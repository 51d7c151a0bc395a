#include "shell/files/Session.h"

#include <QFileInfo>
#include <QStringList>

#include "document/StreetStructure.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/ui/Settings.h"

namespace vellmar {

namespace {

const QString kSection = QStringLiteral("Session");
const QString kFiles = QStringLiteral("Files");
const QString kViews = QStringLiteral("Views");
const QString kCurrent = QStringLiteral("Current");
const QString kRestore = QStringLiteral("Restore");
constexpr int kViewFields = 5;

// "x y z scale rotation", with every digit a float needs to come back the same.
QString ViewText(const TViewState& view) {
  QStringList fields;
  for (float value : {view.Centre.x, view.Centre.y, view.Centre.z, view.Scale, view.Rotation}) {
    fields << QString::number(value, 'g', 9);
  }
  return fields.join(QLatin1Char(' '));
}

TViewState ViewFromText(const QString& text) {
  const QStringList fields = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (fields.size() != kViewFields) return {};
  float values[kViewFields] = {};
  for (int i = 0; i < kViewFields; ++i) {
    bool ok = false;
    values[i] = fields[i].toFloat(&ok);
    if (!ok) return {};
  }
  return {{values[0], values[1], values[2]}, values[3], values[4]};
}

}  // namespace

TSession SessionOf(TStreetsHolderModule& streets) {
  TSession session;
  for (int i = 0; i < streets.StreetCount(); ++i) {
    const QString& file = streets.FileNameAt(i);
    if (!QFileInfo(file).isFile()) continue;
    if (i == streets.CurrentIndex()) session.Current = static_cast<int>(session.Streets.size());
    session.Streets.push_back({file, StreetView(streets.StreetAt(i))});
  }
  return session;
}

void WriteSession(const TSession& session) {
  QStringList files, views;
  for (const TSessionStreet& street : session.Streets) {
    files << street.FileName;
    views << ViewText(street.View);
  }
  WriteSettingList(kSection, kFiles, files);
  WriteSettingList(kSection, kViews, views);
  WriteSettingInteger(kSection, kCurrent, session.Current);
}

TSession ReadSession() {
  QStringList files, views;
  ReadSettingList(kSection, kFiles, files);
  ReadSettingList(kSection, kViews, views);
  TSession session;
  for (qsizetype i = 0; i < files.size(); ++i) {
    session.Streets.push_back({files[i], i < views.size() ? ViewFromText(views[i]) : TViewState{}});
  }
  const int current = ReadSettingInteger(kSection, kCurrent);
  session.Current = current >= 0 && current < static_cast<int>(session.Streets.size()) ? current : -1;
  return session;
}

bool SessionRestoreEnabled() { return ReadSettingString(kSection, kRestore) != QLatin1String("0"); }

}  // namespace vellmar
