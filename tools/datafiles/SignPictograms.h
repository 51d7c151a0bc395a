#pragma once
// Pictograms of the road signs, each drawn in a 1000 x 1000 box (origin top left,
// y down) in the given ink, to be placed into sign faces with TSignPicture::Place.

#include "SignDrawing.h"

namespace vellmar {

TSignPicture Pedestrian(TColorRef ink);
TSignPicture Children(TColorRef ink);
TSignPicture Worker(TColorRef ink);
TSignPicture Car(TColorRef ink);
TSignPicture Truck(TColorRef ink);
TSignPicture Bus(TColorRef ink);
TSignPicture Bicycle(TColorRef ink);
TSignPicture Locomotive(TColorRef ink);
TSignPicture Fence(TColorRef ink);
TSignPicture TrafficLights();
TSignPicture Exclamation(TColorRef ink);
// A road bending right (left when the picture is placed mirrored), and bending twice.
TSignPicture Bend(TColorRef ink);
TSignPicture DoubleBend(TColorRef ink);
// The road narrowing from both sides, or from the right only.
TSignPicture Narrowing(TColorRef ink, bool bothSides);
TSignPicture Bumps(TColorRef ink);
TSignPicture SpeedBump(TColorRef ink);
TSignPicture Slope(TColorRef ink, bool down);
TSignPicture SlipperyCar(TColorRef ink);
TSignPicture TwoWay(TColorRef ink);
TSignPicture Crossroad(TColorRef ink);

// Arrows: straight up, turning right, up-or-right, down-right past an obstacle, a
// U-turn, and the three arrows of a roundabout.
TSignPicture ArrowUp(TColorRef ink);
TSignPicture ArrowRight(TColorRef ink);
TSignPicture ArrowUpOrRight(TColorRef ink);
TSignPicture ArrowPassRight(TColorRef ink);
TSignPicture UTurn(TColorRef ink);
TSignPicture Roundabout(TColorRef ink);

TSignPicture FuelPump(TColorRef ink);
TSignPicture Stairs(TColorRef ink);

}  // namespace vellmar
