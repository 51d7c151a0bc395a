#include "SignPictograms.h"

#include <cmath>
#include <numbers>

namespace vellmar {

namespace {

constexpr double kBox = 1000;

std::vector<TPointD> ArcPoints(double cx, double cy, double r, double fromDeg, double toDeg, int steps = 12) {
  std::vector<TPointD> points;
  for (int i = 0; i <= steps; ++i) {
    const double a = (fromDeg + (toDeg - fromDeg) * i / steps) * std::numbers::pi / 180;
    points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return points;
}

std::vector<TPointD> Box(double left, double top, double right, double bottom) {
  return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

std::vector<TPointD> Join(std::vector<TPointD> a, const std::vector<TPointD>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A walking figure with its head at (x, top), `size` tall.
void Walker(TSignPicture& p, TColorRef ink, double x, double top, double size) {
  const double k = size / 900;
  const auto at = [&](double dx, double dy) { return TPointD{x + dx * k, top + dy * k}; };
  p.Disc(ink, x + 20 * k, top + 70 * k, 75 * k);
  p.Stroke(ink, 120 * k, {at(0, 190), at(-30, 480)});
  p.Stroke(ink, 90 * k, {at(-30, 480), at(-120, 680), at(-170, 860)});
  p.Stroke(ink, 90 * k, {at(-30, 480), at(80, 660), at(150, 860)});
  p.Stroke(ink, 75 * k, {at(0, 230), at(-120, 380), at(-160, 480)});
  p.Stroke(ink, 75 * k, {at(0, 230), at(120, 350), at(200, 400)});
}

void Wheels(TSignPicture& p, TColorRef ink, std::initializer_list<double> xs, double y, double r) {
  for (double x : xs) {
    p.Disc(ink, x, y, r);
    p.Disc(kSignWhite, x, y, r * 0.35);
  }
}

}  // namespace

TSignPicture Pedestrian(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  Walker(p, ink, 500, 60, 900);
  return p;
}

TSignPicture Children(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  Walker(p, ink, 360, 60, 900);
  Walker(p, ink, 700, 330, 630);
  p.Stroke(ink, 60, {{560, 460}, {620, 520}});
  return p;
}

TSignPicture Worker(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  Walker(p, ink, 420, 80, 820);
  p.Stroke(ink, 45, {{560, 340}, {800, 760}});
  p.Fill(ink, {{760, 740}, {880, 700}, {900, 820}, {790, 850}});
  p.Fill(ink, Join({{560, 940}}, ArcPoints(720, 940, 160, 180, 360)));
  return p;
}

TSignPicture Car(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, {{80, 650}, {80, 520}, {230, 480}, {330, 340}, {680, 340}, {790, 480}, {920, 510}, {920, 650}});
  p.Fill(kSignWhite, {{360, 380}, {480, 380}, {480, 470}, {290, 470}});
  p.Fill(kSignWhite, {{520, 380}, {650, 380}, {720, 470}, {520, 470}});
  Wheels(p, ink, {270, 730}, 660, 95);
  return p;
}

TSignPicture Truck(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, Box(60, 260, 630, 620));
  p.Fill(ink, {{650, 360}, {840, 360}, {930, 490}, {930, 620}, {650, 620}});
  p.Fill(kSignWhite, {{690, 390}, {820, 390}, {880, 480}, {690, 480}});
  Wheels(p, ink, {200, 480, 790}, 650, 85);
  return p;
}

TSignPicture Bus(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, {{50, 640}, {50, 300}, {90, 260}, {900, 260}, {950, 330}, {950, 640}});
  for (double x : {110.0, 290.0, 470.0, 650.0}) p.Fill(kSignWhite, Box(x, 320, x + 140, 450));
  p.Fill(kSignWhite, {{810, 320}, {880, 320}, {910, 450}, {810, 450}});
  Wheels(p, ink, {230, 770}, 650, 90);
  return p;
}

TSignPicture Bicycle(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Stroke(ink, 45, ArcPoints(240, 640, 170, 0, 360, 36));
  p.Stroke(ink, 45, ArcPoints(760, 640, 170, 0, 360, 36));
  p.Stroke(ink, 45, {{240, 640}, {420, 400}, {690, 400}, {760, 640}});
  p.Stroke(ink, 45, {{420, 400}, {510, 640}, {690, 400}});
  p.Stroke(ink, 55, {{360, 330}, {470, 330}});
  p.Stroke(ink, 45, {{420, 400}, {400, 330}});
  p.Stroke(ink, 45, {{690, 400}, {650, 290}, {740, 290}});
  return p;
}

TSignPicture Locomotive(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, Box(100, 440, 640, 660));
  p.Fill(ink, Box(620, 280, 900, 660));
  p.Fill(kSignWhite, Box(680, 330, 840, 450));
  p.Fill(ink, Box(180, 300, 280, 440));
  p.Fill(ink, {{150, 300}, {310, 300}, {290, 250}, {170, 250}});
  Wheels(p, ink, {230, 450, 740}, 700, 95);
  return p;
}

