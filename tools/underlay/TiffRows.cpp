#include "TiffRows.h"

#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PictureErrors.h"
#include "PngRows.h"

namespace vellmar {

namespace {

// No single allocation inside libtiff beyond this: a damaged header cannot ask for
// gigabytes of strip or tile buffers.
constexpr tmsize_t kLargestAllocation = tmsize_t{256} << 20;

// Samples per pixel beyond colour and alpha are skipped; more than this many is a
// damaged header (and would make absurd rows).
constexpr uint16_t kMostSamples = 16;

enum class TAlpha { None, Straight, Premultiplied };

class TTiffRows final : public TPictureRows {
 public:
  explicit TTiffRows(const std::filesystem::path& path) : path_(path) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepMessage, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreMessage, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kLargestAllocation);
    tiff_ = TIFFOpenExt(path.c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (!tiff_) Fail("not a readable TIFF");
    try {
      Describe();
    } catch (...) {
      TIFFClose(tiff_);
      throw;
    }
  }

  ~TTiffRows() override { TIFFClose(tiff_); }

  int Width() const override { return static_cast<int>(width_); }
  int Height() const override { return static_cast<int>(height_); }

  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    for (int i = 0; i < count; ++i, ++next_)
      Convert(tiled_ ? TiledRow(next_) : StripRow(next_), target + i * stride);
  }

 private:
  static int KeepMessage(TIFF*, void* self, const char* module, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    auto& rows = *static_cast<TTiffRows*>(self);
    rows.message_ = module && *module ? std::string(module) + ": " + text : std::string(text);
    return 1;
  }
  static int IgnoreMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

  [[noreturn]] void Fail(const std::string& what) const { RaisePictureError(path_, what, message_); }
  [[noreturn]] void Unsupported(const std::string& kind) const {
    RaisePictureError(
        path_, "TIFF pictures " + kind + " are not supported; 8-bit RGB, greyscale and palette pictures are");
  }

  template <typename T>
  T Field(ttag_t tag) const {
    T value{};
    TIFFGetFieldDefaulted(tiff_, tag, &value);
    return value;
  }

  void Describe() {
    width_ = Field<uint32_t>(TIFFTAG_IMAGEWIDTH);
    height_ = Field<uint32_t>(TIFFTAG_IMAGELENGTH);
    CheckPictureSize(path_, width_, height_);
    const auto compression = Field<uint16_t>(TIFFTAG_COMPRESSION);
    if (!TIFFIsCODECConfigured(compression))
      Unsupported("compressed with method " + std::to_string(compression));
    const auto bits = Field<uint16_t>(TIFFTAG_BITSPERSAMPLE);
    if (bits != 8) Unsupported("of " + std::to_string(bits) + " bits per sample");
    if (Field<uint16_t>(TIFFTAG_SAMPLEFORMAT) != SAMPLEFORMAT_UINT)
      Unsupported("of signed or floating-point samples");
    samples_ = Field<uint16_t>(TIFFTAG_SAMPLESPERPIXEL);
    if (samples_ > kMostSamples) Unsupported("of " + std::to_string(samples_) + " samples per pixel");
    if (samples_ > 1 && Field<uint16_t>(TIFFTAG_PLANARCONFIG) != PLANARCONFIG_CONTIG)
      Unsupported("with samples in separate planes");
    if (const auto orientation = Field<uint16_t>(TIFFTAG_ORIENTATION); orientation != ORIENTATION_TOPLEFT)
      Unsupported("turned or mirrored (orientation " + std::to_string(orientation) + ")");
    photometric_ = Field<uint16_t>(TIFFTAG_PHOTOMETRIC);
    if (photometric_ == PHOTOMETRIC_YCBCR && compression == COMPRESSION_JPEG) {
      // JPEG-compressed YCbCr, the usual aerial photograph: libtiff converts to RGB.
      TIFFSetField(tiff_, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
      photometric_ = PHOTOMETRIC_RGB;
    }
    switch (photometric_) {
      case PHOTOMETRIC_MINISBLACK:
      case PHOTOMETRIC_MINISWHITE:
        colours_ = 1;
        break;
      case PHOTOMETRIC_RGB:
        colours_ = 3;
        break;
      case PHOTOMETRIC_PALETTE:
        colours_ = 1;
        ReadPalette();
        break;
      default:
        Unsupported("of photometric interpretation " + std::to_string(photometric_) +
                    " (such as CMYK or Lab)");
    }
    if (samples_ < colours_)
      Fail("has " + std::to_string(samples_) + " samples per pixel, too few for its colours");
    uint16_t extraCount = 0;
    uint16_t* extras = nullptr;
    if (samples_ > colours_ && TIFFGetField(tiff_, TIFFTAG_EXTRASAMPLES, &extraCount, &extras) &&
        extraCount > 0) {
      if (extras[0] == EXTRASAMPLE_UNASSALPHA) alpha_ = TAlpha::Straight;
      if (extras[0] == EXTRASAMPLE_ASSOCALPHA) alpha_ = TAlpha::Premultiplied;
    }
    tiled_ = TIFFIsTiled(tiff_) != 0;
    if (tiled_) {
      tileWidth_ = Field<uint32_t>(TIFFTAG_TILEWIDTH);
      tileHeight_ = Field<uint32_t>(TIFFTAG_TILELENGTH);
      if (tileWidth_ == 0 || tileHeight_ == 0 || tileHeight_ > 1024 || tileWidth_ > 4096)
        Fail("has tiles of " + std::to_string(tileWidth_) + " x " + std::to_string(tileHeight_) + " pixels");
      tile_.resize(static_cast<size_t>(TIFFTileSize(tiff_)));
      if (tile_.size() < size_t{tileWidth_} * tileHeight_ * samples_)
        Fail("has tiles smaller than their size says");
      const int64_t bandBytes = int64_t{tileHeight_} * width_ * samples_;
      if (bandBytes > kLargestWholePicture) {
        Fail("has tiles " + std::to_string(tileHeight_) + " rows tall across " + std::to_string(width_) +
             " pixels, a row of tiles of " + std::to_string(bandBytes >> 20) + " MB");
      }
      // Not cleared: every byte of the rows read is copied from a tile first, and a
      // short file that claims a large picture fails before the memory is used.
      band_ = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(bandBytes));
    } else {
      const tmsize_t line = TIFFScanlineSize(tiff_);
      if (line < static_cast<tmsize_t>(width_) * samples_) Fail("has rows shorter than its width says");
      line_.resize(static_cast<size_t>(line));
    }
  }

