#pragma once
// The current view on paper: a chosen paper at a drawing scale 1:N, its middle on the
// view's centre, turned as the view is, with the kinds the view shows.

#include <filesystem>

#include "document/KindSet.h"
#include "document/PrintControl.h"
#include "document/ViewState.h"
#include "render/PdfDocument.h"

namespace vellmar {

class CairoDevice;
class TdxRenderer;
class TStreetStructure;

struct TViewPrint {
  TPaper Paper;
  double ScaleDenominator = 500.0;  // 1:N
  TKindSet Kinds;

  // Raises EVellmarError "<Origin>: ..." for a paper or scale that cannot be printed.
  void Check(const std::string& Origin) const;
};

// The standard paper sizes by name (A0..A6, any case), portrait; false for another name.
bool PaperSizeByName(const std::string& Name, double& WidthMm, double& HeightMm);

// Draws the view as a page onto a frame begun on a renderer whose target is Print's
// paper in pixels, one kind at a time under Control.
void DrawViewPage(TdxRenderer& Renderer, TStreetStructure& Street, const TViewState& View, const TViewPrint& Print,
                  const TPrintControl& Control = {});

// Writes the one-page PDF; raises EVellmarError, leaving Path untouched, when it fails,
// and EPrintCancelled when Control's stop flag is set before the file is put in place.
void PrintViewToPdf(TStreetStructure& Street, const TViewState& View, const TViewPrint& Print,
                    const std::filesystem::path& Path, const TPrintControl& Control = {});

}  // namespace vellmar
