#include "render/FontsData.h"

#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "platform/fonts/FontFace.h"
#include "platform/text/Cp1251.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

constexpr std::string_view kAtlasFace = "Arial";
constexpr uint32_t kBlackRgb = 0x000000;
constexpr uint32_t kRedRgb = 0xFF0000;

std::string Cp1251Message(std::string_view Head, std::string_view Name, std::string_view Tail) {
  std::string message(Head);
  message += Name;
  message += Tail;
  return message;
}

}  // namespace

// The atlases exist (empty) from the start, so the texture registry they enter is
// made before this object and outlives it.
TFontsData::TFontsData()
    : blackAtlas_(std::make_unique<TFontTexture>()), redAtlas_(std::make_unique<TFontTexture>()) {}

TFontsData::~TFontsData() = default;

int32_t TFontsData::BlackAtlasSize(const D3DCAPS9& Caps) {
  return Caps.MaxTextureWidth >= kLargeAtlas && Caps.MaxTextureHeight > kLargeAtlas ? kLargeAtlas : kSmallAtlas;
}

int32_t TFontsData::RedAtlasSize(const D3DCAPS9& Caps) {
  return Caps.MaxTextureWidth >= kLargeAtlas && Caps.MaxTextureHeight >= kLargeAtlas ? kLargeAtlas : kSmallAtlas;
}

std::optional<TFontMatch> TFontsData::Resolve(std::string_view Name, TFontStyle Style) {
  try {
    const TFontMatch match = MatchFont(Name, Style);
    if (match.Substitute && warnedNames_.insert(std::string(Name)).second) {
      std::string message(Cp1251Message("Шрифт \""_cp1251, Name, "\" не установлен: вместо него рисует \""_cp1251));
      message += Utf8ToCp1251(match.Family) + "\" (" + Utf8ToCp1251(match.File.string()) + ").";
      ReportWarning(message);
    }
    return match;
  } catch (const EVellmarError& error) {
    WarnUnavailable(Name, error.what());
    return std::nullopt;
  }
}

void TFontsData::WarnUnavailable(std::string_view Name, const std::string& Why) {
  if (!warnedNames_.insert(std::string(Name)).second) return;
  std::string message(Cp1251Message("Шрифт \""_cp1251, Name, "\" недоступен ("_cp1251));
  message += Utf8ToCp1251(Why);
  message += "): текст этим шрифтом не показывается."_cp1251;
  ReportWarning(message);
}

std::shared_ptr<TFontGlyphs> TFontsData::GlyphsFor(std::string_view Name, TFontStyle Style) {
  const std::optional<TFontMatch> match = Resolve(Name, Style);
  const TFaceKey key = match ? TFaceKey{match->File.string(), match->FaceIndex, match->SyntheticBold,
                                        match->SyntheticItalic}
                             : TFaceKey{};
  std::shared_ptr<TFontGlyphs>& glyphs = glyphs_[key];
  if (glyphs) return glyphs;
  if (match) {
    try {
      TFontFace face(*match);
      glyphs = std::make_shared<TFontGlyphs>(face);
      return glyphs;
    } catch (const EVellmarError& error) {
      WarnUnavailable(Name, error.what());
    }
  }
  glyphs = std::make_shared<TFontGlyphs>();
  return glyphs;
}

void TFontsData::BuildAtlas(TFontTexture& Atlas, int32_t Size, uint32_t TextRgb) {
  const std::optional<TFontMatch> match = Resolve(kAtlasFace, 0);
  if (!match) return;
  try {
    TFontFace face(*match);
    Atlas.BuildAtlas(face, Size, Size == kLargeAtlas ? kLargeAtlasPoints : kSmallAtlasPoints, TextRgb);
  } catch (const EVellmarError& error) {
    WarnUnavailable(kAtlasFace, error.what());
    return;
  }
  const TTextureFilter filter = Size == kLargeAtlas ? TTextureFilter::Anisotropic : TTextureFilter::Point;
  Atlas.Settings().MinFilter = filter;
  Atlas.Settings().MagFilter = filter;
}

TDxFont& TFontsData::GetFont(std::string_view Name, TFontStyle Style) {
  if (lastFont_ != nullptr && Name == lastName_ && Style == lastStyle_) return *lastFont_;
  std::unique_ptr<TDxFont>& font = fonts_[{std::string(Name), Style}];
  if (font) return *font;
  font = std::make_unique<TDxFont>(GlyphsFor(Name, Style), std::string(Name), Style);
  lastName_ = Name;
  lastStyle_ = Style;
  lastFont_ = font.get();
  return *font;
}

TFontTexture& TFontsData::BlackAtlas() {
  if (!blackBuilt_) {
    blackBuilt_ = true;
    BuildAtlas(*blackAtlas_, BlackAtlasSize(TdxRenderer::ProcessCaps()), kBlackRgb);
    // Black texels plus the vertex colour give the vertex colour; the halo adds up to
    // near white.
    TTextureSettings& settings = blackAtlas_->Settings();
    settings.ColorOp = TTextureOp::Add;
    settings.ColorArg1 = TTextureArg::Texture;
    settings.ColorArg2 = TTextureArg::Diffuse;
  }
  return *blackAtlas_;
}

TFontTexture& TFontsData::RedAtlas() {
  if (!redBuilt_) {
    redBuilt_ = true;
    BuildAtlas(*redAtlas_, RedAtlasSize(TdxRenderer::ProcessCaps()), kRedRgb);
  }
  return *redAtlas_;
}

TFontsData& FontsData() {
  static TFontsData data;
  return data;
}

TDxFont& GetFont(std::string_view Name, TFontStyle Style) { return FontsData().GetFont(Name, Style); }

}  // namespace vellmar
