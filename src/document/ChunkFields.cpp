#include "document/ChunkFields.h"

#include "document/TaggedStream.h"

namespace vellmar {

bool LoadChunk(TStream& stream, const TIdent& ident, std::string& field) {
  if (!TestIdent(stream, ident)) return false;
  field = ReadString(stream);
  return true;
}

bool LoadChunk(TStream& stream, const TIdent& ident, int32_t& field) {
  if (!TestIdent(stream, ident)) return false;
  field = ReadInt32(stream);
  return true;
}

bool LoadChunk(TStream& stream, const TIdent& ident, uint32_t& field) {
  if (!TestIdent(stream, ident)) return false;
  field = static_cast<uint32_t>(ReadInt32(stream));
  return true;
}

bool LoadChunk(TStream& stream, const TIdent& ident, float& field) {
  if (!TestIdent(stream, ident)) return false;
  field = ReadSingle(stream);
  return true;
}

bool LoadChunk(TStream& stream, const TIdent& ident, bool& field) {
  if (!TestIdent(stream, ident)) return false;
  field = ReadFlag(stream);
  return true;
}

bool LoadChunk(TStream& stream, const TIdent& ident, uint8_t& field) {
  if (!TestIdent(stream, ident)) return false;
  field = ReadByte(stream);
  return true;
}

void SaveChunk(TStream& stream, const TIdent& ident, std::string_view value) {
  WriteIdent(stream, ident);
  WriteString(stream, value);
}

void SaveChunk(TStream& stream, const TIdent& ident, int32_t value) {
  WriteIdent(stream, ident);
  WriteInt32(stream, value);
}

void SaveChunk(TStream& stream, const TIdent& ident, uint32_t value) {
  WriteIdent(stream, ident);
  WriteInt32(stream, static_cast<int32_t>(value));
}

void SaveChunk(TStream& stream, const TIdent& ident, float value) {
  WriteIdent(stream, ident);
  WriteSingle(stream, value);
}

void SaveChunk(TStream& stream, const TIdent& ident, bool value) {
  WriteIdent(stream, ident);
  WriteFlag(stream, value);
}

void SaveChunk(TStream& stream, const TIdent& ident, uint8_t value) {
  WriteIdent(stream, ident);
  WriteByte(stream, value);
}

void SaveChunkIfAny(TStream& stream, const TIdent& ident, std::string_view value) {
  if (!value.empty()) SaveChunk(stream, ident, value);
}

}  // namespace vellmar
