#include "render/PdfDocument.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <exception>

#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "render/PaperPage.h"

namespace vellmar {

namespace {

// Paper beyond this (an A0 roll is 841 mm wide, a long one some metres) is a mistake.
constexpr double kMaxPaperMm = 10000.0;

uint32_t Pixels(double Mm, int32_t Dpi) {
  return static_cast<uint32_t>(std::max(1.0, std::nearbyint(Mm / 25.4 * Dpi)));
}

}  // namespace

void TPaper::Check(const std::string& Origin) const {
  const auto fits = [](double mm) { return std::isfinite(mm) && mm >= 1.0 && mm <= kMaxPaperMm; };
  if (!fits(WidthMm) || !fits(HeightMm))
    throw EVellmarError(Origin + ": the paper must be 1 to 10000 mm on each side");
  if (Dpi < kMinDpi || Dpi > kMaxDpi)
    throw EVellmarError(Origin + ": the resolution must be 36 to 2400 dpi, not " + std::to_string(Dpi));
  if (!(std::isfinite(LineWidthMm) && LineWidthMm >= 0.0 && LineWidthMm <= 10.0))
    throw EVellmarError(Origin + ": the line width must be 0 to 10 mm");
}

uint32_t TPaper::PixelWidth() const {
  return Pixels(WidthMm, Dpi);
}

uint32_t TPaper::PixelHeight() const {
  return Pixels(HeightMm, Dpi);
}

struct TPdfDocument::TCairoSurface {
  cairo_surface_t* Surface = nullptr;
  ~TCairoSurface() {
    if (Surface) cairo_surface_destroy(Surface);
  }
};

TPdfDocument::TPdfDocument(const std::filesystem::path& Path)
    : file_(std::make_unique<TAtomicFile>(Path)), surface_(std::make_unique<TCairoSurface>()) {}

TPdfDocument::~TPdfDocument() = default;

void TPdfDocument::AddPage(const TPaper& Paper, const TDrawPage& Draw) {
  AddPlainPage(Paper, [&](cairo_t* cairo) {
    // The paper's own drawing works in points.
    cairo_identity_matrix(cairo);
    DrawPaperPage(cairo, Paper, Paper.PointsPerMillimetre(), Draw);
  });
}

void TPdfDocument::AddPlainPage(const TPaper& Paper, const TDrawPlainPage& Draw) {
  Paper.Check("TPdfDocument.AddPage");
  const double widthPt = Paper.WidthMm * Paper.PointsPerMillimetre();
  const double heightPt = Paper.HeightMm * Paper.PointsPerMillimetre();
  if (surface_->Surface == nullptr) {
    // Cairo cannot throw through its write callback: the first failure is kept and
    // reported at the commit.
    const cairo_write_func_t write = [](void* closure, const unsigned char* data, unsigned int length) {
      auto* self = static_cast<TPdfDocument*>(closure);
      if (!self->writeError_.empty()) return CAIRO_STATUS_WRITE_ERROR;
      try {
        self->file_->Stream().Write(data, length);
        return CAIRO_STATUS_SUCCESS;
      } catch (const std::exception& e) {
        self->writeError_ = e.what();
        return CAIRO_STATUS_WRITE_ERROR;
      }
    };
    surface_->Surface = cairo_pdf_surface_create_for_stream(write, this, widthPt, heightPt);
    cairo_pdf_surface_set_metadata(surface_->Surface, CAIRO_PDF_METADATA_CREATOR, "Vellmar");
  } else {
    cairo_pdf_surface_set_size(surface_->Surface, widthPt, heightPt);
  }
  cairo_t* cairo = cairo_create(surface_->Surface);
  const std::unique_ptr<cairo_t, void (*)(cairo_t*)> context(cairo, cairo_destroy);
  cairo_save(cairo);
  cairo_scale(cairo, Paper.PointsPerMillimetre(), Paper.PointsPerMillimetre());
  Draw(cairo);
  cairo_restore(cairo);
  cairo_show_page(cairo);
  if (cairo_status(cairo) != CAIRO_STATUS_SUCCESS)
    throw EVellmarError(std::string("TPdfDocument.AddPage: ") + cairo_status_to_string(cairo_status(cairo)));
  ++pages_;
}

void TPdfDocument::Commit() {
  if (pages_ == 0) throw EVellmarError("TPdfDocument.Commit: the document has no page");
  cairo_surface_finish(surface_->Surface);
  const cairo_status_t status = cairo_surface_status(surface_->Surface);
  if (!writeError_.empty()) throw EVellmarError("TPdfDocument.Commit: " + writeError_);
  if (status != CAIRO_STATUS_SUCCESS)
    throw EVellmarError(std::string("TPdfDocument.Commit: ") + cairo_status_to_string(status));
  file_->Commit();
}

}  // namespace vellmar
