#include "document/ViewPrint.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <string>

#include "document/KindByKindDrawing.h"
#include "document/PaperView.h"
#include "document/StreetStructure.h"
#include "platform/Error.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

// The plan's only drawing mode.
constexpr TModeSet kPlanModes = 1u << 0;
constexpr double kMetresPerMillimetre = 0.001;

struct TNamedPaper {
  const char* Name;
  double Width;
  double Height;
};
constexpr std::array<TNamedPaper, 7> kPapers{{{"A0", 841, 1189},
                                              {"A1", 594, 841},
                                              {"A2", 420, 594},
                                              {"A3", 297, 420},
                                              {"A4", 210, 297},
                                              {"A5", 148, 210},
                                              {"A6", 105, 148}}};

}  // namespace

void TViewPrint::Check(const std::string& Origin) const {
  Paper.Check(Origin);
  if (!(std::isfinite(ScaleDenominator) && ScaleDenominator >= 1.0 && ScaleDenominator <= 1e7))
    throw EVellmarError(Origin + ": the scale must be 1:1 to 1:10000000");
}

bool PaperSizeByName(const std::string& Name, double& WidthMm, double& HeightMm) {
  std::string upper = Name;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (const TNamedPaper& paper : kPapers) {
    if (upper != paper.Name) continue;
    WidthMm = paper.Width;
    HeightMm = paper.Height;
    return true;
  }
  return false;
}

void DrawViewPage(TdxRenderer& Renderer, TStreetStructure& Street, const TViewState& View, const TViewPrint& Print,
                  const TPrintControl& Control) {
  const TPaper& paper = Print.Paper;
  // The paper's width in the world; the view's rotation turns the page as it turns the plan.
  const TViewState paperView = PaperViewState(View.Centre, -double{View.Rotation},
                                              paper.WidthMm * kMetresPerMillimetre * Print.ScaleDenominator);
  const TDxDrawParams params = SetupPaperView(Renderer, paperView, paper.WidthMm, paper.HeightMm);
  DrawKindByKind(Street, params, Print.Kinds, kPlanModes, Control);
}

void PrintViewToPdf(TStreetStructure& Street, const TViewState& View, const TViewPrint& Print,
                    const std::filesystem::path& Path, const TPrintControl& Control) {
  Print.Check("PrintViewToPdf");
  TPdfDocument document(Path);
  document.AddPage(Print.Paper, [&](TdxRenderer& renderer, CairoDevice&) {
    DrawViewPage(renderer, Street, View, Print, Control);
  });
  Control.ThrowIfStopped("PrintViewToPdf");
  document.Commit();
}

}  // namespace vellmar
