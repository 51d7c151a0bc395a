#include "support/CommittedFile.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "support/TestSupport.h"

namespace vellmar::test {

testing::AssertionResult IsCommittedFile(const std::filesystem::path& Path, std::span<const uint8_t> Bytes,
                                         const char* RewriteVariable) {
  if (std::getenv(RewriteVariable) != nullptr) WriteFileBytes(Path, Bytes);
  const std::vector<uint8_t> committed = FileBytes(Path);
  const auto [at, _] = std::ranges::mismatch(committed, Bytes);
  if (at == committed.end() && committed.size() == Bytes.size()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Path.filename().string() << " is stale (" << committed.size()
                                     << " bytes committed, " << Bytes.size()
                                     << " written, first difference at " << (at - committed.begin())
                                     << "); rewrite it with " << RewriteVariable << "=1";
}

}  // namespace vellmar::test
