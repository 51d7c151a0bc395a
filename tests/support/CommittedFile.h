#pragma once
// Files our writers make that are committed beside the code (fuzz seeds, bundled example
// streets): the committed copy must be what the writer makes now, so it stays a valid
// file as the formats change. Setting the rewrite variable writes it anew first.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <span>

namespace vellmar::test {

// The file at Path holds Bytes. With the environment variable RewriteVariable set
// (VELLMAR_WRITE_SEEDS, VELLMAR_WRITE_EXAMPLES) Bytes are written there first. The
// failure names the file, the sizes and the first byte that differs.
testing::AssertionResult IsCommittedFile(const std::filesystem::path& Path, std::span<const uint8_t> Bytes,
                                         const char* RewriteVariable = "VELLMAR_WRITE_SEEDS");

}  // namespace vellmar::test
