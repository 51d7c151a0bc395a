#pragma once
// A library of traffic-light pictures: signal heads, or the supports they hang on. Each
// picture is a bitmap from the data files with a red marker pixel that says which of its
// pixels sits on the anchor point. A library owns its pictures; the program's two
// libraries are read on first use and live until the program ends.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WarningSink.h"
#include "platform/imaging/Bitmap.h"

namespace vellmar {

struct TSvetoforPicture {
  TBitmap Bitmap;  // 32 bits per pixel
  int32_t AnchorX = 0;
  int32_t AnchorY = 0;
  std::string Name;  // the file name without extension, "_" made ".", Windows-1251
};

class TSvetoforPictureLib {
 public:
  // Every "*.bmp" file of directory (see FilesWithExtension). A missing directory gives
  // an empty library; a file that does not read is left out and reported through warn.
  void LoadDirectory(const std::filesystem::path& directory, const TWarningSink& warn);
  // Adds the picture of a file name (with its extension): converts it to 32 bits, finds
  // its anchor and whitens the marker pixel there (white is keyed out on the plan).
  void Add(std::string_view fileName, TBitmap bitmap);

  int32_t Count() const { return static_cast<int32_t>(pictures_.size()); }
  const TSvetoforPicture& Picture(int32_t index) const;
  // The first picture named exactly name (letter case matters), or -1.
  int32_t IndexOfName(std::string_view name) const;

  // The leftmost pure red pixel (255, 0, 0) of the lowest row that has one, counted from
  // the top-left corner; (0, 0) when there is none.
  static void FindAnchor(const TBitmap& bitmap, int32_t& x, int32_t& y);

 private:
  std::vector<TSvetoforPicture> pictures_;
};

// The head pictures, "\DataFiles\Светофоры\*.bmp", read from the data root as it is now.
TSvetoforPictureLib ReadSvetoforHeads();
// The support pictures, "\DataFiles\Светофоры\Опоры\*.bmp", read from the data root as it is now.
TSvetoforPictureLib ReadSvetoforSupports();
// The program's head and support pictures: read on first use and kept until the program ends.
const TSvetoforPictureLib& SvetoforHeads();
const TSvetoforPictureLib& SvetoforSupports();

}  // namespace vellmar
