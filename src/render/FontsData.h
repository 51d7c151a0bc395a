#pragma once
// The fonts of the plan, one set for the whole program: the vector fonts, built on
// first request and kept, and the two glyph atlases - black (drawn in the vertex
// colour with a light halo) and red (always red) - built on first use at a size the
// graphics device allows (1024 x 1024, or 256 x 256 on small devices).
//
// A face that is not installed never stops a plan from drawing: the best installed
// face stands in, and one warning per name says which file replaced it. Glyphs are
// built once per installed face and style, however many names resolve to it.
// Everything runs on the UI thread.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/fonts/FontMatch.h"
#include "platform/fonts/FontStyle.h"
#include "platform/gpu/GpuDevice.h"
#include "render/DxFont.h"
#include "render/FontTexture.h"

namespace vellmar {

class TFontsData {
 public:
  // Atlas sizes and the face point sizes drawn into them.
  static constexpr int32_t kLargeAtlas = 1024;
  static constexpr int32_t kSmallAtlas = 256;
  static constexpr int32_t kLargeAtlasPoints = 36;
  static constexpr int32_t kSmallAtlasPoints = 9;

  TFontsData();
  ~TFontsData();
  TFontsData(const TFontsData&) = delete;
  TFontsData& operator=(const TFontsData&) = delete;

  // The vector font for a face name (Windows-1251, compared exactly) and style, built
  // on the first request; the same object every later time.
  TDxFont& GetFont(std::string_view Name, TFontStyle Style);
  size_t FontCount() const { return fonts_.size(); }
  // Installed faces and styles whose glyphs have been built.
  size_t GlyphSetCount() const { return glyphs_.size(); }

  // Arial in black with the halo: black glyph texels take the vertex colour, the halo
  // adds up to near white, the background is transparent. Built on first use for the
  // caps of the last device made (TdxRenderer::ProcessCaps).
  TFontTexture& BlackAtlas();
  // Arial in red, whatever the vertex colour.
  TFontTexture& RedAtlas();

  // The atlas sizes a device with these caps gets. The black atlas needs more than
  // 1024 texels of height for the large size; both are kept as they have always been.
  static int32_t BlackAtlasSize(const D3DCAPS9& Caps);
  static int32_t RedAtlasSize(const D3DCAPS9& Caps);

 private:
  // Installed file, face index, made-up bold, made-up italic.
  using TFaceKey = std::tuple<std::string, int32_t, bool, bool>;

  // The face for a name, saying once per name when another one stands in or none can
  // be used.
  std::optional<TFontMatch> Resolve(std::string_view Name, TFontStyle Style);
  void WarnUnavailable(std::string_view Name, const std::string& Why);
  std::shared_ptr<TFontGlyphs> GlyphsFor(std::string_view Name, TFontStyle Style);
  void BuildAtlas(TFontTexture& Atlas, int32_t Size, uint32_t TextRgb);

  std::unique_ptr<TFontTexture> blackAtlas_;
  std::unique_ptr<TFontTexture> redAtlas_;
  bool blackBuilt_ = false;
  bool redBuilt_ = false;
  // By name and style: a plan may name many faces, and every label looks its font up
  // every frame.
  std::map<std::pair<std::string, TFontStyle>, std::unique_ptr<TDxFont>> fonts_;
  std::map<TFaceKey, std::shared_ptr<TFontGlyphs>> glyphs_;
  std::set<std::string, std::less<>> warnedNames_;
  std::string lastName_;
  TFontStyle lastStyle_ = 0;
  TDxFont* lastFont_ = nullptr;
};

// The program's fonts data, made on first use.
TFontsData& FontsData();

// FontsData().GetFont(Name, Style).
TDxFont& GetFont(std::string_view Name, TFontStyle Style);

}  // namespace vellmar
