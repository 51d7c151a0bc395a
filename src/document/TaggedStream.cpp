#include "document/TaggedStream.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "platform/Error.h"

namespace vellmar {

static_assert(std::endian::native == std::endian::little, "stored values are little-endian");

namespace {

template <class T>
void WriteValue(TStream& stream, T value) {
  stream.Write(&value, sizeof value);
}

template <class T>
T ReadValue(TStream& stream, const char* who) {
  T value;
  stream.ReadBuffer(&value, sizeof value, who);
  return value;
}

[[noreturn]] void Damaged(const char* who, const std::string& what) {
  throw EVellmarError(std::string(who) + ": " + what);
}

std::string BytesLeft(const TStream& stream) {
  return "the " + std::to_string(stream.Remaining()) + " bytes left";
}

TIdent ReadIdentValue(TStream& stream, const char* who) {
  return TIdent::FromBytes(ReadValue<std::array<char, TIdent::kLength>>(stream, who));
}

void CheckTagsSize(std::int32_t tagsSize, const char* who) {
  if (tagsSize < kMinTagsSize || tagsSize > kMaxTagsSize) {
    Damaged(who, "TagsSize " + std::to_string(tagsSize) + " outside 4..8");
  }
}

}  // namespace

void WriteIdent(TStream& stream, const TIdent& ident) {
  stream.Write(ident.Bytes().data(), TIdent::kLength);
}

bool TestIdent(TStream& stream, const TIdent& ident) {
  std::array<char, TIdent::kLength> bytes{};
  if (stream.Read(bytes.data(), bytes.size()) < bytes.size()) return false;
  if (bytes == ident.Bytes()) return true;
  stream.Seek(-static_cast<std::int64_t>(TIdent::kLength), TSeekOrigin::Current);
  return false;
}

TIdent ReadIdent(TStream& stream) {
  return ReadIdentValue(stream, "TStream.ReadIdent");
}

void WriteInt32(TStream& stream, std::int32_t value) {
  WriteValue(stream, value);
}
std::int32_t ReadInt32(TStream& stream) {
  return ReadValue<std::int32_t>(stream, "TStream.ReadInt32");
}

void WriteFlag(TStream& stream, bool value) {
  WriteValue<std::uint8_t>(stream, value ? 1 : 0);
}
bool ReadFlag(TStream& stream) {
  return ReadValue<std::uint8_t>(stream, "TStream.ReadFlag") != 0;
}

void WriteByte(TStream& stream, std::uint8_t value) {
  WriteValue(stream, value);
}
std::uint8_t ReadByte(TStream& stream) {
  return ReadValue<std::uint8_t>(stream, "TStream.ReadByte");
}

void WriteSingle(TStream& stream, float value) {
  WriteValue(stream, value);
}
float ReadSingle(TStream& stream) {
  return ReadValue<float>(stream, "TStream.ReadSingle");
}

void WriteDouble(TStream& stream, double value) {
  WriteValue(stream, value);
}
double ReadDouble(TStream& stream) {
  return ReadValue<double>(stream, "TStream.ReadDouble");
}

void WriteXYZ(TStream& stream, const TXYZ& point) {
  WriteSingle(stream, point.x);
  WriteSingle(stream, point.y);
  WriteSingle(stream, point.z);
}
TXYZ ReadXYZ(TStream& stream) {
  TXYZ point;
  point.x = ReadSingle(stream);
  point.y = ReadSingle(stream);
  point.z = ReadSingle(stream);
  return point;
}

void WriteString(TStream& stream, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    Damaged("TStream.WriteString", "length " + std::to_string(text.size()) + " does not fit a String");
  }
  WriteInt32(stream, static_cast<std::int32_t>(text.size()));
  stream.Write(text.data(), text.size());
}

std::string ReadString(TStream& stream) {
  const char* who = "TStream.ReadString";
  const std::int32_t length = ReadValue<std::int32_t>(stream, who);
  if (length < 0) Damaged(who, "negative length " + std::to_string(length));
  if (length > stream.Remaining()) {
    Damaged(who, "length " + std::to_string(length) + " exceeds " + BytesLeft(stream));
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  stream.ReadBuffer(text.data(), text.size(), who);
  return text;
}

void WriteTextList(TStream& stream, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  WriteString(stream, text);
}

std::vector<std::string> ReadTextList(TStream& stream) {
  return SplitTextLines(ReadString(stream));
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    if (end == text.size()) break;
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crlf ? 2 : 1);
  }
  return lines;
}

std::int32_t ReadTagsSize(TStream& stream) {
  const char* who = "TStream.ReadTagsSize";
  const std::int32_t tagsSize = ReadValue<std::int32_t>(stream, who);
  CheckTagsSize(tagsSize, who);
  return tagsSize;
}

void WriteKindSet(TStream& stream, const TKindSet& kinds, std::int32_t tagsSize) {
  const char* who = "TStream.WriteKindSet";
  CheckTagsSize(tagsSize, who);
  std::array<std::uint8_t, kMaxTagsSize> bytes{};
  std::copy(kinds.Bytes().begin(), kinds.Bytes().end(), bytes.begin());
  for (int kind = tagsSize * 8; kind < TKindSet::kKinds; ++kind) {
    if (kinds.Contains(kind)) {
      Damaged(who, "kind " + std::to_string(kind) + " does not fit TagsSize " + std::to_string(tagsSize));
    }
  }
  stream.Write(bytes.data(), static_cast<std::size_t>(tagsSize));
}

TKindSet ReadKindSet(TStream& stream, std::int32_t tagsSize) {
  const char* who = "TStream.ReadKindSet";
  CheckTagsSize(tagsSize, who);
  std::array<std::uint8_t, kMaxTagsSize> bytes{};
  stream.ReadBuffer(bytes.data(), static_cast<std::size_t>(tagsSize), who);
  TKindSet::TBytes kept{};
  std::copy_n(bytes.begin(), kept.size(), kept.begin());
  return TKindSet::FromBytes(kept);
}

void WriteObjectRef(TStream& stream, const TObjectRef& reference) {
  WriteIdent(stream, reference.ClassIdent);
  WriteInt32(stream, reference.ID);
}

TObjectRef ReadObjectRef(TStream& stream) {
  const char* who = "TStream.ReadObjectRef";
  TObjectRef reference;
  reference.ClassIdent = ReadIdentValue(stream, who);
  reference.ID = ReadValue<std::int32_t>(stream, who);
  return reference;
}

void WriteCount(TStream& stream, std::size_t count) {
  if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    Damaged("TStream.WriteCount", std::to_string(count) + " entries do not fit a count");
  }
  WriteInt32(stream, static_cast<std::int32_t>(count));
}

std::int32_t ReadCount(TStream& stream, std::size_t minEntryBytes) {
  const char* who = "TStream.ReadCount";
  const std::int32_t count = ReadValue<std::int32_t>(stream, who);
  if (count < 0) Damaged(who, "negative count " + std::to_string(count));
  const auto entryBytes = static_cast<std::int64_t>(std::max<std::size_t>(minEntryBytes, 1));
  if (count > stream.Remaining() / entryBytes) {
    Damaged(who, "count " + std::to_string(count) + " of " + std::to_string(entryBytes) +
                     "-byte entries exceeds " + BytesLeft(stream));
  }
  return count;
}

}  // namespace vellmar
