#pragma once
// A picture in one of the Windows metafile formats, held as the exact bytes it was
// read from: an enhanced metafile, a placeable Windows metafile (the 22-byte header
// with the 0x9AC6CDD7 key, then a Windows metafile) or a plain Windows metafile.
// Metafiles sit inside street files with no length of their own, so the length is
// always the one the metafile's own header gives and the stream is left right behind
// it; the bytes are written back unchanged. A metafile owns its bytes.
//
// Sizes. Width and Height are in reference pixels of 1/96 inch, the unit pictures
// are measured in by their users (scaling a picture item, sizing a sign texture);
// MMWidth and MMHeight are the physical size in 0.01 mm. Where they come from:
//  - enhanced: rclFrame, the picture frame its creator declared in 0.01 mm. It holds
//    the intended extent with its margins and does not depend on the resolution of
//    the device the picture was recorded on. rclBounds (the inclusive pixel box of
//    what was actually drawn on that device) is used only when the frame is empty
//    or inverted, converted to 0.01 mm through szlDevice / szlMillimeters;
//  - placeable: the bounding box in metafile units and the units per inch;
//  - plain Windows: the format records no physical size. The extent of the first
//    SetWindowExt record is taken as the size in pixels (the picture's logical
//    window is what players stretch over the target); without one both are 0.
// A size that cannot be known (no SetWindowExt, a placeable header with 0 units per
// inch) is 0, which callers treat as "unknown".

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vellmar {

class TStream;

enum class TMetafileFormat : uint8_t { Empty, Enhanced, Placeable, Windows };

// One record: its type (EMR_* or META_* function number) and its whole bytes.
struct TMetafileRecord {
  uint32_t Type = 0;
  std::span<const uint8_t> Bytes;
};

class TMetafile {
 public:
  static constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  static constexpr uint32_t kEnhancedSignature = 0x464D4520;  // " EMF"
  static constexpr std::size_t kEnhancedHeaderSize = 88;
  static constexpr std::size_t kPlaceableHeaderSize = 22;
  static constexpr std::size_t kWindowsHeaderSize = 18;

  TMetafile() = default;

  // Reads one metafile at the stream's position, exactly as long as its header says,
  // and leaves the stream behind it. A header that is not a metafile's, or a length
  // that runs past the stream, raises "TMetafile.LoadFromStream: ..." (the stream
  // position is then unspecified) and leaves this metafile unchanged.
  void LoadFromStream(TStream& stream);
  // Writes the bytes as they were read; an empty metafile writes nothing.
  void SaveToStream(TStream& stream) const;
  // A metafile file from its start; bytes after the metafile's own length are
  // padding some writers leave and are not kept.
  void LoadFromFile(const std::filesystem::path& path);
  void Clear();

  bool Empty() const { return bytes_.empty(); }
  TMetafileFormat Format() const { return format_; }
  std::span<const uint8_t> Bytes() const { return bytes_; }

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t MMWidth() const { return mmWidth_; }
  int32_t MMHeight() const { return mmHeight_; }

  // The records after the header (a placeable metafile's Windows header counts as
  // the header), in order, up to and including the end record. A record whose size
  // is impossible or runs past the end ends the list: players draw what precedes it.
  std::vector<TMetafileRecord> Records() const;

  // Equal bytes, the comparison a library of pictures finds duplicates by.
  friend bool operator==(const TMetafile& a, const TMetafile& b) { return a.bytes_ == b.bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  TMetafileFormat format_ = TMetafileFormat::Empty;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t mmWidth_ = 0;
  int32_t mmHeight_ = 0;
};

}  // namespace vellmar
