// The metafile texture cache: equal bytes share one texture, a plate's hint finds its
// texture without a search, and a full cache frees the least used of its older half.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SignPictures.h"
#include "items/signs/EMFTexture.h"

namespace vellmar {
namespace {

using TBytes = std::vector<uint8_t>;

// Distinct small pictures: the width tells them apart.
TBytes Picture(int32_t n) {
  return test::BandPicture(40 + n, 40, {0xFF0000});
}

// Fills the cache with pictures 0 .. count-1, each looked up once (one use each).
void Fill(TEMFTextureCache& cache, int32_t count) {
  for (int32_t n = 0; n < count; ++n) {
    int32_t hint = -1;
    cache.FindOrCreate(Picture(n), hint);
  }
}

TEST(EMFTextureCacheTest, EqualBytesShareOneTextureWhereverTheyCameFrom) {
  TEMFTextureCache cache;
  int32_t hintA = 0;
  int32_t hintB = 0;
  const TBytes a = Picture(1);
  const TBytes sameAsA = Picture(1);
  TEMFTexture& first = cache.FindOrCreate(a, hintA);
  TEMFTexture& second = cache.FindOrCreate(sameAsA, hintB);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(cache.Count(), 1);
  // Same length, one byte different: another picture.
  TBytes changed = a;
  changed[changed.size() - 30] ^= 0x01;
  int32_t hintC = 0;
  EXPECT_NE(&cache.FindOrCreate(changed, hintC), &first);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_EQ(cache.CreatedCount(), 2);
}

TEST(EMFTextureCacheTest, LookupsByHintFindWithoutCountingAUse) {
  // A texture's use count says how often a holder had to search for it: a hint that
  // still points at the texture, or at the one after it, finds it without a search.
  struct TCase {
    const char* What;
    int32_t Hint;        // given with the lookup of picture 2 (at position 2)
    int32_t HintAfter;   // as the lookup leaves it
    int32_t UsesAfter;   // picture 2's use count afterwards (1 from its creation)
  };
  const TCase cases[] = {
      {"the hint is the position", 2, 2, 1},
      {"the hint is one past (a texture before it was freed)", 3, 2, 1},
      {"a wrong hint searches and corrects it", 0, 2, 2},
      {"a hint before the cache searches", -5, 2, 2},
      {"a hint far beyond the cache searches", 1000, 2, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TEMFTextureCache cache;
    Fill(cache, 4);
    int32_t hint = c.Hint;
    const TEMFTexture& found = cache.FindOrCreate(Picture(2), hint);
    EXPECT_EQ(&found, &cache.Texture(2));
    EXPECT_EQ(hint, c.HintAfter);
    EXPECT_EQ(found.UseCount(), c.UsesAfter);
    EXPECT_EQ(cache.CreatedCount(), 4);
  }
}

TEST(EMFTextureCacheTest, ANewTextureLeavesTheHintAndCountsOneUse) {
  TEMFTextureCache cache;
  Fill(cache, 3);
  int32_t hint = 1;
  const TEMFTexture& made = cache.FindOrCreate(Picture(9), hint);
  EXPECT_EQ(&made, &cache.Texture(3));
  EXPECT_EQ(made.UseCount(), 1);
  // Moved back by the look at the position before it, not set to the new texture.
  EXPECT_EQ(hint, 0);
  EXPECT_EQ(made.Surface().Serial(), 4);
}

TEST(EMFTextureCacheTest, AFullCacheFreesTheLeastUsedOfItsOlderHalfBeforeSearching) {
  struct TCase {
    const char* What;
    std::vector<int32_t> ExtraUses;  // pictures searched for once more (a use each)
    int32_t Freed;                   // the picture that leaves
  };
  const TCase cases[] = {
      {"all equal: the oldest", {}, 0},
      {"the oldest used more: the next", {0}, 1},
      {"the least used in the older half", {0, 1, 2, 4, 5}, 3},
      // Positions 0 .. 32 count (64 div 2 = 32 included); picture 40 is the least used
      // but lies in the newer half.
      {"the newer half is never freed",
       [] {
         std::vector<int32_t> uses;
         for (int32_t n = 0; n <= 32; ++n) uses.push_back(n);
         return uses;
       }(),
       0},
      {"the last of the older half", [] {
         std::vector<int32_t> uses;
         for (int32_t n = 0; n < 32; ++n) uses.push_back(n);
         return uses;
       }(), 32},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TEMFTextureCache cache;
    Fill(cache, 63);
    for (const int32_t n : c.ExtraUses) {
      int32_t hint = -1;
      cache.FindOrCreate(Picture(n), hint);
    }
    // 63 textures: no trim yet; the 64th is made.
    int32_t hint = -1;
    cache.FindOrCreate(Picture(63), hint);
    ASSERT_EQ(cache.Count(), 64);
    // The next lookup finds the cache full and frees one first, even though it then
    // finds its picture in the cache.
    hint = -1;
    cache.FindOrCreate(Picture(63), hint);
    ASSERT_EQ(cache.Count(), 63);
    for (int32_t i = 0; i < cache.Count(); ++i)
      EXPECT_FALSE(cache.Texture(i).Matches(Picture(c.Freed))) << "picture " << c.Freed << " is still at " << i;
    EXPECT_EQ(cache.CreatedCount(), 64);
  }
}

TEST(EMFTextureCacheTest, TheCacheStaysAtSixtyFourWhateverIsLookedUp) {
  TEMFTextureCache cache;
  Fill(cache, 200);
  EXPECT_EQ(cache.Count(), 64);
  EXPECT_EQ(cache.CreatedCount(), 200);
}

TEST(EMFTextureTest, TheTextureIsSizedByThePictureAndKeyedTransparentMagentaClamped) {
  struct TCase {
    int32_t Width, Height;  // picture units
    int32_t TextureWidth, TextureHeight;
  };
  const TCase cases[] = {
      {800, 2000, 256, 512},
      {1000, 1001, 256, 512},
      {3001, 3000, 1024, 512},
      {5000, 40, 1024, 256},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
    const TEMFTexture texture(test::BandPicture(c.Width, c.Height, {0x0000FF}), 7);
    const TTextureSurface& surface = texture.Surface();
    EXPECT_EQ(surface.Width(), c.TextureWidth);
    EXPECT_EQ(surface.Height(), c.TextureHeight);
    EXPECT_EQ(surface.Serial(), 7);
    EXPECT_EQ(surface.TransparentColor(), 0xFF00FFu);
    EXPECT_EQ(surface.Settings().AddressU, TTextureAddress::Clamp);
    EXPECT_EQ(surface.Settings().AddressV, TTextureAddress::Clamp);
    EXPECT_EQ(surface.Settings().MinFilter, TTextureFilter::Linear);
    EXPECT_EQ(surface.Settings().MagFilter, TTextureFilter::Linear);
  }
}

TEST(EMFTextureTest, BytesThatAreNoMetafileGiveATextureWithoutAPicture) {
  // A damaged own picture must not stop the frames: its plate draws as a rectangle.
  const TBytes damaged = {1, 2, 3, 4, 5, 6, 7, 8};
  const TEMFTexture texture(damaged, 1);
  EXPECT_EQ(texture.Surface().Width(), 0);
  EXPECT_TRUE(texture.Matches(damaged));
}

}  // namespace
}  // namespace vellmar
