// ExtTextOut on the canvas: the selected LOGFONT resolved through fontconfig, opened
// with FreeType and drawn by Cairo glyph by glyph, each glyph where the record's
// advances put it.

#include "platform/metafile/GdiText.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <numbers>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

#include "platform/Error.h"
#include "platform/fonts/FontMatch.h"
#include "platform/metafile/GdiCanvas.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Utf8.h"

namespace vellmar {

namespace {

// Windows-1252 where it differs from Latin-1.
constexpr char16_t kCp1252Controls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Glyphs larger than this many pixels are filled as outlines: Cairo would otherwise
// rasterise each into a mask of that size.
constexpr double kLargestMaskGlyph = 2048;
// FreeType refuses sizes of 2^16 pixels and more, and Cairo then leaks the scaled
// font it was making; text that large is a damaged record.
constexpr double kLargestGlyph = 32768;
constexpr std::size_t kMostCachedFonts = 32;

// One face opened for Cairo, with the metrics GDI positions text by.
struct TCairoFont {
  cairo_font_face_t* Face = nullptr;
  FT_Face FtFace = nullptr;
  double Ascent = 0.8;  // of the em
  double Descent = 0.2;
  double AverageWidth = 0.5;
  double UnderlinePosition = -0.1;
  double LineThickness = 0.05;
  bool Symbol = false;  // the face maps characters through the symbol area

  ~TCairoFont() {
    if (Face) cairo_font_face_destroy(Face);
  }
};

class TFontCache {
 public:
  static TFontCache& Instance() {
    static TFontCache cache;
    return cache;
  }
  std::mutex Mutex;

  // The face for a LOGFONT's name and style; nullptr when no font can be opened.
  TCairoFont* Find(const TGdiFont& font) {
    const bool bold = font.Weight >= 600;
    const auto key = std::make_tuple(font.FaceName, bold, font.Italic);
    if (auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
    if (fonts_.size() >= kMostCachedFonts) fonts_.clear();
    auto opened = Open(font.FaceName, bold, font.Italic);
    return (fonts_[key] = std::move(opened)).get();
  }

 private:
  TFontCache() { FT_Init_FreeType(&library_); }

  std::unique_ptr<TCairoFont> Open(const std::string& faceName, bool bold, bool italic) {
    if (!library_) return nullptr;
    TFontMatch match;
    try {
      match = MatchFont(Utf8ToCp1251(faceName), static_cast<TFontStyle>((bold ? kFontBold : 0) |
                                                                          (italic ? kFontItalic : 0)));
    } catch (const EVellmarError&) {
      return nullptr;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library_, match.File.c_str(), match.FaceIndex, &face) != 0) return nullptr;
    auto font = std::make_unique<TCairoFont>();
    font->FtFace = face;
    font->Face = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_HINTING);
    static const cairo_user_data_key_t kFaceKey{};
    cairo_font_face_set_user_data(font->Face, &kFaceKey, face,
                                  [](void* f) { FT_Done_Face(static_cast<FT_Face>(f)); });
    unsigned flags = 0;
    if (match.SyntheticBold) flags |= CAIRO_FT_SYNTHESIZE_BOLD;
    if (match.SyntheticItalic) flags |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
    cairo_ft_font_face_set_synthesize(font->Face, flags);

    const double em = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
      font->Ascent = os2->usWinAscent / em;
      font->Descent = os2->usWinDescent / em;
      if (os2->xAvgCharWidth > 0) font->AverageWidth = os2->xAvgCharWidth / em;
    } else if (face->ascender - face->descender > 0) {
      font->Ascent = face->ascender / em;
      font->Descent = -face->descender / em;
    }
    if (face->underline_thickness > 0) {
      font->UnderlinePosition = face->underline_position / em;
      font->LineThickness = face->underline_thickness / em;
    }
    font->Symbol = face->charmap && face->charmap->encoding == FT_ENCODING_MS_SYMBOL;
    return font;
  }

  FT_Library library_ = nullptr;
  std::map<std::tuple<std::string, bool, bool>, std::unique_ptr<TCairoFont>> fonts_;
};

