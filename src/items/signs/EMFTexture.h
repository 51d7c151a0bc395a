#pragma once
// Sign pictures as textures. A metafile's bytes are played once into a bitmap with a
// transparent magenta background and kept as a texture surface; the cache hands the
// same texture to every plate that shows the same bytes, so ten thousand signs of fifty
// pictures make fifty textures. The cache owns its textures and frees one whenever a
// lookup finds it full, so holders look their texture up again every frame and keep only
// a position hint. The program's cache lives until the program ends (UI thread only).

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "render/TextureSurface.h"

namespace vellmar {

class TEMFTexture {
 public:
  // Copies the bytes and plays them into the surface, which gets the serial. Bytes that
  // are no metafile leave the surface without a picture (it draws untextured).
  TEMFTexture(std::span<const uint8_t> data, int32_t serial);
  TEMFTexture(const TEMFTexture&) = delete;
  TEMFTexture& operator=(const TEMFTexture&) = delete;

  std::span<const uint8_t> Data() const { return data_; }
  TTextureSurface& Surface() { return surface_; }
  const TTextureSurface& Surface() const { return surface_; }
  // Times the cache handed it out through a full search or its creation.
  int32_t UseCount() const { return useCount_; }
  bool Matches(std::span<const uint8_t> data) const;

 private:
  friend class TEMFTextureCache;

  std::vector<uint8_t> data_;
  TTextureSurface surface_;
  int32_t useCount_ = 0;
};

class TEMFTextureCache {
 public:
  // A lookup made while the cache holds this many textures frees one first.
  static constexpr int32_t kTrimCount = 64;

  // The texture whose bytes equal data, made when there is none. hint is the caller's
  // position in the cache: the texture there and the one before it are tried first
  // without counting a use; a full search from the newest texture sets it.
  TEMFTexture& FindOrCreate(std::span<const uint8_t> data, int32_t& hint);

  int32_t Count() const { return static_cast<int32_t>(textures_.size()); }
  const TEMFTexture& Texture(int32_t index) const { return *textures_.at(static_cast<size_t>(index)); }
  // Textures made since the cache was created (the last serial given).
  int32_t CreatedCount() const { return serial_; }

 private:
  // Frees the least used texture of the older half, the oldest of equals.
  void Trim();
  bool MatchesAt(int32_t index, std::span<const uint8_t> data) const;

  std::vector<std::unique_ptr<TEMFTexture>> textures_;  // in order of creation
  int32_t serial_ = 0;
};

// The program's cache.
TEMFTextureCache& EMFTextureCache();

}  // namespace vellmar
