#pragma once
// One call that writes a street to a DXF, GeoPackage or GeoJSON file, the format chosen
// by the file's extension. The file is written beside the target and renamed over it
// only once complete (TAtomicFile): an export that fails or is stopped leaves whatever
// was there before, and no temporary.

#include <filesystem>
#include <optional>

#include "document/KindSet.h"
#include "export/ExportFeatures.h"

namespace vellmar {

class TStreetStructure;

enum class TExportFormat { Dxf, GeoPackage, GeoJson };

// By extension, case-insensitive: .dxf, .gpkg, .geojson (or .json); nothing for any other.
std::optional<TExportFormat> ExportFormatOf(const std::filesystem::path& target);

struct TExportOptions {
  TKindSet Kinds;
  std::optional<int> Epsg;    // GIS formats only
  TExportProgress Progress;   // may stop the export
};

// Raises "Export: ..." for a target of no known format, a reference system given for a
// DXF file or one GDAL does not know, before anything is written; the writers' and the
// file's errors come through as they are.
void ExportPlan(TStreetStructure& street, const std::filesystem::path& target, const TExportOptions& options);

}  // namespace vellmar
