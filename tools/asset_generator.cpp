// Writes every picture and sound of the game into the directory given as its
// first argument. The output is the same on every run, so the files committed in
// assets/ can be checked and reproduced. To regenerate them:
//
//   cmake --build build --target asset_generator && build/tools/asset_generator assets
//
// With a second argument (a scratch directory) it also writes contact sheets of
// the pictures, for looking at the art.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "art.h"
#include "sounds.h"
#include "writers.h"

namespace {

// Sprites side by side, each enlarged `zoom` times, on a grey strip.
gen::Picture contactSheet(const std::vector<gen::Picture>& pictures, int zoom) {
  int width = 4, height = 0;
  for (const auto& p : pictures) width += p.w * zoom + 4, height = std::max(height, p.h * zoom);
  gen::Picture sheet(width, height + 8);
  std::fill(sheet.rgb.begin(), sheet.rgb.end(), uint8_t{96});
  int left = 4;
  for (const auto& p : pictures) {
    for (int y = 0; y < p.h * zoom; ++y)
      for (int x = 0; x < p.w * zoom; ++x)
        std::copy_n(p.at(x / zoom, y / zoom), 3, sheet.at(left + x, 4 + y));
    left += p.w * zoom + 4;
  }
  return sheet;
}

void writeContactSheets(const std::string& dir, const std::vector<gen::Picture>& ships,
                        const std::vector<gen::Picture>& sprites) {
  std::filesystem::create_directories(dir);
  gen::writeBmp(dir + "/ships.bmp", contactSheet(ships, 2));
  gen::writeBmp(dir + "/sprites.bmp", contactSheet(sprites, 2));
}

struct Written {
  std::vector<gen::Picture> ships, sprites;
};

Written writePictures(const std::string& out) {
  Written written;
  for (int k = 0; k < gen::kShipClasses; ++k) {
    written.ships.push_back(gen::drawShip(k));
    gen::writeBmp(out + "/ship" + std::to_string(k) + ".bmp", written.ships.back());
  }
  const std::vector<std::pair<std::string, gen::Picture>> sprites{
      {"hit_disc.bmp", gen::drawHitDisc()},  {"ball.bmp", gen::drawBall()},
      {"needle.bmp", gen::drawNeedle()},     {"smoke.bmp", gen::drawSmokePuff()},
      {"flame.bmp", gen::drawMuzzleFlame()}, {"fire.bmp", gen::drawFire()}};
  for (const auto& [name, picture] : sprites) {
    gen::writeBmp(out + "/" + name, picture);
    written.sprites.push_back(picture);
  }
  gen::writeJpeg(out + "/title.jpg", gen::drawTitle(), 90);
  // The desktop's icons, installed rather than embedded.
  std::filesystem::create_directories(out + "/icons");
  for (int size : {16, 24, 32, 48, 64, 128})
    gen::writePng(out + "/icons/kaperfahrt_" + std::to_string(size) + ".png", gen::drawIcon(size));
  gen::writeText(out + "/icons/kaperfahrt.svg", gen::drawIconSvg());
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [CONTACT_SHEET_DIR]\n", argv[0]);
    return 2;
  }
  try {
    const std::string out = argv[1];
    std::filesystem::create_directories(out);
    const Written written = writePictures(out);
    gen::writeWav(out + "/shot.wav", gen::kShotRate, gen::cannonShot());
    gen::writeWav(out + "/hit.wav", gen::kHitRate, gen::woodHit());
    if (argc > 2) writeContactSheets(argv[2], written.ships, written.sprites);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "asset_generator: %s\n", e.what());
    return 1;
  }
  return 0;
}
