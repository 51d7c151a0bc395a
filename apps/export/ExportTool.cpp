// vellmar-export: a street as a drawing for CAD (DXF) or data for GIS (GeoPackage,
// GeoJSON), without a display.
//   vellmar-export FILE.pln -o OUT.dxf|OUT.gpkg|OUT.geojson [--kinds LIST] [--crs EPSG:N]

#include <optional>
#include <string>
#include <vector>

#include "document/KindList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "export/PlanExport.h"
#include "kinds/AllKinds.h"
#include "platform/Error.h"
#include "platform/text/Numbers.h"
#include "platform/ToolMain.h"

namespace vellmar {

namespace {

constexpr const char* kUsage =
    "usage: vellmar-export FILE.pln -o OUT.dxf|OUT.gpkg|OUT.geojson [--kinds LIST] [--crs EPSG:N]\n"
    "Writes the street's shown items, the format chosen by the extension:\n"
    "  .dxf      a layer per kind in its colour, signs and painted arrows as blocks, metres\n"
    "  .gpkg     a GeoPackage table per kind\n"
    "  .geojson  one feature collection, each feature naming its kind (attribute 'kind')\n"
    "Areas are filled by the even-odd rule, line markings where they are painted; every\n"
    "feature carries its kind, ID, group, comments, its kind's fields and the station and\n"
    "offset of its first point on the main axis.\n"
    "  -o OUT         the file to write (replaced only once complete)\n"
    "  --kinds LIST   the kinds to write, comma-separated indices 0..40 or idents; default all\n"
    "  --crs EPSG:N   the reference system the plan's metres are in (GIS formats only)\n";

int ParseCrs(const std::string& text) {
  const std::string prefix = "EPSG:";
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  const std::optional<int32_t> code =
      upper.starts_with(prefix) ? ParseInt32(std::string_view(text).substr(prefix.size())) : std::nullopt;
  if (!code || *code <= 0) throw TUsageError{"--crs needs EPSG:N, not '" + text + "'"};
  return *code;
}

int Run(const std::vector<std::string>& args) {
  std::string input, output, kinds = "all";
  std::optional<int> epsg;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (++i == args.size()) throw TUsageError{arg + " needs a value"};
      return args[i];
    };
    if (arg == "-o") {
      output = value();
    } else if (arg == "--kinds") {
      kinds = value();
    } else if (arg == "--crs") {
      epsg = ParseCrs(value());
    } else if (input.empty() && !arg.starts_with("-")) {
      input = arg;
    } else {
      throw TUsageError{"unexpected argument " + arg};
    }
  }
  if (input.empty()) throw TUsageError{"no street file given"};
  if (output.empty()) throw TUsageError{"no output file given (-o)"};
  const std::optional<TExportFormat> format = ExportFormatOf(output);
  if (!format) throw TUsageError{"-o " + output + ": the name must end in .dxf, .gpkg or .geojson"};
  if (epsg && *format == TExportFormat::Dxf) throw TUsageError{"--crs applies to .gpkg and .geojson only"};

  RegisterAllKinds();
  TExportOptions options;
  try {
    options.Kinds = ParseKindList(kinds);
  } catch (const EVellmarError& error) {
    throw TUsageError{std::string("--kinds: ") + error.what()};
  }
  options.Epsg = epsg;
  TStreetStructure street;
  ReadInput(input, [&] { street.LoadFromFile(input); });
  ExportPlan(street, output, options);
  return 0;
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  return vellmar::RunTool("vellmar-export", vellmar::kUsage, argc, argv, vellmar::Run);
}
