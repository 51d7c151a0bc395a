#include "render/TextureSurface.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/Error.h"
#include "platform/WarningSink.h"
#include "platform/text/Cp1251.h"
#include "render/DxRenderer.h"

namespace vellmar {

namespace {

std::vector<TTextureSurface*>& Registry() {
  static std::vector<TTextureSurface*> surfaces;
  return surfaces;
}

void Check(HRESULT result, const char* call) {
  if (result != D3D_OK) {
    throw EVellmarError(std::string("TTextureSurface.Apply: ") + call + " failed (" + std::to_string(result) +
                        ")");
  }
}

// Transparent texels take the mean colour of their opaque neighbours and stay transparent.
// Linear filtering between a picture's edge and its keyed background then blends towards
// the edge's own colour instead of leaving a fringe of the key colour (magenta, white).
void BleedIntoTransparent(std::vector<uint32_t>& texels, uint32_t width, uint32_t height) {
  const auto opaque = [](uint32_t texel) { return texel >> 24 != 0; };
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t& texel = texels[static_cast<size_t>(y) * width + x];
      if (opaque(texel)) continue;
      uint32_t r = 0, g = 0, b = 0, count = 0;
      for (uint32_t ny = y == 0 ? 0 : y - 1; ny <= std::min(y + 1, height - 1); ++ny) {
        for (uint32_t nx = x == 0 ? 0 : x - 1; nx <= std::min(x + 1, width - 1); ++nx) {
          const uint32_t neighbour = texels[static_cast<size_t>(ny) * width + nx];
          if (!opaque(neighbour)) continue;
          r += neighbour >> 16 & 0xFF;
          g += neighbour >> 8 & 0xFF;
          b += neighbour & 0xFF;
          ++count;
        }
      }
      if (count != 0) texel = (r / count) << 16 | (g / count) << 8 | b / count;
    }
  }
}

// The texels of a width x height picture at another size, each taken from the source
// texel under its centre.
std::vector<uint32_t> NearestResampled(const std::vector<uint32_t>& texels, uint32_t width, uint32_t height,
                                       uint32_t toWidth, uint32_t toHeight) {
  std::vector<uint32_t> resampled(static_cast<size_t>(toWidth) * toHeight);
  for (uint32_t y = 0; y < toHeight; ++y) {
    const auto sy = static_cast<size_t>((y + 0.5) * height / toHeight);
    for (uint32_t x = 0; x < toWidth; ++x) {
      const auto sx = static_cast<size_t>((x + 0.5) * width / toWidth);
      resampled[static_cast<size_t>(y) * toWidth + x] = texels[std::min<size_t>(sy, height - 1) * width +
                                                               std::min<size_t>(sx, width - 1)];
    }
  }
  return resampled;
}

}  // namespace

uint32_t DeviceFilter(TTextureFilter filter) {
  switch (filter) {
    case TTextureFilter::Point:
      return D3DTEXF_POINT;
    case TTextureFilter::Linear:
      return D3DTEXF_LINEAR;
    case TTextureFilter::Anisotropic:
      return D3DTEXF_ANISOTROPIC;
  }
  return D3DTEXF_LINEAR;
}

uint32_t DeviceAddress(TTextureAddress address) {
  return address == TTextureAddress::Clamp ? D3DTADDRESS_CLAMP : D3DTADDRESS_WRAP;
}

uint32_t DeviceArg(TTextureArg arg) {
  return arg == TTextureArg::Diffuse ? D3DTA_DIFFUSE : D3DTA_TEXTURE;
}

uint32_t DeviceOp(TTextureOp op) {
  switch (op) {
    case TTextureOp::Add:
      return D3DTOP_ADD;
    case TTextureOp::SelectArg1:
      return D3DTOP_SELECTARG1;
    case TTextureOp::AddSigned:
      return D3DTOP_ADDSIGNED;
    case TTextureOp::Modulate:
      return D3DTOP_MODULATE;
    case TTextureOp::Modulate2X:
      return D3DTOP_MODULATE2X;
    case TTextureOp::Modulate4X:
      return D3DTOP_MODULATE4X;
  }
  return D3DTOP_SELECTARG1;
}

TTextureSurface::TTextureSurface() {
  Registry().push_back(this);
}

TTextureSurface::~TTextureSurface() {
  auto& surfaces = Registry();
  surfaces.erase(std::find(surfaces.begin(), surfaces.end(), this));
}

void TTextureSurface::LoadFromFile(const std::filesystem::path& fileName) {
  TBitmap picture;
  picture.LoadFromFile(fileName);
  AssignBitmap(picture);
  name_ = Utf8ToCp1251(fileName.filename().string());
}

void TTextureSurface::AssignBitmap(const TBitmap& source) {
  if (source.Empty()) return;
  // A whole copy keeps the palette and channel masks of indexed and bit-field pictures,
  // which a copy of the bare pixel rows would lose.
  auto copy = std::make_unique<TBitmap>(source);
  copy->SetTopDown(false);
  const int32_t height = copy->Height();
  const auto rowBytes = static_cast<size_t>(copy->Stride());
  std::vector<uint8_t> row(rowBytes);
  for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
    std::memcpy(row.data(), copy->ScanLine(top), rowBytes);
    std::memcpy(copy->ScanLine(top), copy->ScanLine(bottom), rowBytes);
    std::memcpy(copy->ScanLine(bottom), row.data(), rowBytes);
  }
  bitmap_ = std::move(copy);
  links_.clear();
}

