#include "shell/window/HelpWindows.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "shell/plan/FloatingAction.h"
#include "shell/window/MainForm.h"

namespace vellmar {

namespace {

constexpr const char* kContext = "vellmar::THelpWindows";

QString Tr(const char* text) { return QCoreApplication::translate(kContext, text); }

// What the keys and the mouse do beyond the actions: held keys, the wheel by where it
// turns, clicks.
struct TGesture {
  const char* Key;
  const char* What;
};

const TGesture kGestures[] = {
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Q (держать)"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Таскать вид левой кнопкой, пока клавиша нажата")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "W (держать)"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Вращать вид левой кнопкой, пока клавиша нажата")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Стрелки при нажатой кнопке мыши"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Сдвинуть указатель на один пиксель")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Колесо в середине"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Масштаб вокруг указателя")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Колесо у краёв"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Сдвиг вида")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Колесо в углах"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Вращение вида")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Ctrl+колесо"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "То же крупными шагами")},
    {QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Ctrl+щелчок"), QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Сведения об объекте в любом режиме")},
};

// A menu text without its accelerator mark and the key shown after a tab.
QString Plain(QString text) {
  text = text.section(QLatin1Char('\t'), 0, 0);
  text.remove(QLatin1Char('&'));
  return text;
}

QDialog* Existing(TMainForm& form, const QString& name) {
  for (QDialog* dialog : form.findChildren<QDialog*>(name, Qt::FindDirectChildrenOnly)) return dialog;
  return nullptr;
}

QDialog& NewWindow(TMainForm& form, const QString& name, const QString& title, QWidget* body) {
  auto* dialog = new QDialog(&form);
  dialog->setObjectName(name);
  dialog->setWindowTitle(title);
  auto* column = new QVBoxLayout(dialog);
  body->setParent(dialog);
  column->addWidget(body, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  column->addWidget(buttons);
  return *dialog;
}

void Present(QDialog& dialog) {
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}

}  // namespace

QDialog& ShowKeysWindow(TMainForm& form) {
  if (QDialog* dialog = Existing(form, QStringLiteral("keysWindow"))) {
    Present(*dialog);
    return *dialog;
  }
  QList<QPair<QString, QString>> rows;
  const auto add = [&rows](const QString& key, const QString& what) {
    const QPair<QString, QString> row(key, Plain(what));
    if (!key.isEmpty() && !row.second.isEmpty() && !rows.contains(row)) rows << row;
  };
  for (const QAction* action : form.actions()) {
    QStringList keys;
    for (const QKeySequence& key : action->shortcuts()) keys << key.toString(QKeySequence::NativeText);
    add(keys.join(QStringLiteral(", ")), action->text().isEmpty() ? action->toolTip() : action->text());
  }
  for (const auto& action : form.FloatingActions().All()) add(action->ShortCut().Text(), action->Hint());
  for (const TGesture& gesture : kGestures) add(Tr(gesture.Key), Tr(gesture.What));

  auto* table = new QTableWidget(static_cast<int>(rows.size()), 2);
  table->setObjectName(QStringLiteral("keys"));
  table->setHorizontalHeaderLabels({Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Клавиша")), Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Действие"))});
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int i = 0; i < rows.size(); ++i) {
    table->setItem(i, 0, new QTableWidgetItem(rows[i].first));
    table->setItem(i, 1, new QTableWidgetItem(rows[i].second));
  }
  table->resizeColumnsToContents();
  table->horizontalHeader()->setStretchLastSection(true);
  QDialog& dialog = NewWindow(form, QStringLiteral("keysWindow"), Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Клавиши")), table);
  dialog.resize(640, 560);
  Present(dialog);
  return dialog;
}

QDialog& ShowAboutWindow(TMainForm& form) {
  if (QDialog* dialog = Existing(form, QStringLiteral("aboutWindow"))) {
    Present(*dialog);
    return *dialog;
  }
  const QString text =
      QStringLiteral("<h3>Vellmar %1</h3><p>%2</p><p>%3 Qt %4.</p><p>%5</p><table>")
          .arg(QStringLiteral(VELLMAR_VERSION), Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Просмотр планов улиц (*.pln).")), Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Собрано с")),
               QStringLiteral(QT_VERSION_STR), Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "Программа использует библиотеки:"))) +
      QStringLiteral(
          "<tr><td>Qt 6</td><td>LGPL-3.0</td></tr>"
          "<tr><td>FreeType</td><td>FreeType License (FTL)</td></tr>"
          "<tr><td>Fontconfig</td><td>MIT</td></tr>"
          "<tr><td>Cairo</td><td>LGPL-2.1 / MPL-1.1</td></tr>"
          "<tr><td>pixman</td><td>MIT</td></tr>"
          "<tr><td>libpng</td><td>libpng License</td></tr>"
          "<tr><td>zlib</td><td>zlib License</td></tr>"
          "<tr><td>libepoxy</td><td>MIT</td></tr>"
          "<tr><td>Mesa (OpenGL, EGL)</td><td>MIT</td></tr>"
          "</table>");
  auto* label = new QLabel(text);
  label->setObjectName(QStringLiteral("aboutText"));
  label->setTextFormat(Qt::RichText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QDialog& dialog = NewWindow(form, QStringLiteral("aboutWindow"), Tr(QT_TRANSLATE_NOOP("vellmar::THelpWindows", "О программе")), label);
  Present(dialog);
  return dialog;
}

}  // namespace vellmar
