#include "document/design/DsnBlockDef.h"

#include <utility>

#include "document/TaggedStream.h"

namespace vellmar {

namespace {
constexpr int32_t kNewBitmapSize = 16;
}  // namespace

TDsnBlockDef::TDsnBlockDef() : bitmap_(kNewBitmapSize, kNewBitmapSize, TPixelFormat::pf24bit) {}

TBitmap& TDsnBlockDef::EditBitmap() {
  textureValid_ = false;
  return bitmap_;
}

void TDsnBlockDef::SetBitmap(TBitmap bitmap) {
  EditBitmap() = std::move(bitmap);
}

TTextureSurface& TDsnBlockDef::GetTexture() const {
  if (textureValid_ && texture_) return *texture_;
  texture_ = std::make_unique<TTextureSurface>();
  TTextureSettings& settings = texture_->Settings();
  settings.MinFilter = TTextureFilter::Anisotropic;
  settings.MagFilter = TTextureFilter::Anisotropic;
  settings.ColorArg1 = TTextureArg::Texture;
  settings.ColorArg2 = TTextureArg::Diffuse;
  settings.ColorOp = TTextureOp::Add;
  TBitmap picture = bitmap_;
  picture.SetPixelFormat(TPixelFormat::pf32bit);
  texture_->AssignBitmap(picture);
  texture_->SetName(name_);
  textureValid_ = true;
  return *texture_;
}

void TDsnBlockDef::LoadFromStream(TStream& stream) {
  if (!TestIdent(stream, "BLOCKDEF")) return;
  name_ = ReadString(stream);
  if (TestIdent(stream, "BLOCKBMP")) {
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    SetBitmap(std::move(loaded));
  }
  if (TestIdent(stream, "BLOCKWID")) width_ = ReadSingle(stream);
  if (TestIdent(stream, "BLOCKHEI")) height_ = ReadSingle(stream);
  if (TestIdent(stream, "BLOCKANC")) {
    anchorX_ = ReadInt32(stream);
    anchorY_ = ReadInt32(stream);
  }
}

void TDsnBlockDef::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "BLOCKDEF");
  WriteString(stream, name_);
  WriteIdent(stream, "BLOCKBMP");
  bitmap_.SaveToStream(stream);
  WriteIdent(stream, "BLOCKWID");
  WriteSingle(stream, width_);
  WriteIdent(stream, "BLOCKHEI");
  WriteSingle(stream, height_);
  WriteIdent(stream, "BLOCKANC");
  WriteInt32(stream, anchorX_);
  WriteInt32(stream, anchorY_);
}

}  // namespace vellmar
