#pragma once
// Every picture the player tests play is a seed of the player's fuzz target
// (fuzz/corpus/MetafilePlayerFuzz), so that its mutations start inside text, paths, arcs,
// clipping, bitmaps and transforms rather than in a bare rectangle. A seed is named after
// the test and the picture's place in it; the committed copy must be what the test plays:
//   VELLMAR_WRITE_SEEDS=1 platform_tests --gtest_filter='Metafile*'
// writes them anew.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>

#include "support/CommittedFile.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"

namespace vellmar::test {

inline void ExpectPlayerSeed(std::span<const uint8_t> bytes) {
  const std::filesystem::path dir = SourceDir() / "fuzz/corpus/MetafilePlayerFuzz";
  if (!std::filesystem::is_directory(dir)) {
    if (MissingIsFailure()) ADD_FAILURE() << "no seed folder " << dir << " (" << kMissingFailsHere << ")";
    return;
  }
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about a literal
  // joined to a string with operator+.
  std::string name = test->test_suite_name();
  name += '.';
  name += test->name();
  static std::map<std::string, int> played;  // pictures played so far by each test
  const int place = played[name]++;
  name += '-';
  name += std::to_string(place);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '-';
  }
  // An enhanced metafile opens with its header record, type 1.
  const bool enhanced = bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0;
  name += enhanced ? ".emf" : ".wmf";
  EXPECT_TRUE(IsCommittedFile(dir / name, bytes));
}

}  // namespace vellmar::test
