// A Media on the headless backend with the battle's pictures loaded under the game's numbers,
// as every battle loads them, for the benchmarks of the compositor.
#pragma once

#include <memory>

#include "media/media.h"

namespace catalogue {
constexpr int kShipPicture = 32, kSea = 40, kFirstDisc = 43, kBallA = 46, kBallB = 47;
constexpr int kNeedle = 48, kSmoke = 51, kMuzzle = 52, kFire = 57;
// Rotatable sprites: ship i of class k is i * 8 + k.
constexpr int kNeedle2 = 49, kNeedle1 = 50, kFirstMuzzleFlame = 53, kFire0 = 59, kFireOthers = 61;
constexpr int kResultFont = 0;
}  // namespace catalogue

// The sea, every sprite, every rotatable sprite (all at angle 0) and the result font.
std::unique_ptr<Media> battleMedia();
