// vellmar-info: what a street file holds, one "key: value" line each, for people and
// scripts; --save writes the loaded street back through the normal save path.
//   vellmar-info FILE.pln [--save OUT.pln]

#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "document/ItemList.h"
#include "document/KindRegistry.h"
#include "document/StreetStructure.h"
#include "platform/ToolMain.h"
#include "platform/text/Cp1251.h"
#include "underlay/AllKinds.h"

namespace vellmar {

namespace {

constexpr const char* kUsage =
    "usage: vellmar-info FILE.pln [--save OUT.pln]\n"
    "Prints the street's name, start and end names, stored points, point bounds, stored\n"
    "view (centre x y z, scale, rotation) and one line 'kind INDEX IDENT COUNT' for every\n"
    "kind with items. --save writes the loaded street to OUT.pln.\n";

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

int Run(const std::vector<std::string>& args) {
  std::string input;
  std::string output;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--save") {
      if (++i == args.size()) throw TUsageError{"--save needs a file name"};
      output = args[i];
    } else if (input.empty() && !args[i].starts_with("--")) {
      input = args[i];
    } else {
      throw TUsageError{"unexpected argument " + args[i]};
    }
  }
  if (input.empty()) throw TUsageError{"no street file given"};

  RegisterAllKinds();
  TStreetStructure street;
  street.LoadFromFile(input);

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
