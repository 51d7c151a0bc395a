#pragma once
// A PDF written page by page, each page drawn by a display renderer over the Cairo
// device at true size: the renderer's target is the paper in pixels of the page's
// resolution, and the page is the paper in points. The file appears only when Commit
// succeeds; until then it is a temporary beside the target, removed when the document
// goes without a commit, so a failed export leaves nothing half-written behind.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <cairo.h>

#include "render/DxRenderer.h"

namespace vellmar {

class CairoDevice;
class TAtomicFile;

// One sheet of paper: its size, the resolution the picture is worked out at (underlay
// levels, text sizes, one pixel of the screen) and the width of lines on it.
struct TPaper {
  static constexpr int32_t kMinDpi = 36;
  static constexpr int32_t kMaxDpi = 2400;
  double WidthMm = 210.0;
  double HeightMm = 297.0;
  int32_t Dpi = 300;
  double LineWidthMm = 0.0;  // 0: one dot at Dpi, as a screen line is one pixel

  // Raises EVellmarError "<Origin>: ..." for a size or resolution that cannot be a page.
  void Check(const std::string& Origin) const;
  uint32_t PixelWidth() const;
  uint32_t PixelHeight() const;
  double PointsPerMillimetre() const { return 72.0 / 25.4; }
};

class TPdfDocument {
 public:
  // Draws a page: the frame has begun (white tint, identity matrices); the device
  // clips what the renderer draws to part of the page when asked.
  using TDrawPage = std::function<void(TdxRenderer& Renderer, CairoDevice& Device)>;

  // Raises EVellmarError when the temporary file cannot be made beside Path.
  explicit TPdfDocument(const std::filesystem::path& Path);
  ~TPdfDocument();
  TPdfDocument(const TPdfDocument&) = delete;
  TPdfDocument& operator=(const TPdfDocument&) = delete;

  // Adds a page of Paper's size; errors raised by Draw pass through.
  void AddPage(const TPaper& Paper, const TDrawPage& Draw);
  // Adds a page drawn straight with Cairo (tables, text), in millimetres from the
  // paper's top-left corner, y down.
  using TDrawPlainPage = std::function<void(cairo_t* Cairo)>;
  void AddPlainPage(const TPaper& Paper, const TDrawPlainPage& Draw);
  int PageCount() const { return pages_; }
  // Finishes the PDF and puts it in place; raises EVellmarError when no page was added
  // or writing failed, and the target is left as it was.
  void Commit();

 private:
  struct TCairoSurface;
  // In this order: a surface destroyed unfinished still writes through its callback,
  // which needs the file and the error text.
  std::unique_ptr<TAtomicFile> file_;
  std::string writeError_;
  std::unique_ptr<TCairoSurface> surface_;
  int pages_ = 0;
};

}  // namespace vellmar
