// Loads arbitrary bytes as a street file and draws what loaded for two frames, the view
// moved between them. A damaged file may only raise EVellmarError, while loading or
// while drawing; nothing may crash.

#include <cstddef>
#include <cstdint>
#include <span>

#include "document/StreetStructure.h"
#include "kinds/AllKinds.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "support/StreetFrames.h"

namespace {

bool Registered() {
  vellmar::RegisterAllKinds();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = Registered();
  (void)registered;
  using namespace vellmar;
  TStreetStructure street;
  try {
    TMemoryStream input(std::span<const uint8_t>(data, size));
    street.LoadFromStream(input);
    DrawTwoFrames(street);
  } catch (const EVellmarError&) {
  }
  return 0;
}
