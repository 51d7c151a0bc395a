#pragma once
// Where a line marking's paint lies within one repeat of its texture: the texture is the
// only place a marking library keeps its dashes (a 3:9 dash is three quarters of gap in
// the picture), so painted lengths and areas are read off the picture itself. Dark
// pixels are paint, light ones the transparent ground, as the marking's band shows them.
// The patterns of a street's library are loaded once and owned by TMarkingPatterns.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace vellmar {

class TBitmap;
class TStreetStructure;

// Fractions across the band (V, 0 at the band's first edge) and along one repeat (U).
struct TMarkingStripe {
  double V0 = 0.0;
  double V1 = 1.0;
  std::vector<std::pair<double, double>> Dashes;  // painted U0..U1 runs, in order
};

struct TMarkingPattern {
  std::vector<TMarkingStripe> Stripes;

  // The share of the band's area that is painted.
  double PaintedShare() const;
  // The share of the line's length along which some stripe is painted.
  double DashShare() const;
};

// One stripe across the whole band, painted end to end.
TMarkingPattern SolidPattern();
// Rows with the same painted columns make one stripe; a picture without paint gives no stripe.
TMarkingPattern PatternFromTexture(const TBitmap& texture);

// The patterns of a street's line-marking library, by record index, read from the
// records' textures on first use; a texture that is not there reads as solid paint.
class TMarkingPatterns {
 public:
  explicit TMarkingPatterns(TStreetStructure& street) : street_(street) {}
  const TMarkingPattern& Pattern(int32_t paramIndex);

 private:
  TStreetStructure& street_;
  std::vector<std::optional<TMarkingPattern>> patterns_;
};

}  // namespace vellmar
