#pragma once
// GeoPackage and GeoJSON through GDAL/OGR. A GeoPackage holds one table per kind, named
// by the kind's ident; GeoJSON holds one feature collection for the whole plan, each
// feature naming its kind in the attribute "kind" (a GeoJSON file has one collection,
// and one file is what a GIS user opens). Coordinates are the plan's metres, tagged with
// the reference system the user names (plans are drawn in local metric systems, so
// none is assumed). The file is made in GDAL's memory file system and then written to
// the target through the atomic file, so a failed export leaves no half file.

#include <optional>
#include <vector>

#include "export/ExportFeatures.h"

namespace vellmar {

class TStream;

enum class TGisFormat { GeoPackage, GeoJson };

// Writes the features as the format's bytes to out. Raises "GisExport: ..." naming what
// GDAL refused (an unknown EPSG code among them).
void WriteGis(const std::vector<TKindFeatures>& kinds, TGisFormat format, std::optional<int> epsg, TStream& out);

// Raises "GisExport: unknown reference system EPSG:N" unless GDAL knows the code.
void CheckEpsg(int epsg);

}  // namespace vellmar
