#include "shell/ui/ShellText.h"

#include "platform/text/Cp1251.h"

namespace vellmar {

QString FromCp1251(std::string_view text) { return QString::fromStdString(Cp1251ToUtf8(text)); }

std::string ToCp1251(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

std::filesystem::path LocalPath(const QString& path) {
  const QByteArray bytes = path.toUtf8();
  return std::filesystem::path(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QString ErrorText(const std::exception& error) { return FromCp1251(error.what()); }

}  // namespace vellmar
