#include "document/design/DsnFigDef.h"

#include <utility>

#include "document/TaggedStream.h"
#include "platform/gpu/DxVertex.h"
#include "render/TextureSurface.h"

namespace vellmar {

namespace {
constexpr int32_t kNewBitmapSize = 16;
}  // namespace

TDsnFigDef::TDsnFigDef() : collection_(std::make_unique<TDxTriangleCollection>()) {
  collection_->SetColor(MakeColor(255, 0, 0, 255));
  SetBitmap(TBitmap(kNewBitmapSize, kNewBitmapSize, TPixelFormat::pf24bit));
}

void TDsnFigDef::SetBitmap(TBitmap bitmap) {
  bitmap_ = std::move(bitmap);
  TTextureSurface& texture =
      collection_->Texture() != nullptr ? *collection_->Texture() : collection_->CreateOwnTexture();
  TTextureSettings& settings = texture.Settings();
  settings.ColorArg1 = TTextureArg::Texture;
  settings.ColorArg2 = TTextureArg::Diffuse;
  settings.ColorOp = TTextureOp::Add;
  TBitmap picture = bitmap_;
  picture.SetPixelFormat(TPixelFormat::pf32bit);
  texture.AssignBitmap(picture);
  texture.SetName(name_);
}

void TDsnFigDef::LoadFromStream(TStream& stream) {
  if (!TestIdent(stream, "DSNFGDEF")) return;
  if (TestIdent(stream, "DEFNAME ")) name_ = ReadString(stream);
  if (TestIdent(stream, "DEFPERDX")) periodX_ = ReadSingle(stream);
  if (TestIdent(stream, "DEFPERDY")) periodY_ = ReadSingle(stream);
  if (TestIdent(stream, "DEFBMP  ")) {
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    SetBitmap(std::move(loaded));
  }
}

void TDsnFigDef::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "DSNFGDEF");
  WriteIdent(stream, "DEFNAME ");
  WriteString(stream, name_);
  WriteIdent(stream, "DEFPERDX");
  WriteSingle(stream, periodX_);
  WriteIdent(stream, "DEFPERDY");
  WriteSingle(stream, periodY_);
  WriteIdent(stream, "DEFBMP  ");
  bitmap_.SaveToStream(stream);
}

}  // namespace vellmar
