// Data files and stored names are untrusted bytes: the initialisation-file reader,
// the 1251 conversions, number parsing and Windows path splitting must take any
// input without a fault, and keep their round-trip promises.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/files/PathLookup.h"
#include "platform/ini/IniReader.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"
#include "platform/text/Utf8.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellmar;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Every 1251 text survives the trip through UTF-8.
  Require(Utf8ToCp1251(Cp1251ToUtf8(bytes)) == bytes);
  Require(Cp1251EqualsNoCase(bytes, Cp1251ToUpper(bytes)));
  Require(Utf8EqualsNoCase(bytes, bytes));
  Utf8ToCp1251(bytes);

  if (const auto value = ParseDouble(bytes)) Require(ParseDouble(FormatGeneral(*value, 17)) == value);
  ParseInt32(bytes);

  for (const std::string& part : SplitWindowsPath(bytes).Components) {
    Require(!part.empty() && part.find_first_of("\\/") == std::string::npos);
  }

  const TIniReader ini = TIniReader::FromText(bytes);
  for (const std::string& section : ini.Sections()) {
    Require(ini.HasSection(section));
    for (const std::string& key : ini.Keys(section)) {
      Require(ini.Value(section, key).has_value());
      ini.ReadInteger(section, key);
      ini.ReadFloat(section, key);
    }
  }
  return 0;
}
