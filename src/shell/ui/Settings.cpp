#include "shell/ui/Settings.h"

#include <exception>

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

#include "platform/Error.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool& Writable() {
  static bool writable = true;
  return writable;
}

// Whether WriteSettingsOrWarn warned of a failure that no successful write has ended.
bool& FailureWarned() {
  static bool warned = false;
  return warned;
}

// Sections are written the Windows way ("Directory\Names"); QSettings nests groups with "/".
QString GroupOf(const QString& section) {
  QString group = section;
  group.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return group;
}

QString Key(const QString& section, const QString& name) { return GroupOf(section) + QLatin1Char('/') + name; }

class TSettingsFile {
 public:
  TSettingsFile() : settings_(QSettings::IniFormat, QSettings::UserScope, ProgramKeyName(), ProgramKeyName()) {}
  QSettings& operator*() { return settings_; }
  QSettings* operator->() { return &settings_; }

  // Writes through to the disk and says why when it could not.
  void Flush(const char* operation) {
    settings_.sync();
    if (settings_.status() != QSettings::NoError) {
      throw EVellmarError(std::string(operation) + ": cannot write " + settings_.fileName().toStdString());
    }
    FailureWarned() = false;
  }

 private:
  QSettings settings_;
};

}  // namespace

void SetSettingsWritable(bool writable) { Writable() = writable; }

QString ProgramKeyName() {
  const QString path = QCoreApplication::applicationFilePath();
  return path.isEmpty() ? QStringLiteral("vellmar") : QFileInfo(path).completeBaseName();
}

QString ReadSettingString(const QString& section, const QString& name) {
  TSettingsFile file;
  return file->value(Key(section, name)).toString();
}

void WriteSettingString(const QString& section, const QString& name, const QString& value) {
  if (!Writable()) return;
  TSettingsFile file;
  file->setValue(Key(section, name), value);
  file.Flush("WriteSettingString");
}

int32_t ReadSettingInteger(const QString& section, const QString& name) {
  TSettingsFile file;
  bool ok = false;
  const int value = file->value(Key(section, name)).toInt(&ok);
  return ok ? value : 0;
}

void WriteSettingInteger(const QString& section, const QString& name, int32_t value) {
  if (!Writable()) return;
  TSettingsFile file;
  file->setValue(Key(section, name), value);
  file.Flush("WriteSettingInteger");
}

QStringList SettingNames(const QString& section) {
  TSettingsFile file;
  file->beginGroup(GroupOf(section));
  return file->childKeys();
}

void ReadSettingList(const QString& section, const QString& name, QStringList& list) {
  TSettingsFile file;
  file->beginGroup(GroupOf(section));
  const bool exists = !file->allKeys().isEmpty();
  const QString text = file->value(name).toString();
  file->endGroup();
  if (!exists) return;
  list = text.split(kLineEnd);
  // Every line ends with CR LF, so the split leaves one empty piece after the last.
  if (!list.isEmpty() && list.back().isEmpty()) list.removeLast();
}

void WriteSettingList(const QString& section, const QString& name, const QStringList& list) {
  if (!Writable()) return;
  QString text;
  for (const QString& line : list) text += line + kLineEnd;
  TSettingsFile file;
  file->setValue(Key(section, name), text);
  file.Flush("WriteSettingList");
}

void AddToRecentList(const QString& section, const QString& name, const QString& item, int limit) {
  QStringList list;
  ReadSettingList(section, name, list);
  list.removeIf([&](const QString& line) { return line.compare(item, Qt::CaseInsensitive) == 0; });
  list.prepend(item);
  while (list.size() > limit) list.removeLast();
  WriteSettingList(section, name, list);
}

void WriteSettingsOrWarn(const std::function<void()>& write, const std::function<void(const QString& text)>& warn) {
  try {
    write();
  } catch (const std::exception& error) {
    if (FailureWarned()) return;
    FailureWarned() = true;
    warn(ErrorText(error));
  }
}

}  // namespace vellmar
