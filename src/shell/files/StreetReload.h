#pragma once
// Reading an open street again when another program has written its file: a tab without
// unsaved changes is read anew at once and keeps its view; one with changes asks first.
// The new street comes through the opener (on its worker thread); a file that cannot be
// read is reported and the tab stays as it was. It owns the file watch; the streets,
// the opener and the prompts are the window's.

#include <functional>
#include <memory>

#include <QObject>
#include <QString>

#include "shell/files/StreetFileWatch.h"

namespace vellmar {

class IShellPrompts;
class TStreetOpener;
class TStreetsHolderModule;
class TStreetStructure;

class TStreetReload final : public QObject {
  Q_OBJECT

 public:
  // Puts the street read anew in the tab's place (the window frees the old one's GL
  // objects while its context is current).
  using TReplace = std::function<void(int index, std::unique_ptr<TStreetStructure> street)>;

  TStreetReload(TStreetsHolderModule& streets, TStreetOpener& opener, IShellPrompts& prompts, TReplace replace);

  // Reads the tab's file again as if another program had written it (asking first when
  // the tab has unsaved changes); a tab without a file is left alone.
  void ReloadTab(int index);
  // Brings the watched files up to the open tabs.
  void FollowTabs();
  TStreetFileWatch& Watch() { return watch_; }

 private:
  void FileChanged(const QString& file);
  void Arrived(const QString& file, std::unique_ptr<TStreetStructure> street);

  TStreetsHolderModule& streets_;
  TStreetOpener& opener_;
  IShellPrompts& prompts_;
  TReplace replace_;
  TStreetFileWatch watch_;
};

}  // namespace vellmar
