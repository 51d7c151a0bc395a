// vellmar-export and vellmar-info --quantities run as their users run them, on the
// hand-worked street (support/HandWorkedStreet.h), their files read back by readers that
// share no code with ours: GDAL's Python bindings for GeoPackage and GeoJSON, ezdxf for
// DXF (its audit must find nothing to mend).

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kinds/AllKinds.h"
#include "support/HandWorkedStreet.h"
#include "support/PdfRaster.h"
#include "support/Prerequisite.h"
#include "support/TestSupport.h"
#include "support/ToolRun.h"

namespace vellmar {
namespace {

namespace fs = std::filesystem;
using test::Quote;

constexpr const char* kPython = "/usr/bin/python3";

using TRun = test::TToolRun;

TRun RunCommand(const std::string& command, const test::TempDir& scratch) { return test::RunTool(command, "", scratch); }

// "key value" lines of a reader's output.
std::map<std::string, std::string> Lines(const std::string& output) {
  std::map<std::string, std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    const size_t space = line.rfind(' ');
    if (space != std::string::npos) lines[line.substr(0, space)] = line.substr(space + 1);
  }
  return lines;
}

double Number(const std::map<std::string, std::string>& lines, const std::string& key) {
  const auto at = lines.find(key);
  if (at == lines.end()) {
    ADD_FAILURE() << "the reader said nothing of " << key;
    return -1;
  }
  return std::stod(at->second);
}

// Counts, total areas and lengths per kind, the reference system and the signs' fields,
// as GDAL reads them; a GeoJSON file's one layer is split by its "kind" attribute.
constexpr const char* kOgrReader = R"(
import sys
from osgeo import ogr
ogr.UseExceptions()
data = ogr.Open(sys.argv[1])
for layer in data:
    srs = layer.GetSpatialRef()
    if srs is not None:
        srs.AutoIdentifyEPSG()
        print("epsg", srs.GetAuthorityCode(None))
    totals = {}
    for f in layer:
        kind = f.GetField("kind")
        g = f.GetGeometryRef()
        t = totals.setdefault(kind, [0, 0.0, 0.0, 0])
        t[0] += 1
        if g is not None:
            t[1] += g.GetArea()
            t[2] += g.Length()
            t[3] += g.GetGeometryCount() if g.GetGeometryCount() > 0 else 1
        if kind == "ZNAK":
            print("sign %d" % f.GetField("id"), "%.6f/%.6f/%s/%s" % (f.GetField("station"), f.GetField("offset"),
                  f.GetField("Знак_1"), f.GetField("kind_name").replace(" ", "_")))
        if kind == "GAZON":
            print("first", "%.3f,%.3f" % g.GetGeometryRef(0).GetGeometryRef(0).GetPoint_2D(0))
    for kind, (count, area, length, parts) in totals.items():
        print("count", kind, count)
        print("area", kind, "%.9f" % area)
        print("length", kind, "%.9f" % length)
        print("parts", kind, parts)
)";

// What ezdxf makes of a DXF file: its audit, units, layers' colours, entities per layer
// and type, the blocks inserted.
constexpr const char* kDxfReader = R"(
import sys, collections
import ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("errors", len(auditor.errors))
print("fixes", len(auditor.fixes))
print("units", doc.units)
for layer in doc.layers:
    print("colour", layer.dxf.name, layer.dxf.color)
counts = collections.Counter((e.dxftype(), e.dxf.layer) for e in doc.modelspace())
for (kind, layer), n in counts.items():
    print(kind, layer, n)
blocks = collections.Counter(e.dxf.name for e in doc.modelspace().query("INSERT"))
for name, n in blocks.items():
    print("insert", name, n)
for e in doc.modelspace().query("POLYLINE[layer=='ROADWAY']"):
    print("roadway", "%s:%.3f,%.3f" % (e.is_closed, e.vertices[0].dxf.location.x, e.vertices[0].dxf.location.y))
    break
for e in doc.modelspace().query("TEXT"):
    print("text", e.dxf.text)
)";

