#include "document/KindByKindDrawing.h"

#include <cstdint>

#include "document/StreetStructure.h"

namespace vellmar {

void DrawKindByKind(TStreetStructure& Street, const TDxDrawParams& Params, const TKindSet& Kinds, TModeSet Modes,
                    const TPrintControl& Control) {
  Street.RebuildKinds(Kinds);
  std::int64_t total = 0;
  for (int32_t kind = 0; kind < kKindCount; ++kind)
    if (Kinds.Contains(kind)) total += Street.ItemList(kind).Count();
  std::int64_t done = 0;
  if (Control.Progress) Control.Progress(done, total);
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    const int32_t count = Street.ItemList(kind).Count();
    if (!Kinds.Contains(kind) || count == 0) continue;
    Control.ThrowIfStopped("DrawKindByKind");
    TKindSet one;
    one.Include(kind);
    Street.Draw(Params, one, Modes);
    done += count;
    if (Control.Progress) Control.Progress(done, total);
  }
}

}  // namespace vellmar
