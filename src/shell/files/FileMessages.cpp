#include "shell/files/FileMessages.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace vellmar {

QString OpenFailureText(const QString& fileName) {
  const QFileInfo file(fileName);
  if (!file.exists()) {
    return QCoreApplication::translate("vellmar::TFileMessages", "Файл «%1» не найден в папке %2. Проверьте имя и папку или выберите файл заново.")
        .arg(file.fileName(), file.absolutePath());
  }
  if (!file.isReadable() || file.isDir()) {
    return QCoreApplication::translate("vellmar::TFileMessages", "Файл «%1» нельзя прочитать. Проверьте права на файл и папку %2.")
        .arg(file.fileName(), file.absolutePath());
  }
  return QCoreApplication::translate("vellmar::TFileMessages",
                                     "Файл «%1» не открыт: он повреждён или это не план улицы. Откройте его "
                                     "резервную копию или автосохранённую копию «_autosave_%1» из той же папки.")
      .arg(file.fileName());
}

QString SaveFailureText(const QString& fileName) {
  const QFileInfo file(fileName);
  return QCoreApplication::translate("vellmar::TFileMessages",
                                     "Улица не сохранена в файл «%1»; прежний файл цел. Проверьте, что в папку %2 "
                                     "можно писать и на диске есть место, или сохраните улицу под другим именем.")
      .arg(file.fileName(), file.absolutePath());
}

}  // namespace vellmar
