#pragma once
// A view action that brings its own small button: hint, picture, shortcut, toggle state
// and the handlers that run when it is executed. The actions of a window are kept by a
// TFloatingActions list, which lays their buttons out in rows by category, finds an
// action by its shortcut and lets every action update its state. The list owns the
// actions; each action owns its button through the Qt parent of the panel it sits on.

#include <functional>
#include <memory>
#include <vector>

#include <QPixmap>
#include <QString>

class QWidget;

namespace vellmar {

class TFloatingButton;

// A key with its Shift, Ctrl and Alt state; Keypad asks for the numeric keypad's key.
struct TShortCut {
  int Key = 0;  // Qt::Key; 0 = none
  Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
  bool Keypad = false;
  // A pressed key matches when key and modifiers agree; a keypad shortcut needs the keypad.
  bool Matches(const TShortCut& pressed) const {
    return Key != 0 && Key == pressed.Key && Modifiers == pressed.Modifiers && (!Keypad || pressed.Keypad);
  }
  // The key as people read it ("Ctrl+Home", "F5"); empty for none.
  QString Text() const;
};

// The hint with its key in brackets, as tooltips name their keys: "Fit (Ctrl+Home)".
QString HintWithKey(const QString& hint, const QString& key);

class TFloatingAction {
 public:
  using THandler = std::function<void(TFloatingAction& action)>;

  TFloatingAction(QString name, QString category, QString hint, QPixmap picture, TShortCut shortCut, bool toggle);

  const QString& Name() const { return name_; }

  const QString& Category() const { return category_; }
  const QString& Hint() const { return hint_; }
  const QPixmap& Picture() const { return picture_; }
  const TShortCut& ShortCut() const { return shortCut_; }
  void SetShortCut(const TShortCut& shortCut) { shortCut_ = shortCut; }
  bool Toggle() const { return toggle_; }
  // Kept with the action for the record; repetition comes from the keyboard's auto-repeat.
  bool AutoRep() const { return autoRep_; }
  void SetAutoRep(bool on) { autoRep_ = on; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on) { visible_ = on; }
  // The toggle state (or the pressed state of a plain action's button).
  bool Down() const { return down_; }
  void SetDown(bool on);

  THandler OnUpdateState, BeforeExecute, OnExecute, AfterExecute;

  // What a click on the button does: a toggle flips, a plain action is released; then the
  // three execute handlers run in order.
  void Click();
  // The button, made on first use on the panel.
  TFloatingButton& Button(QWidget& panel);
  TFloatingButton* ExistingButton() const { return button_; }

 private:
  QString name_;
  QString category_;
  QString hint_;
  QPixmap picture_;
  TShortCut shortCut_;
  bool toggle_;
  bool autoRep_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool down_ = false;
  TFloatingButton* button_ = nullptr;  // owned by its panel
};

class TFloatingActions {
 public:
  // Appends an action (creation order) to its category; categories keep the order in
  // which they first appear.
  TFloatingAction& Add(std::unique_ptr<TFloatingAction> action);
  const std::vector<std::unique_ptr<TFloatingAction>>& All() const { return actions_; }
  // The action of that name; raises EVellmarError when there is none.
  TFloatingAction& Named(const QString& name) const;

  void UpdateAllActions();
  // One row per category, visible actions side by side, hidden ones leaving no gap; the
  // panel is sized to hold them all.
  void ArrangeButtons(QWidget& panel);
  // The first action in creation order whose shortcut the pressed key matches that is enabled (unless
  // includeDisabled) and visible (unless includeHidden); nullptr when none.
  TFloatingAction* FindActionByShortCut(const TShortCut& pressed, bool includeDisabled, bool includeHidden) const;

 private:
  std::vector<std::unique_ptr<TFloatingAction>> actions_;
  std::vector<QString> categories_;
};

}  // namespace vellmar
