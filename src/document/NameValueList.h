#pragma once
// Lines of the form Name=Value, as the street keeps its group table and drawing
// options. Names are matched without regard to case (Windows-1251 letters included);
// values are returned as stored.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmar {

class TNameValueList {
 public:
  std::vector<std::string>& Lines() { return lines_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  bool Empty() const { return lines_.empty(); }
  void Clear() { lines_.clear(); }

  // The value of the first line whose name matches; nothing when no line has the name.
  std::optional<std::string> Value(std::string_view name) const;
  // Replaces the value of the first line with the name, or appends a line.
  void SetValue(std::string_view name, std::string_view value);

 private:
  int IndexOfName(std::string_view name) const;

  std::vector<std::string> lines_;
};

}  // namespace vellmar
