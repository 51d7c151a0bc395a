#pragma once
// A texture of the Cairo device: its A8R8G8B8 texels in memory, and the images made of
// them for the colours the texture is drawn in. An image is kept until the texels
// change, so that a PDF embeds a texture drawn many times once.

#include <cstdint>
#include <memory>
#include <vector>

#include <cairo.h>

#include "platform/gpu/GpuDevice.h"

namespace vellmar {

class CairoDevice;

// What decides the colours of a texture's image: stage 0's operation and arguments,
// the diffuse colour they read, and whether alpha blends.
struct TTextureLook {
  uint32_t ColorOp = D3DTOP_MODULATE;
  uint32_t ColorArg1 = D3DTA_TEXTURE;
  uint32_t ColorArg2 = D3DTA_CURRENT;
  uint32_t Diffuse = 0xFFFFFFFFu;
  bool Blend = false;
  bool operator==(const TTextureLook&) const = default;
};

class CairoTexture final : public IGpuTexture {
 public:
  CairoTexture(uint32_t Width, uint32_t Height, std::weak_ptr<const CairoDevice*> Owner);
  ~CairoTexture() override;
  CairoTexture(const CairoTexture&) = delete;
  CairoTexture& operator=(const CairoTexture&) = delete;

  HRESULT LockRect(uint32_t Level, D3DLOCKED_RECT& Locked, uint32_t Flags) override;
  HRESULT UnlockRect(uint32_t Level) override;

  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  // Whether Device made this texture and still exists.
  bool BelongsTo(const CairoDevice* Device) const;
  // The texels as they look with the given state: colours combined as the texture stage
  // combines them, premultiplied for Cairo. The texture keeps the image.
  cairo_surface_t* Image(const TTextureLook& Look);

 private:
  struct TImage {
    TTextureLook Look;
    cairo_surface_t* Surface = nullptr;
  };
  void DropImages();

  uint32_t width_;
  uint32_t height_;
  std::vector<uint32_t> texels_;
  bool locked_ = false;
  std::weak_ptr<const CairoDevice*> owner_;
  std::vector<TImage> images_;
};

}  // namespace vellmar
