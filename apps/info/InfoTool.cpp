// vellmar-info: what a street file holds, one "key: value" line each, for people and
// scripts; --save writes the loaded street back through the normal save path; --station
// and --pick answer where a world point lies along the axis and which item it is on.
//   vellmar-info FILE.pln [--save OUT.pln] [--station X,Y] [--pick X,Y --pixel-size P]
//   vellmar-info FILE.pln --quantities [--csv OUT.csv]

#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/AbstractItem.h"
#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "export/Quantities.h"
#include "items/ItemDescription.h"
#include "items/ItemPicker.h"
#include "items/road/AxisPlace.h"
#include "kinds/AllKinds.h"
#include "platform/AtomicFile.h"
#include "platform/Stream.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"
#include "platform/ToolMain.h"

namespace vellmar {

namespace {

constexpr const char* kUsage =
    "usage: vellmar-info FILE.pln [--save OUT.pln] [--station X,Y] [--pick X,Y --pixel-size P]\n"
    "       vellmar-info FILE.pln --quantities [--csv OUT.csv]\n"
    "Prints the street's name, start and end names, stored points, point bounds, stored\n"
    "view (centre x y z, scale, rotation) and one line 'kind INDEX IDENT COUNT' for every\n"
    "kind with items. --save writes the loaded street to OUT.pln.\n"
    "--station X,Y prints only 'station M offset M' of the world point along the main axis\n"
    "(offset positive to the right). --pick X,Y prints only the topmost item drawn there,\n"
    "'item KIND IDENT ID' and its 'field: value' lines, lines and points counted as hit\n"
    "within 3 pixels of P metres (--pixel-size, required); exit code 1 when nothing is there.\n"
    "--quantities prints only what the plan holds for the estimate: per marking type the\n"
    "count, painted length and area; per sign number the count and each sign's station,\n"
    "offset and side; per surface kind the area; kerbs, barriers and tram lines by length.\n"
    "--csv OUT.csv writes the same table as comma-separated values.\n";

// Pixels around lines and points that still hit them, as in the viewer.
constexpr double kPickPixels = 3.0;

// The shortest text that reads back as the same single.
std::string Number(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string TrimmedIdent(const TIdent& ident) {
  std::string text = ident.Text();
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// "X,Y" in metres.
TXYZ ParsePoint(const std::string& option, const std::string& text) {
  const size_t comma = text.find(',');
  const std::optional<double> x = comma == std::string::npos ? std::nullopt : ParseDouble(text.substr(0, comma));
  const std::optional<double> y = comma == std::string::npos ? std::nullopt : ParseDouble(text.substr(comma + 1));
  if (!x || !y) throw TUsageError{option + " needs a point X,Y in metres, not '" + text + "'"};
  return TXYZ{static_cast<float>(*x), static_cast<float>(*y), 0};
}

// Metres to the millimetre, never "-0.000".
std::string Metres(double value) {
  return FormatFixed(std::nearbyint(value * 1000.0) / 1000.0 + 0.0, 3);
}

int PrintStation(TStreetStructure& street, const TXYZ& point) {
  TAbstractItem* axis = street.MainAxis();
  if (axis == nullptr) throw std::runtime_error("the street has no main axis");
  const std::optional<TAxisPlace> place = PlaceOnAxis(axis->Points(), point);
  if (!place) throw std::runtime_error("the main axis has no segment to measure along");
  std::cout << "station " << Metres(place->Station) << " offset " << Metres(place->Offset) << "\n";
  return 0;
}

int PrintPick(TStreetStructure& street, const TXYZ& point, double pixelSize) {
  TAbstractItem* item = PickItem(street, TKindRegistry::AllKinds(), point, kPickPixels * pixelSize);
  if (item == nullptr) return 1;
  std::cout << "item " << item->KindIndex() << ' ' << TrimmedIdent(item->Ident()) << ' ' << item->ID() << "\n";
  for (const TItemField& field : DescribeItem(*item, EnvironmentLanguage()).Fields) {
    std::cout << Cp1251ToUtf8(field.Name) << ": " << Cp1251ToUtf8(field.Value) << "\n";
  }
  return 0;
}

int PrintQuantities(TStreetStructure& street, const std::string& csv) {
  const TQuantities quantities = CountQuantities(street);
  if (!csv.empty()) {
    TAtomicFile file(csv);
    const std::string text = QuantitiesCsv(quantities);
    file.Stream().Write(text.data(), text.size());
    file.Commit();
  }
  std::cout << QuantitiesText(quantities);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  std::string input;
  std::string output;
  std::string csv;
  bool quantities = false;
  std::optional<TXYZ> station, pick;
  std::optional<double> pixelSize;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--save") {
      if (++i == args.size()) throw TUsageError{"--save needs a file name"};
      output = args[i];
    } else if (args[i] == "--station" || args[i] == "--pick") {
      const std::string& option = args[i];
      if (++i == args.size()) throw TUsageError{option + " needs a point X,Y"};
      (option == "--station" ? station : pick) = ParsePoint(option, args[i]);
    } else if (args[i] == "--quantities") {
      quantities = true;
    } else if (args[i] == "--csv") {
      if (++i == args.size()) throw TUsageError{"--csv needs a file name"};
      csv = args[i];
    } else if (args[i] == "--pixel-size") {
      if (++i == args.size()) throw TUsageError{"--pixel-size needs metres per pixel"};
      pixelSize = ParseDouble(args[i]);
      if (!pixelSize || !(*pixelSize > 0.0)) {
        throw TUsageError{"--pixel-size needs a positive number, not '" + args[i] + "'"};
      }
    } else if (input.empty() && !args[i].starts_with("--")) {
      input = args[i];
    } else {
      throw TUsageError{"unexpected argument " + args[i]};
    }
  }
  if (input.empty()) throw TUsageError{"no street file given"};
  if (station && pick) throw TUsageError{"--station and --pick cannot be asked together"};
  if ((station || pick) && !output.empty()) throw TUsageError{"--save cannot go with --station or --pick"};
  if (pick && !pixelSize) throw TUsageError{"--pick needs --pixel-size"};
  if (pixelSize && !pick) throw TUsageError{"--pixel-size belongs to --pick"};
  if (!csv.empty() && !quantities) throw TUsageError{"--csv belongs to --quantities"};
  if (quantities && (station || pick || !output.empty())) {
    throw TUsageError{"--quantities cannot go with --station, --pick or --save"};
  }

  RegisterAllKinds();
  TStreetStructure street;
  ReadInput(input, [&] { street.LoadFromFile(input); });
  if (station) return PrintStation(street, *station);
  if (pick) return PrintPick(street, *pick, *pixelSize);
  if (quantities) return PrintQuantities(street, csv);

  const TPointBounds bounds = street.Points().GetBounds();
  const TXYZ& centre = street.ViewCentre();
  std::cout << "name: " << Cp1251ToUtf8(street.StreetName()) << "\n"
            << "start: " << Cp1251ToUtf8(street.StartName()) << "\n"
            << "end: " << Cp1251ToUtf8(street.EndName()) << "\n"
            << "points: " << street.Points().Count() << "\n"
            << "bounds: " << Number(bounds[0]) << ' ' << Number(bounds[1]) << ' ' << Number(bounds[2]) << ' '
            << Number(bounds[3]) << "\n"
            << "view: " << Number(centre.x) << ' ' << Number(centre.y) << ' ' << Number(centre.z) << ' '
            << Number(street.ViewScale()) << ' ' << Number(street.ViewAngle()) << "\n";
  for (int32_t kind = 0; kind < kKindCount; ++kind) {
    const int32_t count = street.ItemList(kind).Count();
    if (count == 0) continue;
    std::cout << "kind " << kind << ' ' << TrimmedIdent(TKindRegistry::Kind(kind).Ident) << ' ' << count
              << "\n";
  }
  if (!output.empty()) street.SaveToFile(output);
  return 0;
}

}  // namespace

}  // namespace vellmar

int main(int argc, char** argv) {
  return vellmar::RunTool("vellmar-info", vellmar::kUsage, argc, argv, vellmar::Run);
}
