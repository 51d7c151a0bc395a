#include "items/signs/SvetoforPictureLib.h"

#include <algorithm>
#include <utility>

#include "platform/Error.h"
#include "platform/files/DataRoot.h"
#include "platform/files/DirectoryListing.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kMarkerColour = 0xFF0000;
constexpr uint32_t kKeyedOut = 0xFFFFFF;

TSvetoforPictureLib LoadDataDirectory(std::string_view cp1251Directory) {
  TSvetoforPictureLib library;
  if (const auto directory = ResolveDataPath(cp1251Directory))
    library.LoadDirectory(*directory, ReportWarning);
  return library;
}

}  // namespace

void TSvetoforPictureLib::LoadDirectory(const fs::path& directory, const TWarningSink& warn) {
  for (const fs::path& file : FilesWithExtension(directory, ".bmp")) {
    TBitmap bitmap;
    try {
      bitmap.LoadFromFile(file);
    } catch (const EVellmarError& e) {
      if (warn) warn(e.what());
      continue;
    }
    Add(Utf8ToCp1251(file.filename().string()), std::move(bitmap));
  }
}

void TSvetoforPictureLib::Add(std::string_view fileName, TBitmap bitmap) {
  TSvetoforPicture picture;
  const size_t dot = fileName.rfind('.');
  picture.Name = std::string(fileName.substr(0, dot));
  std::replace(picture.Name.begin(), picture.Name.end(), '_', '.');
  picture.Bitmap = std::move(bitmap);
  picture.Bitmap.SetPixelFormat(TPixelFormat::pf32bit);
  FindAnchor(picture.Bitmap, picture.AnchorX, picture.AnchorY);
  // The marker only says where the picture sits; on the plan it would be a red dot at
  // every head, so it takes the white that the pictures' textures key out.
  if (picture.Bitmap.GetPixel(picture.AnchorX, picture.AnchorY) == kMarkerColour)
    picture.Bitmap.SetPixel(picture.AnchorX, picture.AnchorY, kKeyedOut);
  pictures_.push_back(std::move(picture));
}

const TSvetoforPicture& TSvetoforPictureLib::Picture(int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw EVellmarError("TSvetoforPictureLib.Picture: index " + std::to_string(index) + " out of 0.." +
                        std::to_string(Count() - 1));
  }
  return pictures_[static_cast<size_t>(index)];
}

int32_t TSvetoforPictureLib::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < pictures_.size(); ++i) {
    if (pictures_[i].Name == name) return static_cast<int32_t>(i);
  }
  return -1;
}

void TSvetoforPictureLib::FindAnchor(const TBitmap& bitmap, int32_t& x, int32_t& y) {
  x = 0;
  y = 0;
  // From the bottom row up, the first row with a marker decides.
  for (int32_t row = bitmap.Height() - 1; row >= 0; --row) {
    for (int32_t column = 0; column < bitmap.Width(); ++column) {
      if (bitmap.GetPixel(column, row) == kMarkerColour) {
        x = column;
        y = row;
        return;
      }
    }
  }
}

TSvetoforPictureLib ReadSvetoforHeads() {
  return LoadDataDirectory("\\DataFiles\\Светофоры"_cp1251);
}

TSvetoforPictureLib ReadSvetoforSupports() {
  return LoadDataDirectory("\\DataFiles\\Светофоры\\Опоры"_cp1251);
}

const TSvetoforPictureLib& SvetoforHeads() {
  static const TSvetoforPictureLib library = ReadSvetoforHeads();
  return library;
}

const TSvetoforPictureLib& SvetoforSupports() {
  static const TSvetoforPictureLib library = ReadSvetoforSupports();
  return library;
}

}  // namespace vellmar
