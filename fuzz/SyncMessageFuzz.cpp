// What another program sends over the synchronisation socket is untrusted: the message
// reader and the decoders must take any bytes without a fault, cut the stream the same
// way whatever pieces it arrives in, never hold more than the bytes given, and decode
// only views and stations that go back on the wire as they came.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "document/SyncMessage.h"
#include "document/SyncMessageReader.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vellmar;
  const std::span<const uint8_t> bytes(data, size);

  TSyncMessageReader whole;
  const std::vector<TSyncMessage> messages = whole.Feed(bytes);

  // The same stream in pieces of 1 to 16 bytes, the size chosen by the first byte.
  const size_t piece = size > 0 ? 1 + data[0] % 16 : 1;
  TSyncMessageReader pieces;
  std::vector<TSyncMessage> again;
  for (size_t at = 0; at < size; at += piece) {
    for (TSyncMessage& m : pieces.Feed(bytes.subspan(at, std::min(piece, size - at)))) again.push_back(std::move(m));
  }
  Require(pieces.Broken() == whole.Broken());
  Require(again.size() == messages.size());

  size_t held = 0;
  for (size_t i = 0; i < messages.size(); ++i) {
    const TSyncMessage& m = messages[i];
    Require(m.Tag == again[i].Tag && m.Data == again[i].Data);
    Require(m.Data.size() <= kSyncMaxMessageBytes);
    held += kSyncHeaderBytes + m.Data.size();
    const std::vector<uint8_t> wire = EncodeSyncMessage(m.Tag, m.Data);
    if (const auto view = DecodeViewMessage(m)) {
      Require(std::isfinite(view->Scale) && std::isfinite(view->Rotation) && std::isfinite(view->Centre.x));
      Require(EncodeViewMessage(*view) == wire);
    }
    if (const auto station = DecodeStationMessage(m)) {
      Require(std::isfinite(*station));
      Require(EncodeStationMessage(*station) == wire);
    }
  }
  Require(held <= size);
  return 0;
}
