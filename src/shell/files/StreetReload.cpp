#include "shell/files/StreetReload.h"

#include <QFileInfo>

#include "document/StreetStructure.h"
#include "document/ViewState.h"
#include "shell/files/StreetOpener.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/ui/ShellPrompts.h"

namespace vellmar {

TStreetReload::TStreetReload(TStreetsHolderModule& streets, TStreetOpener& opener, IShellPrompts& prompts,
                             TReplace replace)
    : streets_(streets), opener_(opener), prompts_(prompts), replace_(std::move(replace)) {
  connect(&watch_, &TStreetFileWatch::Changed, this, &TStreetReload::FileChanged);
  connect(&streets_, &TStreetsHolderModule::StreetSaved, &watch_, &TStreetFileWatch::NoteKnown);
}

void TStreetReload::FollowTabs() {
  QStringList files;
  for (int i = 0; i < streets_.StreetCount(); ++i) files << streets_.FileNameAt(i);
  watch_.SetFiles(files);
}

void TStreetReload::ReloadTab(int index) {
  if (index < 0 || index >= streets_.StreetCount()) return;
  const QString file = streets_.FileNameAt(index);
  if (QFileInfo(file).isFile()) FileChanged(file);
}

void TStreetReload::FileChanged(const QString& file) {
  const int index = streets_.IndexOfFile(file);
  if (index < 0) return;
  if (streets_.StreetAt(index).Modified()) {
    const QString question =
        tr("Файл \"%1\" изменён другой программой. Прочитать его заново? Несохранённые изменения пропадут.")
            .arg(QFileInfo(file).fileName());
    if (prompts_.AskYesNoCancel(question) != TAnswer::Yes) return;
  }
  opener_.Enqueue(file, [this](const QString& name, std::unique_ptr<TStreetStructure> street) {
    Arrived(name, std::move(street));
  });
}

void TStreetReload::Arrived(const QString& file, std::unique_ptr<TStreetStructure> street) {
  // The tab may have closed while its file was read.
  const int index = streets_.IndexOfFile(file);
  if (index < 0) return;
  const TViewState view = StreetView(streets_.StreetAt(index));
  street->SetView(view.Centre, view.Scale, view.Rotation);
  replace_(index, std::move(street));
}

}  // namespace vellmar