  void ReadPalette() {
    uint16_t* red = nullptr;
    uint16_t* green = nullptr;
    uint16_t* blue = nullptr;
    if (!TIFFGetField(tiff_, TIFFTAG_COLORMAP, &red, &green, &blue))
      Fail("is a palette picture without a palette");
    // The palette holds 16-bit intensities; 1 << bits entries.
    for (size_t i = 0; i < palette_.size(); ++i)
      palette_[i] = {static_cast<uint8_t>(blue[i] >> 8), static_cast<uint8_t>(green[i] >> 8),
                     static_cast<uint8_t>(red[i] >> 8)};
  }

  // A strip or tile at offset 0 would be read from the file's header: its entry is
  // missing from a table shorter than the picture (libtiff pads such tables), which
  // is damage, not pixels.
  void CheckStored(uint32_t strile, const char* kind) const {
    if (TIFFGetStrileOffset(tiff_, strile) == 0) {
      RaisePictureError(path_, "damaged TIFF",
                        std::string(kind) + " " + std::to_string(strile) + " is missing from the file");
    }
  }

  const uint8_t* StripRow(uint32_t y) {
    CheckStored(TIFFComputeStrip(tiff_, y, 0), "strip");
    if (TIFFReadScanline(tiff_, line_.data(), y, 0) < 0) Fail("damaged TIFF");
    return line_.data();
  }

  const uint8_t* TiledRow(uint32_t y) {
    const uint32_t first = y - y % tileHeight_;
    if (!bandLoaded_ || first != bandFirst_) {
      const uint32_t rows = std::min(tileHeight_, height_ - first);
      for (uint32_t x = 0; x < width_; x += tileWidth_) {
        CheckStored(TIFFComputeTile(tiff_, x, first, 0, 0), "tile");
        if (TIFFReadTile(tiff_, tile_.data(), x, first, 0, 0) < 0) Fail("damaged TIFF");
        const size_t bytes = size_t{std::min(tileWidth_, width_ - x)} * samples_;
        for (uint32_t r = 0; r < rows; ++r) {
          std::memcpy(&band_[(size_t{r} * width_ + x) * samples_], &tile_[size_t{r} * tileWidth_ * samples_],
                      bytes);
        }
      }
      bandFirst_ = first;
      bandLoaded_ = true;
    }
    return &band_[size_t{y - first} * width_ * samples_];
  }

  void Convert(const uint8_t* in, uint8_t* bgr) const {
    for (uint32_t x = 0; x < width_; ++x, in += samples_, bgr += 3) {
      switch (photometric_) {
        case PHOTOMETRIC_RGB:
          bgr[0] = in[2];
          bgr[1] = in[1];
          bgr[2] = in[0];
          break;
        case PHOTOMETRIC_PALETTE:
          std::copy_n(palette_[in[0]].data(), 3, bgr);
          break;
        default: {
          const uint8_t grey = photometric_ == PHOTOMETRIC_MINISWHITE ? uint8_t(255 - in[0]) : in[0];
          bgr[0] = bgr[1] = bgr[2] = grey;
        }
      }
      if (alpha_ != TAlpha::None) OverWhite(bgr, in[colours_]);
    }
  }

  void OverWhite(uint8_t* bgr, int alpha) const {
    if (alpha_ == TAlpha::Straight) {
      const uint8_t bgra[4] = {bgr[0], bgr[1], bgr[2], static_cast<uint8_t>(alpha)};
      FlattenOnWhite(bgra, bgr, 1);
    } else {
      for (int c = 0; c < 3; ++c) bgr[c] = static_cast<uint8_t>(std::min(255, bgr[c] + 255 - alpha));
    }
  }

  std::filesystem::path path_;
  std::string message_;
  TIFF* tiff_ = nullptr;
  uint32_t width_ = 0;
  uint32_t height_ = 0;
  uint16_t samples_ = 0;
  uint16_t photometric_ = 0;
  uint16_t colours_ = 0;
  TAlpha alpha_ = TAlpha::None;
  std::array<std::array<uint8_t, 3>, 256> palette_{};
  bool tiled_ = false;
  uint32_t tileWidth_ = 0;
  uint32_t tileHeight_ = 0;
  std::vector<uint8_t> line_;
  std::vector<uint8_t> tile_;
  std::unique_ptr<uint8_t[]> band_;  // one row of tiles, whole rows of the picture
  uint32_t bandFirst_ = 0;
  bool bandLoaded_ = false;
  uint32_t next_ = 0;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenTiffRows(const std::filesystem::path& path) {
  return std::make_unique<TTiffRows>(path);
}

}  // namespace vellmar
