#include "PngRows.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
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
        // Rows stream, so only the width is bounded here (libpng's default bounds
        // both sides at a million); CheckPictureSize explains a refusal.
        png_set_user_limits(self.png_, 0x7fffffff, 0x7fffffff);
        png_init_io(self.png_, self.file_);
        png_read_info(self.png_, self.info_);
        self.width_ = png_get_image_width(self.png_, self.info_);
        self.height_ = png_get_image_height(self.png_, self.info_);
      });
      CheckPictureSize(path, width_, height_);
      Guard("not a readable PNG", [](TPngRows& self) {
        png_set_expand(self.png_);
        png_set_scale_16(self.png_);
        png_set_gray_to_rgb(self.png_);
        png_set_bgr(self.png_);
        // Samples are brought from the file's gamma (gAMA or sRGB chunk) to the sRGB
        // screen's, as the picture is shown; a file that states none is taken as made
        // for that screen and left alone. Alpha stays straight, for FlattenOnWhite.
        png_set_alpha_mode(self.png_, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
        self.passes_ = png_set_interlace_handling(self.png_);
        png_read_update_info(self.png_, self.info_);
        self.channels_ = png_get_channels(self.png_, self.info_);
      });
      rowBytes_ = static_cast<size_t>(channels_) * width_;
      if (passes_ > 1) {
        ReadInterlaced();
      } else if (channels_ == 4) {
        rgba_.resize(rowBytes_);
      }
    } catch (...) {
      Close();
      throw;
    }
  }

  ~TPngRows() override { Close(); }

  int Width() const override { return static_cast<int>(width_); }
  int Height() const override { return static_cast<int>(height_); }

  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    if (count < 0 || count > Height() - next_)
      RaisePictureError(path_, "damaged PNG", "rows beyond the last");
    for (int i = 0; i < count; ++i, ++next_) {
      uint8_t* row = target + i * stride;
      const uint8_t* decoded = nullptr;
      if (whole_) {
        decoded = &whole_[next_ * rowBytes_];
      } else {
        row_ = rgba_.empty() ? row : rgba_.data();
        Guard("damaged PNG", [](TPngRows& self) { png_read_row(self.png_, self.row_, nullptr); });
        decoded = row_;
      }
      if (channels_ == 4) {
        FlattenOnWhite(decoded, row, Width());
      } else if (decoded != row) {
        std::memcpy(row, decoded, rowBytes_);
      }
    }
  }

 private:
  // An interlaced picture comes in seven passes over all of it, so it is decoded
  // whole, within kLargestWholePicture.
  void ReadInterlaced() {
    const int64_t bytes = static_cast<int64_t>(rowBytes_) * height_;
    if (bytes > kLargestWholePicture) {
      RaisePictureError(path_, "an interlaced PNG of " + std::to_string(width_) + " x " +
                                   std::to_string(height_) + " pixels is decoded whole, in " +
                                   std::to_string(bytes >> 20) + " MB, more than the " +
                                   std::to_string(kLargestWholePicture >> 20) +
                                   " MB allowed; save it without interlacing to import it");
    }
    // Not cleared: rows are only touched as they are decoded, so a short file that
    // claims a large picture fails before the memory is used.
    whole_ = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(bytes));
    Guard("damaged PNG", [](TPngRows& self) {
      for (int pass = 0; pass < self.passes_; ++pass) {
        for (png_uint_32 y = 0; y < self.height_; ++y)
          png_read_row(self.png_, &self.whole_[y * self.rowBytes_], nullptr);
      }
    });
  }

  void Close() {
    if (png_) png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr);
    std::fclose(file_);
  }

  // After an error the decoder's state is only fit to be destroyed, so later calls
  // raise the same error again instead of reaching it.
  void Guard(const char* what, void (*calls)(TPngRows&)) {
    if (failed_ || !RunGuarded(errors_.jump, calls, *this)) {
      failed_ = true;
      RaisePictureError(path_, what, errors_.message);
    }
  }

  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  TPngErrors errors_{};
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  png_uint_32 width_ = 0;
  png_uint_32 height_ = 0;
  int channels_ = 0;
  int passes_ = 1;
  size_t rowBytes_ = 0;
  std::vector<uint8_t> rgba_;
  std::unique_ptr<uint8_t[]> whole_;  // an interlaced picture's rows, decoded
  int next_ = 0;
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
  return std::make_unique<TPngRows>(path);
}

}  // namespace vellmar
