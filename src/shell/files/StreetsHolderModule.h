#pragma once
// The open streets, one per tab, and which one is current: opening (one file or many),
// refusing a file that is already open, naming new streets, closing with the save
// question, saving, the recent-files list, the autosave copy of the current street and
// the minutes of activity spent on it. The module owns the streets.

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "shell/files/StoredOpenDialog.h"

namespace vellmar {

class IShellPrompts;
class TStreetStructure;

class TStreetsHolderModule final : public QObject {
  Q_OBJECT

 public:
  // Reads the autosave interval from the settings and starts both timers.
  explicit TStreetsHolderModule(IShellPrompts& prompts);
  // Frees every street without asking and stores the autosave interval.
  ~TStreetsHolderModule() override;

  int StreetCount() const { return static_cast<int>(streets_.size()); }
  TStreetStructure& StreetAt(int index) const { return *streets_.at(static_cast<size_t>(index)).Street; }
  // Whether the street is one of the open ones (a pointer kept across events may not be).
  bool IsOpen(const TStreetStructure* street) const;
  const QString& FileNameAt(int index) const { return streets_.at(static_cast<size_t>(index)).FileName; }
  // File names without their directories, in tab order.
  QStringList TabCaptions() const;

  // The current street; one named "Street.pln" is made when none is open.
  TStreetStructure& CurrentStreet();
  int CurrentIndex() const { return currentIndex_; }
  void SetCurrentIndex(int index) { currentIndex_ = index; }
  // Empty when the current index lies outside the open streets.
  QString CurrentFileName() const;

  // An empty street named Street.pln, Street1.pln, ... (the first name no tab has); it
  // becomes current. Returns its index.
  int NewStreet();
  // The absolute, clean form of a street file's name that tabs are known by.
  static QString StreetPath(const QString& fileName);
  // Whether two names are one file: the same absolute clean path, or two existing paths
  // on the same device and inode (symbolic links, "..", hard links). Letter case counts,
  // as it does on the file system: "Demo.pln" beside "demo.pln" is another file.
  static bool SameStreetFile(const QString& a, const QString& b);
  // The tab of the file (SameStreetFile); -1 when it is not open.
  int IndexOfFile(const QString& fileName) const;
  // The tab of a file that is open already, which the user is told ("Файл уже
  // загружен."); -1 when the file is not open.
  int FindOpenFile(const QString& path);
  // A street read elsewhere (on the opener's thread) joins as the last tab under its
  // absolute file name, unless FindOpenFile finds that file open: then that tab's index.
  // Either way the current tab stays.
  int AddStreet(const QString& path, std::unique_ptr<TStreetStructure> street);
  // The street read anew from its file takes the tab's place; the old one is freed.
  void ReplaceStreet(int index, std::unique_ptr<TStreetStructure> street);
  // Streets hold objects of the drawing device (vertex buffers, textures), which go only
  // while the device's context is current: every street is freed inside the scope, which
  // the window sets to make its plan's context current around the work. None: freed as
  // they are.
  using TDeviceScope = std::function<void(const std::function<void()>& work)>;
  void SetDeviceScope(TDeviceScope scope) { deviceScope_ = std::move(scope); }

  // The index of the street read from fileName (made absolute). A file already open,
  // under whatever name (SameStreetFile), gives the message "Файл уже загружен." and that street's
  // index. A file that cannot be read raises the loader's error and opens nothing.
  int OpenFile(const QString& fileName);
  // OpenFile for each name, in order; a file that fails is reported and the others still
  // open. The last opened becomes current; -1 when none.
  int OpenFiles(const QStringList& fileNames);
  // Closes untouched empty streets while others are open; the current street stays current.
  void DropPristineStreets();
  // Without force a modified street is saved, kept or dropped as the user answers
  // "Улица не сохранена.Сохранять?"; a street still modified after that stays open.
  void CloseStreet(int index, bool force);
  void CloseAll();
  // True when everything may be closed: nothing unsaved, or the user dropped or saved it
  // all after "Есть несохраненные улицы. Сохранять?".
  bool QuerySaveAll();

  // The files opened or saved lately, the latest first (at most 200, kept in the settings).
  static QStringList RecentFiles();
  static void ClearRecentFiles();
  // A modified street that is not pristine: to its file when that exists, else to the
  // name chosen in the save dialog (nothing when cancelled).
  void SaveStreet(int index);
  void SaveStreetAs(int index, const QString& fileName);

  // Called on every change of the window: starts the minute of activity unless one runs.
  void NoteActivity();
  // The copy "_autosave_" + name beside the current street's file, when it is modified,
  // has a file and is not itself a copy; the street stays modified.
  void AutoSave();
  // The end of a minute of activity: one more worked minute for the current street.
  void CountWorkedMinute();

  QTimer& AutoSaveTimer() { return autoSaveTimer_; }
  QTimer& WorkingTimer() { return workingTimer_; }
  TStoredOpenDialog& OpenDialog() { return openDialog_; }

 signals:
  // The street's file was written by this window (the file watch knows its own saves).
  void StreetSaved(const QString& path);

 private:
  struct TEntry {
    QString FileName;
    std::unique_ptr<TStreetStructure> Street;
  };
  // The file goes to the front of the recent files; a settings file that cannot be
  // written is a warning, never a failed open or save.
  void NoteRecentFile(const QString& fileName);
  void InDeviceScope(const std::function<void()>& work) const;

  IShellPrompts& prompts_;
  std::vector<TEntry> streets_;
  TDeviceScope deviceScope_;
  int currentIndex_ = -1;
  TStoredOpenDialog openDialog_;
  QTimer autoSaveTimer_;
  QTimer workingTimer_;
  // The last autosave failure shown; the same failure is not shown again every interval.
  QString autoSaveFailure_;
};

}  // namespace vellmar
