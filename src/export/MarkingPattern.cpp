#include "export/MarkingPattern.h"

#include <algorithm>
#include <string>

#include "document/LnParam.h"
#include "document/StreetStructure.h"
#include "platform/files/DataRoot.h"
#include "platform/imaging/Bitmap.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

constexpr std::string_view kTextureFolder = "\\DataFiles\\Разметка\\"_cp1251;

bool Dark(uint32_t rgb) {
  const uint32_t sum = ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
  return sum < 3 * 128;
}

}  // namespace

double TMarkingPattern::PaintedShare() const {
  double share = 0.0;
  for (const TMarkingStripe& stripe : Stripes) {
    for (const auto& [u0, u1] : stripe.Dashes) share += (stripe.V1 - stripe.V0) * (u1 - u0);
  }
  return share;
}

double TMarkingPattern::DashShare() const {
  std::vector<std::pair<double, double>> runs;
  for (const TMarkingStripe& stripe : Stripes) runs.insert(runs.end(), stripe.Dashes.begin(), stripe.Dashes.end());
  std::sort(runs.begin(), runs.end());
  double share = 0.0, reached = 0.0;
  for (const auto& [u0, u1] : runs) {
    const double from = std::max(u0, reached);
    if (u1 > from) share += u1 - from;
    reached = std::max(reached, u1);
  }
  return share;
}

TMarkingPattern SolidPattern() {
  return TMarkingPattern{{TMarkingStripe{0.0, 1.0, {{0.0, 1.0}}}}};
}

TMarkingPattern PatternFromTexture(const TBitmap& texture) {
  TMarkingPattern pattern;
  const int32_t width = texture.Width(), height = texture.Height();
  std::vector<bool> previous;
  for (int32_t y = 0; y < height; ++y) {
    std::vector<bool> painted(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x) painted[static_cast<size_t>(x)] = Dark(texture.GetPixel(x, y));
    const bool any = std::find(painted.begin(), painted.end(), true) != painted.end();
    const double v0 = double(y) / height, v1 = double(y + 1) / height;
    if (any && y > 0 && painted == previous && !pattern.Stripes.empty() && pattern.Stripes.back().V1 == v0) {
      pattern.Stripes.back().V1 = v1;
    } else if (any) {
      TMarkingStripe stripe{v0, v1, {}};
      for (int32_t x = 0; x < width;) {
        if (!painted[static_cast<size_t>(x)]) {
          ++x;
          continue;
        }
        const int32_t start = x;
        while (x < width && painted[static_cast<size_t>(x)]) ++x;
        stripe.Dashes.emplace_back(double(start) / width, double(x) / width);
      }
      pattern.Stripes.push_back(std::move(stripe));
    }
    previous = std::move(painted);
  }
  return pattern;
}

const TMarkingPattern& TMarkingPatterns::Pattern(int32_t paramIndex) {
  const TLnParams& params = street_.GetLineParams();
  if (patterns_.size() < params.size()) patterns_.resize(params.size());
  static const TMarkingPattern solid = SolidPattern();
  if (paramIndex < 0 || static_cast<size_t>(paramIndex) >= params.size()) return solid;
  std::optional<TMarkingPattern>& slot = patterns_[static_cast<size_t>(paramIndex)];
  if (!slot) {
    const LnParam& param = params[static_cast<size_t>(paramIndex)];
    const std::optional<std::filesystem::path> file =
        ResolveDataPath(std::string(kTextureFolder) + std::string(ShortStringText(param.TextureFile)));
    slot = solid;
    if (file) {
      try {
        TBitmap texture;
        texture.LoadFromFile(*file);
        slot = PatternFromTexture(texture);
      } catch (const std::exception&) {
        // An unreadable texture shows nothing special on the plan either: count it as paint.
      }
    }
  }
  return *slot;
}

}  // namespace vellmar
