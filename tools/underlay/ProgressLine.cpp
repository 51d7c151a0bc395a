#include "ProgressLine.h"

#include <utility>

namespace vellmar {

TProgressLine::TProgressLine(std::ostream& out, bool terminal, std::string what)
    : out_(out), terminal_(terminal), what_(std::move(what)) {}

TProgressLine::~TProgressLine() {
  if (terminal_ && shown_ >= 0) out_ << "\n" << std::flush;
}

void TProgressLine::Show(long long done, long long total) {
  const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
  const bool due = terminal_ || shown_ < 0 ? percent != shown_
                                           : percent / 10 != shown_ / 10 || (percent == 100 && shown_ != 100);
  if (!due) return;
  shown_ = percent;
  if (terminal_) out_ << "\r";
  out_ << what_ << ": " << done << " of " << total << " (" << percent << "%)";
  if (!terminal_) out_ << "\n";
  out_ << std::flush;
}

}  // namespace vellmar
