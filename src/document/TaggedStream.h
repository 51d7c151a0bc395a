#pragma once
// The primitives of the tagged binary format that street files and everything nested
// in them are made of: 8-byte chunk idents, then payloads of little-endian int32s,
// byte flags, singles, doubles, strings (int32 length + Windows-1251 bytes), kind
// sets, object references, counted lists and text lists.
//
// Reads of a required value raise EVellmarError ("TStream.ReadInt32: ...") when the
// stream ends early or holds a length or count it cannot contain, so a damaged file
// never makes a reader allocate more than the file could hold.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/Ident.h"
#include "document/KindSet.h"
#include "geometry/XYZ.h"
#include "platform/Stream.h"

namespace vellmar {

// Idents.
void WriteIdent(TStream& stream, const TIdent& ident);
// Reads up to 8 bytes: true when they are the ident (the stream stays behind it); on
// 8 different bytes the stream moves back to where it was; at the end of the stream
// (fewer than 8 bytes) false without moving back.
bool TestIdent(TStream& stream, const TIdent& ident);
// The next 8 bytes whatever they are (a class ident), required.
TIdent ReadIdent(TStream& stream);

// Plain values.
void WriteInt32(TStream& stream, std::int32_t value);
std::int32_t ReadInt32(TStream& stream);
void WriteFlag(TStream& stream, bool value);  // 0 or 1
bool ReadFlag(TStream& stream);               // any non-zero byte is true
// A byte kept as it is (a code or a small set), unlike a flag.
void WriteByte(TStream& stream, std::uint8_t value);
std::uint8_t ReadByte(TStream& stream);
void WriteSingle(TStream& stream, float value);
float ReadSingle(TStream& stream);
void WriteDouble(TStream& stream, double value);
double ReadDouble(TStream& stream);
// A point as three singles, x, y, z (12 bytes).
void WriteXYZ(TStream& stream, const TXYZ& point);
TXYZ ReadXYZ(TStream& stream);

// Strings: int32 byte count, then the bytes, no terminator.
void WriteString(TStream& stream, std::string_view text);
std::string ReadString(TStream& stream);

// Text lists: one string holding every line followed by CR LF. Reading splits at
// CR LF, a lone CR or a lone LF; a line that itself holds a line break therefore
// comes back as several lines.
void WriteTextList(TStream& stream, const std::vector<std::string>& lines);
std::vector<std::string> ReadTextList(TStream& stream);
// The lines of a text, split the way ReadTextList splits (text files read the same way).
std::vector<std::string> SplitTextLines(std::string_view text);

// Kind sets occupy TagsSize bytes: 4 in old streams, 8 in ours. Only 4..8 are
// accepted: 4 is the smallest width any stream declared, and a wider set than 8 is
// damage. Of the stored bytes the first 6 are taken; bytes beyond them read as zero.
inline constexpr std::int32_t kMinTagsSize = 4;
inline constexpr std::int32_t kMaxTagsSize = 8;
// Reads the int32 of a "TAGSSIZE" chunk and raises when it is outside 4..8.
std::int32_t ReadTagsSize(TStream& stream);
// Raises when the set holds a kind the width cannot store (32..47 for TagsSize 4).
void WriteKindSet(TStream& stream, const TKindSet& kinds, std::int32_t tagsSize);
TKindSet ReadKindSet(TStream& stream, std::int32_t tagsSize);

// Object references: the class ident of an item kind and the item's ID.
struct TObjectRef {
  static constexpr TIdent kEmptyIdent{"EMPTYCLS"};
  static constexpr std::int32_t kEmptyID = -1;

  TIdent ClassIdent = kEmptyIdent;
  std::int32_t ID = kEmptyID;

  bool IsEmpty() const { return ClassIdent == kEmptyIdent; }
  friend bool operator==(const TObjectRef&, const TObjectRef&) = default;
};
inline constexpr std::size_t kObjectRefBytes = TIdent::kLength + 4;
void WriteObjectRef(TStream& stream, const TObjectRef& reference);
TObjectRef ReadObjectRef(TStream& stream);

// Counted lists: int32 count, then the entries back to back. ReadCount raises when
// the count is negative or the stream cannot hold that many entries of at least
// minEntryBytes each.
void WriteCount(TStream& stream, std::size_t count);
std::int32_t ReadCount(TStream& stream, std::size_t minEntryBytes);

template <class Range, class WriteEntry>
void WriteCountedList(TStream& stream, const Range& entries, WriteEntry writeEntry) {
  WriteCount(stream, std::size(entries));
  for (const auto& entry : entries) writeEntry(stream, entry);
}

template <class ReadEntry>
auto ReadCountedList(TStream& stream, std::size_t minEntryBytes, ReadEntry readEntry) {
  const std::int32_t count = ReadCount(stream, minEntryBytes);
  std::vector<decltype(readEntry(stream))> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) entries.push_back(readEntry(stream));
  return entries;
}

}  // namespace vellmar
