#include "PngRows.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PictureErrors.h"

namespace vellmar {

namespace {

struct TPngErrors {
  std::jmp_buf jump;
  char message[256];
};

[[noreturn]] void JumpOnError(png_structp png, png_const_charp message) {
  auto* errors = static_cast<TPngErrors*>(png_get_error_ptr(png));
  std::snprintf(errors->message, sizeof errors->message, "%s", message);
  std::longjmp(errors->jump, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

class TPngRows final : public TPictureRows {
 public:
  explicit TPngRows(const std::filesystem::path& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) RaisePictureError(path, "cannot open the file");
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors_, JumpOnError, IgnoreWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) {
      Close();
      RaisePictureError(path, "cannot start the PNG decoder");
    }
    try {
      Guard("not a readable PNG", [](TPngRows& self) {
        png_init_io(self.png_, self.file_);
        png_read_info(self.png_, self.info_);
        self.interlaced_ = png_get_interlace_type(self.png_, self.info_) != PNG_INTERLACE_NONE;
        png_set_expand(self.png_);
        png_set_scale_16(self.png_);
        png_set_gray_to_rgb(self.png_);
        png_set_bgr(self.png_);
        png_read_update_info(self.png_, self.info_);
        self.width_ = png_get_image_width(self.png_, self.info_);
        self.height_ = png_get_image_height(self.png_, self.info_);
        self.channels_ = png_get_channels(self.png_, self.info_);
      });
      if (width_ > INT32_MAX / 4 || height_ > INT32_MAX) {
        RaisePictureError(path,
                          std::to_string(width_) + " x " + std::to_string(height_) + " pixels are too large");
      }
      if (channels_ == 4) rgba_.resize(size_t{4} * width_);
    } catch (...) {
      Close();
      throw;
    }
  }

  ~TPngRows() override { Close(); }

  bool Interlaced() const { return interlaced_; }
  int Width() const override { return static_cast<int>(width_); }
  int Height() const override { return static_cast<int>(height_); }

  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    for (int i = 0; i < count; ++i) {
      uint8_t* row = target + i * stride;
      row_ = rgba_.empty() ? row : rgba_.data();
      Guard("damaged PNG", [](TPngRows& self) { png_read_row(self.png_, self.row_, nullptr); });
      if (!rgba_.empty()) FlattenOnWhite(rgba_.data(), row, static_cast<int>(width_));
    }
  }

 private:
  void Close() {
    if (png_) png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    std::fclose(file_);
  }

  void Guard(const char* what, void (*calls)(TPngRows&)) {
    if (!RunGuarded(errors_.jump, calls, *this)) RaisePictureError(path_, what, errors_.message);
  }

  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  TPngErrors errors_{};
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  png_uint_32 width_ = 0;
  png_uint_32 height_ = 0;
  int channels_ = 0;
  bool interlaced_ = false;
  std::vector<uint8_t> rgba_;
  png_bytep row_ = nullptr;
};

}  // namespace

void FlattenOnWhite(const uint8_t* bgra, uint8_t* bgr, int pixels) {
  for (int x = 0; x < pixels; ++x, bgra += 4, bgr += 3) {
    const int alpha = bgra[3];
    for (int c = 0; c < 3; ++c)
      bgr[c] = static_cast<uint8_t>((bgra[c] * alpha + 255 * (255 - alpha) + 127) / 255);
  }
}

std::unique_ptr<TPictureRows> OpenPngRows(const std::filesystem::path& path) {
  auto rows = std::make_unique<TPngRows>(path);
  if (rows->Interlaced()) return nullptr;
  return rows;
}

}  // namespace vellmar
