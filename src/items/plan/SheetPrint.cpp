#include "items/plan/SheetPrint.h"

#include <array>
#include <string>

#include "document/KindByKindDrawing.h"
#include "document/KindRegistry.h"
#include "document/PaperView.h"
#include "document/StreetStructure.h"
#include "items/plan/PlanDefineItem.h"
#include "items/plan/SheetLayout.h"
#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "platform/gpu/cairo/CairoDevice.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

// The plan's only drawing mode.
constexpr TModeSet kPlanModes = 1u << 0;
constexpr double kMetresPerMillimetre = 0.001;

}  // namespace

std::vector<TPlanDefineItem*> PlanSheets(TStreetStructure& Street) {
  std::vector<TPlanDefineItem*> sheets;
  TItemList& list = Street.ItemList(TPlanDefineItem::kKind);
  for (int32_t i = 0; i < list.Count(); ++i)
    if (auto* sheet = dynamic_cast<TPlanDefineItem*>(list.Items(i))) sheets.push_back(sheet);
  return sheets;
}

TPaper SheetPaper(const TPlanDefineItem& Sheet) {
  const TSheetLayout layout = TSheetLayout::Of(Sheet);
  if (Sheet.Points().Count() < 2 || !layout.Placeable())
    throw EVellmarError("SheetPaper: the sheet has no place on the plan (two points and a scale above 0)");
  TPaper paper;
  paper.WidthMm = layout.Width;
  paper.HeightMm = layout.Height;
  // A resolution a file may hold but no printer has (0 in older files) prints at the
  // default: the sheet's place and scale do not depend on it.
  paper.Dpi = Sheet.Dpi();
  if (paper.Dpi < TPaper::kMinDpi || paper.Dpi > TPaper::kMaxDpi) {
    ReportWarning("SheetPaper: a sheet of " + std::to_string(Sheet.Dpi()) + " dpi is printed at " +
                  std::to_string(TPaper{}.Dpi) + " dpi");
    paper.Dpi = TPaper{}.Dpi;
  }
  paper.Check("SheetPaper");
  return paper;
}

TKindSet SheetPageKinds(const TPlanDefineItem& Sheet) {
  // Sheets on the plan are not part of the page.
  TKindSet kinds = Sheet.SheetKinds();
  kinds.Exclude(TPlanDefineItem::kKind);
  return kinds;
}

void DrawSheetPage(TdxRenderer& Renderer, CairoDevice& Device, TStreetStructure& Street, TPlanDefineItem& Sheet,
                   const TPrintControl& Control) {
  const TSheetLayout layout = TSheetLayout::Of(Sheet);
  const double width = layout.Width, height = layout.Height;
  const TViewState view = PaperViewState(layout.ToWorld(width / 2, height / 2), layout.Angle,
                                         width * kMetresPerMillimetre / layout.SheetScale);
  const TDxDrawParams params = SetupPaperView(Renderer, view, width, height);

  // The plan shows inside the inner frame only.
  const double pt = TPaper{}.PointsPerMillimetre();
  Device.ClipTo(TPageRect{layout.Left * pt, layout.Top * pt, (width - layout.Left - layout.Right) * pt,
                          (height - layout.Top - layout.Bottom) * pt});
  DrawKindByKind(Street, params, SheetPageKinds(Sheet), kPlanModes, Control);
  Device.ClipTo(std::nullopt);

  // The inner frame, and the stamps in its corners.
  const std::array<TXYZ, 4> frame = layout.Frame();
  Renderer.DrawPolyline(TXYZArray{frame[0], frame[1], frame[2], frame[3], frame[0]}, TPlanDefineItem::kFrameColor);
  Sheet.DrawImmediate(params, kPlanModes);
}

void PrintSheetsToPdf(TStreetStructure& Street, const std::vector<int>& Numbers, const std::filesystem::path& Path,
                      const TPageProgress& Progress, const TPrintControl& Control,
                      const TFollowingPages& Following) {
  const std::vector<TPlanDefineItem*> all = PlanSheets(Street);
  if (all.empty()) throw EVellmarError("PrintSheetsToPdf: the street has no plan sheet");
  std::vector<TPlanDefineItem*> chosen;
  for (const int number : Numbers) {
    if (number < 1 || number > static_cast<int>(all.size()))
      throw EVellmarError("PrintSheetsToPdf: no sheet " + std::to_string(number) + "; the street has " +
                          std::to_string(all.size()) + (all.size() == 1 ? " sheet" : " sheets"));
    chosen.push_back(all[static_cast<size_t>(number - 1)]);
  }
  if (chosen.empty()) chosen = all;
  // Every sheet is checked before anything is written.
  std::vector<TPaper> papers;
  for (const TPlanDefineItem* sheet : chosen) papers.push_back(SheetPaper(*sheet));

  TPdfDocument document(Path);
  for (size_t i = 0; i < chosen.size(); ++i) {
    document.AddPage(papers[i], [&](TdxRenderer& renderer, CairoDevice& device) {
      DrawSheetPage(renderer, device, Street, *chosen[i], Control);
    });
    if (Progress) Progress(static_cast<int>(i + 1), static_cast<int>(chosen.size()));
  }
  if (Following) Following(document);
  Control.ThrowIfStopped("PrintSheetsToPdf");
  document.Commit();
}

}  // namespace vellmar
