#pragma once
// Which installed font file stands for a Windows face name and style. Plans name
// Windows faces ("Arial", "Times New Roman"); fontconfig knows which installed faces
// are drawn to the same metrics ("Arial" -> Liberation Sans) and which ones are only
// the nearest thing it has.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/fonts/FontStyle.h"

namespace vellmar {

struct TFontMatch {
  std::filesystem::path File;
  int32_t FaceIndex = 0;
  std::string Family;  // of the face chosen, UTF-8
  // The face is neither the one asked for nor one made to stand in for it; text will
  // not have the widths the plan was drawn with.
  bool Substitute = false;
  // The style asked for is missing from the family and has to be made from the
  // regular face.
  bool SyntheticBold = false;
  bool SyntheticItalic = false;
};

// The best installed scalable face for a face name (Windows-1251) and style.
// Raises EVellmarError when no scalable font is installed at all.
TFontMatch MatchFont(std::string_view FaceName, TFontStyle Style);

}  // namespace vellmar
