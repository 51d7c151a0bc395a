#include "JpegRows.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>
#include <string>

#include "PictureErrors.h"

namespace vellmar {

namespace {

// libjpeg reports errors by calling back; the callback jumps back to the guarded call
// that was running, which turns it into an exception outside libjpeg's frames.
struct TJpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void JumpOnWarning(j_common_ptr info, int level) {
  if (level < 0) JumpOnError(info);  // trace messages (level ≥ 0) are not wanted
}

class TJpegRows final : public TPictureRows {
 public:
  explicit TJpegRows(const std::filesystem::path& path) : path_(path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) RaisePictureError(path, "cannot open the file");
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = JumpOnError;
    errors_.manager.emit_message = JumpOnWarning;
    try {
      Guard("not a readable JPEG", [](TJpegRows& self) {
        jpeg_create_decompress(&self.info_);
        self.created_ = true;
        // A backstop for what a damaged header makes the decoder buffer; the
        // whole-picture check below says it by name for real pictures.
        self.info_.mem->max_memory_to_use = kLargestWholePicture;
        jpeg_stdio_src(&self.info_, self.file_);
        jpeg_read_header(&self.info_, TRUE);
        self.wholePicture_ = jpeg_has_multiple_scans(&self.info_);
      });
      CheckPictureSize(path, info_.image_width, info_.image_height);
      // Progressive pictures (and any of several scans) keep every coefficient, 64
      // of two bytes per 8 x 8 block of each colour component, until the last scan.
      int64_t coefficientBytes = 0;
      for (int c = 0; c < info_.num_components; ++c) {
        const jpeg_component_info& component = info_.comp_info[c];
        coefficientBytes += int64_t{component.width_in_blocks} * component.height_in_blocks * DCTSIZE2 *
                            static_cast<int64_t>(sizeof(JCOEF));
      }
      if (wholePicture_ && coefficientBytes > kLargestWholePicture) {
        std::string what = "a progressive JPEG of ";
        what += std::to_string(info_.image_width) + " x " + std::to_string(info_.image_height);
        what += " pixels is decoded whole, in " + std::to_string(coefficientBytes >> 20);
        what += " MB, more than the " + std::to_string(kLargestWholePicture >> 20);
        what += " MB allowed; save it as a baseline JPEG to import it";
        RaisePictureError(path, what);
      }
      Guard("not a readable JPEG", [](TJpegRows& self) {
        // B, G, R bytes, as the tile coder takes them; greyscale is widened.
        self.info_.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&self.info_);
      });
    } catch (...) {
      Close();
      throw;
    }
  }

  ~TJpegRows() override { Close(); }

  int Width() const override { return static_cast<int>(info_.output_width); }
  int Height() const override { return static_cast<int>(info_.output_height); }

  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    for (int i = 0; i < count; ++i) {
      row_ = target + i * stride;
      Guard("damaged JPEG", [](TJpegRows& self) {
        if (jpeg_read_scanlines(&self.info_, &self.row_, 1) != 1) {
          // The file source never suspends; no row means the decoder has run dry.
          std::snprintf(self.errors_.message, sizeof self.errors_.message, "no more rows");
          std::longjmp(self.errors_.jump, 1);
        }
      });
    }
  }

 private:
  void Close() {
    if (created_) jpeg_destroy_decompress(&info_);
    std::fclose(file_);
  }

  // After an error the decoder's state is only fit to be destroyed, so later calls
  // raise the same error again instead of reaching it.
  void Guard(const char* what, void (*calls)(TJpegRows&)) {
    if (failed_ || !RunGuarded(errors_.jump, calls, *this)) {
      failed_ = true;
      RaisePictureError(path_, what, errors_.message);
    }
  }

  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  TJpegErrors errors_{};
  jpeg_decompress_struct info_{};
  bool created_ = false;
  bool wholePicture_ = false;
  JSAMPROW row_ = nullptr;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenJpegRows(const std::filesystem::path& path) {
  return std::make_unique<TJpegRows>(path);
}

}  // namespace vellmar
