#include "export/DxfExport.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <string>

#include "document/AbstractItem.h"
#include "document/StreetStructure.h"
#include "geometry/Vector.h"
#include "items/road/ArrowLibrary.h"
#include "items/road/ArrowRazmetItem.h"
#include "items/text/TextLabelItem.h"
#include "platform/MemoryStream.h"
#include "platform/Stream.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"
#include "render/DxPrimCollection.h"

namespace vellmar {

namespace {

// A plate without a picture is drawn as a square this big (metres).
constexpr double kPlainPlate = 0.7;
// Text labels: the font's em is Size / 15.625 metres.
constexpr double kLabelEm = 15.625;
constexpr double kDefaultTextHeight = 0.5;
constexpr size_t kFlushBytes = 1 << 20;

// The standard colours a layer can be given: the hues of the colour wheel, and greys.
struct TAciHue {
  int Index;
  double Hue;  // degrees
};
constexpr TAciHue kHues[] = {{1, 0}, {30, 30}, {2, 60}, {3, 120}, {4, 180}, {5, 240}, {6, 300}, {1, 360}};
// Below this spread of the channels a colour reads as a grey.
constexpr int kGreySpread = 24;

// Group codes and values in their lines, flushed to the stream in large pieces.
class TDxfOut {
 public:
  explicit TDxfOut(TStream& stream) : stream_(stream) {}
  ~TDxfOut() = default;
  TDxfOut(const TDxfOut&) = delete;
  TDxfOut& operator=(const TDxfOut&) = delete;

  void Code(int code, std::string_view value) {
    text_ += std::to_string(code);
    text_ += '\n';
    text_ += value;
    text_ += '\n';
    if (text_.size() >= kFlushBytes) Flush();
  }
  void Number(int code, double value) { Code(code, FormatGeneral(value + 0.0)); }
  void Integer(int code, int value) { Code(code, std::to_string(value)); }
  void Point(int code, double x, double y) {
    Number(code, x);
    Number(code + 10, y);
    Number(code + 20, 0.0);
  }
  void Flush() {
    stream_.Write(text_.data(), text_.size());
    text_.clear();
  }

 private:
  TStream& stream_;
  std::string text_;
};

// Block names hold letters, digits, dots, dashes and underscores only.
std::string BlockSafe(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                       c == '-' || c == '_';
    out += plain ? c : '_';
  }
  return out.empty() ? std::string("_") : out;
}

double Angle(const TXYZ& from, const TXYZ& to) {
  return std::atan2(double{to.y} - from.y, double{to.x} - from.x) * 180.0 / std::numbers::pi;
}

void Polyline(TDxfOut& out, const std::string& layer, const TXYZArray& points, bool closed) {
  if (points.size() < 2) return;
  size_t count = points.size();
  if (closed && count > 2 && XYZEqual(points.front(), points.back())) --count;
  out.Code(0, "POLYLINE");
  out.Code(8, layer);
  out.Integer(66, 1);
  out.Point(10, 0, 0);
  out.Integer(70, closed ? 1 : 0);
  for (size_t i = 0; i < count; ++i) {
    out.Code(0, "VERTEX");
    out.Code(8, layer);
    out.Point(10, points[i].x, points[i].y);
  }
  out.Code(0, "SEQEND");
  out.Code(8, layer);
}

void Text(TDxfOut& out, const std::string& layer, double x, double y, double height, double rotation,
          const std::string& utf8, bool centred) {
  if (utf8.empty()) return;
  out.Code(0, "TEXT");
  out.Code(8, layer);
  out.Point(10, x, y);
  out.Number(40, height);
  out.Code(1, Utf8ToCp1251(utf8));
  if (rotation != 0.0) out.Number(50, rotation);
  if (centred) {
    out.Integer(72, 1);
    out.Integer(73, 2);
    out.Point(11, x, y);
  }
}

void Insert(TDxfOut& out, const std::string& layer, const std::string& block, const TXYZ& at, double scale,
            double rotation) {
  out.Code(0, "INSERT");
  out.Code(8, layer);
  out.Code(2, block);
  out.Point(10, at.x, at.y);
  if (scale != 1.0) {
    out.Number(41, scale);
    out.Number(42, scale);
    out.Number(43, scale);
  }
  if (rotation != 0.0) out.Number(50, rotation);
}

// A block's drawing in its own frame, and the size its first user gave it.
struct TBlock {
  std::string Name;
  TXYZArray Outline;  // closed
  std::string Number;
  double Width = 1.0;
};

// What goes into the blocks section, each block made once however often it is inserted.
class TBlocks {
 public:
  // The block of a sign plate of the number, made with this width and height when new.
  const TBlock& Plate(const std::string& number, double width, double height) {
    const std::string name = "SIGN_" + BlockSafe(number);
    auto [at, added] = blocks_.try_emplace(name);
    if (added) {
      at->second = TBlock{name, {{0, 0, 0}, {float(width), 0, 0}, {float(width), float(height), 0}, {0, float(height), 0}},
                          number, width};
    }
    return at->second;
  }
  const TBlock& Arrow(int32_t index, const TArrowType& type, bool big) {
    const std::string name = "ARROW_" + std::to_string(index) + (big ? "_BIG" : "");
    auto [at, added] = blocks_.try_emplace(name);
    if (added) {
      TBlock block{name, (big ? type.Big : type.Normal).Points, {}, 1.0};
      if (type.MirrorY) {
        for (TXYZ& p : block.Outline) p.y = -p.y;
      }
      at->second = std::move(block);
    }
    return at->second;
  }
  const std::map<std::string, TBlock>& All() const { return blocks_; }

