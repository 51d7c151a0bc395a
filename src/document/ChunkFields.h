#pragma once
// Chunks that carry one field of an item: the ident, then the value in its stored
// encoding (Tagged stream primitives). Kinds read each as an optional chunk - when it
// is absent the field keeps its value - and write it always or only when it holds
// something, as the kind's layout says.

#include <cstdint>
#include <string>
#include <string_view>

#include "document/Ident.h"

namespace vellmar {

class TStream;

// True when the next chunk is the ident; its value has then been read into field.
bool LoadChunk(TStream& stream, const TIdent& ident, std::string& field);
bool LoadChunk(TStream& stream, const TIdent& ident, int32_t& field);
bool LoadChunk(TStream& stream, const TIdent& ident, uint32_t& field);  // a colour, stored as int32
bool LoadChunk(TStream& stream, const TIdent& ident, float& field);
bool LoadChunk(TStream& stream, const TIdent& ident, bool& field);     // a byte flag
bool LoadChunk(TStream& stream, const TIdent& ident, uint8_t& field);  // a byte kept as it is

void SaveChunk(TStream& stream, const TIdent& ident, std::string_view value);
void SaveChunk(TStream& stream, const TIdent& ident, int32_t value);
void SaveChunk(TStream& stream, const TIdent& ident, uint32_t value);
void SaveChunk(TStream& stream, const TIdent& ident, float value);
void SaveChunk(TStream& stream, const TIdent& ident, bool value);
void SaveChunk(TStream& stream, const TIdent& ident, uint8_t value);
// A literal would otherwise be taken for a flag.
void SaveChunk(TStream& stream, const TIdent& ident, const char* value) = delete;
// The chunk only when the text is not empty.
void SaveChunkIfAny(TStream& stream, const TIdent& ident, std::string_view value);

}  // namespace vellmar
