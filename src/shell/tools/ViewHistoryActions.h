#pragma once
// Back and Forward through the views each open street was looked at with. A view is
// recorded when it has stood still for a moment with no mouse button held, which is when
// a pan, zoom, turn, go-to or "show all" has ended; the views Back and Forward show are
// not recorded again. Alt+Left and Alt+Right, and the mouse's back and forward buttons
// over the plan. The histories live as long as the window; a closed street's goes with it.

#include <map>

#include <QObject>
#include <QTimer>

#include "document/ViewHistory.h"

class QAction;

namespace vellmar {

class IPlanWindow;
class TStreetStructure;

class TViewHistoryActions final : public QObject {
  Q_OBJECT

 public:
  // How long a view stands still before it counts as where a gesture ended.
  static constexpr int kSettleMs = 400;

  // Adds the actions "viewBack" and "viewForward" to the window; a child of the window
  // named "viewHistory", which the window also deletes ahead of its own children.
  explicit TViewHistoryActions(IPlanWindow& form);
  ~TViewHistoryActions() override;

  void Back();
  void Forward();
  // The current street's history.
  TViewHistory& History();

 private:
  void RecordWhenStill();
  void Show(const TViewState& view);

  IPlanWindow& form_;
  QAction* back_;
  QAction* forward_;
  QTimer settle_;
  std::map<const TStreetStructure*, TViewHistory> histories_;
  int changeHook_;
};

}  // namespace vellmar
