#include "document/LnParam.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/Stream.h"
#include "platform/files/DataRoot.h"
#include "platform/ini/IniReader.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

constexpr char kRead[] = "ReadLnParams";
constexpr std::string_view kDefaultFile = "\\DataFiles\\Разметка\\Default.LnRazmet"_cp1251;

}  // namespace

void SetShortString(TShortString& target, std::string_view text) {
  const std::size_t length = std::min(text.size(), kShortStringMax);
  target.fill(0);
  target[0] = static_cast<uint8_t>(length);
  std::memcpy(target.data() + 1, text.data(), length);
}

TLnParams LoadLnParamsFromIni(const std::filesystem::path& fileName) {
  const auto ini = TIniReader::FromFile(fileName);
  if (!ini) return {};
  TLnParams params;
  for (const std::string& section : ini->Sections()) {
    LnParam& param = params.emplace_back();
    SetShortString(param.Name, section);
    SetShortString(param.TextureFile, ini->ReadString(section, "TextureFile"));
    param.Period = static_cast<float>(ini->ReadFloat(section, "Period"));
    param.Disp1 = static_cast<float>(ini->ReadFloat(section, "Disp1"));
    param.Disp2 = static_cast<float>(ini->ReadFloat(section, "Disp2"));
    SetShortString(param.Description, ini->ReadString(section, "Description"));
    param.SqCoeff = static_cast<float>(ini->ReadFloat(section, "SqCoeff"));
    param.FullPeriods = ini->ReadBool(section, "FullPeriods");
    param.Yellow = ini->ReadBool(section, "Yellow");
    param.Plastic = ini->ReadBool(section, "Plastic");
    param.CountItems = ini->ReadBool(section, "CountItems");
  }
  return params;
}

TLnParams LoadDefaultLnParams() {
  const auto path = ResolveDataPath(kDefaultFile);
  return path ? LoadLnParamsFromIni(*path) : TLnParams{};
}

int32_t FindLnParam(std::string_view name, const TLnParams& params) {
  const auto found = std::find_if(params.begin(), params.end(),
                                  [&](const LnParam& param) { return ShortStringText(param.Name) == name; });
  return found == params.end() ? -1 : static_cast<int32_t>(found - params.begin());
}

void ReadLnParams(TStream& stream, TLnParams& params) {
  if (!TestIdent(stream, "LNPARAMS")) return;
  const int32_t count = ReadInt32(stream);
  const int32_t size = ReadInt32(stream);
  if (size < 1)
    throw EVellmarError(std::string(kRead) + ": record size " + std::to_string(size) + " is below 1");
  if (count < 0 || int64_t{count} * size > stream.Remaining()) {
    throw EVellmarError(std::string(kRead) + ": " + std::to_string(count) + " records of " +
                        std::to_string(size) + " bytes do not fit the " + std::to_string(stream.Remaining()) +
                        " bytes left");
  }
  if (count > kMaxLnParams) {
    throw EVellmarError(std::string(kRead) + ": " + std::to_string(count) + " records are more than the " +
                        std::to_string(kMaxLnParams) + " a library may hold");
  }
  const std::size_t taken = std::min<std::size_t>(static_cast<std::size_t>(size), sizeof(LnParam));
  const int64_t skipped = size - static_cast<int64_t>(taken);
  TLnParams table(static_cast<std::size_t>(count));
  for (LnParam& param : table) {
    stream.ReadBuffer(&param, taken, kRead);
    if (skipped > 0) stream.Seek(skipped, TSeekOrigin::Current);
  }
  params = std::move(table);
}

void WriteLnParams(TStream& stream, const TLnParams& params) {
  WriteIdent(stream, "LNPARAMS");
  WriteCount(stream, params.size());
  WriteInt32(stream, static_cast<int32_t>(sizeof(LnParam)));
  for (const LnParam& param : params) stream.Write(&param, sizeof(LnParam));
}

}  // namespace vellmar
