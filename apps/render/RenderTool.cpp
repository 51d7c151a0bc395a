// vellmar-render: draws one frame of a street without a display and writes it as a PNG
// or JPEG picture, or prints its plan sheets or its view to a PDF at true scale.
//   vellmar-render FILE.pln -o OUT.png|OUT.jpg [--size WxH] [--kinds LIST]
//                  [--centre X,Y] [--zoom Z] [--rotation DEG]
//   vellmar-render FILE.pln --sheet N -o OUT.pdf
//   vellmar-render FILE.pln [--pdf] [--paper A3] [--landscape] [--scale N] [--dpi D] -o OUT.pdf
// The picture shows the street's stored view, or the whole street when the file holds
// no view; the view options replace single values of it.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/KindList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "document/ViewPicture.h"
#include "document/ViewPrint.h"
#include "document/ViewState.h"
#include "export/Quantities.h"
#include "export/QuantitiesPages.h"
#include "items/plan/SheetPrint.h"
#include "kinds/AllKinds.h"
#include "platform/Error.h"
#include "platform/text/Numbers.h"
#include "platform/ToolMain.h"

namespace vellmar {

namespace {

constexpr const char* kUsage =
    "usage: vellmar-render FILE.pln -o OUT.png|OUT.jpg [--size WxH] [--kinds LIST]\n"
    "                      [--centre X,Y] [--zoom Z] [--rotation DEG]\n"
    "       vellmar-render FILE.pln --sheet LIST -o OUT.pdf\n"
    "       vellmar-render FILE.pln [--pdf] [--paper P] [--landscape] [--scale N] [--dpi D]\n"
    "                      [--kinds LIST] [--centre X,Y] [--rotation DEG] -o OUT.pdf\n"
    "Draws a street without a display: its view as a picture, or at true scale on paper.\n"
    "  -o OUT         the file to write, its kind by the extension: .png or .jpg/.jpeg\n"
    "                 for a picture, .pdf for paper (written only once complete)\n"
    "  --size WxH     picture size in pixels, default 1024x768\n"
    "  --kinds LIST   the item kinds to draw, comma-separated: kind indices 0..40 or kind\n"
    "                 idents such as ROADWAY or gazon (any case, without trailing blanks);\n"
    "                 default all\n"
    "  --centre X,Y   view centre in world units\n"
    "  --zoom Z       a picture's zoom (> 0): the picture is 2 / Z metres wide\n"
    "  --rotation DEG the view turned counter-clockwise, in degrees, or in radians with\n"
    "                 the suffix rad (1.5708rad)\n"
    "Without view options the street's stored view is used; a street saved without a\n"
    "view is fitted whole, as 'show all' does.\n"
    "PDF at true scale (vector drawing, one dot of the resolution for a screen pixel):\n"
    "  --sheet LIST   the street's plan sheets to print, numbered from 1 in the order\n"
    "                 they are stored, comma-separated, or 'all': one page each, in the\n"
    "                 sheet's format, scale and kinds, with its frame and stamps\n"
    "  --quantities   with --sheet: the street's quantities as A4 pages after the sheets\n"
    "  --pdf          the view on one page of paper, its middle on the view's centre\n"
    "                 (what -o OUT.pdf without --sheet prints)\n"
    "  --paper P      A0 to A6 or WxH in millimetres, default A4, portrait\n"
    "  --landscape    the paper turned on its side\n"
    "  --scale N      on paper: the drawing scale 1:N, default 500\n"
    "  --dpi D        with --pdf: the resolution (36 to 2400), default 300\n";

// What a street that never stored a view reads as (the values a cleared street has).
constexpr float kUnsetViewScale = 0.01f;

struct TOptions {
  std::string Input;
  std::string Output;
  uint32_t Width = 1024;
  uint32_t Height = 768;
  TKindSet Kinds = TKindRegistry::AllKinds();
  std::optional<TXYZ> Centre;
  std::optional<float> Zoom;
  std::optional<double> ScaleDenominator;
  std::optional<float> Rotation;
  bool SizeGiven = false;
  // PDF output: plan sheets (empty: all), or the view on paper.
  std::optional<std::vector<int>> Sheets;
  bool Pdf = false;
  bool Quantities = false;
  std::string Paper = "A4";
  bool Landscape = false;
  std::optional<int32_t> Dpi;
  std::optional<TPictureFormat> Picture;  // else a PDF
};

double Number(std::string_view text, std::string_view option) {
  const std::optional<double> value = ParseDouble(text);
  if (!value || !std::isfinite(*value)) {
    throw TUsageError{std::string(option) + " needs a number, not '" + std::string(text) + "'"};
  }
  return *value;
}

// Degrees, or radians with the suffix "rad", as radians.
double Radians(std::string_view text) {
  constexpr std::string_view kRadians = "rad";
  const bool radians = text.ends_with(kRadians);
  const std::optional<double> value = ParseDouble(radians ? text.substr(0, text.size() - kRadians.size()) : text);
  if (!value || !std::isfinite(*value)) {
    throw TUsageError{"--rotation needs a number, not '" + std::string(text) + "'"};
  }
  return radians ? *value : *value * (std::numbers::pi / 180.0);
}

bool IsPdf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".pdf";
}

uint32_t PixelCount(std::string_view text) {
  const std::optional<int32_t> value = ParseInt32(text);
  // Beyond this a frame would not fit any GPU the tool runs on.
  constexpr int32_t kMaxSide = 16384;
  if (!value || *value < 1 || *value > kMaxSide) {
    throw TUsageError{"--size needs WxH with sides from 1 to 16384, not '" + std::string(text) + "'"};
  }
  return static_cast<uint32_t>(*value);
}

TKindSet KindsOf(std::string_view list) {
  try {
    return ParseKindList(list);
  } catch (const EVellmarError& error) {
    throw TUsageError{std::string("--kinds: ") + error.what()};
  }
}

std::vector<int> SheetNumbers(std::string_view list) {
  if (list == "all") return {};
  std::vector<int> numbers;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t end = std::min(list.find(',', start), list.size());
    const std::string_view entry = list.substr(start, end - start);
    const std::optional<int32_t> number = ParseInt32(entry);
    if (!number || *number < 1) throw TUsageError{"--sheet needs sheet numbers from 1, not '" + std::string(entry) + "'"};
    numbers.push_back(*number);
    start = end + 1;
  }
  return numbers;
}

