#pragma once
// The quantities table as pages of a PDF, following a plan sheet's pages: A4 portrait,
// one line per marking type, sign number (with its stations), surface and line kind,
// as many pages as the lines need.

namespace vellmar {

class TPdfDocument;
struct TQuantities;

void AddQuantityPages(TPdfDocument& document, const TQuantities& quantities);

}  // namespace vellmar
