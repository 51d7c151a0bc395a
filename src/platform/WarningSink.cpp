#include "platform/WarningSink.h"

#include <utility>

namespace vellmar {

namespace {

struct TWarningState {
  TWarningSink Sink;
  std::vector<std::string> Pending;
};

TWarningState& State() {
  static TWarningState state;
  return state;
}

}  // namespace

void SetWarningSink(TWarningSink sink) {
  TWarningState& state = State();
  state.Sink = std::move(sink);
  if (!state.Sink) return;
  for (const std::string& message : TakePendingWarnings()) state.Sink(message);
}

void ReportWarning(const std::string& message) {
  TWarningState& state = State();
  if (state.Sink) {
    state.Sink(message);
  } else {
    state.Pending.push_back(message);
  }
}

std::vector<std::string> TakePendingWarnings() {
  return std::exchange(State().Pending, {});
}

}  // namespace vellmar