class ExportTool : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAllKinds();
    test::ScopedDataVariable root(test::CommittedDataFiles().c_str());
    TStreetStructure street;
    test::BuildHandWorkedStreet(street);
    plan = scratch / "plan.pln";
    street.SaveToFile(plan);
    out = scratch / "out";
    fs::create_directory(out);
  }

  // Skips the test when the reader's Python modules are not installed.
  std::map<std::string, std::string> Read(const char* script, const char* module, const fs::path& file) {
    const fs::path path = scratch / "reader.py";
    std::ofstream(path) << script;
    if (RunCommand(std::string(kPython) + " -c 'import " + module + "'", scratch).Status != 0) return {};
    const TRun run = RunCommand(std::string(kPython) + " " + Quote(path) + " " + Quote(file), scratch);
    EXPECT_EQ(run.Status, 0) << run.Errors;
    return Lines(run.Output);
  }

  TRun Export(const std::string& arguments) {
    return RunCommand(std::string(VELLMAR_EXPORT_TOOL) + " " + Quote(plan) + " " + arguments, scratch);
  }

  std::vector<fs::path> Written() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(out)) files.push_back(entry.path().filename());
    return files;
  }

  test::TempDir scratch;
  fs::path plan, out;
};

void ExpectGisContents(const std::map<std::string, std::string>& read) {
  EXPECT_EQ(read.at("count ROADWAY"), "2");
  EXPECT_NEAR(Number(read, "area ROADWAY"), 4000.0, 4000.0 * 1e-6);
  EXPECT_NEAR(Number(read, "area GAZON"), 50.0, 50.0 * 1e-6) << "the bow-tie filled by the even-odd rule";
  EXPECT_EQ(read.at("parts GAZON"), "2");
  EXPECT_EQ(read.at("first"), "0.000,20.000");
  EXPECT_EQ(read.at("parts LNRAZMET"), "8") << "the painted dashes, not the marking's control line";
  EXPECT_NEAR(Number(read, "length LNRAZMET"), 25.0, 1e-4);
  EXPECT_NEAR(Number(read, "length BORT"), 200.0, 1e-9);
  EXPECT_EQ(read.at("count ZNAK"), "3");
  EXPECT_EQ(read.at("sign 1"), "30.000000/8.000000/5.19.1/Дорожный_знак");
  EXPECT_EQ(read.at("sign 2"), "60.000000/-8.000000/5.19.1/Дорожный_знак");
  EXPECT_EQ(read.at("sign 3"), "90.000000/8.000000/3.24/Дорожный_знак");
}

TEST_F(ExportTool, GeoPackageHoldsATablePerKindThatGdalReadsBack) {
  const TRun run = Export("-o " + Quote(out / "plan.gpkg") + " --crs EPSG:32635");
  ASSERT_EQ(run.Status, 0) << run.Errors;
  const auto read = Read(kOgrReader, "osgeo.ogr", out / "plan.gpkg");
  if (read.empty()) VELLMAR_SKIP_OR_FAIL("no GDAL Python bindings (Debian package python3-gdal)");
  ExpectGisContents(read);
  EXPECT_EQ(read.at("epsg"), "32635");
  EXPECT_EQ(read.at("parts ZEBRA"), "4") << "the crossing's four stripes";
  EXPECT_NEAR(Number(read, "area ZEBRA"), 9.6, 1e-3);
  EXPECT_EQ(Written(), std::vector<fs::path>{"plan.gpkg"}) << "no temporary left beside it";
}

