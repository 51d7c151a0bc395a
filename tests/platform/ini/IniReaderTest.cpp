#include "platform/ini/IniReader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/text/Cp1251.h"
#include "support/TestSupport.h"

namespace vellmar {
namespace {

using Names = std::vector<std::string>;

TEST(IniReader, ReadsALibraryWithCyrillicSectionsCommentsAndCrLf) {
  constexpr std::string_view text =
      "; line markings\r\n"
      "\r\n"
      "[1.1]\r\n"
      "TextureFile = Сплошная.bmp\r\n"
      "Period=3\r\n"
      "Disp1= 0.05 \r\n"
      "Disp2=-0.05\r\n"
      "Yellow=1\r\n"
      "  ; Plastic=1\r\n"
      "[Стоп-линия]\r\n"
      "Description=\"  в кавычках ; не комментарий \"\r\n"
      "LineLoop1=0&0#1.5&0.2#\r\n"_cp1251;
  const TIniReader ini = TIniReader::FromText(text);

  EXPECT_EQ(ini.Sections(), (Names{"1.1", std::string("Стоп-линия"_cp1251)}));
  EXPECT_EQ(ini.Keys("1.1"), (Names{"TextureFile", "Period", "Disp1", "Disp2", "Yellow"}));
  EXPECT_EQ(ini.ReadString("1.1", "TextureFile"), "Сплошная.bmp"_cp1251);
  EXPECT_EQ(ini.ReadFloat("1.1", "Period"), 3.0);
  EXPECT_EQ(ini.ReadFloat("1.1", "Disp1"), 0.05);
  EXPECT_EQ(ini.ReadFloat("1.1", "Disp2"), -0.05);
  EXPECT_TRUE(ini.ReadBool("1.1", "Yellow"));
  EXPECT_FALSE(ini.ReadBool("1.1", "Plastic"));
  EXPECT_EQ(ini.Value("1.1", "Plastic"), std::nullopt);
  EXPECT_EQ(ini.ReadString("Стоп-линия"_cp1251, "Description"), "  в кавычках ; не комментарий "_cp1251);
  EXPECT_EQ(ini.ReadString("Стоп-линия"_cp1251, "LineLoop1"), "0&0#1.5&0.2#");
}

TEST(IniReader, NamesMatchInAnyCaseAndTheFirstOfTwoKeysWins) {
  const TIniReader ini = TIniReader::FromText(
      "[Стрелка]\nMirrorY=1\nmirrory=0\nGostSubName=1.18\n"
      "[Other]\nx=1\n"
      "[СТРЕЛКА]\nMIRRORY=5\nDescriptionLow=low\n"_cp1251);
  EXPECT_EQ(ini.Sections(), (Names{std::string("Стрелка"_cp1251), "Other"}));
  EXPECT_TRUE(ini.HasSection("стрелка"_cp1251));
  EXPECT_FALSE(ini.HasSection("Стрелк"_cp1251));
  EXPECT_EQ(ini.ReadInteger("стрелка"_cp1251, "MIRRORY"), 1);
  EXPECT_EQ(ini.Keys("Стрелка"_cp1251), (Names{"MirrorY", "GostSubName", "DescriptionLow"}));
  EXPECT_EQ(ini.ReadString("Стрелка"_cp1251, "descriptionlow"), "low");
  EXPECT_EQ(ini.ReadString("OTHER", "X"), "1");
}

TEST(IniReader, LineEndsStrayLinesAndBrokenHeaders) {
  const TIniReader ini = TIniReader::FromText(
      "orphan=1\n"
      "[a]\rone=1\r\n"
      "no equals sign\n"
      "two = x = y\n"
      "[broken\n"
      "three=3\n"
      "[ spaced ] trailing\n"
      "=empty key\n"
      "last=end");
  EXPECT_EQ(ini.Sections(), (Names{"a", "spaced"}));
  EXPECT_EQ(ini.Keys("a"), (Names{"one", "two", "three"}));
  EXPECT_EQ(ini.ReadString("a", "two"), "x = y");
  EXPECT_EQ(ini.ReadString("spaced", ""), "empty key");
  EXPECT_EQ(ini.ReadString("spaced", "last"), "end");
  EXPECT_EQ(ini.Value("a", "orphan"), std::nullopt);
  EXPECT_EQ(ini.Keys("missing"), Names{});
  EXPECT_TRUE(TIniReader::FromText("").Sections().empty());
}

TEST(IniReader, MalformedNumbersGiveTheFallback) {
  const TIniReader ini =
      TIniReader::FromText("[n]\nComma=1,5\nWord=abc\nEmpty=\nBig=99999999999\nHalf=2.5\nInt=-7\n");
  EXPECT_EQ(ini.ReadFloat("n", "Comma", -1), -1);
  EXPECT_EQ(ini.ReadFloat("n", "Word"), 0);
  EXPECT_EQ(ini.ReadFloat("n", "Empty", 4), 4);
  EXPECT_EQ(ini.ReadFloat("n", "Half"), 2.5);
  EXPECT_EQ(ini.ReadFloat("n", "Missing", 9), 9);
  EXPECT_EQ(ini.ReadInteger("n", "Big", 3), 3);
  EXPECT_EQ(ini.ReadInteger("n", "Half", 3), 3);
  EXPECT_EQ(ini.ReadInteger("n", "Int"), -7);
  EXPECT_FALSE(ini.ReadBool("n", "Word"));
  EXPECT_TRUE(ini.ReadBool("n", "Int"));
  EXPECT_TRUE(ini.ReadBool("n", "Missing", true));
}

TEST(IniReader, FileIsReadAsBytesAndAMissingFileIsReported) {
  test::TempDir dir;
  std::ofstream(dir / "ArrowRazmet.std", std::ios::binary) << "[Прямо]\r\nLineLoop1=0&0#\r\n"_cp1251;
  const auto ini = TIniReader::FromFile(dir / "ArrowRazmet.std");
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(ini->Sections(), (Names{std::string("Прямо"_cp1251)}));
  EXPECT_EQ(TIniReader::FromFile(dir / "absent.std"), std::nullopt);
  EXPECT_EQ(TIniReader::FromFile(dir.Path()), std::nullopt);
}

}  // namespace
}  // namespace vellmar
