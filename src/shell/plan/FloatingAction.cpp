#include "shell/plan/FloatingAction.h"

#include <algorithm>

#include <QKeySequence>
#include <QWidget>

#include "platform/Error.h"
#include "shell/plan/FloatingButton.h"

namespace vellmar {

QString TShortCut::Text() const {
  if (Key == 0) return {};
  return QKeySequence(QKeyCombination(Modifiers, static_cast<Qt::Key>(Key))).toString(QKeySequence::NativeText);
}

QString HintWithKey(const QString& hint, const QString& key) {
  if (key.isEmpty() || hint.contains(QLatin1Char('(') + key)) return hint;
  return hint + QStringLiteral(" (") + key + QLatin1Char(')');
}

TFloatingAction::TFloatingAction(QString name, QString category, QString hint, QPixmap picture,
                                 TShortCut shortCut, bool toggle)
    : name_(std::move(name)),
      category_(std::move(category)),
      hint_(std::move(hint)),
      picture_(std::move(picture)),
      shortCut_(shortCut),
      toggle_(toggle) {}

void TFloatingAction::SetEnabled(bool on) {
  enabled_ = on;
  if (button_) button_->update();
}

void TFloatingAction::SetDown(bool on) {
  down_ = on;
  if (button_) button_->update();
}

void TFloatingAction::Click() {
  SetDown(toggle_ ? !down_ : false);
  for (THandler* handler : {&BeforeExecute, &OnExecute, &AfterExecute}) {
    if (*handler) (*handler)(*this);
  }
}

TFloatingButton& TFloatingAction::Button(QWidget& panel) {
  if (!button_) button_ = new TFloatingButton(*this, &panel);
  return *button_;
}

TFloatingAction& TFloatingActions::Add(std::unique_ptr<TFloatingAction> action) {
  const QString& category = action->Category();
  const bool known = std::any_of(categories_.begin(), categories_.end(),
                                 [&](const QString& c) { return c.compare(category, Qt::CaseInsensitive) == 0; });
  if (!known) categories_.push_back(category);
  actions_.push_back(std::move(action));
  return *actions_.back();
}

TFloatingAction& TFloatingActions::Named(const QString& name) const {
  for (const auto& action : actions_) {
    if (action->Name() == name) return *action;
  }
  throw EVellmarError("TFloatingActions.Named: no action " + name.toStdString());
}

void TFloatingActions::UpdateAllActions() {
  for (const auto& action : actions_) {
    if (action->OnUpdateState) action->OnUpdateState(*action);
  }
}

void TFloatingActions::ArrangeButtons(QWidget& panel) {
  int y = 0, maxWidth = 0, maxHeight = 0;
  for (const QString& category : categories_) {
    int x = 0, rowHeight = 0;
    for (const auto& action : actions_) {
      if (action->Category().compare(category, Qt::CaseInsensitive) != 0) continue;
      TFloatingButton& button = action->Button(panel);
      button.setVisible(action->Visible());
      if (!action->Visible()) continue;
      const QSize size = button.ButtonSize();
      button.setGeometry(x, y, size.width(), size.height());
      x += size.width();
      rowHeight = std::max(rowHeight, size.height());
    }
    y += rowHeight;
    maxWidth = std::max(maxWidth, x);
    maxHeight = std::max(maxHeight, y);
  }
  const QMargins margins = panel.contentsMargins();
  panel.resize(maxWidth + margins.left() + margins.right(), maxHeight + margins.top() + margins.bottom());
}

TFloatingAction* TFloatingActions::FindActionByShortCut(const TShortCut& pressed, bool includeDisabled,
                                                        bool includeHidden) const {
  for (const auto& action : actions_) {
    if (!action->ShortCut().Matches(pressed)) continue;
    if (!includeDisabled && !action->Enabled()) continue;
    if (!includeHidden && !action->Visible()) continue;
    return action.get();
  }
  return nullptr;
}

}  // namespace vellmar
