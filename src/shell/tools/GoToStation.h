#pragma once
// Going to a station of the current street's main axis: Ctrl+G opens a small window
// with a field for the station ("1+23.45" or "123.45"); the plan then centres on the
// axis there and turns so that the axis runs from left to right, the same view a station
// from the hub gives. The window is a child of the main window, made on first use.

#include <QObject>
#include <QString>

class QAction;
class QDialog;

namespace vellmar {

class IPlanWindow;
class TTextFieldForm;

class TGoToStation final : public QObject {
  Q_OBJECT

 public:
  // Adds the action "goToStation" (Ctrl+G) to the window.
  explicit TGoToStation(IPlanWindow& form);

  // Shows the station given as text; what is wrong with it when it cannot, else empty.
  QString GoTo(const QString& text);
  // The window with the field, "goToStationForm", its field "station" and its error line "error".
  QDialog& Form();

 private:
  IPlanWindow& form_;
  QAction* action_;
  TTextFieldForm* fieldForm_ = nullptr;
};

}  // namespace vellmar
