#include "document/design/DsnFigDef.h"

#include <utility>

#include "document/TaggedStream.h"
#include "platform/gpu/DxVertex.h"

namespace vellmar {

namespace {
constexpr int32_t kNewBitmapSize = 16;
}  // namespace

TDsnFigDef::TDsnFigDef()
    : bitmap_(kNewBitmapSize, kNewBitmapSize, TPixelFormat::pf24bit),
      collection_(std::make_unique<TDxTriangleCollection>()) {
  collection_->SetColor(MakeColor(255, 0, 0, 255));
}

TBitmap& TDsnFigDef::EditBitmap() {
  ++bitmapRevision_;
  return bitmap_;
}

void TDsnFigDef::SetBitmap(TBitmap bitmap) {
  EditBitmap() = std::move(bitmap);
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
