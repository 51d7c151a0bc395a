#include "export/GisExport.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <unistd.h>

#include "document/AbstractItem.h"
#include "export/PlanPolygon.h"
#include "platform/Error.h"
#include "platform/Stream.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

constexpr const char* kLayerOfWholePlan = "plan";

void RegisterDrivers() {
  static std::once_flag once;
  std::call_once(once, [] { GDALAllRegister(); });
}

[[noreturn]] void Fail(const std::string& what) {
  const std::string detail = CPLGetLastErrorMsg();
  throw EVellmarError("GisExport: " + what + (detail.empty() ? std::string() : ": " + detail));
}

// GDAL's own messages would go to stderr; they come out in our errors instead.
class TQuietGdal {
 public:
  TQuietGdal() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
  }
  ~TQuietGdal() { CPLPopErrorHandler(); }
  TQuietGdal(const TQuietGdal&) = delete;
  TQuietGdal& operator=(const TQuietGdal&) = delete;
};

struct TDatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};

// A file of GDAL's memory file system, removed when done with.
class TMemoryFile {
 public:
  explicit TMemoryFile(const char* extension) {
    static std::atomic<int> serial{0};
    path_ = "/vsimem/vellmar-export-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + extension;
  }
  ~TMemoryFile() { VSIUnlink(path_.c_str()); }
  TMemoryFile(const TMemoryFile&) = delete;
  TMemoryFile& operator=(const TMemoryFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

OGRwkbGeometryType LayerGeometry(const std::vector<const TExportFeature*>& features) {
  if (features.empty()) return wkbUnknown;
  const TFeatureShape shape = features[0]->Shape;
  for (const TExportFeature* feature : features) {
    if (feature->Shape != shape) return wkbUnknown;
  }
  switch (shape) {
    case TFeatureShape::Point:
      return wkbPoint;
    case TFeatureShape::Lines:
      return wkbMultiLineString;
    case TFeatureShape::Area:
      return wkbMultiPolygon;
  }
  return wkbUnknown;
}

std::unique_ptr<OGRGeometry> Geometry(const TExportFeature& feature) {
  switch (feature.Shape) {
    case TFeatureShape::Point: {
      const TXYZ& p = feature.Parts.at(0).at(0);
      return std::make_unique<OGRPoint>(p.x, p.y);
    }
    case TFeatureShape::Lines: {
      auto lines = std::make_unique<OGRMultiLineString>();
      for (const TXYZArray& part : feature.Parts) {
        if (part.size() < 2) continue;
        auto line = std::make_unique<OGRLineString>();
        line->setNumPoints(static_cast<int>(part.size()), FALSE);
        for (size_t i = 0; i < part.size(); ++i) line->setPoint(static_cast<int>(i), part[i].x, part[i].y);
        lines->addGeometryDirectly(line.release());
      }
      if (lines->IsEmpty()) return nullptr;
      return lines;
    }
    case TFeatureShape::Area: {
      auto polygons = std::make_unique<OGRMultiPolygon>();
      for (const TPlanPolygon& polygon : EvenOddPolygons(feature.Parts)) {
        auto made = std::make_unique<OGRPolygon>();
        for (const TPlanRing& ring : polygon.Rings) {
          auto linear = std::make_unique<OGRLinearRing>();
          linear->setNumPoints(static_cast<int>(ring.size()), FALSE);
          for (size_t i = 0; i < ring.size(); ++i) linear->setPoint(static_cast<int>(i), ring[i].X, ring[i].Y);
          made->addRingDirectly(linear.release());
        }
        polygons->addGeometryDirectly(made.release());
      }
      if (polygons->IsEmpty()) return nullptr;
      return polygons;
    }
  }
  return nullptr;
}

void CreateFields(OGRLayer& layer, const std::vector<std::string>& kindFields) {
  const std::pair<const char*, OGRFieldType> common[] = {
      {"kind", OFTString},    {"kind_name", OFTString}, {"id", OFTInteger},    {"group", OFTString},
      {"comment", OFTString}, {"comment2", OFTString},  {"station", OFTReal}, {"offset", OFTReal},
      {"rotation", OFTReal},  {"text", OFTString},
  };
  for (const auto& [name, type] : common) {
    OGRFieldDefn field(name, type);
    if (layer.CreateField(&field) != OGRERR_NONE) Fail(std::string("cannot make the field ") + name);
  }
  for (const std::string& name : kindFields) {
    OGRFieldDefn field(name.c_str(), OFTString);
    if (layer.CreateField(&field) != OGRERR_NONE) Fail("cannot make the field " + name);
  }
}

void AddFeature(OGRLayer& layer, const TKindFeatures& kind, const TExportFeature& source) {
  OGRFeature feature(layer.GetLayerDefn());
  feature.SetField("kind", kind.Ident.c_str());
  feature.SetField("kind_name", kind.Name.c_str());
  feature.SetField("id", source.Item->ID());
  feature.SetField("group", Cp1251ToUtf8(source.Item->GroupName()).c_str());
  feature.SetField("comment", Cp1251ToUtf8(source.Item->Comment()).c_str());
  feature.SetField("comment2", Cp1251ToUtf8(source.Item->Comment2()).c_str());
  if (source.Station) feature.SetField("station", *source.Station);
  if (source.Offset) feature.SetField("offset", *source.Offset);
  if (source.Shape == TFeatureShape::Point) feature.SetField("rotation", source.Rotation);
  if (!source.Text.empty()) feature.SetField("text", source.Text.c_str());
  for (const TFeatureField& field : source.Fields) feature.SetField(field.Name.c_str(), field.Value.c_str());
  if (std::unique_ptr<OGRGeometry> geometry = Geometry(source)) feature.SetGeometryDirectly(geometry.release());
  if (layer.CreateFeature(&feature) != OGRERR_NONE) {
    Fail("cannot add item " + std::to_string(source.Item->ID()) + " of " + kind.Ident);
  }
}

OGRLayer& CreateLayer(GDALDataset& dataset, const std::string& name, OGRSpatialReference* srs,
                      OGRwkbGeometryType type, const std::vector<std::string>& kindFields, CSLConstList options) {
  OGRLayer* layer = dataset.CreateLayer(name.c_str(), srs, type, const_cast<char**>(options));
  if (layer == nullptr) Fail("cannot make the layer " + name);
  CreateFields(*layer, kindFields);
  return *layer;
}

void Fill(GDALDataset& dataset, const std::vector<TKindFeatures>& kinds, TGisFormat format, OGRSpatialReference* srs) {
  if (format == TGisFormat::GeoJson) {
    std::vector<std::string> fields;
    std::vector<const TExportFeature*> all;
    for (const TKindFeatures& kind : kinds) {
      for (const std::string& name : kind.FieldNames) {
        if (std::find(fields.begin(), fields.end(), name) == fields.end()) fields.push_back(name);
      }
      for (const TExportFeature& feature : kind.Features) all.push_back(&feature);
    }
    // Plan points are singles: nine significant digits give each back exactly, where the
    // default seventeen write the noise of their conversion to double (and take longer).
    const char* const options[] = {"SIGNIFICANT_FIGURES=9", nullptr};
    OGRLayer& layer = CreateLayer(dataset, kLayerOfWholePlan, srs, LayerGeometry(all), fields, options);
    for (const TKindFeatures& kind : kinds) {
      for (const TExportFeature& feature : kind.Features) AddFeature(layer, kind, feature);
    }
    return;
  }
  for (const TKindFeatures& kind : kinds) {
    std::vector<const TExportFeature*> features;
    for (const TExportFeature& feature : kind.Features) features.push_back(&feature);
    OGRLayer& layer = CreateLayer(dataset, kind.Ident, srs, LayerGeometry(features), kind.FieldNames, nullptr);
    if (layer.StartTransaction() != OGRERR_NONE) Fail("cannot start writing " + kind.Ident);
    for (const TExportFeature& feature : kind.Features) AddFeature(layer, kind, feature);
    if (layer.CommitTransaction() != OGRERR_NONE) Fail("cannot finish writing " + kind.Ident);
  }
}

}  // namespace

void CheckEpsg(int epsg) {
  RegisterDrivers();
  TQuietGdal quiet;
  OGRSpatialReference srs;
  if (srs.importFromEPSG(epsg) != OGRERR_NONE) {
    throw EVellmarError("GisExport: unknown reference system EPSG:" + std::to_string(epsg));
  }
}

void WriteGis(const std::vector<TKindFeatures>& kinds, TGisFormat format, std::optional<int> epsg, TStream& out) {
  RegisterDrivers();
  TQuietGdal quiet;
  std::unique_ptr<OGRSpatialReference> srs;
  if (epsg) {
    srs = std::make_unique<OGRSpatialReference>();
    if (srs->importFromEPSG(*epsg) != OGRERR_NONE) {
      throw EVellmarError("GisExport: unknown reference system EPSG:" + std::to_string(*epsg));
    }
    // Plan x and y go out as they are, whatever order the system's definition gives its axes.
    srs->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  }
  const bool json = format == TGisFormat::GeoJson;
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(json ? "GeoJSON" : "GPKG");
  if (driver == nullptr) Fail(std::string("GDAL has no ") + (json ? "GeoJSON" : "GeoPackage") + " driver");
  const TMemoryFile file(json ? ".geojson" : ".gpkg");
  {
    std::unique_ptr<GDALDataset, TDatasetCloser> dataset(
        driver->Create(file.Path().c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!dataset) Fail("cannot make the file");
    Fill(*dataset, kinds, format, srs.get());
    dataset->FlushCache();
    CPLErrorReset();
  }
  // The dataset's last pages are written as it closes.
  if (CPLGetLastErrorType() >= CE_Failure) Fail("cannot finish the file");
  vsi_l_offset length = 0;
  const GByte* bytes = VSIGetMemFileBuffer(file.Path().c_str(), &length, FALSE);
  if (bytes == nullptr) Fail("the file was not made");
  out.Write(bytes, static_cast<size_t>(length));
}

}  // namespace vellmar
