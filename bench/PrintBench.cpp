// A page of the large street (50,000 lawn polygons with their outlines, a few curbs)
// written as a PDF the way the print window writes it, one kind at a time with a control
// that hears the items drawn and could stop the print, against its peer in the same run:
// the same page drawn by one call of the street's Draw for every kind at once. The
// kinds are rebuilt before either runs, so both measure the drawing and the PDF only.
//
// Goal: drawing kind by kind costs no more than 1.05x the one call.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "RatioReporter.h"
#include "document/PaperView.h"
#include "document/StreetStructure.h"
#include "document/ViewPrint.h"
#include "items/ItemKinds.h"
#include "render/PdfDocument.h"
#include "support/BenchmarkStreet.h"

namespace vellmar {
namespace {

// The plan's only drawing mode.
constexpr TModeSet kPlanModes = 1u << 0;

std::filesystem::path PagePath() {
  return std::filesystem::temp_directory_path() / ("vellmar-print-bench-" + std::to_string(getpid()) + ".pdf");
}

// A3 landscape at 1:20000 over the field of lawns.
TViewPrint PagePrint() {
  TViewPrint print;
  print.Paper.WidthMm = 420;
  print.Paper.HeightMm = 297;
  print.ScaleDenominator = 20000;
  print.Kinds = TKindSet{4, 8};
  return print;
}

const TViewState kView{{3735.0f, 2985.0f, 0.0f}, 1.0f, 0.0f};

TStreetStructure& RebuiltStreet() {
  TStreetStructure& street = test::LoadedBenchmarkStreet();
  street.RebuildKinds(PagePrint().Kinds);
  return street;
}

void BM_PageKindByKind(benchmark::State& state) {
  TStreetStructure& street = RebuiltStreet();
  const TViewPrint print = PagePrint();
  std::atomic<bool> stop = false;
  std::atomic<int64_t> drawn = 0;
  TPrintControl control;
  control.Stop = &stop;
  control.Progress = [&](int64_t done, int64_t) { drawn.store(done, std::memory_order_relaxed); };
  for (auto _ : state) PrintViewToPdf(street, kView, print, PagePath(), control);
  state.counters["items"] = static_cast<double>(drawn.load());
}

// The peer: the whole page by one call of the street's Draw.
void BM_PageAtOnce(benchmark::State& state) {
  TStreetStructure& street = RebuiltStreet();
  const TViewPrint print = PagePrint();
  for (auto _ : state) {
    TPdfDocument document(PagePath());
    document.AddPage(print.Paper, [&](TdxRenderer& renderer, CairoDevice&) {
      const TViewState paperView =
          PaperViewState(kView.Centre, 0.0, print.Paper.WidthMm * 0.001 * print.ScaleDenominator);
      street.Draw(SetupPaperView(renderer, paperView, print.Paper.WidthMm, print.Paper.HeightMm), print.Kinds,
                  kPlanModes);
    });
    document.Commit();
  }
}

BENCHMARK(BM_PageKindByKind)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PageAtOnce)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace vellmar

int main(int argc, char** argv) {
  vellmar::RegisterAllItemKinds();
  vellmar::TRatioReporter reporter;
  vellmar::RunBenchmarks(argc, argv, reporter);
  std::filesystem::remove(vellmar::PagePath());
  const double kindByKind = reporter.Time("BM_PageKindByKind");
  const double atOnce = reporter.Time("BM_PageAtOnce");
  if (kindByKind > 0 && atOnce > 0)
    std::printf("page kind by kind: %.3fx the page drawn at once (goal <= 1.05x)\n", kindByKind / atOnce);
  return 0;
}
