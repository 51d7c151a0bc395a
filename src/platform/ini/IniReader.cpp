#include "platform/ini/IniReader.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "platform/text/Blanks.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {
namespace {

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

TIniReader TIniReader::FromText(std::string_view bytes) {
  TIniReader reader;
  std::optional<std::size_t> current;  // index into sections_
  std::size_t start = 0;
  while (start < bytes.size()) {
    // CR LF, LF and a lone CR all end a line.
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = TrimBlanks(bytes.substr(start, end - start));
    start = end + 1;
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++start;

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const auto close = line.rfind(']');
      if (close == std::string_view::npos)
        continue;  // not a header: skipped, keys go on into the open section
      const std::string_view name = TrimBlanks(line.substr(1, close - 1));
      current = reader.SectionIndex(name);
      if (*current == reader.sections_.size()) reader.sections_.push_back({std::string(name), {}});
      continue;
    }
    const auto equals = line.find('=');
    // Lines before the first section and lines without "=" hold no key.
    if (!current || equals == std::string_view::npos) continue;
    reader.sections_[*current].Entries.push_back(
        {std::string(TrimBlanks(line.substr(0, equals))), std::string(TrimBlanks(line.substr(equals + 1)))});
  }
  return reader;
}

std::optional<TIniReader> TIniReader::FromFile(const std::filesystem::path& path) {
  // A folder or a device is no initialisation file (and reading one may block or throw).
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  try {
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) return std::nullopt;
    return FromText(bytes);
  } catch (const std::ios_base::failure&) {
    return std::nullopt;
  }
}

std::size_t TIniReader::SectionIndex(std::string_view name) const {
  std::size_t index = 0;
  while (index < sections_.size() && !Cp1251EqualsNoCase(sections_[index].Name, name)) ++index;
  return index;
}

const TIniReader::TSection* TIniReader::FindSection(std::string_view name) const {
  const std::size_t index = SectionIndex(name);
  return index < sections_.size() ? &sections_[index] : nullptr;
}

std::vector<std::string> TIniReader::Sections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const TSection& section : sections_) names.push_back(section.Name);
  return names;
}

bool TIniReader::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

std::vector<std::string> TIniReader::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  const TSection* found = FindSection(section);
  if (!found) return keys;
  for (const TEntry& entry : found->Entries) {
    bool seen = false;
    for (const std::string& key : keys) seen = seen || Cp1251EqualsNoCase(key, entry.Key);
    if (!seen) keys.push_back(entry.Key);
  }
  return keys;
}

std::optional<std::string> TIniReader::Value(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  if (!found) return std::nullopt;
  for (const TEntry& entry : found->Entries) {
    if (Cp1251EqualsNoCase(entry.Key, key)) return std::string(Unquote(entry.Value));
  }
  return std::nullopt;
}

std::string TIniReader::ReadString(std::string_view section, std::string_view key,
                                   std::string_view fallback) const {
  auto value = Value(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

std::int32_t TIniReader::ReadInteger(std::string_view section, std::string_view key,
                                     std::int32_t fallback) const {
  const auto value = Value(section, key);
  const auto number = value ? ParseInt32(*value) : std::nullopt;
  return number.value_or(fallback);
}

double TIniReader::ReadFloat(std::string_view section, std::string_view key, double fallback) const {
  const auto value = Value(section, key);
  const auto number = value ? ParseDouble(*value) : std::nullopt;
  return number.value_or(fallback);
}

bool TIniReader::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

}  // namespace vellmar
