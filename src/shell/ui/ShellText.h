#pragma once
// Texts crossing between the core (Windows-1251 bytes, std::filesystem paths) and Qt
// (UTF-16 strings).

#include <exception>
#include <filesystem>
#include <string_view>

#include <QString>

namespace vellmar {

QString FromCp1251(std::string_view text);
std::string ToCp1251(const QString& text);
// A path as the file system spells it (UTF-8 bytes on Linux).
std::filesystem::path LocalPath(const QString& path);
// The message of an error for a message box; the core's messages are 1251 bytes.
QString ErrorText(const std::exception& error);

}  // namespace vellmar
