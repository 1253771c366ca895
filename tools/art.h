// Every picture of the game, drawn from code.
#pragma once

#include <string>

#include "raster.h"

namespace gen {

constexpr int kShipClasses = 8;

Picture drawShip(int shipClass);  // 150 x 150, bow up, on white
Picture drawHitDisc();            // 40 x 40
Picture drawBall();               // 3 x 3
Picture drawNeedle();             // 150 x 5
Picture drawSmokePuff();          // 10 x 10
Picture drawMuzzleFlame();        // 15 x 75
Picture drawFire();               // 150 x 150
Picture drawTitle();              // 500 x 361
RgbaPicture drawIcon(int size);   // size x size, the tile's corners transparent
std::string drawIconSvg();        // the same icon as outlines

// Keeps object colours clearly apart from the transparent key colour, so no
// stray pixel vanishes and no pale fringe shows when the sprite is drawn.
Rgb clearOfWhite(Rgb c);
Rgb clearOfBlack(Rgb c);

}  // namespace gen
