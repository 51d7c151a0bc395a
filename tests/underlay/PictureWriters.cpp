#include "PictureWriters.h"

#include <gtest/gtest.h>
#include <png.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace vellmar::test {

void WriteTiff(const std::filesystem::path& path, int width, int height, const TTiffKind& kind,
               const std::vector<uint8_t>& pixels, const TRgbPalette& palette) {
  TIFF* tiff = TIFFOpen(path.c_str(), kind.big ? "w8" : "w");
  ASSERT_NE(tiff, nullptr);
  TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, kind.samples);
  TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, kind.bits);
  TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kind.photometric);
  TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, kind.planar);
  TIFFSetField(tiff, TIFFTAG_COMPRESSION, kind.compression);
  TIFFSetField(tiff, TIFFTAG_ORIENTATION, kind.orientation);
  if (kind.compression == COMPRESSION_JPEG) TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  if (kind.samples == 4) {
    const uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &alpha);
  }
  if (!palette.empty()) {
    std::vector<uint16_t> r(256), g(256), b(256);
    for (size_t i = 0; i < std::min<size_t>(256, palette.size()); ++i) {
      r[i] = static_cast<uint16_t>(palette[i][0] * 257);
      g[i] = static_cast<uint16_t>(palette[i][1] * 257);
      b[i] = static_cast<uint16_t>(palette[i][2] * 257);
    }
    TIFFSetField(tiff, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
  }
  const size_t pixel = size_t{kind.samples} * kind.bits / 8;
  const auto w = static_cast<uint32_t>(width);
  const auto h = static_cast<uint32_t>(height);
  if (kind.tiled) {
    const uint32_t tw = kind.tileWidth, th = kind.tileHeight;
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tw);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, th);
    std::vector<uint8_t> tile(tw * th * pixel);
    for (uint32_t ty = 0; ty < h; ty += th) {
      for (uint32_t tx = 0; tx < w; tx += tw) {
        std::fill(tile.begin(), tile.end(), uint8_t{0});
        for (uint32_t y = ty; y < std::min(ty + th, h); ++y) {
          for (uint32_t x = tx; x < std::min(tx + tw, w); ++x)
            std::copy_n(&pixels[(y * w + x) * pixel], pixel, &tile[((y - ty) * tw + x - tx) * pixel]);
        }
        ASSERT_GE(TIFFWriteTile(tiff, tile.data(), tx, ty, 0, 0), 0);
      }
    }
  } else {
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, kind.rowsPerStrip);
    for (uint32_t y = 0; y < h; ++y)
      ASSERT_GE(TIFFWriteScanline(tiff, const_cast<uint8_t*>(&pixels[y * w * pixel]), y, 0), 0);
  }
  TIFFClose(tiff);
}

void WritePng(const std::filesystem::path& path, int width, int height, const TPngKind& kind,
              const std::vector<uint8_t>& samples) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), kind.depth,
               kind.colourType, kind.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!kind.palette.empty()) {
    std::vector<png_color> palette;
    for (const auto& c : kind.palette) palette.push_back({c[0], c[1], c[2]});
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  if (!kind.transparency.empty()) {
    png_set_tRNS(png, info, kind.transparency.data(), static_cast<int>(kind.transparency.size()), nullptr);
  }
  if (kind.gamma != 0) png_set_gAMA(png, info, kind.gamma);
  png_write_info(png, info);
  const size_t row = samples.size() / static_cast<size_t>(height);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = const_cast<uint8_t*>(&samples[y * row]);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

std::vector<uint8_t> WriteJpeg(const std::filesystem::path& path, int width, int height,
                               const std::vector<uint8_t>& rgb, int subsampling, bool progressive) {
  std::vector<uint8_t> decoded(rgb.size());
  tjhandle tj = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  const int flags = progressive ? TJFLAG_PROGRESSIVE : 0;
  EXPECT_EQ(
      tjCompress2(tj, rgb.data(), width, width * 3, height, TJPF_RGB, &jpeg, &size, subsampling, 90, flags),
      0);
  tjDestroy(tj);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(jpeg), static_cast<std::streamsize>(size));
  tj = tjInitDecompress();
  EXPECT_EQ(tjDecompress2(tj, jpeg, size, decoded.data(), width, width * 3, height, TJPF_BGR, 0), 0);
  tjDestroy(tj);
  tjFree(jpeg);
  return decoded;
}

}  // namespace vellmar::test
