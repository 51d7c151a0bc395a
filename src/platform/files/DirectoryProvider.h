#pragma once
// The data directories the user chooses by purpose ("Каталог библиотеки метафайлов"):
// the core asks here, the viewer fills in the choices it keeps in its settings and
// installs the dialog that asks the user. Without a stored choice a purpose's directory
// is the data root's DefaultDirs/<purpose>. The process-wide provider lives until exit.

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace vellmar {

class TDirectoryProvider {
 public:
  // Lets the user choose the purpose's directory and stores the choice with
  // SetDirectory; false when the user declined.
  using TAsker = std::function<bool(TDirectoryProvider& provider, const std::string& purpose)>;

  // Purposes are Windows-1251 texts; directories are paths on this system.
  void SetDirectory(const std::string& purpose, std::filesystem::path directory);
  // The stored choice, else <data root>/DefaultDirs/<purpose> (the executable's
  // DataFiles when there is no data root, so the caller can name where it looked).
  std::filesystem::path GetDirectory(const std::string& purpose) const;
  // Asks the user through the installed asker; without one nobody can be asked and the
  // result is false. On true, directory is the purpose's directory after the choice.
  bool AskDirectory(const std::string& purpose, std::filesystem::path& directory);
  void SetAsker(TAsker asker) { asker_ = std::move(asker); }

 private:
  std::map<std::string, std::filesystem::path, std::less<>> stored_;
  TAsker asker_;
};

// The provider of the process.
TDirectoryProvider& DirectoryProvider();

}  // namespace vellmar
