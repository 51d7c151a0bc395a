#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "UnderlayToolRun.h"
#include "platform/imaging/Bitmap.h"
#include "support/TestSupport.h"
#include "underlay/SubLayerFile.h"

namespace vellmar {

namespace {

using test::TToolRun;

using test::RunUnderlayTool;

using test::Quote;

// 300 × 200 pixels of smooth colour with a dark cross, as a 24-bit bitmap.
TBitmap MakePicture() {
  TBitmap bitmap(300, 200, TPixelFormat::pf24bit);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      const bool cross = (x > 145 && x < 155) || (y > 95 && y < 105);
      const uint32_t r = cross ? 20 : 60 + x / 2;
      const uint32_t g = cross ? 20 : 80 + y / 2;
      const uint32_t b = cross ? 20 : 150;
      bitmap.SetPixel(x, y, r << 16 | g << 8 | b);
    }
  }
  return bitmap;
}

// Colour edges smear by a pixel or two under 4:2:0 chroma, so pictures are compared
// by their PSNR rather than pixel by pixel.
void ExpectClosePictures(const TBitmap& a, const TBitmap& b, double minimumPsnr) {
  double squared = 0.0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x) {
      const uint32_t p = a.GetPixel(x, y);
      const uint32_t q = b.GetPixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        const double d = double(p >> shift & 255) - double(q >> shift & 255);
        squared += d * d;
      }
    }
  }
  const double psnr = 10.0 * std::log10(255.0 * 255.0 * 300 * 200 * 3 / squared);
  EXPECT_GT(psnr, minimumPsnr);
}

}  // namespace

TEST(UnderlayTool, ImportInfoAndExportAgreeWithTheDecoder) {
  test::TempDir dir;
  const TBitmap picture = MakePicture();
  picture.SaveToFile(dir / "photo.bmp");

  const TToolRun import =
      RunUnderlayTool("import " + Quote(dir / "photo.bmp") + " " + Quote(dir / "photo.sub"));
  ASSERT_EQ(import.status, 0) << import.output;
  EXPECT_NE(import.output.find("coding tiles: 5 of 5 (100%)"), std::string::npos) << import.output;

  const TToolRun info = RunUnderlayTool("info " + Quote(dir / "photo.sub"));
  ASSERT_EQ(info.status, 0) << info.output;
  EXPECT_NE(info.output.find("level 1: 2 x 1 tiles (512 x 256 pixels), 2 in the table"), std::string::npos)
      << info.output;
  EXPECT_NE(info.output.find("level 8: 1 x 1 tiles"), std::string::npos) << info.output;

  const TToolRun exported =
      RunUnderlayTool("export " + Quote(dir / "photo.sub") + " --level 1 " + Quote(dir / "level1.png"));
  ASSERT_EQ(exported.status, 0) << exported.output;
  TBitmap level;
  level.LoadFromFile(dir / "level1.png");
  ASSERT_EQ(level.Width(), 512);
  ASSERT_EQ(level.Height(), 256);
  // The export is the decoder's tiles side by side, byte for byte.
  TSubLayerFile file(dir / "photo.sub");
  TBitmap tile(256, 256, TPixelFormat::pf32bit);
  ASSERT_TRUE(file.DecodeTile(1, 1, tile, 0));
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) ASSERT_EQ(level.GetPixel(256 + x, y), tile.GetPixel(x, y)) << x << "," << y;
  }
  ExpectClosePictures(picture, level, 38.0);

  // The same picture as PNG and as a 4:2:0 JPEG imports to nearly the same tiles.
  picture.SaveToPngFile(dir / "photo.png");
  ASSERT_EQ(RunUnderlayTool("import " + Quote(dir / "photo.png") + " " + Quote(dir / "png.sub")).status, 0);
  std::vector<uint8_t> bgr(300 * 200 * 3);
  for (int y = 0; y < 200; ++y) std::copy_n(picture.ScanLine(y), 900, &bgr[y * 900]);
  tjhandle encoder = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long jpegSize = 0;
  ASSERT_EQ(tjCompress2(encoder, bgr.data(), 300, 900, 200, TJPF_BGR, &jpeg, &jpegSize, TJSAMP_420, 95, 0),
            0);
  std::ofstream(dir / "photo.jpg", std::ios::binary).write(reinterpret_cast<const char*>(jpeg), jpegSize);
  tjFree(jpeg);
  tjDestroy(encoder);
  ASSERT_EQ(RunUnderlayTool("import " + Quote(dir / "photo.jpg") + " " + Quote(dir / "jpg.sub")).status, 0);
  for (const char* name : {"png", "jpg"}) {
    const std::string out = std::string(name) + ".png";
    ASSERT_EQ(RunUnderlayTool("export " + Quote(dir / (std::string(name) + ".sub")) + " --level 1 " +
                              Quote(dir / out))
                  .status,
              0);
    TBitmap other;
    other.LoadFromFile(dir / out);
    ExpectClosePictures(picture, other, 36.0);
  }
}

