#include "shell/ui/FormPosition.h"

#include <algorithm>

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include "shell/ui/Settings.h"

namespace vellmar {

namespace {

QString PosSection(const QString& formName) { return formName + QStringLiteral("\\Pos"); }

const QString kDocks = QStringLiteral("Docks");

}  // namespace

void SaveFormPosition(const QWidget& form, const QString& formName, bool sizeable) {
  const QString section = PosSection(formName);
  WriteSettingInteger(section, QStringLiteral("Left"), form.x());
  WriteSettingInteger(section, QStringLiteral("Top"), form.y());
  if (!sizeable) return;
  WriteSettingInteger(section, QStringLiteral("Width"), form.width());
  WriteSettingInteger(section, QStringLiteral("Height"), form.height());
}

void RestoreFormPosition(QWidget& form, const QString& formName, bool sizeable) {
  const QString section = PosSection(formName);
  QRect rect = form.geometry();
  const char* names[] = {"Left", "Top", "Width", "Height"};
  const int count = sizeable ? 4 : 2;
  for (int i = 0; i < count; ++i) {
    const QString value = ReadSettingString(section, QString::fromLatin1(names[i]));
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok) break;
    switch (i) {
      case 0: rect.moveLeft(number); break;
      case 1: rect.moveTop(number); break;
      case 2: rect.setWidth(number); break;
      default: rect.setHeight(number); break;
    }
  }
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen) rect = FitFormToWorkArea(rect, screen->availableGeometry());
  form.setGeometry(rect);
}

void SaveDockState(const QMainWindow& form, const QString& formName) {
  WriteSettingString(PosSection(formName), kDocks, QString::fromLatin1(form.saveState().toBase64()));
}

void RestoreDockState(QMainWindow& form, const QString& formName) {
  const QString stored = ReadSettingString(PosSection(formName), kDocks);
  if (!stored.isEmpty()) form.restoreState(QByteArray::fromBase64(stored.toLatin1()));
}

QRect FirstFormRect(const QRect& workArea, const QSize& minimum) {
  const QSize size(std::clamp(workArea.width() * 2 / 3, std::min(minimum.width(), workArea.width()), workArea.width()),
                   std::clamp(workArea.height() * 2 / 3, std::min(minimum.height(), workArea.height()), workArea.height()));
  QRect rect(QPoint(), size);
  rect.moveCenter(workArea.center());
  return rect;
}

QRect FitFormToWorkArea(const QRect& form, const QRect& workArea) {
  QRect rect = form;
  rect.setWidth(std::min(rect.width(), workArea.width()));
  rect.setHeight(std::min(rect.height(), workArea.height()));
  if (rect.right() > workArea.right()) rect.moveRight(workArea.right());
  if (rect.bottom() > workArea.bottom()) rect.moveBottom(workArea.bottom());
  if (rect.left() < workArea.left()) rect.moveLeft(workArea.left());
  if (rect.top() < workArea.top()) rect.moveTop(workArea.top());
  return rect;
}

}  // namespace vellmar
