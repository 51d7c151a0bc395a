#include "PictureFiles.h"

#include "platform/Error.h"

namespace vellmar {

TBitmap Paint(int32_t width, int32_t height, const std::function<uint32_t(double u, double v)>& colour) {
  TBitmap bitmap(width, height, TPixelFormat::pf24bit);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) bitmap.SetPixel(x, y, colour((x + 0.5) / width, (y + 0.5) / height));
  }
  return bitmap;
}

void WritePicture(const TBitmap& picture, const std::filesystem::path& path) {
  std::filesystem::create_directories(path.parent_path());
  picture.SaveToFile(path);
  TBitmap back;
  back.LoadFromFile(path);
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (int32_t x = 0; x < picture.Width(); ++x) {
      if (back.GetPixel(x, y) != picture.GetPixel(x, y))
        throw EVellmarError("vellmar-datafiles: " + path.string() + " reads back wrong");
    }
  }
}

}  // namespace vellmar