TSignPicture Fence(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  for (double x : {150.0, 450.0, 750.0}) p.Fill(ink, Box(x, 250, x + 100, 850));
  p.Fill(ink, Box(80, 360, 920, 440));
  p.Fill(ink, Box(80, 620, 920, 700));
  return p;
}

TSignPicture TrafficLights() {
  TSignPicture p(kBox, kBox);
  p.Fill(kSignBlack, {{340, 40}, {660, 40}, {660, 960}, {340, 960}});
  p.Disc(kSignRed, 500, 200, 115);
  p.Disc(kSignYellow, 500, 500, 115);
  p.Disc(kSignGreen, 500, 800, 115);
  return p;
}

TSignPicture Exclamation(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, {{420, 100}, {580, 100}, {545, 640}, {455, 640}});
  p.Disc(ink, 500, 810, 90);
  return p;
}

TSignPicture Bend(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 120, {{380, 980}, {380, 560}, {400, 460}, {460, 370}, {560, 290}, {680, 260}, {900, 260}}, 220, 300);
  return p;
}

TSignPicture DoubleBend(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 110,
          {{330, 980}, {330, 740}, {380, 640}, {520, 560}, {640, 480}, {680, 380}, {640, 280}, {520, 180}, {420, 120}},
          200, 280);
  return p;
}

TSignPicture Narrowing(TColorRef ink, bool bothSides) {
  TSignPicture p(kBox, kBox);
  p.Stroke(ink, 100, {{250, 980}, {250, 600}, bothSides ? TPointD{390, 400} : TPointD{250, 400}, {bothSides ? 390.0 : 250.0, 20}});
  p.Stroke(ink, 100, {{750, 980}, {750, 600}, {610, 400}, {610, 20}});
  return p;
}

TSignPicture Bumps(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  auto road = Join(ArcPoints(300, 700, 200, 180, 360, 12), ArcPoints(700, 700, 200, 180, 360, 12));
  road.push_back({900, 800});
  road.push_back({100, 800});
  p.Fill(ink, road);
  return p;
}

TSignPicture SpeedBump(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, Box(60, 720, 940, 800));
  p.Fill(ink, Join(ArcPoints(500, 720, 250, 180, 360, 16), {}));
  return p;
}

TSignPicture Slope(TColorRef ink, bool down) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, down ? std::vector<TPointD>{{60, 380}, {940, 900}, {60, 900}}
                   : std::vector<TPointD>{{940, 380}, {940, 900}, {60, 900}});
  p.Text(ink, down ? 640 : 360, 420, 300, "10%");
  return p;
}

TSignPicture SlipperyCar(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Place(Car(ink), 500, 320, 0.75);
  p.Stroke(ink, 60, {{380, 560}, {300, 680}, {420, 800}, {340, 940}});
  p.Stroke(ink, 60, {{640, 560}, {720, 680}, {600, 800}, {680, 940}});
  return p;
}

TSignPicture TwoWay(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 110, {{340, 960}, {340, 40}}, 230, 300);
  p.Arrow(ink, 110, {{660, 40}, {660, 960}}, 230, 300);
  return p;
}

TSignPicture Crossroad(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, Box(420, 40, 580, 960));
  p.Fill(ink, Box(120, 450, 880, 550));
  return p;
}

TSignPicture ArrowUp(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 170, {{500, 960}, {500, 40}}, 360, 480);
  return p;
}

TSignPicture ArrowRight(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 170, Join({{380, 960}, {380, 600}}, Join(ArcPoints(640, 600, 260, 180, 270, 8), {{960, 340}})), 330, 440);
  return p;
}

TSignPicture ArrowUpOrRight(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 150, {{380, 960}, {380, 40}}, 300, 400);
  p.Arrow(ink, 150, Join(ArcPoints(640, 660, 260, 180, 270, 8), {{960, 400}}), 300, 400);
  return p;
}

TSignPicture ArrowPassRight(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 170, {{180, 180}, {860, 860}}, 360, 480);
  return p;
}

TSignPicture UTurn(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Arrow(ink, 130, Join(Join({{680, 960}, {680, 420}}, ArcPoints(500, 420, 180, 0, -180, 10)), {{320, 800}}), 260, 340);
  return p;
}

TSignPicture Roundabout(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  for (double start : {-70.0, 50.0, 170.0}) {
    // Each arrow runs anticlockwise on the picture, as traffic goes round.
    p.Arrow(ink, 110, ArcPoints(500, 500, 330, start + 90, start, 10), 220, 300);
  }
  return p;
}

TSignPicture FuelPump(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, Box(220, 160, 620, 900));
  p.Fill(kSignWhite, Box(290, 240, 550, 420));
  p.Fill(ink, Box(160, 880, 680, 960));
  p.Stroke(ink, 50, {{620, 300}, {760, 360}, {760, 720}, {820, 720}, {820, 420}});
  return p;
}

TSignPicture Stairs(TColorRef ink) {
  TSignPicture p(kBox, kBox);
  p.Fill(ink, {{60, 960}, {60, 860}, {300, 860}, {300, 760}, {540, 760}, {540, 660}, {780, 660}, {780, 560},
               {940, 560}, {940, 960}});
  Walker(p, ink, 480, 40, 560);
  return p;
}

}  // namespace vellmar