TPointD Add(TPointD a, TPointD b, double k = 1) { return {a.X + k * b.X, a.Y + k * b.Y}; }

// The parallelogram from `from` along `along`, between `up` and `down` off it.
void AddBand(cairo_t* cr, TPointD from, TPointD along, TPointD down, double top, double bottom) {
  const TPointD a = Add(from, down, top);
  const TPointD b = Add(a, along);
  const TPointD c = Add(b, down, bottom - top);
  const TPointD d = Add(a, down, bottom - top);
  cairo_move_to(cr, a.X, a.Y);
  cairo_line_to(cr, b.X, b.Y);
  cairo_line_to(cr, c.X, c.Y);
  cairo_line_to(cr, d.X, d.Y);
  cairo_close_path(cr);
}

}  // namespace

std::u32string DecodeCharsetText(std::span<const uint8_t> bytes, uint8_t charset) {
  std::u32string text;
  text.reserve(bytes.size());
  for (uint8_t b : bytes) {
    if (charset == kSymbolCharset)
      text.push_back(b);  // mapped to the symbol area when the face is a symbol face
    else if (charset == kAnsiCharset)
      text.push_back(b >= 0x80 && b < 0xA0 ? char32_t{kCp1252Controls[b - 0x80]} : char32_t{b});
    else
      text.push_back(Cp1251ToUnicode(b));
  }
  return text;
}

std::u32string DecodeUtf16(std::span<const uint8_t> bytes) {
  std::u32string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t unit = bytes[i] | bytes[i + 1] << 8;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = bytes[i + 2] | bytes[i + 3] << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        text.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    text.push_back(unit >= 0xD800 && unit < 0xE000 ? char32_t{0xFFFD} : unit);
  }
  return text;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF) ? c : char32_t{0xFFFD});
  return out;
}

