#include "document/ViewBookmarks.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vellmar {

namespace {

constexpr std::size_t kNumbers = 5;

void AppendNumber(std::string& line, float value) {
  std::array<char, 32> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  line.append(digits.data(), end);
  line += ' ';
}

// The next number of the line and the blank after it; nullopt when there is none.
std::optional<float> TakeNumber(std::string_view& rest) {
  float value = 0.0f;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (error != std::errc() || end == rest.data() + rest.size() || *end != ' ' || !std::isfinite(value)) {
    return std::nullopt;
  }
  rest.remove_prefix(static_cast<std::size_t>(end - rest.data()) + 1);
  return value;
}

std::optional<TViewBookmark> ReadLine(std::string_view line) {
  std::array<float, kNumbers> numbers{};
  for (float& number : numbers) {
    const std::optional<float> value = TakeNumber(line);
    if (!value) return std::nullopt;
    number = *value;
  }
  TViewBookmark bookmark{TViewBookmarks::CleanName(line), {{numbers[0], numbers[1], numbers[2]}, numbers[3], numbers[4]}};
  if (bookmark.Name.empty() || !(bookmark.View.Scale > 0.0f)) return std::nullopt;
  return bookmark;
}

}  // namespace

TViewBookmarks TViewBookmarks::FromLines(const std::vector<std::string>& lines) {
  TViewBookmarks bookmarks;
  for (const std::string& line : lines) {
    if (const std::optional<TViewBookmark> bookmark = ReadLine(line); bookmark && !bookmarks.Find(bookmark->Name)) {
      bookmarks.items_.push_back(*bookmark);
    }
  }
  return bookmarks;
}

std::vector<std::string> TViewBookmarks::ToLines() const {
  std::vector<std::string> lines;
  for (const TViewBookmark& bookmark : items_) {
    std::string line;
    const TViewState& view = bookmark.View;
    for (const float value : {view.Centre.x, view.Centre.y, view.Centre.z, view.Scale, view.Rotation}) {
      AppendNumber(line, value);
    }
    line += bookmark.Name;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string TViewBookmarks::CleanName(std::string_view name) {
  std::string clean(name);
  for (char& c : clean) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  const std::size_t first = clean.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return clean.substr(first, clean.find_last_not_of(' ') - first + 1);
}

bool TViewBookmarks::Add(std::string_view name, const TViewState& view) {
  std::string clean = CleanName(name);
  if (clean.empty() || Find(clean)) return false;
  items_.push_back({std::move(clean), view});
  return true;
}

bool TViewBookmarks::Rename(std::size_t index, std::string_view name) {
  std::string clean = CleanName(name);
  if (index >= items_.size() || clean.empty()) return false;
  if (const std::optional<std::size_t> other = Find(clean); other && *other != index) return false;
  items_[index].Name = std::move(clean);
  return true;
}

void TViewBookmarks::Remove(std::size_t index) {
  if (index < items_.size()) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::size_t> TViewBookmarks::Find(std::string_view name) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].Name == name) return i;
  }
  return std::nullopt;
}

}  // namespace vellmar
