// Reads the tagged-stream primitives from arbitrary bytes. The input chooses its own
// program: byte 0 gives the number of operation bytes (low 4 bits, plus one) and the
// kind-set width (bit 4 set: 4 bytes, else 8); the operation bytes follow and are
// run in a cycle over the rest of the input. A damaged stream may only raise
// EVellmarError; every value that is read must also survive being written and read
// back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <type_traits>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"

namespace {

using namespace vellmar;

constexpr TIdent kIdents[] = {"STREET  ", "ITEM    ", "PNTLIST ", "EMPTYCLS"};

template <class T, class Write, class Read>
void CheckRoundTrip(const T& value, Write write, Read read) {
  TMemoryStream copy;
  write(copy, value);
  copy.SetPosition(0);
  const T back = read(copy);
  bool same = false;
  if constexpr (std::is_arithmetic_v<T>) {
    same = std::memcmp(&back, &value, sizeof value) == 0;  // bit for bit, NaNs included
  } else {
    same = back == value;
  }
  if (!same || copy.Remaining() != 0) std::abort();
}

void RunOperation(std::uint8_t op, TStream& stream, std::int32_t tagsSize) {
  switch (op % 13) {
    case 0: {
      const std::int64_t before = stream.Position();
      const std::int64_t left = stream.Remaining();
      const bool found = TestIdent(stream, kIdents[(op / 13) % std::size(kIdents)]);
      // Found or not, the position follows the rewind rules.
      const std::int64_t moved = stream.Position() - before;
      if (found ? moved != 8 : (left >= 8 ? moved != 0 : moved != left)) std::abort();
      break;
    }
    case 1:
      CheckRoundTrip(ReadIdent(stream), WriteIdent, ReadIdent);
      break;
    case 2:
      CheckRoundTrip(ReadInt32(stream), WriteInt32, ReadInt32);
      break;
    case 3:
      CheckRoundTrip(ReadFlag(stream), WriteFlag, ReadFlag);
      break;
    case 4:
      CheckRoundTrip(ReadSingle(stream), WriteSingle, ReadSingle);
      break;
    case 5:
      CheckRoundTrip(ReadDouble(stream), WriteDouble, ReadDouble);
      break;
    case 6:
      CheckRoundTrip(ReadString(stream), WriteString, ReadString);
      break;
    case 7:
      CheckRoundTrip(ReadTextList(stream), WriteTextList, ReadTextList);
      break;
    case 8:
      CheckRoundTrip(
          ReadKindSet(stream, tagsSize), [&](TStream& s, const TKindSet& k) { WriteKindSet(s, k, tagsSize); },
          [&](TStream& s) { return ReadKindSet(s, tagsSize); });
      break;
    case 9:
      CheckRoundTrip(ReadObjectRef(stream), WriteObjectRef, ReadObjectRef);
      break;
    case 10: {
      const auto read = [](TStream& s) { return ReadCountedList(s, 4, ReadInt32); };
      CheckRoundTrip(
          read(stream), [](TStream& s, const auto& list) { WriteCountedList(s, list, WriteInt32); }, read);
      break;
    }
    case 11:
      CheckRoundTrip(ReadTagsSize(stream), WriteInt32, ReadTagsSize);
      break;
    default: {
      const auto read = [](TStream& s) { return ReadCountedList(s, kObjectRefBytes, ReadObjectRef); };
      CheckRoundTrip(
          read(stream), [](TStream& s, const auto& list) { WriteCountedList(s, list, WriteObjectRef); },
          read);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t programLength = (data[0] & 0x0F) + 1u;
  const std::int32_t tagsSize = (data[0] & 0x10) != 0 ? 4 : 8;
  if (size < 1 + programLength) return 0;
  const std::span<const std::uint8_t> program(data + 1, programLength);
  TMemoryStream stream(std::span<const std::uint8_t>(data + 1 + programLength, size - 1 - programLength));
  try {
    // Failed ident tests do not move, so the step count bounds the run.
    for (std::size_t step = 0; step < 4096 && stream.Remaining() > 0; ++step) {
      RunOperation(program[step % programLength], stream, tagsSize);
    }
  } catch (const EVellmarError&) {
    // A damaged stream is rejected with a message; that is the expected outcome.
  }
  return 0;
}
