#pragma once
// The plan sheets of a street on paper: one page per sheet in its format and
// orientation, at its scale, showing its kinds inside its inner frame, the frame, and
// its stamps in their corners. The pages go to a PDF or to any Cairo device.

#include <filesystem>
#include <functional>
#include <vector>

#include "document/KindSet.h"
#include "document/PrintControl.h"
#include "render/PdfDocument.h"

namespace vellmar {

class CairoDevice;
class TdxRenderer;
class TPlanDefineItem;
class TStreetStructure;

// The street's plan sheets in the order they are stored; sheet N of the tools is
// element N - 1.
std::vector<TPlanDefineItem*> PlanSheets(TStreetStructure& Street);

// The sheet's paper: its format at its resolution (one no printer has, such as 0, is
// replaced by the default with a warning). Raises EVellmarError for a sheet that cannot
// be printed (no place on the plan, a format of no paper).
TPaper SheetPaper(const TPlanDefineItem& Sheet);

// Draws the sheet as its page onto a frame begun on a renderer whose target is
// SheetPaper(Sheet) in pixels, the plan one kind at a time under Control.
void DrawSheetPage(TdxRenderer& Renderer, CairoDevice& Device, TStreetStructure& Street, TPlanDefineItem& Sheet,
                   const TPrintControl& Control = {});

// The kinds the sheet's page shows of the plan.
TKindSet SheetPageKinds(const TPlanDefineItem& Sheet);

// Called after each page with the pages done and the pages in all.
using TPageProgress = std::function<void(int Done, int Total)>;
// Adds pages after the sheets' (a table of what the plan holds), before the file is put in place.
using TFollowingPages = std::function<void(TPdfDocument& Document)>;

// Writes the given sheets (numbers from 1; empty: every sheet) as a PDF. Raises
// EVellmarError for an unknown sheet number, a street without sheets, a sheet that
// cannot be printed or a file that cannot be written, and EPrintCancelled when
// Control's stop flag is set before the file is put in place; Path is untouched then.
// Control hears the items of each page in turn.
void PrintSheetsToPdf(TStreetStructure& Street, const std::vector<int>& Numbers, const std::filesystem::path& Path,
                      const TPageProgress& Progress = {}, const TPrintControl& Control = {},
                      const TFollowingPages& Following = {});

}  // namespace vellmar
