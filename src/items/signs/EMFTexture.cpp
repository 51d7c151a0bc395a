#include "items/signs/EMFTexture.h"

#include <algorithm>

#include "platform/Error.h"
#include "platform/MemoryStream.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafilePlayer.h"

namespace vellmar {

TEMFTexture::TEMFTexture(std::span<const uint8_t> data, int32_t serial) : data_(data.begin(), data.end()) {
  surface_.SetSerial(serial);
  TTextureSettings& settings = surface_.Settings();
  settings.MinFilter = TTextureFilter::Linear;
  settings.MagFilter = TTextureFilter::Linear;
  // The bitmap's magenta frame keeps clamped sampling transparent at the picture's edge.
  settings.AddressU = TTextureAddress::Clamp;
  settings.AddressV = TTextureAddress::Clamp;
  surface_.SetTransparentColor(255, 0, 255);
  TMetafile picture;
  try {
    TMemoryStream in{std::span<const uint8_t>(data_)};
    picture.LoadFromStream(in);
  } catch (const EVellmarError&) {
    // Damaged bytes must not stop every frame: the plate shows as a plain rectangle.
    return;
  }
  surface_.AssignBitmap(
      PlayMetafile(picture, MetafileTextureSide(picture.Width()), MetafileTextureSide(picture.Height())));
}

bool TEMFTexture::Matches(std::span<const uint8_t> data) const {
  return data.size() == data_.size() && std::equal(data.begin(), data.end(), data_.begin());
}

bool TEMFTextureCache::MatchesAt(int32_t index, std::span<const uint8_t> data) const {
  return index >= 0 && index < Count() && textures_[static_cast<size_t>(index)]->Matches(data);
}

void TEMFTextureCache::Trim() {
  const auto older = textures_.begin() + Count() / 2 + 1;
  // min_element keeps the first of equal counts: the oldest.
  const auto victim = std::min_element(textures_.begin(), older, [](const auto& a, const auto& b) {
    return a->UseCount() < b->UseCount();
  });
  textures_.erase(victim);
}

TEMFTexture& TEMFTextureCache::FindOrCreate(std::span<const uint8_t> data, int32_t& hint) {
  if (Count() >= kTrimCount) Trim();
  if (MatchesAt(hint, data)) return *textures_[static_cast<size_t>(hint)];
  // Textures only leave the cache, so a texture that was at the hint moves down by one.
  // A hint left beyond the end by several frees finds nothing here and searches.
  if (hint > 0) {
    --hint;
    if (MatchesAt(hint, data)) return *textures_[static_cast<size_t>(hint)];
  }
  for (int32_t i = Count() - 1; i >= 0; --i) {
    if (MatchesAt(i, data)) {
      hint = i;
      TEMFTexture& found = *textures_[static_cast<size_t>(i)];
      ++found.useCount_;
      return found;
    }
  }
  TEMFTexture& made = *textures_.emplace_back(std::make_unique<TEMFTexture>(data, ++serial_));
  ++made.useCount_;
  return made;
}

TEMFTextureCache& EMFTextureCache() {
  // Never destroyed: at exit its surfaces would outlive the surface registry and the
  // devices their textures were made on.
  static TEMFTextureCache* const cache = new TEMFTextureCache;
  return *cache;
}

}  // namespace vellmar
