#include "document/PrintControl.h"

namespace vellmar {

void TPrintControl::ThrowIfStopped(const std::string& Origin) const {
  if (Stopped()) throw EPrintCancelled(Origin + ": cancelled");
}

}  // namespace vellmar
