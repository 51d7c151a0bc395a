#pragma once
// Sign pictures for the drawing tests: enhanced metafiles of solid horizontal bands, top
// to bottom, filling the whole picture, so that which band lands where on the plan shows
// a picture's place, size and which way up it stands.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/MemoryStream.h"
#include "platform/metafile/Metafile.h"
#include "platform/metafile/MetafileWriter.h"

namespace vellmar::test {

// Width x height units (1/96 inch) of bands in the colours (0xRRGGBB), top band first.
inline std::vector<uint8_t> BandPicture(int32_t width, int32_t height, std::initializer_list<uint32_t> colours) {
  TEmfWriter picture(width, height);
  picture.SelectObject(kStockNullPen);
  const auto bands = static_cast<int32_t>(colours.size());
  int32_t index = 0;
  for (const uint32_t rgb : colours) {
    const uint32_t brush = picture.CreateBrush(0, (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
    picture.SelectObject(brush);
    // A rectangle without a pen leaves out its right and bottom edges.
    picture.Rectangle(0, height * index / bands, width + 1, height * (index + 1) / bands + 1);
    picture.SelectObject(kStockNullBrush);
    picture.DeleteObject(brush);
    ++index;
  }
  return picture.Finish();
}

inline TMetafile MetafileOf(const std::vector<uint8_t>& bytes) {
  TMemoryStream in(bytes);
  TMetafile metafile;
  metafile.LoadFromStream(in);
  return metafile;
}

}  // namespace vellmar::test
