#include "shell/tools/ViewBookmarkActions.h"

#include <exception>
#include <string>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>

#include "document/StreetStructure.h"
#include "shell/files/StreetsHolderModule.h"
#include "shell/plan/MainPlanDrawer.h"
#include "shell/plan/PlanWindow.h"
#include "shell/tools/BookmarkSettings.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/ShellText.h"
#include "shell/ui/TextFieldForm.h"

namespace vellmar {

namespace {

QString NameText(const std::string& name) { return QString::fromStdString(name); }

// A menu takes "&" for the mark of its shortcut letter.
QString MenuText(const std::string& name) { return NameText(name).replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

TViewBookmarkActions::TViewBookmarkActions(IPlanWindow& form)
    : QObject(&form.Window()),
      form_(form),
      add_(new QAction(tr("Добавить закладку…"), &form.Window())),
      open_(new QAction(QIcon(ToolBarPicture(TToolBarPicture::Bookmarks, form.Window().devicePixelRatioF())), tr("Закладки"), &form.Window())),
      menu_(new QMenu(&form.Window())),
      renameMenu_(new QMenu(tr("Переименовать"), menu_)),
      removeMenu_(new QMenu(tr("Удалить"), menu_)) {
  setObjectName(QStringLiteral("viewBookmarks"));
  renameMenu_->setObjectName(QStringLiteral("renameBookmark"));
  removeMenu_->setObjectName(QStringLiteral("removeBookmark"));
  add_->setObjectName(QStringLiteral("bookmarkAdd"));
  add_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
  form.Window().addAction(add_);
  connect(add_, &QAction::triggered, this, [this] { AskName(); });
  menu_->setObjectName(QStringLiteral("bookmarksMenu"));
  connect(menu_, &QMenu::aboutToShow, this, &TViewBookmarkActions::FillMenu);
  open_->setObjectName(QStringLiteral("bookmarks"));
  open_->setToolTip(tr("Закладки вида этого файла (Ctrl+B, добавить: Ctrl+D)"));
  open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
  open_->setMenu(menu_);
  form.AddToolButton(open_);
  // The button's menu opens on a click; the shortcut opens it under the button.
  QToolButton* button = nullptr;
  for (QToolButton* candidate : form.Window().findChildren<QToolButton*>()) {
    if (candidate->defaultAction() == open_) button = candidate;
  }
  if (button) button->setPopupMode(QToolButton::InstantPopup);
  connect(open_, &QAction::triggered, this, [this, button] {
    menu_->popup(button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos());
  });
  changeHook_ = form.AddChangeHook([this] { add_->setEnabled(!FilePath().isEmpty()); });
}

TViewBookmarkActions::~TViewBookmarkActions() { form_.RemoveChangeHook(changeHook_); }

QString TViewBookmarkActions::FilePath() const {
  // A street made in the window and never saved has no file to keep bookmarks for.
  if (form_.Drawer().Street().FileName().empty()) return QString();
  return TStreetsHolderModule::StreetPath(form_.Streets().CurrentFileName());
}

TViewBookmarks TViewBookmarkActions::Bookmarks() const {
  const QString path = FilePath();
  return path.isEmpty() ? TViewBookmarks() : ReadViewBookmarks(path);
}

void TViewBookmarkActions::FillMenu() {
  menu_->clear();
  renameMenu_->clear();
  removeMenu_->clear();
  menu_->addAction(add_);
  const TViewBookmarks bookmarks = Bookmarks();
  if (FilePath().isEmpty()) {
    menu_->addAction(tr("Улица не сохранена в файл: закладок нет"))->setEnabled(false);
    return;
  }
  if (bookmarks.Items().empty()) return;
  menu_->addSeparator();
  for (std::size_t i = 0; i < bookmarks.Items().size(); ++i) {
    const QString name = MenuText(bookmarks.Items()[i].Name);
    connect(menu_->addAction(name), &QAction::triggered, this, [this, i] { GoTo(i); });
    connect(renameMenu_->addAction(name), &QAction::triggered, this, [this, i] { AskName(i); });
    connect(removeMenu_->addAction(name), &QAction::triggered, this, [this, i] { Remove(i); });
  }
  menu_->addSeparator();
  menu_->addMenu(renameMenu_);
  menu_->addMenu(removeMenu_);
}

void TViewBookmarkActions::GoTo(std::size_t index) {
  const TViewBookmarks bookmarks = Bookmarks();
  if (index >= bookmarks.Items().size()) return;
  form_.Drawer().SetView(bookmarks.Items()[index].View);
  form_.PlanChanged();
}

void TViewBookmarkActions::Remove(std::size_t index) {
  TViewBookmarks bookmarks = Bookmarks();
  bookmarks.Remove(index);
  const QString error = Store(FilePath(), bookmarks);
  if (!error.isEmpty()) QMessageBox::warning(&form_.Window(), form_.Window().windowTitle(), error);
}

QDialog& TViewBookmarkActions::NameForm() {
  if (!nameForm_) {
    nameForm_ = new TTextFieldForm(form_.Window(), QStringLiteral("bookmarkNameForm"), tr("Имя закладки:"), QStringLiteral("name"),
                                   QString(), [this](const QString& text) { return ApplyName(text); });
    // The plan and its tabs wait while the name is asked for.
    nameForm_->Dialog().setWindowModality(Qt::WindowModal);
  }
  return nameForm_->Dialog();
}

void TViewBookmarkActions::AskName(std::optional<std::size_t> renaming) {
  const TViewBookmarks bookmarks = Bookmarks();
  if (FilePath().isEmpty() || (renaming && *renaming >= bookmarks.Items().size())) return;
  NameForm();
  namingPath_ = FilePath();
  namingView_ = form_.Drawer().View();
  renaming_ = renaming;
  if (renaming) {
    nameForm_->Show(tr("Переименовать закладку"), NameText(bookmarks.Items()[*renaming].Name));
    return;
  }
  // A name not taken yet, to keep or to type over.
  int n = static_cast<int>(bookmarks.Items().size()) + 1;
  while (bookmarks.Contains(tr("Вид %1").arg(n).toStdString())) ++n;
  nameForm_->Show(tr("Новая закладка"), tr("Вид %1").arg(n));
}

QString TViewBookmarkActions::ApplyName(const QString& text) {
  TViewBookmarks bookmarks = ReadViewBookmarks(namingPath_);
  const std::string name = text.toStdString();
  if (TViewBookmarks::CleanName(name).empty()) return tr("Закладке нужно имя.");
  if (renaming_ ? !bookmarks.Rename(*renaming_, name) : !bookmarks.Add(name, namingView_)) {
    return tr("Закладка «%1» уже есть: выберите другое имя.").arg(NameText(TViewBookmarks::CleanName(name)));
  }
  return Store(namingPath_, bookmarks);
}

QString TViewBookmarkActions::Store(const QString& filePath, const TViewBookmarks& bookmarks) {
  try {
    WriteViewBookmarks(filePath, bookmarks);
  } catch (const std::exception& error) {
    return ErrorText(error);
  }
  return QString();
}

}  // namespace vellmar
