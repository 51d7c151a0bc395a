#pragma once
// The viewer's settings: one per-user INI file named after the program, holding sections
// ("MainForm", "StreetsHolderModule", "Directory\Names") with named string and integer
// values. Every helper opens the file, does its one job and lets go, so nothing stays
// open between calls. Reading never fails loudly (a missing value gives the default);
// writing raises EVellmarError when the file cannot be written.

#include <cstdint>
#include <functional>

#include <QString>
#include <QStringList>

namespace vellmar {

// Off: every write is dropped and the settings file stays as it is (a run that only takes
// a picture must not move the user's window and panels or change the recent files).
// Reading goes on as ever.
void SetSettingsWritable(bool writable);

// The program's key: the executable's name without directory and extension.
QString ProgramKeyName();

QString ReadSettingString(const QString& section, const QString& name);
void WriteSettingString(const QString& section, const QString& name, const QString& value);
// 0 when missing or not a number.
int32_t ReadSettingInteger(const QString& section, const QString& name);
void WriteSettingInteger(const QString& section, const QString& name, int32_t value);

// The names of the values in a section.
QStringList SettingNames(const QString& section);

// A list is one string value holding its lines, each followed by CR LF. Reading replaces
// the list when the section exists (empty when the value is missing) and leaves it alone
// when it does not.
void ReadSettingList(const QString& section, const QString& name, QStringList& list);
void WriteSettingList(const QString& section, const QString& name, const QStringList& list);

// Moves item to the front of the stored list (dropping its copies, letter case ignored)
// and cuts the list to limit lines.
void AddToRecentList(const QString& section, const QString& name, const QString& item, int limit);

// Runs settings writes that only remember something for later (the recent files, a
// dialog's last file), so that the open, save or close around them completes when the
// settings file cannot be written: the failure goes to warn instead, once until a write
// succeeds again, not at every file opened.
void WriteSettingsOrWarn(const std::function<void()>& write, const std::function<void(const QString& text)>& warn);

}  // namespace vellmar
