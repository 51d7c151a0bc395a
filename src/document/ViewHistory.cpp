#include "document/ViewHistory.h"

namespace vellmar {

namespace {

bool Same(const TViewState& a, const TViewState& b) {
  return a.Centre.x == b.Centre.x && a.Centre.y == b.Centre.y && a.Centre.z == b.Centre.z && a.Scale == b.Scale &&
         a.Rotation == b.Rotation;
}

}  // namespace

void TViewHistory::Record(const TViewState& view) {
  if (!views_.empty() && Same(views_[current_], view)) return;
  if (!views_.empty()) views_.resize(current_ + 1);
  views_.push_back(view);
  if (views_.size() > kLimit) views_.erase(views_.begin());
  current_ = views_.size() - 1;
}

std::optional<TViewState> TViewHistory::Back() {
  if (!CanGoBack()) return std::nullopt;
  return views_[--current_];
}

std::optional<TViewState> TViewHistory::Forward() {
  if (!CanGoForward()) return std::nullopt;
  return views_[++current_];
}

}  // namespace vellmar
