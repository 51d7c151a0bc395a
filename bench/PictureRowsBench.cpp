// The importer's picture readers on a 6,000 × 4,000 photograph-sized picture, each
// against the whole-picture reader it replaced, measured in the same run: a 24-bit BMP
// read in 16-row bands from the file against the file read and decoded whole, and a
// PNG with a gAMA chunk read row by row (libpng's gamma tables) against libpng's
// simplified reader decoding it whole. The bands hold 16 rows instead of the picture;
// goal: no slower than the whole-picture readers (ratio ≤ 1.1).

#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PictureFile.h"
#include "PngRows.h"
#include "RatioReporter.h"
#include "platform/FileStream.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kBand = 16;

// Row y of a picture with fields, roads and grain, as B, G, R.
void PictureRow(int y, uint8_t* bgr) {
  uint32_t seed = 0x9E3779B9u * static_cast<uint32_t>(y + 1);
  for (int x = 0; x < kWidth; ++x, bgr += 3) {
    seed = seed * 1664525u + 1013904223u;
    const bool road = (x + y / 2) % 700 < 30;
    bgr[0] = static_cast<uint8_t>(road ? 110 : 60 + (x / 40 + y / 55) % 7 * 12 + (seed >> 29));
    bgr[1] = static_cast<uint8_t>(road ? 110 : 95 + (x / 70 + y / 30) % 5 * 14 + (seed >> 29));
    bgr[2] = static_cast<uint8_t>(road ? 110 : 80 + (x / 90) % 4 * 10 + (seed >> 29));
  }
}

std::filesystem::path WorkPath(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         ("vellmar-picture-bench-" + std::to_string(::getpid()) + "-" + name);
}

// The pictures, written once and removed at exit.
struct TPictures {
  std::filesystem::path bmp = WorkPath("aerial.bmp");
  std::filesystem::path png = WorkPath("aerial.png");

  TPictures() {
    TBitmap bitmap(kWidth, kHeight, TPixelFormat::pf24bit);
    for (int y = 0; y < kHeight; ++y) PictureRow(y, bitmap.ScanLine(y));
    bitmap.SaveToFile(bmp);

    std::FILE* file = std::fopen(png.c_str(), "wb");
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(writer);
    png_init_io(writer, file);
    png_set_IHDR(writer, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_gAMA(writer, info, 1.0);  // linear samples: every one goes through the gamma table
    png_set_bgr(writer);
    png_write_info(writer, info);
    for (int y = 0; y < kHeight; ++y) png_write_row(writer, bitmap.ScanLine(y));
    png_write_end(writer, nullptr);
    png_destroy_write_struct(&writer, &info);
    std::fclose(file);
  }
  ~TPictures() {
    std::filesystem::remove(bmp);
    std::filesystem::remove(png);
  }
};

const TPictures& Pictures() {
  static const TPictures pictures;
  return pictures;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  TFileStream stream(path, TFileMode::OpenRead);
  std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
  stream.ReadBuffer(bytes.data(), bytes.size());
  return bytes;
}

void ReadBands(benchmark::State& state, const std::filesystem::path& path) {
  std::vector<uint8_t> band(size_t{3} * kWidth * kBand);
  for (auto _ : state) {
    const auto picture = OpenPictureFile(path);
    for (int y = 0; y < kHeight; y += kBand)
      picture->ReadRows(band.data(), 3 * kWidth, std::min(kBand, kHeight - y));
    benchmark::DoNotOptimize(band.data());
  }
}

void BmpBands(benchmark::State& state) {
  ReadBands(state, Pictures().bmp);
}

// The reader BMP import had before: the file whole in memory, decoded whole.
void BmpWhole(benchmark::State& state) {
  for (auto _ : state) {
    const std::vector<uint8_t> bytes = FileBytes(Pictures().bmp);
    TBitmap bitmap;
    bitmap.LoadFromBmp(bytes.data(), bytes.size());
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
}

void PngGammaRows(benchmark::State& state) {
  ReadBands(state, Pictures().png);
}

// libpng's simplified reader, gamma and all, as the whole-picture PNG reader used it.
void PngGammaWhole(benchmark::State& state) {
  for (auto _ : state) {
    const std::vector<uint8_t> bytes = FileBytes(Pictures().png);
    TBitmap bitmap;
    bitmap.LoadFromPng(bytes.data(), bytes.size());
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  using namespace vellmar;
  benchmark::RegisterBenchmark("BmpBands", BmpBands)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BmpWhole", BmpWhole)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PngGammaRows", PngGammaRows)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PngGammaWhole", PngGammaWhole)->Unit(benchmark::kMillisecond);
  TRatioReporter reporter;
  RunBenchmarks(argc, argv, reporter);
  const auto ratio = [&](const char* mine, const char* peer) {
    const double a = reporter.Time(mine);
    const double b = reporter.Time(peer);
    if (a > 0 && b > 0) std::printf("%s / %s: %.2f (goal <= 1.1)\n", mine, peer, a / b);
  };
  std::printf("\n");
  ratio("BmpBands", "BmpWhole");
  ratio("PngGammaRows", "PngGammaWhole");
  return 0;
}
