#pragma once
// Picture files of the kinds the underlay importer reads, written through libtiff,
// libpng and libjpeg-turbo, for the importer's tests and the picture fuzz seeds.
// Pixels are given top row first, rows packed without padding.

#include <tiffio.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vellmar::test {

using TRgbPalette = std::vector<std::array<uint8_t, 3>>;

struct TTiffKind {
  uint16_t photometric = PHOTOMETRIC_RGB;
  uint16_t samples = 3;
  uint16_t compression = COMPRESSION_NONE;
  bool tiled = false;
  bool big = false;
  uint16_t bits = 8;
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  uint32_t tileWidth = 64;  // tiles may reach past the picture's right and bottom edges
  uint32_t tileHeight = 32;
  uint32_t rowsPerStrip = 7;
};

// Pixels of kind.samples samples of kind.bits bits each; a fourth sample is alpha.
void WriteTiff(const std::filesystem::path& path, int width, int height, const TTiffKind& kind,
               const std::vector<uint8_t>& pixels, const TRgbPalette& palette = {});

struct TPngKind {
  int colourType = 2;  // PNG_COLOR_TYPE_RGB
  int depth = 8;
  bool interlaced = false;
  double gamma = 0;  // written as a gAMA chunk unless 0
  TRgbPalette palette{};
  std::vector<uint8_t> transparency{};  // a tRNS chunk's alpha per palette entry
};

void WritePng(const std::filesystem::path& path, int width, int height, const TPngKind& kind,
              const std::vector<uint8_t>& samples);

// Writes R, G, B pixels as a JPEG of the given libjpeg-turbo subsampling (TJSAMP_…)
// and returns the B, G, R pixels libjpeg-turbo decodes from it whole.
std::vector<uint8_t> WriteJpeg(const std::filesystem::path& path, int width, int height,
                               const std::vector<uint8_t>& rgb, int subsampling, bool progressive = false);

}  // namespace vellmar::test