bool TGdiCanvas::TextOut(const TTextRun& run) {
  const auto m = LogicalToTarget();
  if (!m) return false;
  TFontCache& cache = TFontCache::Instance();
  std::lock_guard lock(cache.Mutex);
  TCairoFont* font = cache.Find(state_.Font);
  if (!font) return false;
  const TGdiFont& logFont = state_.Font;

  // The text's frame on the target: along the baseline (u) and down from it (v),
  // turned by the escapement anticlockwise as seen on the picture.
  const double sx = std::hypot(m->xx, m->yx);
  const double sy = std::hypot(m->xy, m->yy);
  const double angle = logFont.Escapement / 10.0 * std::numbers::pi / 180;
  const TPointD ex{m->xx / sx, m->yx / sx};
  const TPointD u{ex.X * std::cos(angle) + ex.Y * std::sin(angle), -ex.X * std::sin(angle) + ex.Y * std::cos(angle)};
  const TPointD v{-u.Y, u.X};

  // A negative height is the em, a positive one the cell (ascent plus descent).
  double em = logFont.Height < 0 ? -static_cast<double>(logFont.Height)
              : logFont.Height > 0 ? logFont.Height / (font->Ascent + font->Descent)
                                   : 16.0;
  const double emPx = em * sy;
  const double widthPx = logFont.Width != 0 ? std::abs(logFont.Width) * sx / font->AverageWidth : emPx;
  if (!std::isfinite(emPx) || !std::isfinite(widthPx) || emPx > kLargestGlyph || widthPx > kLargestGlyph)
    return false;

  // Text smaller than a pixel shows nothing, and FreeType is not asked for a size
  // that rounds to no pixels at all.
  if (emPx < 1 || widthPx < 1) return true;
  cairo_matrix_t fontMatrix;
  cairo_matrix_init(&fontMatrix, u.X * widthPx, u.Y * widthPx, v.X * emPx, v.Y * emPx, 0, 0);

  // Inside a path bracket the glyphs' outlines join the path and nothing is painted.
  std::optional<TPathKeeper> keep;
  if (!inPath_) keep.emplace(cr_, false);
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_set_font_face(cr_, font->Face);
  cairo_set_font_matrix(cr_, &fontMatrix);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
  cairo_scaled_font_t* scaled = cairo_get_scaled_font(cr_);

  // Glyphs at pen positions relative to the start of the baseline.
  std::vector<cairo_glyph_t> glyphs;
  glyphs.reserve(run.Text.size());
  TPointD pen{0, 0};
  for (std::size_t i = 0; i < run.Text.size(); ++i) {
    char32_t c = run.Text[i];
    unsigned long index = FT_Get_Char_Index(font->FtFace, font->Symbol && c < 0x100 ? 0xF000 + c : c);
    glyphs.push_back({index, pen.X, pen.Y});
    if (i < run.Dx.size()) {
      pen = Add(pen, u, run.Dx[i] * sx);
    } else {
      cairo_text_extents_t extents;
      cairo_scaled_font_glyph_extents(scaled, &glyphs.back(), 1, &extents);
      pen = Add(pen, {extents.x_advance, extents.y_advance});
    }
  }
  const double ascent = font->Ascent * emPx;
  const double descent = font->Descent * emPx;

  TPointD reference = run.Reference;
  if (state_.TextAlign & kTaUpdateCp) reference = state_.Position;
  double rx = reference.X, ry = reference.Y;
  cairo_matrix_transform_point(&*m, &rx, &ry);
  TPointD start{rx, ry};
  switch (state_.TextAlign & kTaHorizontalMask) {
    case kTaRight: start = Add(start, pen, -1); break;
    case kTaCenter: start = Add(start, pen, -0.5); break;
    default: break;
  }
  switch (state_.TextAlign & kTaVerticalMask) {
    case kTaBaseline: break;
    case kTaBottom: start = Add(start, v, -descent); break;
    default: start = Add(start, v, ascent); break;
  }
  if (state_.TextAlign & kTaUpdateCp) {
    // The position moves on by the text's advance, back in logical units.
    cairo_matrix_t inverse = *m;
    cairo_matrix_invert(&inverse);
    double dx = pen.X, dy = pen.Y;
    cairo_matrix_transform_distance(&inverse, &dx, &dy);
    state_.Position = {reference.X + dx, reference.Y + dy};
  }

  if (inPath_) {
    for (auto& g : glyphs) {
      g.x += start.X;
      g.y += start.Y;
    }
    cairo_glyph_path(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
    cairo_restore(cr_);
    return true;
  }
  if (run.Rect) {
    const auto& r = *run.Rect;
    cairo_set_matrix(cr_, &*m);
    cairo_rectangle(cr_, r[0], r[1], r[2] - r[0], r[3] - r[1]);
    cairo_identity_matrix(cr_);
    if (run.Options & kEtoOpaque) {
      SetSourceColor(cr_, state_.BkColor);
      cairo_fill_preserve(cr_);
    }
    if (run.Options & kEtoClipped)
      cairo_clip(cr_);
    else
      cairo_new_path(cr_);
  }
  if (state_.BkMode == kBkOpaque && !(run.Options & kEtoOpaque)) {
    AddBand(cr_, start, pen, v, -ascent, descent);
    SetSourceColor(cr_, state_.BkColor);
    cairo_fill(cr_);
  }

  for (auto& g : glyphs) {
    g.x += start.X;
    g.y += start.Y;
  }
  SetSourceColor(cr_, state_.TextColor);
  if (std::max(emPx, widthPx) <= kLargestMaskGlyph) {
    cairo_show_glyphs(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
  } else {
    cairo_glyph_path(cr_, glyphs.data(), static_cast<int>(glyphs.size()));
    cairo_fill(cr_);
  }
  const double line = std::max(1.0, font->LineThickness * emPx);
  if (logFont.Underline) AddBand(cr_, start, pen, v, -font->UnderlinePosition * emPx, -font->UnderlinePosition * emPx + line);
  if (logFont.StrikeOut) AddBand(cr_, start, pen, v, -ascent * 0.3 - line / 2, -ascent * 0.3 + line / 2);
  cairo_fill(cr_);
  cairo_restore(cr_);
  return true;
}

}  // namespace vellmar
