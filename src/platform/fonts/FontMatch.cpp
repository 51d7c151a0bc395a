#include "platform/fonts/FontMatch.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace vellmar {

namespace {

struct TPatternFree {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using TPattern = std::unique_ptr<FcPattern, TPatternFree>;

std::string StringOf(const FcPattern* pattern, const char* object, int index = 0) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, index, &value) != FcResultMatch || value == nullptr) return {};
  return reinterpret_cast<const char*>(value);
}

int IntOf(const FcPattern* pattern, const char* object, int fallback) {
  int value = fallback;
  FcPatternGetInteger(pattern, object, 0, &value);
  return value;
}

// The families the configuration binds strongly to the request: the name itself and
// the faces declared to share its metrics. Weakly bound ones are mere fall-backs.
std::vector<std::string> StrongFamilies(FcPattern* pattern) {
  std::vector<std::string> families;
  FcPatternIter iter;
  FcPatternIterStart(pattern, &iter);
  if (!FcPatternIterIsValid(pattern, &iter)) return families;
  do {
    if (std::strcmp(FcPatternIterGetObject(pattern, &iter), FC_FAMILY) != 0) continue;
    const int count = FcPatternIterValueCount(pattern, &iter);
    for (int i = 0; i < count; ++i) {
      FcValue value;
      FcValueBinding binding;
      if (FcPatternIterGetValue(pattern, &iter, i, &value, &binding) != FcResultMatch) continue;
      if (value.type == FcTypeString && binding != FcValueBindingWeak)
        families.emplace_back(reinterpret_cast<const char*>(value.u.s));
    }
  } while (FcPatternIterNext(pattern, &iter));
  return families;
}

bool IsStandIn(const FcPattern* match, const std::vector<std::string>& strong) {
  for (int i = 0;; ++i) {
    const std::string family = StringOf(match, FC_FAMILY, i);
    if (family.empty()) return false;
    for (const std::string& wanted : strong)
      if (Utf8EqualsNoCase(family, wanted)) return true;
  }
}

// Faces that plans name but that came with the program that drew them, not with any
// system: each is bound to installed faces of like proportions, tried in order, the way
// the configuration binds "Arial" to its metric twin. The road-number face is a
// condensed sans.
struct TStandIns {
  std::string_view Face;  // UTF-8
  std::array<const char*, 3> Families;
};
constexpr TStandIns kProgramFaces[] = {
    {"Road", {"DejaVu Sans Condensed", "Liberation Sans Narrow", "DejaVu Sans"}},
};

void AddProgramFaceStandIns(FcPattern* pattern, std::string_view family) {
  for (const TStandIns& standIns : kProgramFaces) {
    if (!Utf8EqualsNoCase(family, standIns.Face)) continue;
    for (const char* standIn : standIns.Families)
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(standIn));
  }
}

// Loads the configuration once; it is released at exit, so that nothing of it is
// left for leak checkers (no pattern outlives a look-up).
bool InitFontconfig() {
  static const bool ready = [] {
    if (!FcInit()) return false;
    std::atexit(FcFini);
    return true;
  }();
  return ready;
}

}  // namespace

TFontMatch MatchFont(std::string_view FaceName, TFontStyle Style) {
  if (!InitFontconfig()) throw EVellmarError("MatchFont: fontconfig cannot be initialised");
  const std::string family = Cp1251ToUtf8(FaceName);
  TPattern pattern(FcPatternCreate());
  if (!pattern) throw EVellmarError("MatchFont: out of memory");
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  AddProgramFaceStandIns(pattern.get(), family);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, (Style & kFontBold) != 0 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, (Style & kFontItalic) != 0 ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  // Glyph outlines are needed, never bitmap strikes.
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcPatternAddBool(pattern.get(), FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  const std::vector<std::string> strong = StrongFamilies(pattern.get());

  FcResult result = FcResultNoMatch;
  const TPattern match(FcFontMatch(nullptr, pattern.get(), &result));
  const std::string file = match ? StringOf(match.get(), FC_FILE) : std::string();
  FcBool scalable = FcFalse;
  if (match) FcPatternGetBool(match.get(), FC_SCALABLE, 0, &scalable);
  if (file.empty() || !scalable)
    throw EVellmarError("MatchFont: no scalable font is installed for \"" + family + "\"");

  TFontMatch out;
  out.File = file;
  out.FaceIndex = IntOf(match.get(), FC_INDEX, 0);
  out.Family = StringOf(match.get(), FC_FAMILY);
  out.Substitute = !IsStandIn(match.get(), strong);
  // The configuration may already have marked the face for emboldening or shearing
  // (and then reports the style asked for); otherwise the face's own style tells.
  FcBool embolden = FcFalse;
  FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
  FcMatrix* matrix = nullptr;
  const bool sheared = FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch && matrix != nullptr &&
                       matrix->xy != 0.0;
  out.SyntheticBold = (Style & kFontBold) != 0 &&
                      (embolden == FcTrue || IntOf(match.get(), FC_WEIGHT, FC_WEIGHT_REGULAR) < FC_WEIGHT_DEMIBOLD);
  out.SyntheticItalic = (Style & kFontItalic) != 0 &&
                        (sheared || IntOf(match.get(), FC_SLANT, FC_SLANT_ROMAN) == FC_SLANT_ROMAN);
  return out;
}

}  // namespace vellmar
