#pragma once
// How whoever prints a street on another thread follows the page and stops it: the page
// is drawn one kind at a time, and after each kind the drawing tells the items drawn so
// far and looks at the stop flag. The caller owns the flag and keeps it alive for the
// whole print.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Error.h"

namespace vellmar {

struct TPrintControl {
  // Items of the page drawn so far, and the items the page draws in all.
  std::function<void(std::int64_t done, std::int64_t total)> Progress;
  const std::atomic<bool>* Stop = nullptr;

  bool Stopped() const { return Stop != nullptr && Stop->load(std::memory_order_relaxed); }
  // Raises EPrintCancelled "<Origin>: cancelled" when the stop flag is set.
  void ThrowIfStopped(const std::string& Origin) const;
};

// A print given up because its stop flag was set; nothing of it is kept.
class EPrintCancelled final : public EVellmarError {
 public:
  explicit EPrintCancelled(const std::string& message) : EVellmarError(message) {}
};

}  // namespace vellmar
