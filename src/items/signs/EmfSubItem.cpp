#include "items/signs/EmfSubItem.h"

#include <filesystem>
#include <vector>

#include "document/ChunkFields.h"
#include "document/TaggedStream.h"
#include "items/signs/NamedMetafileLib.h"
#include "items/signs/SignLibraries.h"
#include "items/signs/ZnakItem.h"
#include "platform/MemoryStream.h"

namespace vellmar {

std::string SignNumber(std::string_view fileName) {
  // Without directory (either separator) and extension.
  const size_t slash = fileName.find_last_of("\\/");
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  const size_t dot = fileName.rfind('.');
  if (dot != std::string_view::npos) fileName = fileName.substr(0, dot);
  if (fileName.starts_with("G2004_")) fileName.remove_prefix(6);
  std::string number;
  for (const char c : fileName) {
    if (c == '_') break;
    number += c == '-' ? '.' : c;
    // "1-01" is sign 1.1: a leading zero of a part goes.
    if (number.size() > 1 && number.ends_with(".0")) number.pop_back();
  }
  return number.empty() ? std::string(" ") : number;
}

const TSignLibraries& TEmfSubItem::Libraries() const {
  return owner_.Libraries();
}

void TEmfSubItem::Changed() const {
  owner_.Points().SetModified(true);
}

const TMetafile* TEmfSubItem::Picture() const {
  return picture_ != nullptr && !picture_->Empty() ? picture_ : nullptr;
}

int32_t TEmfSubItem::Width() const {
  return Picture() != nullptr ? picture_->Width() : 0;
}

int32_t TEmfSubItem::Height() const {
  return Picture() != nullptr ? picture_->Height() : 0;
}

void TEmfSubItem::SetLibName(std::string name) {
  const TSignLibraries& libraries = Libraries();
  libName_ = std::move(name);
  int32_t index = libraries.Library.IndexOfName(libName_);
  if (index < 0) {
    if (const std::optional<std::string> current = libraries.Translation.Value(libName_)) {
      index = libraries.Library.IndexOfName(*current);
    }
  }
  own_.Clear();
  libIndex_ = index < 0 ? kMissingPicture : index;
  picture_ = index < 0 ? &libraries.Missing : &libraries.Library.Metafile(index);
  Changed();
}

void TEmfSubItem::SetPicture(TMetafile picture) {
  const TNamedMetafileLib& library = Libraries().Library;
  const int32_t index = library.IndexOfMetafile(picture);
  if (index >= 0) {
    own_.Clear();
    libIndex_ = index;
    libName_ = library.Name(index);
    picture_ = &library.Metafile(index);
  } else {
    own_ = std::move(picture);
    libIndex_ = kOwnPicture;
    picture_ = &own_;
  }
  Changed();
}

void TEmfSubItem::SetScale(float scale) {
  scale_ = scale;
  Changed();
}

void TEmfSubItem::SetText(std::string text) {
  text_ = std::move(text);
  Changed();
}

void TEmfSubItem::SetOrigin(const TXYZ& origin) {
  origin_ = origin;
  Changed();
}

void TEmfSubItem::SetCaptionSide(uint8_t side) {
  captionSide_ = side;
  Changed();
}

void TEmfSubItem::SetFileName(std::string name) {
  fileName_ = std::move(name);
  Changed();
}

void TEmfSubItem::SetOrientation(float degrees) {
  orientation_ = degrees;
  Changed();
}

void TEmfSubItem::SetStatus(std::string status) {
  status_ = std::move(status);
  Changed();
}

std::string TEmfSubItem::DerivedCaption() const {
  if (!libName_.empty()) return SignNumber(libName_);
  if (!fileName_.empty()) return SignNumber(fileName_);
  return {};
}

std::string TEmfSubItem::Caption() const {
  return text_.empty() ? DerivedCaption() : text_;
}

void TEmfSubItem::LoadFromStream(TStream& stream) {
  std::optional<TMetafile> read;
  if (TestIdent(stream, "ZNSUBEMF")) {
    read.emplace();
    read->LoadFromStream(stream);
  }
  if (TestIdent(stream, "ZNSUBEM2")) {
    std::vector<uint8_t> bytes(static_cast<size_t>(ReadCount(stream, 1)));
    stream.ReadBuffer(bytes.data(), bytes.size(), "TEmfSubItem.LoadFromStream");
    read.emplace();
    if (!bytes.empty()) {
      TMemoryStream picture(std::move(bytes));
      read->LoadFromStream(picture);
    }
  }
  if (read) SetPicture(std::move(*read));
  if (TestIdent(stream, "ZNSLIBNM")) SetLibName(ReadString(stream));
  LoadChunk(stream, "ZNSUBSC ", scale_);
  LoadChunk(stream, "ZNSUBTXT", text_);
  if (TestIdent(stream, "ZNSUBORG")) origin_ = ReadXYZ(stream);
  LoadChunk(stream, "ZNSUBALG", captionSide_);
  LoadChunk(stream, "ZNSUBORT", orientation_);
  LoadChunk(stream, "ZNSUBFIL", fileName_);
  // Indices into data this viewer does not have; read past.
  int32_t ignored = 0;
  LoadChunk(stream, "ZNARCIDX", ignored);
  LoadChunk(stream, "ZNNODIDX", ignored);
  LoadChunk(stream, "ZNOBJKND", objectKind_);
  LoadChunk(stream, "ZNSTEXT ", sText_);
  LoadChunk(stream, "ZNMAINID", mainId_);
  LoadChunk(stream, "ZNANCHEI", anchorHeight_);
  LoadChunk(stream, "ZNCUSTSQ", customArea_);
  LoadChunk(stream, "ZNSTATUS", status_);
  // A stored caption equal to what the names give is no override. Only the caption the
  // names give now counts: one equal to the file name's while the library name gives
  // another is the user's choice and stays.
  if (text_ == DerivedCaption()) text_.clear();
}

void TEmfSubItem::SaveToStream(TStream& stream) const {
  if (libIndex_ == kOwnPicture) {
    WriteIdent(stream, "ZNSUBEM2");
    WriteCount(stream, own_.Bytes().size());
    own_.SaveToStream(stream);
  } else {
    SaveChunk(stream, "ZNSLIBNM", std::string_view(libName_));
  }
  SaveChunk(stream, "ZNSUBSC ", scale_);
  SaveChunk(stream, "ZNSUBTXT", std::string_view(text_));
  WriteIdent(stream, "ZNSUBORG");
  WriteXYZ(stream, origin_);
  SaveChunk(stream, "ZNSUBALG", captionSide_);
  SaveChunk(stream, "ZNSUBORT", orientation_);
  SaveChunkIfAny(stream, "ZNSUBFIL", fileName_);
  SaveChunkIfAny(stream, "ZNOBJKND", objectKind_);
  SaveChunkIfAny(stream, "ZNSTEXT ", sText_);
  if (mainId_ != 0) SaveChunk(stream, "ZNMAINID", mainId_);
  if (anchorHeight_ != 0.0f) SaveChunk(stream, "ZNANCHEI", anchorHeight_);
  if (customArea_ != 0.0f) SaveChunk(stream, "ZNCUSTSQ", customArea_);
  SaveChunkIfAny(stream, "ZNSTATUS", status_);
}

}  // namespace vellmar
