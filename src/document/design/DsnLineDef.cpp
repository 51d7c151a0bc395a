#include "document/design/DsnLineDef.h"

#include <utility>

#include "document/TaggedStream.h"
#include "platform/gpu/DxVertex.h"
#include "render/TextureSurface.h"

namespace vellmar {

TDsnLineDef::TDsnLineDef() {
  for (auto& collection : collections_) {
    collection = std::make_unique<TDxTriangleCollection>();
    collection->SetColor(MakeColor(0, 0, 0, 255));
  }
}

void TDsnLineDef::SetBitmap(TLinePart part, TBitmap bitmap) {
  bitmaps_[Index(part)] = std::make_unique<TBitmap>(std::move(bitmap));
  TDxTriangleCollection& collection = Collection(part);
  TTextureSurface& texture =
      collection.Texture() != nullptr ? *collection.Texture() : collection.CreateOwnTexture();
  TTextureSettings& settings = texture.Settings();
  settings.ColorArg1 = TTextureArg::Texture;
  settings.ColorArg2 = TTextureArg::Diffuse;
  settings.ColorOp = TTextureOp::Add;
  settings.AddressU = part == TLinePart::Repeat ? TTextureAddress::Wrap : TTextureAddress::Clamp;
  settings.AddressV = TTextureAddress::Clamp;
  texture.AssignBitmap(*bitmaps_[Index(part)]);
  texture.SetName(name_);
}

void TDsnLineDef::LoadFromStream(TStream& stream) {
  if (!TestIdent(stream, "DSNLNDEF")) return;
  if (TestIdent(stream, "DEFNAME ")) name_ = ReadString(stream);
  if (TestIdent(stream, "DEFPERID")) period_ = ReadSingle(stream);
  if (TestIdent(stream, "DEFWIDTH")) width_ = ReadSingle(stream);
  if (TestIdent(stream, "DEFDISP ")) disp_ = ReadSingle(stream);
  const auto readBitmap = [&](const TIdent& ident, TLinePart part) {
    if (!TestIdent(stream, ident)) return;
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    SetBitmap(part, std::move(loaded));
  };
  readBitmap("DEFBMP  ", TLinePart::Repeat);
  readBitmap("DEFBMPST", TLinePart::Start);
  readBitmap("DEFBMPRP", TLinePart::Repeat);
  readBitmap("DEFBMPFN", TLinePart::Finish);
}

void TDsnLineDef::SaveToStream(TStream& stream) const {
  WriteIdent(stream, "DSNLNDEF");
  WriteIdent(stream, "DEFNAME ");
  WriteString(stream, name_);
  WriteIdent(stream, "DEFPERID");
  WriteSingle(stream, period_);
  WriteIdent(stream, "DEFWIDTH");
  WriteSingle(stream, width_);
  WriteIdent(stream, "DEFDISP ");
  WriteSingle(stream, disp_);
  const auto writeBitmap = [&](const TIdent& ident, TLinePart part) {
    if (const TBitmap* bitmap = Bitmap(part)) {
      WriteIdent(stream, ident);
      bitmap->SaveToStream(stream);
    }
  };
  if (Bitmap(TLinePart::Start) != nullptr || Bitmap(TLinePart::Finish) != nullptr) {
    writeBitmap("DEFBMPST", TLinePart::Start);
    writeBitmap("DEFBMPRP", TLinePart::Repeat);
    writeBitmap("DEFBMPFN", TLinePart::Finish);
  } else {
    writeBitmap("DEFBMP  ", TLinePart::Repeat);
  }
}

}  // namespace vellmar
