#pragma once
// The views a street was looked at with, oldest first, and where in them the user is:
// new views are added after the current one (dropping any that Back had left ahead),
// Back and Forward move through them. Plain values; the shell keeps one per street.

#include <cstddef>
#include <optional>
#include <vector>

#include "document/ViewState.h"

namespace vellmar {

class TViewHistory {
 public:
  // At most this many views are kept; the oldest go first.
  static constexpr size_t kLimit = 100;

  // Adds the view after the current one, unless it is the current one.
  void Record(const TViewState& view);
  // The view before or after the current one, which becomes current; nothing at either end.
  std::optional<TViewState> Back();
  std::optional<TViewState> Forward();
  bool CanGoBack() const { return current_ > 0; }
  bool CanGoForward() const { return current_ + 1 < views_.size(); }
  size_t Count() const { return views_.size(); }

 private:
  std::vector<TViewState> views_;
  size_t current_ = 0;
};

}  // namespace vellmar
