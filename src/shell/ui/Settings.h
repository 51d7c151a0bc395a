#pragma once
// The viewer's settings: one per-user INI file named after the program, holding sections
// ("MainForm", "StreetsHolderModule", "Directory\Names") with named string and integer
// values. Every helper opens the file, does its one job and lets go, so nothing stays
// open between calls. Reading never fails loudly (a missing value gives the default);
// writing raises EVellmarError when the file cannot be written.

#include <cstdint>

#include <QString>
#include <QStringList>

namespace vellmar {

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

}  // namespace vellmar
