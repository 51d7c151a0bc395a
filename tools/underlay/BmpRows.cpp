#include "BmpRows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "PictureErrors.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
// Headers, masks and a full colour table take about a kilobyte; pixels that start
// further in than this are a damaged offset, not a real file.
constexpr uint32_t kLargestPixelOffset = 1u << 20;

uint32_t GetLE(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

void PutLE(std::vector<uint8_t>& bytes, size_t at, int size, uint32_t value) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

class TBmpRows final : public TPictureRows {
 public:
  explicit TBmpRows(const std::filesystem::path& path) : path_(path), file_(path, TFileMode::OpenRead) {
    std::vector<uint8_t> start(kFileHeaderSize + 4);
    if (file_.Read(start.data(), start.size()) < start.size())
      Fail("not a readable BMP", "headers truncated");
    core_ = GetLE(start, kFileHeaderSize, 4) == kCoreHeaderSize;
    // The fields read here end at byte 26 of a core header, at byte 30 of the others.
    const uint32_t fieldsEnd = core_ ? 26 : 30;
    const uint32_t pixelOffset = GetLE(start, 10, 4);
    if (pixelOffset > kLargestPixelOffset || pixelOffset > file_.Size() || pixelOffset < fieldsEnd) {
      Fail("not a readable BMP",
           "pixel offset " + std::to_string(pixelOffset) + " outside the file's headers");
    }
    // The headers, with the file's size and the rows' count rewritten for each band.
    head_.resize(pixelOffset);
    file_.SetPosition(0);
    file_.ReadBuffer(head_.data(), head_.size(), "ReadPictureFile");
    const int64_t width =
        core_ ? int64_t{GetLE(head_, 18, 2)} : int64_t{static_cast<int32_t>(GetLE(head_, 18, 4))};
    const int64_t height =
        core_ ? int64_t{GetLE(head_, 20, 2)} : int64_t{static_cast<int32_t>(GetLE(head_, 22, 4))};
    const int bits = static_cast<int>(GetLE(head_, core_ ? 24 : 28, 2));
    topDown_ = height < 0;
    // The headers, masks and colour table are checked once, as a picture of no rows.
    Decode(0);
    CheckPictureSize(path, width, topDown_ ? -height : height);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(topDown_ ? -height : height);
    stride_ = (width * bits + 31) / 32 * 4;
    const int64_t room = file_.Size() - pixelOffset;
    if (stride_ > room || height_ > room / stride_) {
      Fail("damaged BMP", "pixel data of " + std::to_string(width_) + " x " + std::to_string(height_) +
                              " at " + std::to_string(bits) + " bits runs past the end of the file");
    }
  }

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void ReadRows(uint8_t* target, std::ptrdiff_t stride, int count) override {
    if (count < 0 || count > height_ - next_) Fail("damaged BMP", "rows beyond the picture's last");
    // A band is one run in the file: rows next … next + count − 1 counted from the top.
    const int64_t firstStored = topDown_ ? next_ : height_ - next_ - count;
    file_.SetPosition(static_cast<int64_t>(head_.size()) + firstStored * stride_);
    band_.resize(head_.size() + static_cast<size_t>(count * stride_));
    std::copy(head_.begin(), head_.end(), band_.begin());
    file_.ReadBuffer(band_.data() + head_.size(), band_.size() - head_.size(), "ReadPictureFile");
    const TBitmap& rows = Decode(count);
    for (int i = 0; i < count; ++i) std::copy_n(rows.ScanLine(i), size_t{3} * width_, target + i * stride);
    next_ += count;
  }

 private:
  [[noreturn]] void Fail(const std::string& what, const std::string& detail) const {
    RaisePictureError(path_, what, detail);
  }

  // Decodes band_ (or the bare headers, for no rows) as a BMP image of count rows.
  const TBitmap& Decode(int count) {
    if (count == 0) band_ = head_;
    PutLE(band_, 2, 4, 0);  // no stated file size: the image ends with its pixels
    if (core_) {
      PutLE(band_, 20, 2, static_cast<uint32_t>(count));
    } else {
      PutLE(band_, 22, 4, static_cast<uint32_t>(topDown_ ? -count : count));
    }
    try {
      bitmap_.LoadFromBmp(band_.data(), band_.size());
    } catch (const EVellmarError& error) {
      Fail("not a readable BMP", error.what());
    }
    bitmap_.SetPixelFormat(TPixelFormat::pf24bit);
    return bitmap_;
  }

  std::filesystem::path path_;
  TFileStream file_;
  std::vector<uint8_t> head_;
  std::vector<uint8_t> band_;
  TBitmap bitmap_;
  bool core_ = false;
  bool topDown_ = false;
  int width_ = 0;
  int height_ = 0;
  int64_t stride_ = 0;
  int next_ = 0;
};

}  // namespace

std::unique_ptr<TPictureRows> OpenBmpRows(const std::filesystem::path& path) {
  return std::make_unique<TBmpRows>(path);
}

}  // namespace vellmar