 private:
  std::map<std::string, TBlock> blocks_;
};

int LayerColour(TStreetStructure& street, int32_t kind) {
  const TDxPrimCollections& collections = street.KindCollections(kind);
  if (collections.empty()) return 7;
  return NearestAci(collections[0]->Color() & 0xFFFFFF);
}

void SignPlates(TDxfOut& out, TBlocks& blocks, const std::string& layer, const TExportFeature& feature) {
  for (const TFeaturePlate& plate : feature.Plates) {
    if (plate.Outline) {
      const auto& c = *plate.Outline;
      const double width = std::hypot(double{c[1].x} - c[0].x, double{c[1].y} - c[0].y);
      const double height = std::hypot(double{c[3].x} - c[0].x, double{c[3].y} - c[0].y);
      const TBlock& block = blocks.Plate(plate.Number, width, height);
      Insert(out, layer, block.Name, c[0], block.Width > 0 ? width / block.Width : 1.0, Angle(c[0], c[1]));
    } else {
      const TBlock& block = blocks.Plate(plate.Number, kPlainPlate, kPlainPlate);
      const TXYZ& at = feature.Parts[0][0];
      Insert(out, layer, block.Name, TXYZ{float(at.x - kPlainPlate / 2), float(at.y - kPlainPlate / 2), 0},
             kPlainPlate / block.Width, 0.0);
    }
  }
}

void Arrows(TDxfOut& out, TBlocks& blocks, const std::string& layer, TArrowRazmetItem& item) {
  const int32_t index = item.ArrowIndex();
  if (index < 0 || index >= ArrowLibrary().Count()) return;
  const TBlock& block = blocks.Arrow(index, ArrowLibrary().Type(index), item.Street().ArrowBig());
  TPointList& points = item.Points();
  for (int32_t i = 0; i + 1 < points.Count(); ++i) {
    Insert(out, layer, block.Name, points.GetVertex(i), 1.0, Angle(points.GetVertex(i), points.GetVertex(i + 1)));
  }
}

void Entities(TDxfOut& out, TBlocks& blocks, const TKindFeatures& kind) {
  const std::string& layer = kind.Ident;
  for (const TExportFeature& feature : kind.Features) {
    if (!feature.Plates.empty()) {
      const TXYZ& at = feature.Parts[0][0];
      out.Code(0, "POINT");
      out.Code(8, layer);
      out.Point(10, at.x, at.y);
      SignPlates(out, blocks, layer, feature);
      continue;
    }
    if (auto* arrows = dynamic_cast<TArrowRazmetItem*>(feature.Item)) {
      Arrows(out, blocks, layer, *arrows);
      continue;
    }
    switch (feature.Shape) {
      case TFeatureShape::Point: {
        const TXYZ& at = feature.Parts[0][0];
        if (!feature.Text.empty()) {
          const auto* label = dynamic_cast<const TTextLabelItem*>(feature.Item);
          const double height = label != nullptr && label->Size() > 0 ? label->Size() / kLabelEm : kDefaultTextHeight;
          Text(out, layer, at.x, at.y, height, feature.Rotation, feature.Text, false);
        } else {
          out.Code(0, "POINT");
          out.Code(8, layer);
          out.Point(10, at.x, at.y);
          if (feature.Rotation != 0.0) out.Number(50, feature.Rotation);
        }
        break;
      }
      case TFeatureShape::Lines:
        for (const TXYZArray& part : feature.Parts) Polyline(out, layer, part, false);
        break;
      case TFeatureShape::Area:
        for (const TXYZArray& part : feature.Parts) Polyline(out, layer, part, true);
        break;
    }
  }
}

void Extents(TDxfOut& out, const std::vector<TKindFeatures>& kinds) {
  double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
  for (const TKindFeatures& kind : kinds) {
    for (const TExportFeature& feature : kind.Features) {
      for (const TXYZArray& part : feature.Parts) {
        for (const TXYZ& p : part) {
          minX = std::min(minX, double{p.x});
          minY = std::min(minY, double{p.y});
          maxX = std::max(maxX, double{p.x});
          maxY = std::max(maxY, double{p.y});
        }
      }
    }
  }
  if (minX > maxX) minX = minY = maxX = maxY = 0.0;
  out.Code(9, "$EXTMIN");
  out.Point(10, minX, minY);
  out.Code(9, "$EXTMAX");
  out.Point(10, maxX, maxY);
}

}  // namespace

