#pragma once
// Progress of a long job on stderr: on a terminal one line that updates in place;
// otherwise (a log, a pipe) a plain line at every tenth of the work, so logs stay
// readable. The line is ended when the object goes, also when the job failed, so an
// error message starts a line of its own.

#include <ostream>
#include <string>

namespace vellmar {

class TProgressLine {
 public:
  TProgressLine(std::ostream& out, bool terminal, std::string what);
  ~TProgressLine();
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  void Show(long long done, long long total);

 private:
  std::ostream& out_;
  bool terminal_;
  std::string what_;
  int shown_ = -1;  // percent last shown
};

}  // namespace vellmar
