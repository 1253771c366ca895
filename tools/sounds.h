// The two sounds of the game as 8-bit unsigned mono samples.
#pragma once

#include <cstdint>
#include <vector>

namespace gen {

constexpr int kShotRate = 11025;
constexpr int kShotSamples = 10230;
constexpr int kHitRate = 22050;
constexpr int kHitSamples = 80537;

std::vector<uint8_t> cannonShot();  // noise burst over a low thump, fast decay
std::vector<uint8_t> woodHit();     // splintering crack with a long tail of debris

}  // namespace gen
