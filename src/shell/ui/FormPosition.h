#pragma once
// Window positions kept in the settings under "<form name>\Pos" ("Left", "Top", and for a
// sizeable window "Width", "Height"), and the rule that keeps a window on the screen.

#include <QRect>
#include <QString>

class QMainWindow;
class QWidget;

namespace vellmar {

void SaveFormPosition(const QWidget& form, const QString& formName, bool sizeable);
// Applies the stored values in order until one is missing, then fits the window to the
// primary screen's work area in every case.
void RestoreFormPosition(QWidget& form, const QString& formName, bool sizeable);

// Where a main window's panels are docked, which are floating and which are shown, kept
// under "<form name>\Pos" as "Docks". Restoring places the panels the window has by then
// (known by their object names); nothing stored or an unreadable value leaves them as made.
void SaveDockState(const QMainWindow& form, const QString& formName);
void RestoreDockState(QMainWindow& form, const QString& formName);

// Where a window opens before any position was stored: two thirds of the work area each
// way, no smaller than minimum (within the area), in its middle.
QRect FirstFormRect(const QRect& workArea, const QSize& minimum);

// Cut to the work area's size, then moved left/up so the far edges lie inside, then
// right/down so the near edges do: the window is fully visible or, when it cannot be,
// its top-left corner is.
QRect FitFormToWorkArea(const QRect& form, const QRect& workArea);

}  // namespace vellmar