TEST_F(ExportTool, GeoJsonHoldsOneCollectionWhoseFeaturesNameTheirKind) {
  const TRun run = Export("-o " + Quote(out / "plan.geojson") + " --kinds roadway,GAZON,10,BORT,ZNAK");
  ASSERT_EQ(run.Status, 0) << run.Errors;
  const auto read = Read(kOgrReader, "osgeo.ogr", out / "plan.geojson");
  if (read.empty()) VELLMAR_SKIP_OR_FAIL("no GDAL Python bindings (Debian package python3-gdal)");
  ExpectGisContents(read);
  EXPECT_EQ(read.count("count ZEBRA"), 0u) << "a kind left out of --kinds";
  std::ifstream json(out / "plan.geojson");
  const std::string text((std::istreambuf_iterator<char>(json)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.find("\"crs\""), std::string::npos) << "no reference system is made up for a plan's local metres";
}

TEST_F(ExportTool, DxfHasALayerPerKindAndSignsAsBlocksAndPassesAnAudit) {
  const TRun run = Export("-o " + Quote(out / "plan.dxf"));
  ASSERT_EQ(run.Status, 0) << run.Errors;
  const auto read = Read(kDxfReader, "ezdxf", out / "plan.dxf");
  if (read.empty()) VELLMAR_SKIP_OR_FAIL("no ezdxf (Debian package python3-ezdxf)");
  EXPECT_EQ(read.at("errors"), "0");
  EXPECT_EQ(read.at("fixes"), "0");
  EXPECT_EQ(read.at("units"), "6") << "metres";
  EXPECT_EQ(read.at("colour GAZON"), "3") << "the lawn's pale green";
  EXPECT_EQ(read.at("POLYLINE ROADWAY"), "2");
  EXPECT_EQ(read.at("roadway"), "True:0.000,-10.000");
  EXPECT_EQ(read.at("POLYLINE LNRAZMET"), "8");
  EXPECT_EQ(read.at("POLYLINE GAZON"), "1") << "the outline as drawn; a reader fills it";
  EXPECT_EQ(read.at("INSERT ZNAK"), "3");
  EXPECT_EQ(read.at("POLYLINE ZEBRA"), "4");
  EXPECT_EQ(read.at("insert SIGN_5.19.1"), "2");
  EXPECT_EQ(read.at("insert SIGN_3.24"), "1");
}

// Each failure names itself, exits non-zero and leaves the folder as it was: no file, no
// temporary, and an existing file untouched.
TEST_F(ExportTool, FailuresAreNamedAndWriteNothing) {
  std::ofstream(out / "kept.gpkg") << "old";
  const fs::path damaged = scratch / "damaged.pln";
  {
    std::ifstream in(plan, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(damaged, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  }
  const struct {
    std::string Arguments;
    int Status;
    const char* Says;
  } cases[] = {
      {"-o " + Quote(out / "plan.shp"), 2, "must end in .dxf, .gpkg or .geojson"},
      {"-o " + Quote(out / "plan.gpkg") + " --crs 4326", 2, "--crs needs EPSG:N"},
      {"-o " + Quote(out / "plan.dxf") + " --crs EPSG:4326", 2, "--crs applies to .gpkg and .geojson only"},
      {"-o " + Quote(out / "plan.gpkg") + " --crs EPSG:999999", 1, "unknown reference system EPSG:999999"},
      {"-o " + Quote(out / "plan.gpkg") + " --kinds ROADWAY,,GAZON", 2, "--kinds"},
      {"-o " + Quote(out / "plan.gpkg") + " --kinds PAVEMENT", 2, "no kind PAVEMENT"},
      {"", 2, "no output file given"},
      {"-o " + Quote(out / "missing" / "plan.gpkg"), 1, "vellmar-export:"},
      {"-o " + Quote(out / "kept.gpkg") + " --crs EPSG:999999", 1, "unknown reference system"},
  };
  for (const auto& c : cases) {
    const TRun run = Export(c.Arguments);
    EXPECT_EQ(run.Status, c.Status) << c.Arguments << ": " << run.Errors;
    EXPECT_NE(run.Errors.find(c.Says), std::string::npos) << c.Arguments << ": " << run.Errors;
    EXPECT_EQ(Written(), std::vector<fs::path>{"kept.gpkg"}) << c.Arguments;
  }
  const TRun broken = RunCommand(std::string(VELLMAR_EXPORT_TOOL) + " " + Quote(damaged) + " -o " + Quote(out / "kept.gpkg"), scratch);
  EXPECT_EQ(broken.Status, 1);
  EXPECT_FALSE(broken.Errors.empty());
  EXPECT_EQ(Written(), std::vector<fs::path>{"kept.gpkg"});
  std::ifstream kept(out / "kept.gpkg");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), std::istreambuf_iterator<char>()), "old");
}