// A named paper or WxH in millimetres, turned on its side when asked.
TPaper PaperOf(const TOptions& options) {
  TPaper paper;
  if (!PaperSizeByName(options.Paper, paper.WidthMm, paper.HeightMm)) {
    const size_t at = options.Paper.find('x');
    const std::optional<double> w = at == std::string::npos ? std::nullopt : ParseDouble(options.Paper.substr(0, at));
    const std::optional<double> h = at == std::string::npos ? std::nullopt : ParseDouble(options.Paper.substr(at + 1));
    if (!w || !h) throw TUsageError{"--paper needs A0 to A6 or WxH in millimetres, not '" + options.Paper + "'"};
    paper.WidthMm = *w;
    paper.HeightMm = *h;
  }
  if (options.Landscape) std::swap(paper.WidthMm, paper.HeightMm);
  if (options.Dpi) paper.Dpi = *options.Dpi;
  return paper;
}

std::pair<std::string_view, std::string_view> SplitAt(std::string_view text, char separator,
                                                      std::string_view option) {
  const size_t at = text.find(separator);
  if (at == std::string_view::npos) {
    throw TUsageError{std::string(option) + " needs two values separated by '" + separator + "'"};
  }
  return {text.substr(0, at), text.substr(at + 1)};
}

TOptions Parse(const std::vector<std::string>& args) {
  TOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (++i == args.size()) throw TUsageError{arg + " needs a value"};
      return args[i];
    };
    if (arg == "-o") {
      options.Output = value();
    } else if (arg == "--size") {
      options.SizeGiven = true;
      const auto [w, h] = SplitAt(value(), 'x', arg);
      options.Width = PixelCount(w);
      options.Height = PixelCount(h);
    } else if (arg == "--kinds") {
      options.Kinds = KindsOf(value());
    } else if (arg == "--centre") {
      const auto [x, y] = SplitAt(value(), ',', arg);
      options.Centre = TXYZ{static_cast<float>(Number(x, arg)), static_cast<float>(Number(y, arg)), 0.0f};
    } else if (arg == "--zoom") {
      const double zoom = Number(value(), arg);
      if (!(zoom > 0.0)) throw TUsageError{"--zoom must be above 0"};
      options.Zoom = static_cast<float>(zoom);
    } else if (arg == "--scale") {
      const double scale = Number(value(), arg);
      if (!(scale > 0.0)) throw TUsageError{"--scale must be above 0"};
      options.ScaleDenominator = scale;
    } else if (arg == "--sheet") {
      options.Sheets = SheetNumbers(value());
    } else if (arg == "--pdf") {
      options.Pdf = true;
    } else if (arg == "--quantities") {
      options.Quantities = true;
    } else if (arg == "--paper") {
      options.Paper = value();
    } else if (arg == "--landscape") {
      options.Landscape = true;
    } else if (arg == "--dpi") {
      const std::string& text = value();
      const std::optional<int32_t> dpi = ParseInt32(text);
      if (!dpi) throw TUsageError{"--dpi needs a whole number, not '" + text + "'"};
      options.Dpi = *dpi;
    } else if (arg == "--rotation") {
      options.Rotation = static_cast<float>(Radians(value()));
    } else if (options.Input.empty() && !arg.starts_with("-")) {
      options.Input = arg;
    } else {
      throw TUsageError{"unexpected argument " + arg};
    }
  }
  if (options.Input.empty()) throw TUsageError{"no street file given"};
  if (options.Output.empty()) throw TUsageError{"no output given (-o OUT.png, OUT.jpg or OUT.pdf)"};
  if (options.Sheets && options.Pdf) throw TUsageError{"--sheet and --pdf exclude each other"};
  if (options.Quantities && !options.Sheets) throw TUsageError{"--quantities goes with --sheet"};
  options.Picture = PictureFormatOf(options.Output);
  const bool pdf = IsPdf(options.Output);
  if (!options.Picture && !pdf) {
    throw TUsageError{"-o " + options.Output + ": the name must end in .png, .jpg or .jpeg (a picture) or .pdf"};
  }
  if (options.Picture && (options.Sheets || options.Pdf)) {
    throw TUsageError{"--sheet and --pdf print to paper: -o needs a .pdf name"};
  }
  // A PDF without --sheet is the view on paper.
  options.Pdf = pdf && !options.Sheets;
  if (!options.Pdf && (options.Landscape || options.Dpi || options.Paper != "A4" || options.ScaleDenominator)) {
    throw TUsageError{options.Picture ? "--paper, --landscape, --dpi and --scale 1:N are for paper; a picture's zoom is --zoom"
                                      : "a sheet prints on its own paper at its own scale"};
  }
  if (pdf && (options.Zoom || options.SizeGiven)) throw TUsageError{"--zoom and --size are for pictures; paper takes --scale N"};
  return options;
}

