#pragma once
// One sheet of paper drawn through a display renderer over the Cairo device onto any
// Cairo context: a PDF page, or a picture of the page for a preview, whose pixels are
// then the very shapes the PDF holds.

#include <cairo.h>

#include <cstdint>
#include <functional>

#include "render/OffscreenFrame.h"
#include "render/PdfDocument.h"

namespace vellmar {

// Draws the page onto Cairo, whose user space has UnitsPerMm units a millimetre from
// the paper's top-left corner: the frame is begun (white tint, identity matrices),
// Draw runs, the frame ends. Errors raised by Draw pass through.
void DrawPaperPage(cairo_t* Cairo, const TPaper& Paper, double UnitsPerMm, const TPdfDocument::TDrawPage& Draw);

// The page as a picture Width pixels wide on white (its height follows the paper).
TOffscreenFrame RenderPaperPicture(const TPaper& Paper, uint32_t Width, const TPdfDocument::TDrawPage& Draw);

}  // namespace vellmar
