// Loads arbitrary bytes as a street file. A damaged file may only raise EVellmarError;
// a street that loads must save, and what it saved must load again and save to the
// same bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "document/StreetStructure.h"
#include "kinds/AllKinds.h"
#include "platform/Error.h"
#include "platform/MemoryStream.h"

namespace {

using namespace vellmar;

bool Registered() {
  RegisterAllKinds();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = Registered();
  (void)registered;
  TStreetStructure street;
  try {
    TMemoryStream input(std::span<const uint8_t>(data, size));
    street.LoadFromStream(input);
  } catch (const EVellmarError&) {
    return 0;
  }
  TMemoryStream saved;
  TMemoryStream resaved;
  try {
    street.SaveToStream(saved);
    saved.SetPosition(0);
    TStreetStructure again;
    again.LoadFromStream(saved);
    again.SaveToStream(resaved);
  } catch (const EVellmarError&) {
    std::abort();  // our own file did not load back
  }
  // Whatever a first save dropped or normalised, our own file comes back byte for byte.
  if (!std::ranges::equal(saved.Bytes(), resaved.Bytes())) std::abort();
  return 0;
}