// The street's view, or the whole street when the file stored none.
TViewState ViewOf(TStreetStructure& street) {
  const TViewState stored = StreetView(street);
  const bool unset = stored.Centre.x == 0.0f && stored.Centre.y == 0.0f && stored.Centre.z == 0.0f &&
                     stored.Scale == kUnsetViewScale && stored.Rotation == 0.0f;
  return unset ? FitStreetView(street) : stored;
}

int Run(const std::vector<std::string>& args) {
  RegisterAllKinds();
  const TOptions options = Parse(args);
  TStreetStructure street;
  ReadInput(options.Input, [&] { street.LoadFromFile(options.Input); });

  if (options.Sheets) {
    TFollowingPages quantities;
    if (options.Quantities) {
      quantities = [&street](TPdfDocument& document) { AddQuantityPages(document, CountQuantities(street)); };
    }
    PrintSheetsToPdf(
        street, *options.Sheets, options.Output,
        [](int done, int total) {
          if (total > 1) std::cerr << "vellmar-render: sheet " << done << " of " << total << " printed\n";
        },
        {}, quantities);
    return 0;
  }

  TViewState view = ViewOf(street);
  if (options.Centre) view.Centre = *options.Centre;
  if (options.Rotation) view.Rotation = *options.Rotation;
  if (options.Pdf) {
    TViewPrint print;
    print.Paper = PaperOf(options);
    print.ScaleDenominator = options.ScaleDenominator ? *options.ScaleDenominator : print.ScaleDenominator;
    print.Kinds = options.Kinds;
    print.Check("vellmar-render");
    PrintViewToPdf(street, view, print, options.Output);
    return 0;
  }
  if (options.Zoom) view.Scale = *options.Zoom;

  SaveViewPicture(street, view, options.Kinds, options.Width, options.Height, options.Output, *options.Picture,
                  /*Last=*/true);
  return 0;
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  return vellmar::RunTool("vellmar-render", vellmar::kUsage, argc, argv, vellmar::Run);
}
