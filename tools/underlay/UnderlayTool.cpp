// vellmar-underlay: makes, describes and unpacks underlay tile files.
//   vellmar-underlay import IMAGE OUT.sub [--threads N]  PNG, JPEG, TIFF or BMP → four-level pyramid
//   vellmar-underlay info FILE.sub                    levels and tile counts
//   vellmar-underlay export FILE.sub --level N OUT.png  one whole level as a picture
// Output files appear only when complete: they are written beside the target and
// renamed over it at the end. Pictures are read a band of rows at a time and tiles
// are coded on every core (or N threads), so any size imports in bounded memory.

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "PictureFile.h"
#include "ProgressLine.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/FileStream.h"
#include "platform/ToolMain.h"
#include "platform/imaging/Bitmap.h"
#include "underlay/PictureRows.h"
#include "underlay/SubLayerFile.h"
#include "underlay/SubLayerWriter.h"

namespace vellmar {

namespace {

constexpr const char* kUsage =
    "usage: vellmar-underlay import IMAGE OUT.sub [--threads N]\n"
    "       vellmar-underlay info FILE.sub\n"
    "       vellmar-underlay export FILE.sub --level N OUT.png\n"
    "IMAGE is a PNG, JPEG, TIFF or BMP picture of any size; tiles are coded on N threads\n"
    "(all cores unless given). For export, N is the level: 1, 2, 4 or 8.\n";

int Import(const std::string& input, const std::string& output, int threads) {
  const auto start = std::chrono::steady_clock::now();
  const std::unique_ptr<TPictureRows> picture = OpenPictureFile(input);
  TSubLayerWriter writer(*picture);
  std::cerr << input << ": " << picture->Width() << " x " << picture->Height() << " pixels\n";
  TAtomicFile file(output);
  // The coarser levels wait beside the output until level 1 is written. The spool's
  // name goes at once, so it vanishes with the process whatever happens.
  const std::filesystem::path spoolPath = file.TemporaryPath().string() + ".levels";
  TFileStream spool(spoolPath, TFileMode::CreateNew);
  std::filesystem::remove(spoolPath);
  {
    TProgressLine progress(std::cerr, isatty(STDERR_FILENO) != 0, "coding tiles");
    writer.Write(file.Stream(), {&spool, threads, [&](int done, int total) { progress.Show(done, total); }});
  }
  file.Commit();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double megapixels = double(picture->Width()) * picture->Height() / 1e6;
  std::cerr << "wrote " << output << " (" << std::fixed << std::setprecision(1) << megapixels
            << " megapixels in " << seconds << " s, " << megapixels / seconds << " megapixels/s on "
            << threads << (threads == 1 ? " thread)\n" : " threads)\n");
  return 0;
}

// Decodes every tile of a level the table holds, handing each to the caller; damaged
// tile data raises. Tiles missing from a short table are skipped.
void ForEachTile(TSubLayerFile& file, int level, const std::function<void(int column, int row, const TBitmap&)>& each) {
  const TSubLayerLevel& d = file.Level(level);
  TBitmap tile(kSubLayerTileSize, kSubLayerTileSize, TPixelFormat::pf32bit);
  for (int r = 0; r < d.Rows; ++r) {
    for (int c = 0; c < d.Columns; ++c) {
      if (file.DecodeTile(level, c, tile, r)) each(c, r, tile);
    }
  }
}

int Info(const std::string& input) {
  std::unique_ptr<TSubLayerFile> file;
  // Every tile is decoded, so that a file the viewer would fail on is not called sound.
  ReadInput(input, [&] {
    file = std::make_unique<TSubLayerFile>(input);
    for (const int level : kSubLayerLevels) ForEachTile(*file, level, [](int, int, const TBitmap&) {});
  });
  std::cout << input << "\n";
  for (const int level : kSubLayerLevels) {
    const TSubLayerLevel& d = file->Level(level);
    const size_t tiles = file->TileTable(level).size();
    std::cout << "level " << level << ": " << d.Columns << " x " << d.Rows << " tiles (" << d.Columns * 256
              << " x " << d.Rows * 256 << " pixels), " << tiles << " in the table";
    if (tiles < static_cast<size_t>(d.Columns) * static_cast<size_t>(d.Rows))
      std::cout << " (short: missing tiles)";
    std::cout << "\n";
  }
  return 0;
}

int Export(const std::string& input, int level, const std::string& output) {
  std::unique_ptr<TSubLayerFile> file;
  ReadInput(input, [&] { file = std::make_unique<TSubLayerFile>(input); });
  const TSubLayerLevel& d = file->Level(level);
  if (d.Columns == 0 || d.Rows == 0)
    throw EVellmarError("export: level " + std::to_string(level) + " has no tiles");
  if (int64_t{d.Columns} * d.Rows * kSubLayerTileSize * kSubLayerTileSize * 4 > TBitmap::MaxPixelBytes) {
    throw EVellmarError("export: level " + std::to_string(level) + " is too large for one picture");
  }
  // Tiles missing from a short table stay black, as a reader leaves them undrawn.
  TBitmap picture(d.Columns * kSubLayerTileSize, d.Rows * kSubLayerTileSize, TPixelFormat::pf32bit);
  ReadInput(input, [&] {
    ForEachTile(*file, level, [&](int c, int r, const TBitmap& tile) {
      for (int y = 0; y < kSubLayerTileSize; ++y) {
        std::memcpy(picture.ScanLine(r * kSubLayerTileSize + y) + c * kSubLayerTileSize * 4, tile.ScanLine(y),
                    kSubLayerTileSize * 4);
      }
    });
  });
  picture.SaveToPngFile(output, TPngAlpha::Opaque);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw TUsageError{"no command"};
  const std::string& command = args[0];
  if (command == "import") {
    std::vector<std::string> files;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--threads") {
        if (++i == args.size()) throw TUsageError{"--threads needs a value"};
        const std::string& value = args[i];
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), threads);
        if (error != std::errc() || end != value.data() + value.size() || threads < 1 || threads > 256)
          throw TUsageError{"--threads must be a number from 1 to 256, not " + value};
      } else {
        files.push_back(args[i]);
      }
    }
    if (files.size() != 2) throw TUsageError{"import takes IMAGE and OUT.sub"};
    return Import(files[0], files[1], threads);
  }
  if (command == "info") {
    if (args.size() != 2) throw TUsageError{"info takes FILE.sub"};
    return Info(args[1]);
  }
  if (command == "export") {
    std::vector<std::string> files;
    int level = 0;
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--level") {
        if (++i == args.size()) throw TUsageError{"--level needs a value"};
        const std::string& value = args[i];
        level = value == "1" ? 1 : value == "2" ? 2 : value == "4" ? 4 : value == "8" ? 8 : -1;
        if (level < 0) throw TUsageError{"--level must be 1, 2, 4 or 8, not " + value};
      } else {
        files.push_back(args[i]);
      }
    }
    if (level == 0) throw TUsageError{"export needs --level N"};
    if (files.size() != 2) throw TUsageError{"export takes FILE.sub and OUT.png"};
    return Export(files[0], level, files[1]);
  }
  throw TUsageError{"unknown command " + command};
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  return vellmar::RunTool("vellmar-underlay", vellmar::kUsage, argc, argv, vellmar::Run);
}
