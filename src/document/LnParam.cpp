#include "document/LnParam.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "document/TaggedStream.h"
#include "platform/Error.h"
#include "platform/Stream.h"

namespace vellmar {

void ReadLnParams(TStream& stream, TLnParams& params) {
  if (!TestIdent(stream, "LNPARAMS")) return;
  const int32_t count = ReadInt32(stream);
  const int32_t size = ReadInt32(stream);
  if (count < 0 || size < 0 || (size == 0 && count > 0) || int64_t{count} * size > stream.Remaining()) {
    throw EVellmarError("ReadLnParams: " + std::to_string(count) + " records of " + std::to_string(size) +
                        " bytes do not fit the stream");
  }
  const size_t taken = std::min<size_t>(static_cast<size_t>(size), sizeof(LnParam));
  TLnParams table(static_cast<size_t>(count));
  for (LnParam& param : table) {
    stream.ReadBuffer(&param, taken, "ReadLnParams");
    if (static_cast<size_t>(size) > taken)
      stream.Seek(size - static_cast<int64_t>(taken), TSeekOrigin::Current);
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
