#include "platform/fonts/FontFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Error.h"
#include "platform/fonts/SplineFlattening.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {

struct TFontFace::TFreeType {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  bool Symbol = false;  // a symbol font: characters sit at U+F000 + code
  FT_Pos ExtraAdvance = 0;  // emboldening of the glyph last loaded, in its units

  ~TFreeType() {
    if (Face != nullptr) FT_Done_Face(Face);
    if (Library != nullptr) FT_Done_FreeType(Library);
  }
};

namespace {

// The slant of a made-up italic: x += 0.2126 y, as 16.16.
constexpr FT_Fixed kObliqueShear = 0x0366A;

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

struct TDecomposer {
  TXYZArrays* Contours;
  double Scale;
  TXYZ Current;

  TXYZ Point(const FT_Vector* v) const {
    return {static_cast<float>(static_cast<double>(v->x) * Scale), static_cast<float>(static_cast<double>(v->y) * Scale),
            0.0f};
  }
  // A flattened run starts at the current point, which the contour holds already.
  void AppendRun(const TXYZArray& run) {
    if (run.size() > 1) Contours->back().insert(Contours->back().end(), run.begin() + 1, run.end());
    Current = run.back();
  }
};

TDecomposer& Of(void* user) { return *static_cast<TDecomposer*>(user); }

int MoveTo(const FT_Vector* to, void* user) {
  TDecomposer& d = Of(user);
  d.Current = d.Point(to);
  d.Contours->push_back({d.Current});
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  TDecomposer& d = Of(user);
  if (d.Contours->empty()) return 1;
  d.Current = d.Point(to);
  d.Contours->back().push_back(d.Current);
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  TDecomposer& d = Of(user);
  if (d.Contours->empty()) return 1;
  const TXYZ points[3] = {d.Current, d.Point(control), d.Point(to)};
  d.AppendRun(FlattenQuadraticSpline(points));
  return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  TDecomposer& d = Of(user);
  if (d.Contours->empty()) return 1;
  d.AppendRun(FlattenCubicSegment(d.Current, d.Point(control1), d.Point(control2), d.Point(to)));
  return 0;
}

// Outlines close on themselves; the repeated first point and runs too short to
// enclose anything are dropped.
void TidyContours(TXYZArrays& contours) {
  for (TXYZArray& contour : contours) {
    if (contour.size() > 1 && contour.back().x == contour.front().x && contour.back().y == contour.front().y)
      contour.pop_back();
  }
  std::erase_if(contours, [](const TXYZArray& contour) { return contour.size() < 3; });
}

}  // namespace

TFontFace::TFontFace(const TFontMatch& Match) : match_(Match), ft_(std::make_unique<TFreeType>()) {
  const std::string where = "TFontFace.Create: " + match_.File.string() + ": ";
  if (FT_Init_FreeType(&ft_->Library) != 0) throw EVellmarError(where + "FreeType cannot be initialised");
  if (FT_New_Face(ft_->Library, match_.File.c_str(), match_.FaceIndex, &ft_->Face) != 0)
    throw EVellmarError(where + "not a readable font");
  if (!FT_IS_SCALABLE(ft_->Face)) throw EVellmarError(where + "not a scalable font");
  if (FT_Select_Charmap(ft_->Face, FT_ENCODING_UNICODE) != 0) {
    if (FT_Select_Charmap(ft_->Face, FT_ENCODING_MS_SYMBOL) != 0)
      throw EVellmarError(where + "has no Unicode or symbol character map");
    ft_->Symbol = true;
  }
}

TFontFace::~TFontFace() = default;

