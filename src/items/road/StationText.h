#pragma once
// Stations as road engineers write them: the picket number, "+", and the metres past it
// ("ПК 1+23.45" with 100 m pickets), and the offset from the axis with its side. Text in
// Windows-1251, like every text of the core.

#include <optional>
#include <string>
#include <string_view>

#include "items/road/AxisPlace.h"
#include "platform/text/Language.h"

namespace vellmar {

// "ПК 1+23.45" ("Sta 1+23.45" in English); before the axis start the sign leads
// ("ПК -0+12.00"). A step that is not a positive number counts as the default 100 m.
std::string PicketText(double station, double picketStep, TLanguage language = TLanguage::Russian);

// "ПК 1+23.45, +3.20 м справа", "..., -1.50 м слева", "..., 0.00 м" on the axis; in
// English "Sta 1+23.45, 3.20 m right", "..., 1.50 m left", "..., 0.00 m".
std::string AxisPlaceText(const TAxisPlace& place, double picketStep, TLanguage language = TLanguage::Russian);

// The station of "1+23.45" (picket and metres), "123.45" (metres) or either after "ПК"
// or "Sta", blanks allowed around the parts; a leading "-" counts back from the axis start. Nothing
// for any other text, or metres past a picket that are negative.
std::optional<double> ParseStation(std::string_view text, double picketStep);

}  // namespace vellmar
