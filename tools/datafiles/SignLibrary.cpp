#include "SignLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "SignDrawing.h"
#include "SignPictograms.h"
#include "platform/Error.h"
#include "platform/metafile/MetafilePlayer.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Numbers.h"

namespace vellmar {

namespace {

namespace fs = std::filesystem;

// How much of its box a sign face covers, for the areas file.
constexpr double kTriangleShare = 0.5, kRoundShare = std::numbers::pi / 4, kFullShare = 1,
                 kDiamondShare = 0.5, kOctagonShare = 0.8284;

struct TSign {
  const char* File;         // UTF-8 file name in the library
  const char* Description;  // UTF-8
  double Share;             // of the picture's box
  std::function<TSignPicture()> Draw;
  bool Windows = false;  // written as a placeable Windows metafile
};

TSignPicture Warning(const TSignPicture& pictogram, bool mirror = false, double scale = 0.42) {
  TSignPicture p = WarningTriangle();
  p.Place(pictogram, 450, 530, scale, mirror);
  return p;
}

TSignPicture Prohibition(const TSignPicture& pictogram, bool mirror = false, double scale = 0.4) {
  TSignPicture p = RoundSign();
  p.Place(pictogram, 350, 350, scale, mirror);
  return p;
}

// A red bar from top left to bottom right across a round sign.
void Slash(TSignPicture& p, TColorRef color = kSignRed) { p.Stroke(color, 60, {{150, 150}, {550, 550}}); }

TSignPicture Prohibition(const TSignPicture& pictogram, bool mirror, bool slashed) {
  TSignPicture p = Prohibition(pictogram, mirror);
  if (slashed) Slash(p);
  return p;
}

TSignPicture Mandatory(const TSignPicture& pictogram, bool mirror = false, double scale = 0.44) {
  TSignPicture p = RoundSign(kSignBlue, false);
  p.Place(pictogram, 350, 350, scale, mirror);
  return p;
}

TSignPicture BlueSquare(const TSignPicture& pictogram, bool mirror = false, double scale = 0.5) {
  TSignPicture p = SquareSign(kSignBlue);
  p.Place(pictogram, 350, 350, scale, mirror);
  return p;
}

TSignPicture SpeedLimit(const char* number) {
  TSignPicture p = RoundSign();
  p.Text(kSignBlack, 350, 440, 270, number);
  return p;
}

TSignPicture EndOfLimit(const char* number) {
  TSignPicture p = RoundSign(kSignWhite, false);
  p.Disc(kSignBlack, 350, 350, 345);
  p.Disc(kSignWhite, 350, 350, 335);
  p.Text(kSignGrey, 350, 440, 270, number);
  for (double d : {-60.0, -30.0, 0.0, 30.0, 60.0}) p.Stroke(kSignBlack, 10, {{130 + d, 130 - d}, {570 + d, 570 - d}});
  return p;
}

TSignPicture NoStopping(bool cross) {
  TSignPicture p = RoundSign(kSignBlue);
  p.Stroke(kSignRed, 60, {{150, 150}, {550, 550}});
  if (cross) p.Stroke(kSignRed, 60, {{550, 150}, {150, 550}});
  return p;
}

TSignPicture MainRoad(bool ended) {
  TSignPicture p(700, 700);
  p.Fill(kSignBlack, Rounded({{350, 0}, {700, 350}, {350, 700}, {0, 350}}, 30));
  p.Fill(kSignWhite, Rounded({{350, 12}, {688, 350}, {350, 688}, {12, 350}}, 25));
  p.Fill(kSignYellow, Rounded({{350, 110}, {590, 350}, {350, 590}, {110, 350}}, 15));
  if (ended) {
    // Stripes across the yellow square only, whose edge the line x - y = 2d meets
    // 120 units either side of the centre.
    for (double d : {-60.0, -20.0, 20.0, 60.0}) p.Stroke(kSignBlack, 12, {{236 + d, 236 - d}, {464 + d, 464 - d}});
  }
  return p;
}

TSignPicture Stop() {
  TSignPicture p(700, 700);
  p.Fill(kSignWhite, RegularPolygon(350, 350, 378, 8, std::numbers::pi / 8));
  p.Fill(kSignRed, RegularPolygon(350, 350, 362, 8, std::numbers::pi / 8));
  p.Text(kSignWhite, 350, 420, 200, "STOP");
  return p;
}

TSignPicture GiveWay() { return WarningTriangle(true); }

TSignPicture OncomingPriority(bool ours) {
  TSignPicture p = ours ? SquareSign(kSignBlue) : RoundSign();
  p.Arrow(ours ? kSignWhite : kSignBlack, 55, {{270, 560}, {270, 140}}, 120, 160);
  p.Arrow(kSignRed, 55, {{430, 140}, {430, 560}}, 120, 160);
  return p;
}

TSignPicture NoEntry() {
  TSignPicture p(700, 700);
  p.Disc(kSignWhite, 350, 350, 350);
  p.Disc(kSignRed, 350, 350, 340);
  p.Fill(kSignWhite, {{110, 300}, {590, 300}, {590, 400}, {110, 400}});
  return p;
}

TSignPicture NoOvertaking() {
  TSignPicture p = RoundSign();
  TSignPicture red = Car(kSignRed);
  p.Place(red, 225, 350, 0.27);
  p.Place(Car(kSignBlack), 475, 350, 0.27);
  return p;
}

TSignPicture AllLimitsEnd() {
  TSignPicture p = RoundSign(kSignWhite, false);
  p.Disc(kSignBlack, 350, 350, 345);
  p.Disc(kSignWhite, 350, 350, 335);
  for (double d : {-60.0, -30.0, 0.0, 30.0, 60.0}) p.Stroke(kSignBlack, 12, {{130 + d, 130 - d}, {570 + d, 570 - d}});
  return p;
}

// The walking figure on the zebra's stripes, as the crossing signs show it.
TSignPicture PedestrianOnZebra() {
  TSignPicture crossing(1000, 1000);
  for (double x : {160.0, 420.0, 680.0}) crossing.Fill(kSignBlack, {{x, 880}, {x + 160, 880}, {x + 200, 960}, {x + 40, 960}});
  crossing.Place(Pedestrian(kSignBlack), 520, 440, 0.85);
  return crossing;
}

TSignPicture PedestrianCrossing(bool mirror) {
  TSignPicture p = SquareSign(kSignBlue);
  p.Fill(kSignWhite, Rounded({{350, 90}, {630, 580}, {70, 580}}, 20));
  p.Place(PedestrianOnZebra(), 350, 420, 0.3, mirror);
  return p;
}

TSignPicture BlueSquareBump() {
  TSignPicture p = SquareSign(kSignBlue);
  p.Fill(kSignWhite, Rounded({{350, 90}, {630, 580}, {70, 580}}, 20));
  p.Place(SpeedBump(kSignBlack), 350, 440, 0.3);
  return p;
}

TSignPicture OneWay(bool ended) {
  TSignPicture p = BlueSquare(ArrowUp(kSignWhite), false, 0.55);
  if (ended) p.Stroke(kSignRed, 50, {{560, 140}, {140, 560}});
  return p;
}

TSignPicture Settlement(bool ended) {
  TSignPicture p = SquareSign(kSignWhite, 900, 450);
  p.Fill(kSignBlack, Rounded({{0, 0}, {900, 0}, {900, 450}, {0, 450}}, 30));
  p.Fill(kSignWhite, Rounded({{14, 14}, {886, 14}, {886, 436}, {14, 436}}, 20));
  p.Text(kSignBlack, 450, 275, 150, "Ивановка");
  if (ended) p.Stroke(kSignRed, 40, {{60, 400}, {840, 50}});
  return p;
}

TSignPicture Letter(const char* text, TColorRef face = kSignBlue) {
  TSignPicture p = SquareSign(face);
  p.Text(kSignWhite, 350, 540, 520, text);
  return p;
}

TSignPicture Service(const std::function<void(TSignPicture&)>& inside) {
  TSignPicture p = SquareSign(kSignBlue, 700, 1050);
  p.Fill(kSignWhite, Rounded({{90, 90}, {610, 90}, {610, 610}, {90, 610}}, 20));
  inside(p);
  return p;
}

TSignPicture DistancePlate(const char* text, bool zone) {
  TSignPicture p = Plate();
  p.Text(kSignBlack, zone ? 400 : 350, 230, std::min(150.0, 1000.0 / std::strlen(text)), text);
  if (zone) {
    p.Arrow(kSignBlack, 18, {{120, 175}, {120, 50}}, 60, 70);
    p.Arrow(kSignBlack, 18, {{120, 175}, {120, 300}}, 60, 70);
  }
  return p;
}

TSignPicture ObstaclePlate() {
  TSignPicture p(250, 700);
  p.Fill(kSignBlack, {{0, 0}, {250, 0}, {250, 700}, {0, 700}});
  p.Fill(kSignWhite, {{10, 10}, {240, 10}, {240, 690}, {10, 690}});
  for (double y = -200; y < 700; y += 140) {
    p.Fill(kSignBlack, {{10, std::max(10.0, y)}, {240, std::max(10.0, y + 230)}, {240, std::min(690.0, y + 300)},
                        {10, std::min(690.0, y + 70)}});
  }
  return p;
}

TSignPicture MissingSign() {
  TSignPicture p(700, 700);
  p.Fill(kSignGrey, Rounded({{0, 0}, {700, 0}, {700, 700}, {0, 700}}, 40));
  p.Fill(kSignWhite, Rounded({{20, 20}, {680, 20}, {680, 680}, {20, 680}}, 30));
  p.Text(kSignRed, 350, 420, 400, "?");
  p.Text(kSignBlack, 350, 600, 90, "Нет знака");
  return p;
}

const std::vector<TSign>& Signs() {
  static const std::vector<TSign> signs = {
      {"1-01.emf", "Железнодорожный переезд со шлагбаумом", kTriangleShare, [] { return Warning(Fence(kSignBlack)); }},
      {"1-02.emf", "Железнодорожный переезд без шлагбаума", kTriangleShare, [] { return Warning(Locomotive(kSignBlack)); }},
      {"1-08.emf", "Светофорное регулирование", kTriangleShare, [] { return Warning(TrafficLights()); }},
      {"1-11-1.emf", "Опасный поворот направо", kTriangleShare, [] { return Warning(Bend(kSignBlack)); }},
      {"1-11-2.emf", "Опасный поворот налево", kTriangleShare, [] { return Warning(Bend(kSignBlack), true); }},
      {"1-12-1.emf", "Опасные повороты с первым поворотом направо", kTriangleShare,
       [] { return Warning(DoubleBend(kSignBlack), true); }},
      {"1-12-2.emf", "Опасные повороты с первым поворотом налево", kTriangleShare,
       [] { return Warning(DoubleBend(kSignBlack)); }},
      {"1-13.emf", "Крутой спуск", kTriangleShare, [] { return Warning(Slope(kSignBlack, true)); }},
      {"1-14.emf", "Крутой подъём", kTriangleShare, [] { return Warning(Slope(kSignBlack, false)); }},
      {"1-15.emf", "Скользкая дорога", kTriangleShare, [] { return Warning(SlipperyCar(kSignBlack)); }},
      {"1-16.emf", "Неровная дорога", kTriangleShare, [] { return Warning(Bumps(kSignBlack)); }},
      {"1-17.emf", "Искусственная неровность", kTriangleShare, [] { return Warning(SpeedBump(kSignBlack)); }},
      {"1-20-1.emf", "Сужение дороги", kTriangleShare, [] { return Warning(Narrowing(kSignBlack, true)); }},
      {"1-20-2.emf", "Сужение дороги справа", kTriangleShare, [] { return Warning(Narrowing(kSignBlack, false), true); }},
      {"1-20-3.emf", "Сужение дороги слева", kTriangleShare, [] { return Warning(Narrowing(kSignBlack, false)); }},
      {"1-21.emf", "Двустороннее движение", kTriangleShare, [] { return Warning(TwoWay(kSignBlack)); }},
      {"1-22.emf", "Пешеходный переход", kTriangleShare, [] { return Warning(PedestrianOnZebra()); }},
      {"1-23.emf", "Дети", kTriangleShare, [] { return Warning(Children(kSignBlack)); }},
      {"1-24.emf", "Пересечение с велосипедной дорожкой", kTriangleShare, [] { return Warning(Bicycle(kSignBlack)); }},
      {"1-25.emf", "Дорожные работы", kTriangleShare, [] { return Warning(Worker(kSignBlack)); }},
      {"1-33.wmf", "Прочие опасности", kTriangleShare, [] { return Warning(Exclamation(kSignBlack)); }, true},
      {"2-01.emf", "Главная дорога", kDiamondShare, [] { return MainRoad(false); }},
      {"2-02.emf", "Конец главной дороги", kDiamondShare, [] { return MainRoad(true); }},
      {"2-03-1.emf", "Пересечение со второстепенной дорогой", kTriangleShare, [] { return Warning(Crossroad(kSignBlack)); }},
      {"2-04.wmf", "Уступите дорогу", kTriangleShare, [] { return GiveWay(); }, true},
      {"2-05.emf", "Движение без остановки запрещено", kOctagonShare, [] { return Stop(); }},
      {"2-06.emf", "Преимущество встречного движения", kRoundShare, [] { return OncomingPriority(false); }},
      {"2-07.emf", "Преимущество перед встречным движением", kFullShare, [] { return OncomingPriority(true); }},
      {"3-01.emf", "Въезд запрещён", kRoundShare, [] { return NoEntry(); }},
      {"3-02.wmf", "Движение запрещено", kRoundShare, [] { return RoundSign(); }, true},
      {"3-04.emf", "Движение грузовых автомобилей запрещено", kRoundShare, [] { return Prohibition(Truck(kSignBlack)); }},
      {"3-09.emf", "Движение на велосипедах запрещено", kRoundShare, [] { return Prohibition(Bicycle(kSignBlack)); }},
      {"3-10.emf", "Движение пешеходов запрещено", kRoundShare,
       [] { return Prohibition(Pedestrian(kSignBlack), false, true); }},
      {"3-18-1.emf", "Поворот направо запрещён", kRoundShare,
       [] { return Prohibition(ArrowRight(kSignBlack), false, true); }},
      {"3-18-2.emf", "Поворот налево запрещён", kRoundShare,
       [] { return Prohibition(ArrowRight(kSignBlack), true, true); }},
      {"3-19.emf", "Разворот запрещён", kRoundShare, [] { return Prohibition(UTurn(kSignBlack), false, true); }},
      {"3-20.emf", "Обгон запрещён", kRoundShare, [] { return NoOvertaking(); }},
      {"3-24_20.emf", "Ограничение максимальной скорости 20 км/ч", kRoundShare, [] { return SpeedLimit("20"); }},
      {"3-24_40.emf", "Ограничение максимальной скорости 40 км/ч", kRoundShare, [] { return SpeedLimit("40"); }},
      {"3-24_60.emf", "Ограничение максимальной скорости 60 км/ч", kRoundShare, [] { return SpeedLimit("60"); }},
      {"3-25_40.emf", "Конец зоны ограничения максимальной скорости 40 км/ч", kRoundShare,
       [] { return EndOfLimit("40"); }},
      {"3-27.emf", "Остановка запрещена", kRoundShare, [] { return NoStopping(true); }},
      {"3-28.emf", "Стоянка запрещена", kRoundShare, [] { return NoStopping(false); }},
      {"3-31.emf", "Конец зоны всех ограничений", kRoundShare, [] { return AllLimitsEnd(); }},
      {"4-01-1.wmf", "Движение прямо", kRoundShare, [] { return Mandatory(ArrowUp(kSignWhite)); }, true},
      {"4-01-2.emf", "Движение направо", kRoundShare, [] { return Mandatory(ArrowRight(kSignWhite)); }},
      {"4-01-3.emf", "Движение налево", kRoundShare, [] { return Mandatory(ArrowRight(kSignWhite), true); }},
      {"4-01-4.emf", "Движение прямо или направо", kRoundShare, [] { return Mandatory(ArrowUpOrRight(kSignWhite)); }},
      {"4-01-5.emf", "Движение прямо или налево", kRoundShare,
       [] { return Mandatory(ArrowUpOrRight(kSignWhite), true); }},
      {"4-02-1.emf", "Объезд препятствия справа", kRoundShare, [] { return Mandatory(ArrowPassRight(kSignWhite)); }},
      {"4-02-2.emf", "Объезд препятствия слева", kRoundShare,
       [] { return Mandatory(ArrowPassRight(kSignWhite), true); }},
      {"4-03.emf", "Круговое движение", kRoundShare, [] { return Mandatory(Roundabout(kSignWhite)); }},
      {"4-05-1.emf", "Пешеходная дорожка", kRoundShare, [] { return Mandatory(Pedestrian(kSignWhite)); }},
      {"5-05.emf", "Дорога с односторонним движением", kFullShare, [] { return OneWay(false); }},
      {"5-06.emf", "Конец дороги с односторонним движением", kFullShare, [] { return OneWay(true); }},
      {"5-16.emf", "Место остановки автобуса и (или) троллейбуса", kFullShare,
       [] {
         TSignPicture p = SquareSign(kSignBlue);
         p.Fill(kSignWhite, Rounded({{90, 150}, {610, 150}, {610, 550}, {90, 550}}, 20));
         p.Place(Bus(kSignBlack), 350, 350, 0.48);
         return p;
       }},
      {"5-19-1.emf", "Пешеходный переход", kFullShare, [] { return PedestrianCrossing(false); }},
      {"G2004_5-19-2_big.emf", "Пешеходный переход", kFullShare, [] { return PedestrianCrossing(true); }},
      {"5-20.emf", "Искусственная неровность", kFullShare, [] { return BlueSquareBump(); }},
      {"5-23-1.emf", "Начало населённого пункта", kFullShare, [] { return Settlement(false); }},
      {"5-24-1.emf", "Конец населённого пункта", kFullShare, [] { return Settlement(true); }},
      {"6-02_50.emf", "Рекомендуемая скорость 50 км/ч", kFullShare, [] { return Letter("50"); }},
      {"6-04.wmf", "Парковка (парковочное место)", kFullShare, [] { return Letter("P"); }, true},
      {"6-06.emf", "Подземный пешеходный переход", kFullShare, [] { return BlueSquare(Stairs(kSignWhite)); }},
      {"6-16.emf", "Стоп-линия", kFullShare,
       [] {
         TSignPicture p = SquareSign(kSignBlue);
         p.Text(kSignWhite, 350, 330, 190, "СТОП");
         p.Fill(kSignWhite, {{90, 420}, {610, 420}, {610, 490}, {90, 490}});
         return p;
       }},
      {"7-01.emf", "Пункт первой медицинской помощи", kFullShare,
       [] {
         return Service([](TSignPicture& p) {
           p.Fill(kSignRed, {{300, 160}, {400, 160}, {400, 300}, {540, 300}, {540, 400}, {400, 400},
                             {400, 540}, {300, 540}, {300, 400}, {160, 400}, {160, 300}, {300, 300}});
         });
       }},
      {"7-03.emf", "Автозаправочная станция", kFullShare,
       [] { return Service([](TSignPicture& p) { p.Place(FuelPump(kSignBlack), 350, 350, 0.46); }); }},
      {"8-01-1_150.emf", "Расстояние до объекта 150 м", kFullShare, [] { return DistancePlate("150 м", false); }},
      {"8-02-1_100.emf", "Зона действия 100 м", kFullShare, [] { return DistancePlate("100 м", true); }},
      {"8-04-1.emf", "Вид транспортного средства: грузовые автомобили", kFullShare,
       [] {
         TSignPicture p = Plate();
         p.Place(Truck(kSignBlack), 350, 175, 0.3);
         return p;
       }},
      {"8-05-4.emf", "Время действия", kFullShare, [] { return DistancePlate("8.00-17.00", false); }},
      {"8-22-1.emf", "Препятствие", kFullShare, [] { return ObstaclePlate(); }},
  };
  return signs;
}

// Old file names of the library and the pictures that replaced them.
constexpr const char* kOldNames[][2] = {
    {"5_16.emf", "5-16.emf"},
    {"Остановка автобуса.emf", "5-16.emf"},
    {"5_19_1.emf", "5-19-1.emf"},
    {"5-19-2.emf", "G2004_5-19-2_big.emf"},
    {"3_24_40.emf", "3-24_40.emf"},
    {"Главная дорога.emf", "2-01.emf"},
    {"1-33.emf", "1-33.wmf"},
};

constexpr char kMissingSign[] = "Знак отсутствует в библиотеке.emf";
constexpr char kLibraryPurpose[] = "Каталог библиотеки метафайлов";

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EVellmarError("vellmar-datafiles: cannot write " + path.string());
}

// Name=Value lines in Windows-1251, as the program reads its text files.
void WriteNameValues(const fs::path& path, const std::vector<std::pair<std::string, std::string>>& lines) {
  std::string text;
  for (const auto& [name, value] : lines) {
    text += Utf8ToCp1251(name);
    text += '=';
    text += Utf8ToCp1251(value);
    text += "\r\n";
  }
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

// The picture reads back as the format it was written in, plays without a skipped
// record, and covers the middle of its texture.
void Verify(const fs::path& path, bool windows) {
  TMetafile picture;
  picture.LoadFromFile(path);
  const auto expected = windows ? TMetafileFormat::Placeable : TMetafileFormat::Enhanced;
  TMetafilePlayback report;
  const TBitmap bitmap = PlayMetafile(picture, MetafileTextureSide(picture.Width()),
                                      MetafileTextureSide(picture.Height()), &report);
  const bool covered = (bitmap.GetPixel(bitmap.Width() / 2, bitmap.Height() / 2) & 0xFFFFFF) != 0xFF00FF;
  if (picture.Format() != expected || report.Skipped != 0 || report.Played < 3 || !covered) {
    throw EVellmarError("vellmar-datafiles: " + path.string() + " does not play back whole");
  }
}

}  // namespace

void WriteSignLibrary(const fs::path& dataFiles) {
  const fs::path folder = dataFiles / "Знаки";
  fs::create_directories(folder);
  std::vector<std::pair<std::string, std::string>> descriptions, areas;
  for (const TSign& sign : Signs()) {
    const TSignPicture picture = sign.Draw();
    const fs::path path = folder / sign.File;
    WriteBytes(path, sign.Windows ? picture.ToWmf() : picture.ToEmf());
    Verify(path, sign.Windows);
    descriptions.emplace_back(sign.File, sign.Description);
    const double area = picture.Width() * picture.Height() / 1e6 * sign.Share;
    areas.emplace_back(sign.File, FormatGeneral(std::nearbyint(area * 1000) / 1000));
  }
  const fs::path missing = folder / kMissingSign;
  WriteBytes(missing, MissingSign().ToEmf());
  Verify(missing, false);
  WriteNameValues(folder / "Описания знаков.txt", descriptions);
  WriteNameValues(folder / "Площади знаков.txt", areas);
  std::vector<std::pair<std::string, std::string>> old;
  for (const auto& [from, to] : kOldNames) {
    if (!fs::exists(folder / to)) throw EVellmarError(std::string("vellmar-datafiles: ") + from + " translates to no sign");
    old.emplace_back(from, to);
  }
  WriteNameValues(folder / "OldLibTranslation.txt", old);

  // The library's default folder is the sign folder itself, so that a fresh checkout
  // finds its signs without asking for a directory.
  const fs::path defaults = dataFiles / "DefaultDirs";
  fs::create_directories(defaults);
  const fs::path link = defaults / kLibraryPurpose;
  std::error_code ec;
  fs::remove(link, ec);
  fs::create_directory_symlink(fs::path("..") / "Знаки", link);
}

}  // namespace vellmar
