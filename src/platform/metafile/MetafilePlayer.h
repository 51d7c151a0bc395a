#pragma once
// Playing a metafile into a bitmap, the way sign pictures become textures: a 32-bit
// bitmap filled with magenta (the colour textures treat as transparent), the picture
// stretched into the rectangle one pixel inside the edge, and a one-pixel magenta
// frame round the whole bitmap so that clamped sampling stays transparent at the edge.
//
// Enhanced and Windows metafiles go through one GDI state machine drawing onto a Cairo
// image surface. Records the player does not know, and records whose contents are
// damaged, are skipped and counted; a damaged metafile never stops playback.
// The returned bitmap owns its pixels; the player keeps nothing of the metafile.

#include <cstdint>

#include "platform/imaging/Bitmap.h"
#include "platform/metafile/Metafile.h"

namespace vellmar {

struct TMetafilePlayback {
  int Played = 0;   // records drawn or taken into the state
  int Skipped = 0;  // unknown records and records too damaged to play
};

// The largest side a played bitmap may have; larger sizes raise.
inline constexpr int kMaxPlaybackSide = 4096;

// The metafile stretched into a new pf32bit bitmap of width x height pixels (each
// 3 ... kMaxPlaybackSide; other sizes raise EVellmarError). An empty metafile gives
// the magenta bitmap. Every pixel's alpha is 255.
TBitmap PlayMetafile(const TMetafile& picture, int width, int height, TMetafilePlayback* report = nullptr);

// The texture side for a picture extent in metafile units (TMetafile::Width or
// Height): 256, 512 above 1000 units, 1024 above 3000.
int MetafileTextureSide(int32_t units);

}  // namespace vellmar