TEST(UnderlayTool, BadInputFailsWithoutTouchingTheOutput) {
  test::TempDir dir;
  std::ofstream(dir / "notes.txt") << "not a picture";
  std::ofstream(dir / "old.sub") << "previous contents";

  TToolRun run = RunUnderlayTool("import " + Quote(dir / "notes.txt") + " " + Quote(dir / "old.sub"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("is not a PNG, JPEG, TIFF or BMP file"), std::string::npos) << run.output;
  run = RunUnderlayTool("import " + Quote(dir / "missing.jpg") + " " + Quote(dir / "old.sub"));
  EXPECT_EQ(run.status, 1);
  std::ofstream(dir / "broken.jpg", std::ios::binary) << "\xFF\xD8\xFF\xE0 truncated";
  run = RunUnderlayTool("import " + Quote(dir / "broken.jpg") + " " + Quote(dir / "old.sub"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("JPEG"), std::string::npos) << run.output;

  run = RunUnderlayTool("info " + Quote(dir / "notes.txt"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("TSubLayerFile.Create"), std::string::npos) << run.output;
  run = RunUnderlayTool("export " + Quote(dir / "old.sub") + " --level 3 " + Quote(dir / "x.png"));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.output.find("--level must be 1, 2, 4 or 8"), std::string::npos) << run.output;
  EXPECT_EQ(RunUnderlayTool("").status, 2);
  EXPECT_EQ(RunUnderlayTool("import only-one-argument").status, 2);

  std::ifstream in(dir / "old.sub");
  std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(contents, "previous contents");
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 3u) << "a temporary file was left behind";
}

// info once listed a file whose tiles were cut off as sound, while export and the viewer
// failed on it: both now read every tile and name the file as damaged.
TEST(UnderlayTool, InfoAndExportBothRefuseATruncatedFile) {
  test::TempDir dir;
  MakePicture().SaveToFile(dir / "photo.bmp");
  ASSERT_EQ(RunUnderlayTool("import " + Quote(dir / "photo.bmp") + " " + Quote(dir / "photo.sub")).status, 0);
  const std::filesystem::path damaged = dir / "photo.sub";
  std::filesystem::resize_file(damaged, std::filesystem::file_size(damaged) - 64);

  for (const std::string& command :
       {"info " + Quote(damaged), "export " + Quote(damaged) + " --level 8 " + Quote(dir / "out.png")}) {
    const TToolRun run = RunUnderlayTool(command);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.output.find("vellmar-underlay: " + damaged.string() + ": the file is damaged ("), std::string::npos)
        << command << ": " << run.output;
    EXPECT_EQ(run.output.find("level 1:"), std::string::npos) << "listed as if sound: " << run.output;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "out.png"));
}

}  // namespace vellmar
