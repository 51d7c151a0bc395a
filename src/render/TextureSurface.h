#pragma once
// A texture as the rest of the system sees it: a source picture kept in memory, the
// sampling and blending settings to use with it, and one device texture per device that
// has used it, made lazily on the first Apply. So a surface can be loaded and configured
// before any device exists and survives the renderer being replaced on every resize.
// The surface owns its bitmap and its device textures, never a device or a renderer.
// Every live surface is entered in a process-wide registry (UI thread only), so that a
// renderer that dies can make every surface drop its textures (ForgetDeviceEverywhere).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/GpuDevice.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

class TdxRenderer;

enum class TTextureFilter : uint8_t { Point, Linear, Anisotropic };
enum class TTextureAddress : uint8_t { Wrap, Clamp };
enum class TTextureArg : uint8_t { Texture, Diffuse };
enum class TTextureOp : uint8_t { Add, SelectArg1, AddSigned, Modulate, Modulate2X, Modulate4X };

// The device values of the settings (sampler filters, address modes, stage arguments
// and operations).
uint32_t DeviceFilter(TTextureFilter filter);
uint32_t DeviceAddress(TTextureAddress address);
uint32_t DeviceArg(TTextureArg arg);
uint32_t DeviceOp(TTextureOp op);

// With the defaults the drawn colour is the texture colour alone, linearly filtered and
// repeated in both directions.
struct TTextureSettings {
  TTextureFilter MinFilter = TTextureFilter::Linear;
  TTextureFilter MagFilter = TTextureFilter::Linear;
  TTextureAddress AddressU = TTextureAddress::Wrap;
  TTextureAddress AddressV = TTextureAddress::Wrap;
  TTextureArg ColorArg1 = TTextureArg::Texture;
  TTextureArg ColorArg2 = TTextureArg::Texture;
  TTextureOp ColorOp = TTextureOp::SelectArg1;
};

class TTextureSurface {
 public:
  TTextureSurface();
  virtual ~TTextureSurface();
  TTextureSurface(const TTextureSurface&) = delete;
  TTextureSurface& operator=(const TTextureSurface&) = delete;

  // Changes take effect at the next Apply.
  TTextureSettings& Settings() { return settings_; }
  const TTextureSettings& Settings() const { return settings_; }
  // Number given by the metafile texture cache; 0 otherwise.
  int32_t Serial() const { return serial_; }
  void SetSerial(int32_t serial) { serial_ = serial; }
  // What the picture is called in messages (Windows-1251): a file name, a block's name.
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Loads a Windows bitmap file; a missing or damaged file raises and leaves the surface
  // as it was.
  void LoadFromFile(const std::filesystem::path& fileName);
  // Keeps a copy of the picture (an empty one changes nothing) and drops every device
  // texture, so each device rebuilds its texture from the new picture on next use.
  void AssignBitmap(const TBitmap& source);
  // The bitmap colour that becomes fully transparent; white unless set.
  void SetTransparentColor(uint8_t r, uint8_t g, uint8_t b);
  uint32_t TransparentColor() const { return transparentColor_; }
  // Size of the picture; 0 without one.
  int32_t Width() const { return bitmap_ ? bitmap_->Width() : 0; }
  int32_t Height() const { return bitmap_ ? bitmap_->Height() : 0; }

  // Binds the surface on the renderer's device for the following draws: its texture (made
  // on first use there), stage, blending and sampler states. Without a picture no texture
  // is bound. The renderer's BindTexture(nullptr) undoes it. A failing device call raises.
  void Apply(TdxRenderer& renderer);
  // Drops the texture made for the device (its renderer is going away).
  void ForgetDevice(const IGpuDevice* device);
  static void ForgetDeviceEverywhere(const IGpuDevice* device);
  // Devices that hold a texture of this surface, in order of first use.
  size_t LinkCount() const { return links_.size(); }
  // The texture made for the device; nullptr before its first Apply there.
  IGpuTexture* TextureFor(const IGpuDevice* device) const;

 private:
  struct TDevTexLink {
    const IGpuDevice* Device;
    std::unique_ptr<IGpuTexture> Texture;
  };

  // Index of the device's link; LinkCount() when it has none.
  size_t LinkIndex(const IGpuDevice* device) const;
  IGpuTexture* BuildTexture(IGpuDevice& device);

  TTextureSettings settings_;
  int32_t serial_ = 0;
  std::vector<TDevTexLink> links_;
  uint32_t transparentColor_ = 0xFFFFFF;
  std::string name_;
  // A picture larger than a device's largest texture is said once, not at every device.
  bool toldScaledDown_ = false;
  // The picture upside down in a bottom-up bitmap: its lowest row in memory is the top
  // of the source picture, which is the order a texture is filled in.
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace vellmar
