#pragma once
// What a test does when something it needs is not there: a GL context, the data files
// in the repository, a tool scripts/setup installs. On a developer's machine it skips
// and says why. On CI (CI=true) and under scripts/test (VELLMAR_STRICT_TESTS=1) it fails
// instead: everything is installed there, so a skip would only hide a broken driver, a
// damaged data file or a lost package behind a green run.

#include <gtest/gtest.h>

#include <string>

namespace vellmar::test {

// True where nothing a test needs may be missing (see above).
bool MissingIsFailure();

// Appended to the failure, so the log says why a missing thing fails here.
inline constexpr const char* kMissingFailsHere = "required under CI=true or VELLMAR_STRICT_TESTS=1";

}  // namespace vellmar::test

// Skips the test with the reason, or fails it where nothing may be missing. Like
// GTEST_SKIP and GTEST_FAIL it returns from the calling function (which returns void).
#define VELLMAR_SKIP_OR_FAIL(reason)                                                       \
  do {                                                                                     \
    const std::string vellmarMissing = (reason);                                           \
    if (::vellmar::test::MissingIsFailure())                                               \
      GTEST_FAIL() << vellmarMissing << " (" << ::vellmar::test::kMissingFailsHere << ")"; \
    GTEST_SKIP() << vellmarMissing;                                                        \
  } while (false)
