#include "export/PlanExport.h"

#include <algorithm>
#include <string>

#include "export/DxfExport.h"
#include "export/GisExport.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"

namespace vellmar {

std::optional<TExportFormat> ExportFormatOf(const std::filesystem::path& target) {
  std::string extension = target.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  if (extension == ".dxf") return TExportFormat::Dxf;
  if (extension == ".gpkg") return TExportFormat::GeoPackage;
  if (extension == ".geojson" || extension == ".json") return TExportFormat::GeoJson;
  return std::nullopt;
}

void ExportPlan(TStreetStructure& street, const std::filesystem::path& target, const TExportOptions& options) {
  const std::optional<TExportFormat> format = ExportFormatOf(target);
  if (!format) {
    throw EVellmarError("Export: " + target.string() + " is of no format written here (.dxf, .gpkg, .geojson)");
  }
  if (options.Epsg) {
    if (*format == TExportFormat::Dxf) throw EVellmarError("Export: a DXF file carries no reference system");
    CheckEpsg(*options.Epsg);
  }
  // The temporary is made first, so that an unwritable folder fails before the work.
  TAtomicFile file(target);
  const std::vector<TKindFeatures> kinds = CollectFeatures(street, options.Kinds, options.Progress);
  switch (*format) {
    case TExportFormat::Dxf:
      WriteDxf(street, kinds, file.Stream());
      break;
    case TExportFormat::GeoPackage:
      WriteGis(kinds, TGisFormat::GeoPackage, options.Epsg, file.Stream());
      break;
    case TExportFormat::GeoJson:
      WriteGis(kinds, TGisFormat::GeoJson, options.Epsg, file.Stream());
      break;
  }
  file.Commit();
}

}  // namespace vellmar