TEST_F(ExportTool, InfoPrintsTheQuantitiesAndWritesThemAsCsv) {
  const fs::path csv = out / "quantities.csv";
  const TRun run = RunCommand(std::string(VELLMAR_INFO_TOOL) + " " + Quote(plan) + " --quantities --csv " + Quote(csv), scratch);
  ASSERT_EQ(run.Status, 0) << run.Errors;
  EXPECT_NE(run.Output.find("marking 1.5 count 1 length 25.000 area 2.500\n"), std::string::npos) << run.Output;
  EXPECT_NE(run.Output.find("sign 5.19.1 count 2\n  id 1 station 30.000 offset 8.000 right\n"), std::string::npos);
  std::ifstream in(csv);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_TRUE(text.starts_with("section,name,count,length_m,area_m2,id,station_m,offset_m,side\nmarking,1.5,1,25.000,2.500"))
      << text;
  const TRun stray = RunCommand(std::string(VELLMAR_INFO_TOOL) + " " + Quote(plan) + " --csv " + Quote(out / "x.csv"), scratch);
  EXPECT_EQ(stray.Status, 2);
  EXPECT_NE(stray.Errors.find("--csv belongs to --quantities"), std::string::npos);
  const TRun unwritable = RunCommand(std::string(VELLMAR_INFO_TOOL) + " " + Quote(plan) + " --quantities --csv " +
                                  Quote(out / "missing" / "q.csv"), scratch);
  EXPECT_EQ(unwritable.Status, 1);
  EXPECT_EQ(Written(), std::vector<fs::path>{"quantities.csv"});
}

// A plan sheet's PDF takes the quantities table as pages after the sheets.
TEST_F(ExportTool, RenderAddsTheQuantitiesAfterThePlanSheet) {
  if (const std::string missing = test::PdfToolsMissing(); !missing.empty()) VELLMAR_SKIP_OR_FAIL(missing);
  const fs::path demo = fs::path(VELLMAR_SOURCE_DIR) / "examples/demo.pln";
  const fs::path pdf = out / "sheet.pdf";
  // The table's text goes through fontconfig, whose matched faces stay cached for the
  // process's life: the leak checker of a sanitizer build is told so, as the fuzz runs are.
  const std::string keptByFontconfig =
      "LSAN_OPTIONS=suppressions=" + Quote(fs::path(VELLMAR_SOURCE_DIR) / "fuzz/lsan.supp") + " ";
  const TRun run = RunCommand(keptByFontconfig + VELLMAR_RENDER_TOOL + " " + Quote(demo) + " --sheet 1 --quantities -o " +
                                  Quote(pdf), scratch);
  ASSERT_EQ(run.Status, 0) << run.Errors;
  EXPECT_GE(test::PdfPageCount(pdf), 2) << "the sheet, then the table on as many pages as it needs";
  const std::optional<test::TPageSize> size = test::PdfPageSize(pdf, 2);
  ASSERT_TRUE(size);
  EXPECT_NEAR(size->Width, 210.0 * 72 / 25.4, 1.0) << "an A4 page in points";
  const std::optional<std::string> text = test::CommandOutput("pdftotext -f 2 " + Quote(pdf) + " -");
  ASSERT_TRUE(text);
  for (const char* expected : {"Разметка", "1.14.1", "Знаки", "5.19.1", "Проезжая часть", "Борт"}) {
    EXPECT_NE(text->find(expected), std::string::npos) << expected << " missing from:\n" << *text;
  }
  const TRun alone = RunCommand(std::string(VELLMAR_RENDER_TOOL) + " " + Quote(demo) + " --quantities -o " +
                                    Quote(out / "view.png"), scratch);
  EXPECT_EQ(alone.Status, 2);
  EXPECT_NE(alone.Errors.find("--quantities goes with --sheet"), std::string::npos) << alone.Errors;
}

}  // namespace
}  // namespace vellmar
