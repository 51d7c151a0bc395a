// Stand-alone driver for the fuzz targets in the ordinary build: feeds every file
// of the seed corpus, then deterministic mutations of each (bit flips, cuts,
// inserted bytes), to LLVMFuzzerTestOneInput. A crash or sanitizer report fails
// the test; the libFuzzer build explores far more.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::vector<uint8_t>& bytes) { LLVMFuzzerTestOneInput(bytes.data(), bytes.size()); }

void RunMutations(const std::vector<uint8_t>& seed, std::mt19937& rng) {
  Run(seed);
  for (size_t cut = 0; cut < seed.size(); cut += 1 + seed.size() / 64) {
    Run(std::vector<uint8_t>(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(cut)));
  }
  if (seed.empty()) return;
  for (int round = 0; round < 500; ++round) {
    std::vector<uint8_t> m = seed;
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = rng() % m.size();
      switch (rng() % 3) {
        case 0: m[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
        case 1: m[at] = static_cast<uint8_t>(rng()); break;
        default: m.insert(m.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(rng())); break;
      }
    }
    Run(m);
  }
}

// The regular files of the folder (those below it too), by path: the order the
// mutations are drawn in, the same on every machine.
std::vector<std::filesystem::path> SeedFiles(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::mt19937 rng(12345);
  Run({});
  size_t seeds = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path dir(argv[i]);
    // A folder that is not there would leave the target running the empty input alone,
    // passing while it tests nothing.
    if (!std::filesystem::is_directory(dir)) {
      std::cerr << "no seed folder " << dir << "\n";
      return 2;
    }
    const std::vector<std::filesystem::path> files = SeedFiles(dir);
    if (files.empty()) {
      std::cerr << "no seeds in " << dir << "\n";
      return 2;
    }
    for (const std::filesystem::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      RunMutations(bytes, rng);
      ++seeds;
    }
  }
  if (seeds == 0) {
    std::cerr << "usage: " << argv[0] << " SEED_FOLDER...\n";
    return 2;
  }
  std::cout << "ran " << seeds << " seeds and their mutations\n";
  return 0;
}
