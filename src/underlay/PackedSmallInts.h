#pragma once
// Run-length packing of small signed integers, the entropy stage of the tile codec:
// a block starts with 0x00, ends with 0xFF, and each record between appends a run of
// quads (four values) that are all zero or share one bit width (2, 4, 8 or 12 bits).

#include <cstdint>
#include <span>
#include <vector>

namespace vellmar {

class TStream;

// Decodes one packed block into target; the block must fill target exactly.
// Damaged data raises EVellmarError before any value past target's end is written.
void UnPackSmallInts(std::span<int16_t> target, std::span<const uint8_t> packed);

// Reads one stored block (an int32 byte count, then the packed bytes, through the
// caller's scratch buffer) from the stream's position and decodes it into target.
void UnPackSmallInts(std::span<int16_t> target, TStream& stream, std::vector<uint8_t>& scratch);

// Appends the packed form of values (a whole number of quads, each value within
// -2048..2047) to out. Each quad goes in the kind that keeps the block shortest - a
// quad may take a wider kind to join its neighbours' run - and each run in the
// shortest count form.
void PackSmallInts(std::span<const int16_t> values, std::vector<uint8_t>& out);

}  // namespace vellmar
