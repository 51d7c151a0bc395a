#include "shell/files/StreetsHolderModule.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFileInfo>

#include "document/StreetStructure.h"
#include "platform/AtomicFile.h"
#include "shell/files/FileMessages.h"
#include "shell/ui/Settings.h"
#include "shell/ui/ShellPrompts.h"
#include "shell/ui/ShellText.h"

namespace vellmar {

namespace {

const QString kSection = QStringLiteral("StreetsHolderModule");
const QString kIntervalName = QStringLiteral("AutoSaveTimer.Interval");
const QString kRecentName = QStringLiteral("RecentFiles");
const QString kAutoSaveMark = QStringLiteral("_autosave_");
constexpr int kRecentLimit = 200;
constexpr int kMinuteMs = 60000;

}  // namespace

TStreetsHolderModule::TStreetsHolderModule(IShellPrompts& prompts)
    : prompts_(prompts), openDialog_(prompts, kSection + QStringLiteral(".OpenDialog")) {
  const int minutes = ReadSettingInteger(kSection, kIntervalName);
  autoSaveTimer_.setInterval(std::max(minutes, 1) * kMinuteMs);
  connect(&autoSaveTimer_, &QTimer::timeout, this, &TStreetsHolderModule::AutoSave);
  autoSaveTimer_.start();
  workingTimer_.setInterval(kMinuteMs);
  workingTimer_.setSingleShot(true);
  connect(&workingTimer_, &QTimer::timeout, this, &TStreetsHolderModule::CountWorkedMinute);
  workingTimer_.start();
}

TStreetsHolderModule::~TStreetsHolderModule() {
  CloseAll();
  try {
    WriteSettingInteger(kSection, kIntervalName, autoSaveTimer_.interval() / kMinuteMs);
  } catch (const std::exception&) {
    // A settings file that cannot be written at exit costs only the interval.
  }
}

QStringList TStreetsHolderModule::TabCaptions() const {
  QStringList captions;
  for (const TEntry& entry : streets_) captions << QFileInfo(entry.FileName).fileName();
  return captions;
}

bool TStreetsHolderModule::IsOpen(const TStreetStructure* street) const {
  for (const auto& open : streets_) {
    if (open.Street.get() == street) return true;
  }
  return false;
}

TStreetStructure& TStreetsHolderModule::CurrentStreet() {
  if (streets_.empty()) currentIndex_ = NewStreet();
  currentIndex_ = std::clamp(currentIndex_, 0, StreetCount() - 1);
  return StreetAt(currentIndex_);
}

QString TStreetsHolderModule::CurrentFileName() const {
  return currentIndex_ >= 0 && currentIndex_ < StreetCount() ? FileNameAt(currentIndex_) : QString();
}

int TStreetsHolderModule::NewStreet() {
  auto street = std::make_unique<TStreetStructure>();
  const QStringList captions = TabCaptions();
  QString name = QStringLiteral("Street.pln");
  for (int n = 1; captions.contains(name, Qt::CaseInsensitive); ++n) {
    name = QStringLiteral("Street%1.pln").arg(n);
  }
  streets_.push_back({name, std::move(street)});
  currentIndex_ = StreetCount() - 1;
  return currentIndex_;
}

bool TStreetsHolderModule::SameStreetFile(const QString& a, const QString& b) {
  if (StreetPath(a) == StreetPath(b)) return true;
  // A name that does not exist (a new street's) is no other file.
  std::error_code error;
  return std::filesystem::equivalent(LocalPath(a), LocalPath(b), error) && !error;
}

int TStreetsHolderModule::IndexOfFile(const QString& fileName) const {
  for (int i = 0; i < StreetCount(); ++i) {
    if (SameStreetFile(FileNameAt(i), fileName)) return i;
  }
  return -1;
}

void TStreetsHolderModule::NoteRecentFile(const QString& fileName) {
  WriteSettingsOrWarn([&] { AddToRecentList(kSection, kRecentName, fileName, kRecentLimit); },
                      [this](const QString& text) { prompts_.ShowMessage(text); });
}

QStringList TStreetsHolderModule::RecentFiles() {
  QStringList files;
  ReadSettingList(kSection, kRecentName, files);
  return files;
}

void TStreetsHolderModule::ClearRecentFiles() { WriteSettingList(kSection, kRecentName, {}); }

QString TStreetsHolderModule::StreetPath(const QString& fileName) {
  return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

int TStreetsHolderModule::FindOpenFile(const QString& path) {
  const int open = IndexOfFile(path);
  if (open >= 0) prompts_.ShowMessage(tr("Файл уже загружен."));
  return open;
}

int TStreetsHolderModule::AddStreet(const QString& path, std::unique_ptr<TStreetStructure> street) {
  if (const int open = FindOpenFile(path); open >= 0) return open;
  streets_.push_back({path, std::move(street)});
  openDialog_.SetFileName(path);
  NoteRecentFile(path);
  return StreetCount() - 1;
}

void TStreetsHolderModule::ReplaceStreet(int index, std::unique_ptr<TStreetStructure> street) {
  InDeviceScope([&] { streets_.at(static_cast<size_t>(index)).Street = std::move(street); });
}

void TStreetsHolderModule::InDeviceScope(const std::function<void()>& work) const {
  if (deviceScope_) {
    deviceScope_(work);
  } else {
    work();
  }
}

int TStreetsHolderModule::OpenFile(const QString& fileName) {
  const QString path = StreetPath(fileName);
  if (const int open = FindOpenFile(path); open >= 0) return open;
  auto street = std::make_unique<TStreetStructure>();
  street->LoadFromFile(LocalPath(path));
  return AddStreet(path, std::move(street));
}

int TStreetsHolderModule::OpenFiles(const QStringList& fileNames) {
  int result = -1;
  for (const QString& fileName : fileNames) {
    try {
      result = OpenFile(fileName);
    } catch (const std::exception& error) {
      prompts_.ShowError(OpenFailureText(fileName), ErrorText(error));
    }
  }
  if (result != -1) currentIndex_ = result;
  return result;
}

void TStreetsHolderModule::DropPristineStreets() {
  const TStreetStructure* current =
      currentIndex_ >= 0 && currentIndex_ < StreetCount() ? &StreetAt(currentIndex_) : nullptr;
  for (int i = StreetCount() - 1; i >= 0; --i) {
    if (StreetAt(i).IsPristine() && StreetCount() > 1) CloseStreet(i, false);
  }
  currentIndex_ = 0;
  for (int i = 0; i < StreetCount(); ++i) {
    if (&StreetAt(i) == current) currentIndex_ = i;
  }
}

void TStreetsHolderModule::CloseStreet(int index, bool force) {
  TStreetStructure& street = StreetAt(index);
  if (!force && street.Modified()) {
    switch (prompts_.AskYesNoCancel(tr("Улица не сохранена.Сохранять?"))) {
      case TAnswer::Cancel: return;
      case TAnswer::Yes: SaveStreet(index); break;
      case TAnswer::No: force = true; break;
    }
  }
  if (!force && street.Modified()) return;
  InDeviceScope([&] { streets_.erase(streets_.begin() + index); });
  if (currentIndex_ >= index) currentIndex_ = std::max(currentIndex_ - 1, 0);
}

void TStreetsHolderModule::CloseAll() {
  if (!streets_.empty()) InDeviceScope([&] { streets_.clear(); });
}

bool TStreetsHolderModule::QuerySaveAll() {
  const auto unsaved = [this] {
    return std::any_of(streets_.begin(), streets_.end(),
                       [](const TEntry& e) { return e.Street->Modified() && !e.Street->IsPristine(); });
  };
  if (!unsaved()) return true;
  switch (prompts_.AskYesNoCancel(tr("Есть несохраненные улицы. Сохранять?"))) {
    case TAnswer::No: return true;
    case TAnswer::Cancel: return false;
    case TAnswer::Yes: break;
  }
  for (int i = 0; i < StreetCount(); ++i) {
    try {
      SaveStreet(i);
    } catch (const std::exception& error) {
      prompts_.ShowError(SaveFailureText(FileNameAt(i)), ErrorText(error));
    }
  }
  return !unsaved();
}

void TStreetsHolderModule::SaveStreet(int index) {
  TStreetStructure& street = StreetAt(index);
  if (street.IsPristine() || !street.Modified()) return;
  const QString& name = FileNameAt(index);
  if (QFileInfo(name).isFile()) {
    SaveStreetAs(index, name);
    return;
  }
  const QString chosen = prompts_.ChooseSaveName(name);
  if (!chosen.isEmpty()) SaveStreetAs(index, chosen);
}

void TStreetsHolderModule::SaveStreetAs(int index, const QString& fileName) {
  const QString path = StreetPath(fileName);
  streets_.at(static_cast<size_t>(index)).FileName = path;
  StreetAt(index).SaveToFile(LocalPath(path));
  emit StreetSaved(path);
  NoteRecentFile(path);
}

void TStreetsHolderModule::NoteActivity() {
  if (!workingTimer_.isActive()) workingTimer_.start();
}

void TStreetsHolderModule::AutoSave() {
  if (currentIndex_ < 0 || currentIndex_ >= StreetCount()) return;
  TStreetStructure& street = StreetAt(currentIndex_);
  if (!street.Modified()) return;
  const QString name = FileNameAt(currentIndex_);
  const QFileInfo file(name);
  if (name.contains(kAutoSaveMark) || !file.isFile()) return;
  const QString copy = file.absolutePath() + QLatin1Char('/') + kAutoSaveMark + file.fileName();
  try {
    TAtomicFile target(LocalPath(copy));
    street.SaveToStream(target.Stream());
    target.Commit();
    autoSaveFailure_.clear();
  } catch (const std::exception& error) {
    const QString text = ErrorText(error);
    if (text != autoSaveFailure_) prompts_.ShowMessage(text);
    autoSaveFailure_ = text;
  }
  // Writing the copy cleared the flag; the street itself is still unsaved.
  street.MarkModified();
}

void TStreetsHolderModule::CountWorkedMinute() {
  if (streets_.empty()) return;
  TStreetStructure& street = CurrentStreet();
  street.SetWorkTime(street.WorkTime() + 1);
}

}  // namespace vellmar