int NearestAci(uint32_t rgb) {
  const int r = static_cast<int>((rgb >> 16) & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
            b = static_cast<int>(rgb & 0xFF);
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  if (high - low < kGreySpread) {
    // Black and white both show as the foreground colour of the reader's ground.
    if (high < 40 || low > 230) return 7;
    return high < 110 ? 250 : high < 160 ? 8 : 9;
  }
  // Pale tints (a lawn's light green) keep their hue: the layer is known by it.
  const double spread = high - low;
  double hue = high == r ? 60.0 * (g - b) / spread : high == g ? 120.0 + 60.0 * (b - r) / spread
                                                               : 240.0 + 60.0 * (r - g) / spread;
  if (hue < 0) hue += 360.0;
  int best = 7;
  double bestDistance = 1e9;
  for (const TAciHue& entry : kHues) {
    if (std::abs(entry.Hue - hue) < bestDistance) {
      bestDistance = std::abs(entry.Hue - hue);
      best = entry.Index;
    }
  }
  return best;
}

void WriteDxf(TStreetStructure& street, const std::vector<TKindFeatures>& kinds, TStream& stream) {
  TDxfOut out(stream);
  // The entities come first into a buffer of their own: writing them names the blocks.
  TMemoryStream entityBytes;
  TBlocks blocks;
  {
    TDxfOut entities(entityBytes);
    for (const TKindFeatures& kind : kinds) Entities(entities, blocks, kind);
    entities.Flush();
  }

  out.Code(0, "SECTION");
  out.Code(2, "HEADER");
  out.Code(9, "$ACADVER");
  out.Code(1, "AC1009");
  out.Code(9, "$DWGCODEPAGE");
  out.Code(3, "ANSI_1251");
  out.Code(9, "$INSUNITS");
  out.Integer(70, 6);
  out.Code(9, "$MEASUREMENT");
  out.Integer(70, 1);
  Extents(out, kinds);
  out.Code(0, "ENDSEC");

  out.Code(0, "SECTION");
  out.Code(2, "TABLES");
  out.Code(0, "TABLE");
  out.Code(2, "LTYPE");
  out.Integer(70, 1);
  out.Code(0, "LTYPE");
  out.Code(2, "CONTINUOUS");
  out.Integer(70, 0);
  out.Code(3, "Solid line");
  out.Integer(72, 65);
  out.Integer(73, 0);
  out.Number(40, 0.0);
  out.Code(0, "ENDTAB");
  out.Code(0, "TABLE");
  out.Code(2, "LAYER");
  out.Integer(70, static_cast<int>(kinds.size()) + 1);
  out.Code(0, "LAYER");
  out.Code(2, "0");
  out.Integer(70, 0);
  out.Integer(62, 7);
  out.Code(6, "CONTINUOUS");
  for (const TKindFeatures& kind : kinds) {
    out.Code(0, "LAYER");
    out.Code(2, kind.Ident);
    out.Integer(70, 0);
    out.Integer(62, LayerColour(street, kind.Kind));
    out.Code(6, "CONTINUOUS");
  }
  out.Code(0, "ENDTAB");
  out.Code(0, "TABLE");
  out.Code(2, "STYLE");
  out.Integer(70, 1);
  out.Code(0, "STYLE");
  out.Code(2, "STANDARD");
  out.Integer(70, 0);
  out.Number(40, 0.0);
  out.Number(41, 1.0);
  out.Number(50, 0.0);
  out.Integer(71, 0);
  out.Number(42, 1.0);
  out.Code(3, "txt");
  out.Code(4, "");
  out.Code(0, "ENDTAB");
  out.Code(0, "ENDSEC");

  out.Code(0, "SECTION");
  out.Code(2, "BLOCKS");
  for (const auto& [name, block] : blocks.All()) {
    out.Code(0, "BLOCK");
    out.Code(8, "0");
    out.Code(2, name);
    out.Integer(70, 0);
    out.Point(10, 0, 0);
    out.Code(3, name);
    // Outlines in blocks as single lines: readers tie a polyline's end marker to the
    // model space, not to the block it closes.
    for (size_t i = 0; i < block.Outline.size(); ++i) {
      const TXYZ& a = block.Outline[i];
      const TXYZ& b = block.Outline[(i + 1) % block.Outline.size()];
      out.Code(0, "LINE");
      out.Code(8, "0");
      out.Point(10, a.x, a.y);
      out.Point(11, b.x, b.y);
    }
    if (!block.Number.empty() && block.Outline.size() >= 3) {
      const TXYZ& far = block.Outline[2];
      Text(out, "0", far.x / 2, far.y / 2, std::max(0.05, far.y * 0.25), 0.0, block.Number, true);
    }
    out.Code(0, "ENDBLK");
    out.Code(8, "0");
  }
  out.Code(0, "ENDSEC");

  out.Code(0, "SECTION");
  out.Code(2, "ENTITIES");
  out.Flush();
  stream.Write(entityBytes.Bytes().data(), entityBytes.Bytes().size());
  out.Code(0, "ENDSEC");
  out.Code(0, "EOF");
  out.Flush();
}

}  // namespace vellmar
