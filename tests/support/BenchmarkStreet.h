#pragma once
// The large street of the load benchmark, written to a file: 1,000,000 points and 100,000
// items (lawn polygons and curb lines of ten vertices each), 38.6 MB. The viewer's tests
// load the same street in the background that the benchmark measures. Needs the item
// kinds registered.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <string>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"

namespace vellmar::test {

inline void WriteBenchmarkStreet(const std::filesystem::path& path) {
  constexpr int32_t kPolygons = 50'000;
  constexpr int32_t kLines = 50'000;
  constexpr int32_t kVerticesPerItem = 10;
  constexpr int32_t kLawnKind = 4;
  constexpr int32_t kCurbKind = 8;
  TStreetStructure street;
  // Polygons draw their outlines too, as most streets ask for.
  street.DrawOptions().Lines() = {"UpdateDiffTagEdges=1"};
  for (int32_t i = 0; i < kPolygons; ++i) {
    TPointList& points = street.ItemList(kLawnKind).NewItem()->Points();
    const double x = (i % 250) * 30.0;
    const double y = (i / 250) * 30.0;
    for (int32_t k = 0; k < kVerticesPerItem; ++k) {
      const double angle = 2.0 * std::numbers::pi * k / kVerticesPerItem;
      points.InsertNew(k, {float(x + 10.0 * std::cos(angle)), float(y + 10.0 * std::sin(angle)), 0.0f});
    }
  }
  for (int32_t i = 0; i < kLines; ++i) {
    TPointList& points = street.ItemList(kCurbKind).NewItem()->Points();
    const double y = 7000.0 + i * 2.0;
    for (int32_t k = 0; k < kVerticesPerItem; ++k) points.InsertNew(k, {float(k * 3.0), float(y), 0.0f});
  }
  street.SaveToFile(path);
}

// The street written to a scratch file and read back, as the viewer gets it: made once a
// program and kept to its end, for the benchmarks that look things up in it.
inline TStreetStructure& LoadedBenchmarkStreet() {
  static TStreetStructure* const street = [] {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("vellmar-bench-street-" + std::to_string(getpid()) + ".pln");
    WriteBenchmarkStreet(path);
    auto* loaded = new TStreetStructure;
    loaded->LoadFromFile(path);
    std::filesystem::remove(path);
    return loaded;
  }();
  return *street;
}

}  // namespace vellmar::test