void TTextureSurface::SetTransparentColor(uint8_t r, uint8_t g, uint8_t b) {
  transparentColor_ = uint32_t{r} << 16 | uint32_t{g} << 8 | b;
}

size_t TTextureSurface::LinkIndex(const IGpuDevice* device) const {
  size_t i = 0;
  while (i < links_.size() && links_[i].Device != device) ++i;
  return i;
}

IGpuTexture* TTextureSurface::TextureFor(const IGpuDevice* device) const {
  const size_t i = LinkIndex(device);
  return i == links_.size() ? nullptr : links_[i].Texture.get();
}

IGpuTexture* TTextureSurface::BuildTexture(IGpuDevice& device) {
  const auto width = static_cast<uint32_t>(bitmap_->Width());
  const auto height = static_cast<uint32_t>(bitmap_->Height());
  // A picture larger than the device takes would stop every frame that shows it: it is
  // scaled down, keeping its proportions, to the largest texture the device makes.
  uint32_t textureWidth = width, textureHeight = height;
  D3DCAPS9 caps{};
  if (device.GetDeviceCaps(caps) == D3D_OK && caps.MaxTextureWidth > 0 && caps.MaxTextureHeight > 0 &&
      (width > caps.MaxTextureWidth || height > caps.MaxTextureHeight)) {
    const double k = std::min(double(caps.MaxTextureWidth) / width, double(caps.MaxTextureHeight) / height);
    textureWidth = std::clamp(static_cast<uint32_t>(width * k), 1u, caps.MaxTextureWidth);
    textureHeight = std::clamp(static_cast<uint32_t>(height * k), 1u, caps.MaxTextureHeight);
    if (!toldScaledDown_) {
      toldScaledDown_ = true;
      const std::string named = name_.empty() ? std::string("without a name") : "\"" + name_ + "\"";
      ReportWarning("TTextureSurface.Apply: the picture " + named + " is " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels, larger than the largest texture of this device (" +
                    std::to_string(caps.MaxTextureWidth) + " x " + std::to_string(caps.MaxTextureHeight) +
                    "); it is drawn scaled down to " + std::to_string(textureWidth) + " x " +
                    std::to_string(textureHeight));
    }
  }
  std::unique_ptr<IGpuTexture> texture;
  Check(device.CreateTexture(textureWidth, textureHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture),
        "CreateTexture");
  bitmap_->SetPixelFormat(TPixelFormat::pf32bit);

  std::vector<uint32_t> texels(static_cast<size_t>(width) * height);
  for (uint32_t y = 0; y < height; ++y) {
    // The stored picture is upside down, so its last row is the top of the source.
    const uint8_t* source = bitmap_->ScanLine(static_cast<int32_t>(height - 1 - y));
    uint32_t* out = texels.data() + static_cast<size_t>(y) * width;
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t texel;
      std::memcpy(&texel, source + 4 * x, 4);
      texel &= 0xFFFFFFu;
      if (texel != transparentColor_) texel |= 0xFF000000u;
      out[x] = texel;
    }
  }
  BleedIntoTransparent(texels, width, height);
  if (textureWidth != width || textureHeight != height)
    texels = NearestResampled(texels, width, height, textureWidth, textureHeight);

  D3DLOCKED_RECT locked;
  Check(texture->LockRect(0, locked, 0), "LockRect");
  auto* target = static_cast<uint8_t*>(locked.pBits);
  for (uint32_t y = 0; y < textureHeight; ++y) {
    std::memcpy(target + static_cast<ptrdiff_t>(y) * locked.Pitch,
                texels.data() + static_cast<size_t>(y) * textureWidth, 4 * static_cast<size_t>(textureWidth));
  }
  Check(texture->UnlockRect(0), "UnlockRect");
  links_.push_back(TDevTexLink{&device, std::move(texture)});
  return links_.back().Texture.get();
}

void TTextureSurface::Apply(TdxRenderer& renderer) {
  IGpuDevice* const device = renderer.Device();
  if (device == nullptr) return;
  if (!bitmap_) {
    renderer.BindTexture(nullptr);
    return;
  }
  IGpuTexture* texture = TextureFor(device);
  if (texture == nullptr) texture = BuildTexture(*device);
  Check(device->SetTexture(0, texture), "SetTexture");
  device->SetTextureStageState(0, D3DTSS_COLOROP, DeviceOp(settings_.ColorOp));
  device->SetTextureStageState(0, D3DTSS_COLORARG1, DeviceArg(settings_.ColorArg1));
  device->SetTextureStageState(0, D3DTSS_COLORARG2, DeviceArg(settings_.ColorArg2));
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetSamplerState(0, D3DSAMP_MINFILTER, DeviceFilter(settings_.MinFilter));
  device->SetSamplerState(0, D3DSAMP_MAGFILTER, DeviceFilter(settings_.MagFilter));
  device->SetSamplerState(0, D3DSAMP_ADDRESSU, DeviceAddress(settings_.AddressU));
  device->SetSamplerState(0, D3DSAMP_ADDRESSV, DeviceAddress(settings_.AddressV));
}

void TTextureSurface::ForgetDevice(const IGpuDevice* device) {
  const size_t i = LinkIndex(device);
  if (i < links_.size()) links_.erase(links_.begin() + static_cast<ptrdiff_t>(i));
}

void TTextureSurface::ForgetDeviceEverywhere(const IGpuDevice* device) {
  for (TTextureSurface* surface : Registry()) surface->ForgetDevice(device);
}

}  // namespace vellmar
