// Arbitrary bytes into the metafile reader, as a picture chunk inside a street file
// meets it. Whatever loads must have stopped exactly at the length it kept, write
// back those very bytes, list records that lie inside them, and load again from its
// own output with the same format and sizes. Seeds (corpus/MetafileFuzz): small
// metafiles of each format, made by tests/platform/metafile/MetafileSeedsTest.cpp.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/Metafile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellmar;
  TMemoryStream stream{std::span<const uint8_t>(data, size)};
  TMetafile metafile;
  try {
    metafile.LoadFromStream(stream);
  } catch (const EVellmarError&) {
    if (!metafile.Empty()) __builtin_trap();
    return 0;
  }
  const auto kept = metafile.Bytes();
  if (stream.Position() != static_cast<int64_t>(kept.size()) || !std::equal(kept.begin(), kept.end(), data))
    __builtin_trap();

  for (const TMetafileRecord& record : metafile.Records()) {
    if (record.Bytes.data() < kept.data() ||
        record.Bytes.data() + record.Bytes.size() > kept.data() + kept.size())
      __builtin_trap();
  }

  TMemoryStream out;
  metafile.SaveToStream(out);
  out.SetPosition(0);
  TMetafile reread;
  reread.LoadFromStream(out);
  if (!(reread == metafile) || reread.Format() != metafile.Format() || reread.Width() != metafile.Width() ||
      reread.Height() != metafile.Height() || reread.MMWidth() != metafile.MMWidth() ||
      reread.MMHeight() != metafile.MMHeight() || out.Position() != out.Size())
    __builtin_trap();
  return 0;
}
