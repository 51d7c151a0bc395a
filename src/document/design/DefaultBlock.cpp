#include "document/design/DefaultBlock.h"

#include <string>

#include "platform/Error.h"
#include "platform/files/DataRoot.h"
#include "platform/text/Cp1251.h"

namespace vellmar {

namespace {

constexpr float kDefaultWidth = 1.5f;
constexpr float kDefaultHeight = 3.0f;
constexpr int32_t kPlaceholderSize = 16;

// White is transparent in block textures, so only the red frame and cross show: a
// picture nobody takes for a real symbol.
TBitmap PlaceholderPicture() {
  constexpr uint32_t white = 0xFFFFFF;
  constexpr uint32_t red = 0xFF0000;
  TBitmap bitmap(kPlaceholderSize, kPlaceholderSize, TPixelFormat::pf24bit);
  const int32_t last = kPlaceholderSize - 1;
  for (int32_t y = 0; y < kPlaceholderSize; ++y) {
    for (int32_t x = 0; x < kPlaceholderSize; ++x) {
      const bool edge = x == 0 || y == 0 || x == last || y == last;
      const bool diagonal = x == y || x == last - y;
      bitmap.SetPixel(x, y, edge || diagonal ? red : white);
    }
  }
  return bitmap;
}

}  // namespace

std::unique_ptr<TDsnBlockDef> MakeDefaultBlock(const std::optional<std::filesystem::path>& file,
                                               const TWarningSink& warn) {
  auto block = std::make_unique<TDsnBlockDef>();
  block->SetWidth(kDefaultWidth);
  block->SetHeight(kDefaultHeight);
  std::string problem;
  if (!file) {
    problem = std::string("Не найден файл "_cp1251) + "DefaultBlock.bmp";
  } else {
    try {
      TBitmap picture;
      picture.LoadFromFile(*file);
      block->SetBitmap(std::move(picture));
      return block;
    } catch (const EVellmarError& e) {
      problem = e.what();
    }
  }
  block->SetBitmap(PlaceholderPicture());
  if (warn) warn(problem + std::string(": блок по умолчанию заменён заглушкой."_cp1251));
  return block;
}

const TDsnBlockDef& DefaultBlock() {
  static const std::unique_ptr<TDsnBlockDef> block =
      MakeDefaultBlock(ResolveDataPath("\\DataFiles\\Текстуры\\DefaultBlock.bmp"_cp1251), ReportWarning);
  return *block;
}

}  // namespace vellmar
