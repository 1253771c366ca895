#include "bench/battle_media.h"

#include <string>

#include "assets/embedded.h"
#include "media/headless.h"

using namespace catalogue;

std::unique_ptr<Media> battleMedia() {
  auto media = std::make_unique<Media>(std::make_unique<HeadlessBackend>(), 1);
  media->initMedia();
  media->openBattleWindow(kScreenWidth, kScreenHeight);
  media->openBattleScreen();
  media->createSprite(kSea, kScreenWidth, kScreenHeight);
  media->beginDrawing(kSea);
  media->fillBox(0, 0, kScreenWidth, kScreenHeight, Rgb{1, 119, 254});
  media->endDrawing();
  for (int k = 0; k < 8; ++k) {
    const std::string file = "ship" + std::to_string(k) + ".bmp";
    media->loadSprite(kShipPicture + k, embeddedFile(file), true);
    media->setTransparentColour(kShipPicture + k, Rgb{255, 255, 255});
  }
  for (int d = 0; d < 3; ++d)
    media->loadSprite(kFirstDisc + d, embeddedFile("hit_disc.bmp"), false);
  media->loadSprite(kBallA, embeddedFile("ball.bmp"), false);
  media->loadSprite(kBallB, embeddedFile("ball.bmp"), false);
  media->loadSprite(kNeedle, embeddedFile("needle.bmp"), true);
  media->loadSprite(kSmoke, embeddedFile("smoke.bmp"), false);
  media->loadSprite(kMuzzle, embeddedFile("flame.bmp"), true);
  media->loadSprite(kFire, embeddedFile("fire.bmp"), true);
  media->createRotatable(kNeedle2, kNeedle);
  media->createRotatable(kNeedle1, kNeedle);
  for (int f = 0; f < 4; ++f) media->createRotatable(kFirstMuzzleFlame + f, kMuzzle);
  media->createRotatable(kFire0, kFire);
  media->createRotatable(kFireOthers, kFire);
  for (int ship = 0; ship < 4; ++ship) {
    for (int k = 0; k < 8; ++k) media->createRotatable(ship * 8 + k, kShipPicture + k);
  }
  media->loadFont(kResultFont, "impact", 100);
  return media;
}
