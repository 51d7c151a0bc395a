#pragma once
// Initialisation files ("[Section]" lines followed by "Key=Value" lines), read the
// way Windows reads them: the 1251 bytes are kept as they are, section and key names
// match whatever their case, the first of two equal keys wins, and only whole lines
// beginning with ";" are comments (a ";" inside a value belongs to the value).
// The reader owns copies of the texts; the file is not kept open.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmar {

class TIniReader {
 public:
  static TIniReader FromText(std::string_view bytes);
  // nullopt when the file cannot be read; callers treat that as an empty library.
  static std::optional<TIniReader> FromFile(const std::filesystem::path& path);

  // Section names in file order; a section that appears twice is listed once, and
  // its keys are looked up in both parts, the earlier first.
  std::vector<std::string> Sections() const;
  bool HasSection(std::string_view section) const;
  // Key names of a section in file order, each once.
  std::vector<std::string> Keys(std::string_view section) const;

  // The value with surrounding blanks removed and one pair of enclosing quotes
  // ("..." or '...') taken off; nullopt when the key is absent.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
  // fallback when the key is absent or its value is not a whole number of that kind
  // ("." as decimal separator).
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback = 0) const;
  double ReadFloat(std::string_view section, std::string_view key, double fallback = 0) const;
  // An integer, non-zero meaning true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback = false) const;

 private:
  struct TEntry {
    std::string Key;
    std::string Value;
  };
  struct TSection {
    std::string Name;
    std::vector<TEntry> Entries;
  };

  // sections_.size() when there is no such section.
  std::size_t SectionIndex(std::string_view name) const;
  const TSection* FindSection(std::string_view name) const;

  std::vector<TSection> sections_;
};

}  // namespace vellmar
