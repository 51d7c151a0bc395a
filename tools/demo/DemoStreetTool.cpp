// vellmar-demo: writes the bundled demo street - a 300 m urban avenue running along x
// with every kind a street file can hold, each where it belongs on a real street - so
// that the viewer and the renderer have something plausible to show.
//   vellmar-demo OUT.pln
// The committed examples/demo.pln is what this writes (a test keeps them in step).

#include <string>
#include <vector>

#include "DemoCurvedRoad.h"
#include "DemoDesign.h"
#include "DemoLabels.h"
#include "DemoRoadSymbols.h"
#include "DemoSigns.h"
#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "document/ViewState.h"
#include "items/design/DesignBlockItem.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/road/LineRazmetItem.h"
#include "items/road/RazmetTextItem.h"
#include "items/road/RazmetZnakItem.h"
#include "items/text/TextLabelItem.h"
#include "kinds/AllKinds.h"
#include "platform/text/Cp1251.h"
#include "platform/ToolMain.h"

namespace vellmar {

namespace {

constexpr const char* kUsage =
    "usage: vellmar-demo OUT.pln\n"
    "Writes the demo street: a 300 m avenue with a tram line on its median, two\n"
    "carriageways, sidewalks, lawns and buildings, and every kind of street item.\n";

// One item: its kind index, what it is on the street, its points in metres (x along
// the street from its west end, y north of the axis) and, for kinds drawn from a
// library, its type there (UTF-8): a marking's designation, an arrow's or a block's
// name.
struct TPiece {
  int32_t Kind;
  const char* What;
  std::vector<TXYZ> Points;
  const char* Type = nullptr;
};

// Cross-section, south to north: buildings, sidewalk, lawn, curb at y = -11, the
// southern carriageway, the median with the tram line from -4 to 4, the northern
// carriageway, curb at y = 11, lawn, sidewalk, buildings. A crossing with lights at
// x = 150, a bus stop just west of it on the north side.
const std::vector<TPiece>& Pieces() {
  static const std::vector<TPiece> pieces = {
      {0, "aerial photograph frame", {{0, -40, 0}, {0, 40, 0}, {300, 40, 0}, {300, -40, 0}}},
      {35, "street axis", {{0, 0, 0}, {300, 0, 0}}},
      {1, "median", {{0, -4, 0}, {300, -4, 0}, {300, 4, 0}, {0, 4, 0}}},
      {18, "tram line on the median", {{0, 0, 0}, {300, 0, 0}}},
      {2, "northern carriageway", {{0, 4, 0}, {300, 4, 0}, {300, 11, 0}, {0, 11, 0}}},
      {2, "southern carriageway", {{0, -11, 0}, {300, -11, 0}, {300, -4, 0}, {0, -4, 0}}},
      {5, "northern shoulder", {{260, 11, 0}, {300, 11, 0}, {300, 12.5f, 0}, {260, 12.5f, 0}}},
      {4, "northern lawn", {{0, 11, 0}, {260, 11, 0}, {260, 14, 0}, {0, 14, 0}}},
      {4, "southern lawn", {{0, -14, 0}, {300, -14, 0}, {300, -11, 0}, {0, -11, 0}}},
      {3, "northern sidewalk", {{0, 14, 0}, {300, 14, 0}, {300, 18, 0}, {0, 18, 0}}},
      {3, "southern sidewalk", {{0, -18, 0}, {300, -18, 0}, {300, -14, 0}, {0, -14, 0}}},
      {6, "northern house", {{10, 20, 0}, {90, 20, 0}, {90, 34, 0}, {10, 34, 0}}},
      {6, "northern house", {{170, 20, 0}, {280, 20, 0}, {280, 36, 0}, {170, 36, 0}}},
      {6, "southern house", {{20, -34, 0}, {140, -34, 0}, {140, -20, 0}, {20, -20, 0}}},
      {6, "southern house", {{160, -32, 0}, {290, -32, 0}, {290, -20, 0}, {160, -20, 0}}},
      {7,
       "flower bed in the southern lawn",
       {{60, -13.5f, 0}, {70, -13.5f, 0}, {70, -11.5f, 0}, {60, -11.5f, 0}}},
      {8, "northern curb", {{0, 11, 0}, {260, 11, 0}}},
      {8, "southern curb", {{0, -11, 0}, {300, -11, 0}}},
      {8, "median curb, north", {{0, 4, 0}, {300, 4, 0}}},
      {8, "median curb, south", {{0, -4, 0}, {300, -4, 0}}},
      {9, "barrier along the median", {{180, 3.5f, 0}, {300, 3.5f, 0}}},
      {9, "barrier along the median", {{180, -3.5f, 0}, {300, -3.5f, 0}}},
      {10, "lane line, north", {{0, 7.5f, 0}, {145, 7.5f, 0}}, "1.5"},
      {10, "lane line, north", {{155, 7.5f, 0}, {300, 7.5f, 0}}, "1.5"},
      {10, "lane line, south", {{0, -7.5f, 0}, {145, -7.5f, 0}}, "1.5"},
      {10, "lane line, south", {{155, -7.5f, 0}, {300, -7.5f, 0}}, "1.5"},
      {10, "stop line, east-bound", {{143, -11, 0}, {143, -4, 0}}, "1.12"},
      {10, "stop line, west-bound", {{157, 4, 0}, {157, 11, 0}}, "1.12"},
      {11, "straight-on arrow, east-bound", {{120, -9.25f, 0}, {125, -9.25f, 0}}, "Прямо"},
      {11, "straight-on arrow, west-bound", {{180, 9.25f, 0}, {175, 9.25f, 0}}, "Прямо"},
      {12, "island at the median's west end", {{0, 4, 0}, {20, 4, 0}, {0, 6, 0}}},
      {13, "bus stop zigzag", {{140, 10.5f, 0}, {110, 10.5f, 0}}},
      {14, "zebra crossing", {{150, -11, 0}, {150, 11, 0}}},
      {15, "lane word", {{100, -5.45f, 0}, {100, -6.45f, 0}}},
      {16, "marked speed limit", {{40, -9.25f, 0}, {40, -10.25f, 0}}, "3.24-60"},
      {17, "picture on the plan", {{50, 27, 0}, {54, 27, 0}}},
      {19, "hedge along the southern sidewalk", {{0, -19, 0}, {140, -19, 0}}},
      {20, "bench on the northern sidewalk", {{125, 17, 0}}, "Скамья"},
      {21, "street name", {{100, -16, 0}, {110, -16, 0}}},
      {23, "pedestrian crossing sign", {{152, 12, 0}, {152, 12.5f, 0}}},
      {24, "kilometre post", {{5, -12, 0}}},
      {25, "reference points", {{0, -22, 0}, {150, -22, 0}, {300, -22, 0}}},
      {26, "rounded curb at a driveway", {{200, 11, 0}, {203, 13, 0}, {206, 14, 0}}},
      {27, "manhole, north", {{60, 9, 0}}},
      {27, "manhole, south", {{230, -6, 0}}},
      {28, "gutter grate, north", {{100, 10.6f, 0}, {101, 10.6f, 0}}},
      {28, "gutter grate, south", {{200, -10.6f, 0}, {201, -10.6f, 0}}},
      {30, "width of the northern carriageway", {{250, 4, 0}, {250, 11, 0}}},
      {31, "place for captions", {{20, -26, 0}, {80, -26, 0}}},
      {32, "bus stop", {{125, 13, 0}, {130, 13, 0}}},
      {33, "survey mark", {{150, -4, 0}}},
      {34, "sidewalk area to count", {{200, 14, 0}, {215, 14, 0}, {215, 18, 0}, {200, 18, 0}}},
      {36, "plan sheet", {{150, 0, 0}, {160, 0, 0}}},
      {37, "crack in the northern carriageway", {{70, 6, 0}, {78, 6.5f, 0}}},
      {38, "pothole in the southern carriageway", {{220, -6, 0}, {222, -6, 0}, {222, -5, 0}, {220, -5, 0}}},
      {39, "radius of the rounded curb", {{200, 11, 0}, {203, 13, 0}, {206, 14, 0}}},
      {40, "slope across the northern carriageway", {{270, 4, 0}, {270, 11, 0}}},
  };
  return pieces;
}

// The item's type in its library, for the kinds that draw from one.
void GiveType(TAbstractItem& item, const char* utf8Type) {
  const std::string type = Utf8ToCp1251(utf8Type);
  if (auto* marking = dynamic_cast<TLineRazmetItem*>(&item)) marking->SetGostName(type);
  if (auto* arrow = dynamic_cast<TArrowRazmetItem*>(&item)) arrow->SetArrowName(type);
  if (auto* duplicate = dynamic_cast<TRazmetZnakItem*>(&item)) duplicate->SetSignName(type);
  if (auto* block = dynamic_cast<TDesignBlockItem*>(&item)) block->SetBlockName(type);
}

void WriteDemoStreet(const std::string& output) {
  RegisterAllKinds();
  TStreetStructure street;
  street.SetStreetName(std::string("Проспект Строителей"_cp1251));
  street.SetStartName(std::string("Площадь Мира"_cp1251));
  street.SetEndName(std::string("Речной вокзал"_cp1251));
  for (const TPiece& piece : Pieces()) {
    TAbstractItem* item = street.ItemList(piece.Kind).NewItem();
    for (const TXYZ& point : piece.Points) item->Points().InsertNew(item->Points().Count(), point);
    if (piece.Kind == 35) street.MainReferences().SetItem(0, item);
    if (piece.Type != nullptr) GiveType(*item, piece.Type);
    if (auto* label = dynamic_cast<TTextLabelItem*>(item))
      label->SetText(std::string("Проспект Строителей"_cp1251));
    if (auto* word = dynamic_cast<TRazmetTextItem*>(item)) word->SetText(std::string("А"_cp1251));
  }
  AddCurvedRoad(street);
  AddDemoLabels(street);
  AddDemoRoadSymbols(street);
  AddDemoDesign(street);
  AddDemoSigns(street);
  const TViewState view = FitStreetView(street);
  street.SetView(view.Centre, view.Scale, view.Rotation);
  street.SaveToFile(output);
}

int Run(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].starts_with("-")) throw TUsageError{"give exactly one output file"};
  WriteDemoStreet(args[0]);
  return 0;
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  return vellmar::RunTool("vellmar-demo", vellmar::kUsage, argc, argv, vellmar::Run);
}
