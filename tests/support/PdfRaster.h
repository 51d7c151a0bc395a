#pragma once
// Reading a written PDF back the way a reader sees it: poppler's tools rasterise a page,
// give the page size and the text. Tests call PdfToolsMissing() first and skip with
// its message on a machine without them (scripts/setup installs poppler-utils).

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "render/OffscreenFrame.h"
#include "support/TestSupport.h"

namespace vellmar::test {

// Empty when pdftoppm, pdfinfo and pdftotext are on the path; otherwise why the test skips.
inline std::string PdfToolsMissing() {
  for (const char* tool : {"pdftoppm", "pdfinfo", "pdftotext"}) {
    const std::string command = std::string("command -v ") + tool + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
      return std::string(tool) + " is not installed (Debian package poppler-utils)";
  }
  return {};
}

// The standard output of a command, or nullopt when it failed.
inline std::optional<std::string> CommandOutput(const std::string& Command) {
  FILE* pipe = ::popen(Command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

// Page Page (from 1) rasterised at Dpi, antialiased as a reader shows it; nullopt when
// pdftoppm fails (no such page, a damaged file).
inline std::optional<TOffscreenFrame> RasterisePdf(const std::filesystem::path& Pdf, int Dpi, int Page = 1) {
  const TempDir dir;
  const std::filesystem::path stem = dir / "page";
  const std::string command = "pdftoppm -r " + std::to_string(Dpi) + " -f " + std::to_string(Page) + " -l " +
                              std::to_string(Page) + " -singlefile " + Quote(Pdf) + " " + Quote(stem);
  if (!CommandOutput(command)) return std::nullopt;
  std::ifstream in(stem.string() + ".ppm", std::ios::binary);
  std::string magic;
  uint32_t width = 0, height = 0, maximum = 0;
  in >> magic >> width >> height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255) return std::nullopt;
  TOffscreenFrame frame{width, height, std::vector<uint32_t>(size_t{width} * height)};
  for (uint32_t& pixel : frame.Pixels) {
    unsigned char rgb[3] = {};
    in.read(reinterpret_cast<char*>(rgb), 3);
    pixel = 0xFF000000u | uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
  }
  if (!in) return std::nullopt;
  return frame;
}

// The page's size in points as pdfinfo reports it, for page Page.
struct TPageSize {
  double Width = 0.0;
  double Height = 0.0;
};
inline std::optional<TPageSize> PdfPageSize(const std::filesystem::path& Pdf, int Page = 1) {
  const std::optional<std::string> info = CommandOutput("pdfinfo -f " + std::to_string(Page) + " -l " +
                                                        std::to_string(Page) + " " + Quote(Pdf));
  if (!info) return std::nullopt;
  const std::string key = "Page " + std::string(Page < 10 ? "   " : "  ") + std::to_string(Page) + " size:";
  const size_t at = info->find(key);
  if (at == std::string::npos) return std::nullopt;
  TPageSize size;
  if (std::sscanf(info->c_str() + at + key.size(), " %lf x %lf", &size.Width, &size.Height) != 2)
    return std::nullopt;
  return size;
}

inline int PdfPageCount(const std::filesystem::path& Pdf) {
  const std::optional<std::string> info = CommandOutput("pdfinfo " + Quote(Pdf));
  const size_t at = info ? info->find("Pages:") : std::string::npos;
  return at == std::string::npos ? 0 : std::atoi(info->c_str() + at + 6);
}

}  // namespace vellmar::test