bool TFontFace::LoadGlyph(unsigned char Code, bool Scaled) {
  ft_->ExtraAdvance = 0;
  const char32_t cp = Cp1251ToUnicode(Code);
  if (IsControl(cp)) return false;
  FT_Face face = ft_->Face;
  // A character the face lacks takes glyph 0, the face's missing-glyph shape.
  const FT_UInt index = FT_Get_Char_Index(face, ft_->Symbol ? 0xF000 + Code : cp);
  const FT_Int32 flags = Scaled ? FT_LOAD_NO_BITMAP : FT_LOAD_NO_SCALE;
  if (FT_Load_Glyph(face, index, flags) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (match_.SyntheticItalic) {
    const FT_Matrix shear = {0x10000, kObliqueShear, 0, 0x10000};
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (match_.SyntheticBold) {
    const FT_Pos strength = Scaled ? FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / 24
                                   : static_cast<FT_Pos>(face->units_per_EM / 24);
    FT_Outline_EmboldenXY(&slot->outline, strength, strength);
    ft_->ExtraAdvance = strength;
  }
  return true;
}

TGlyphOutline TFontFace::Outline(unsigned char Code, double PixelsPerEm) {
  TGlyphOutline glyph;
  if (!LoadGlyph(Code, false)) return glyph;
  FT_GlyphSlot slot = ft_->Face->glyph;
  const double scale = PixelsPerEm / ft_->Face->units_per_EM;
  glyph.AdvanceX = RoundToInt32(static_cast<double>(slot->metrics.horiAdvance + ft_->ExtraAdvance) * scale);

  TDecomposer decomposer{&glyph.Contours, scale, {}};
  const FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
  if (FT_Outline_Decompose(&slot->outline, &funcs, &decomposer) != 0) glyph.Contours.clear();
  TidyContours(glyph.Contours);

  if (slot->outline.n_points > 0) {
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    const auto floorPx = [&](FT_Pos v) { return static_cast<int32_t>(std::floor(static_cast<double>(v) * scale)); };
    const auto ceilPx = [&](FT_Pos v) { return static_cast<int32_t>(std::ceil(static_cast<double>(v) * scale)); };
    glyph.BoxLeft = floorPx(box.xMin);
    glyph.BoxTop = ceilPx(box.yMax);
    glyph.BoxWidth = ceilPx(box.xMax) - glyph.BoxLeft;
    glyph.BoxHeight = glyph.BoxTop - floorPx(box.yMin);
  }
  return glyph;
}

TTextDecorations TFontFace::Decorations(double PixelsPerEm) const {
  const FT_Face face = ft_->Face;
  const double scale = PixelsPerEm / face->units_per_EM;
  // Faces that do not say take a stroke of 1/20 em, the underline 1/10 em below the
  // baseline and the strike-out at a quarter em.
  double thickness = face->underline_thickness > 0 ? face->underline_thickness : face->units_per_EM / 20.0;
  const double underline = face->underline_thickness > 0 ? face->underline_position : -face->units_per_EM / 10.0;
  TTextDecorations out;
  out.UnderlineTop = (underline + thickness / 2) * scale;
  out.UnderlineBottom = (underline - thickness / 2) * scale;
  double strikeTop = face->units_per_EM / 4.0 + thickness / 2;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->yStrikeoutSize > 0) {
    thickness = os2->yStrikeoutSize;
    strikeTop = os2->yStrikeoutPosition;
  }
  out.StrikeOutTop = strikeTop * scale;
  out.StrikeOutBottom = (strikeTop - thickness) * scale;
  return out;
}

void TFontFace::SetRasterPointSize(double Points) {
  FT_Face face = ft_->Face;
  if (FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(Points * 64)), 96, 96) != 0)
    throw EVellmarError("TFontFace.SetRasterPointSize: " + match_.File.string() + ": size not available");
  // The line height Windows gives a face: its win ascent and descent when it has them.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const double pixelsPerUnit = static_cast<double>(face->size->metrics.y_ppem) / face->units_per_EM;
  if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
    rasterAscent_ = static_cast<int32_t>(std::ceil(os2->usWinAscent * pixelsPerUnit));
    rasterDescent_ = static_cast<int32_t>(std::ceil(os2->usWinDescent * pixelsPerUnit));
  } else {
    rasterAscent_ = static_cast<int32_t>((face->size->metrics.ascender + 63) >> 6);
    rasterDescent_ = static_cast<int32_t>((-face->size->metrics.descender + 63) >> 6);
  }
}

int32_t TFontFace::RasterTextHeight() const { return rasterAscent_ + rasterDescent_; }

int32_t TFontFace::RasterTextWidth(unsigned char Code) {
  if (!LoadGlyph(Code, true)) return 0;
  return static_cast<int32_t>((ft_->Face->glyph->advance.x + ft_->ExtraAdvance + 32) >> 6);
}

void TFontFace::DrawChar(TBitmap& Target, int32_t X, int32_t Y, unsigned char Code, uint32_t Rgb) {
  if (Target.PixelFormat() != TPixelFormat::pf32bit)
    throw EVellmarError("TFontFace.DrawChar: the target bitmap is not 32-bit");
  if (!LoadGlyph(Code, true)) return;
  FT_GlyphSlot slot = ft_->Face->glyph;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
  const FT_Bitmap& coverage = slot->bitmap;
  if (coverage.pixel_mode != FT_PIXEL_MODE_GRAY) return;
  const int32_t left = X + slot->bitmap_left;
  const int32_t top = Y + rasterAscent_ - slot->bitmap_top;
  const int colour[3] = {static_cast<int>(Rgb & 0xFF), static_cast<int>(Rgb >> 8 & 0xFF),
                         static_cast<int>(Rgb >> 16 & 0xFF)};
  for (int32_t row = 0; row < static_cast<int32_t>(coverage.rows); ++row) {
    const int32_t y = top + row;
    if (y < 0 || y >= Target.Height()) continue;
    const uint8_t* source = coverage.buffer + static_cast<ptrdiff_t>(row) * coverage.pitch;
    uint8_t* line = Target.ScanLine(y);
    for (int32_t column = 0; column < static_cast<int32_t>(coverage.width); ++column) {
      const int32_t x = left + column;
      const int a = source[column];
      if (x < 0 || x >= Target.Width() || a == 0) continue;
      uint8_t* pixel = line + static_cast<ptrdiff_t>(x) * 4;
      for (int channel = 0; channel < 3; ++channel) {
        const int step = (colour[channel] - pixel[channel]) * a;
        pixel[channel] = static_cast<uint8_t>(pixel[channel] + (step + (step >= 0 ? 127 : -127)) / 255);
      }
    }
  }
}

}  // namespace vellmar
