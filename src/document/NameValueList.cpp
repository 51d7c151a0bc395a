#include "document/NameValueList.h"

#include "platform/text/Cp1251.h"

namespace vellmar {

int TNameValueList::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && Cp1251EqualsNoCase(line.substr(0, equals), name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<std::string> TNameValueList::Value(std::string_view name) const {
  const int index = IndexOfName(name);
  if (index < 0) return std::nullopt;
  const std::string& line = lines_[static_cast<size_t>(index)];
  return line.substr(line.find('=') + 1);
}

void TNameValueList::SetValue(std::string_view name, std::string_view value) {
  std::string line = std::string(name) + '=' + std::string(value);
  const int index = IndexOfName(name);
  if (index < 0) {
    lines_.push_back(std::move(line));
  } else {
    lines_[static_cast<size_t>(index)] = std::move(line);
  }
}

}  // namespace vellmar
