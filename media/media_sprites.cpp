#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "media/media_impl.h"
#include "media/sdl_decode.h"

namespace {

// Largest sprite createSprite makes: far above any picture of the game, far below what would
// exhaust memory.
constexpr int kMaxSpriteSide = 16384;
constexpr int64_t kMaxSpritePixels = int64_t{1} << 25;

}  // namespace

// --- sprites

bool Media::createSprite(int n, int w, int h) {
  if (w <= 0 || h <= 0 || w > kMaxSpriteSide || h > kMaxSpriteSide) return false;
  if (int64_t{w} * h > kMaxSpritePixels) return false;
  impl_->bringUpToDate();  // drawings that wait may show the sprite it replaces
  impl_->sprites.put(n, Sprite(Image(w, h))).version = impl_->newVersion();
  return true;
}

bool Media::loadSprite(int n, std::span<const uint8_t> bmp, bool rotatable) {
  std::optional<Image> image = decodeBmp(bmp);
  if (!image) return false;
  impl_->bringUpToDate();
  impl_->sprites.put(n, Sprite(std::move(*image), rotatable)).version = impl_->newVersion();
  return true;
}

void Media::setTransparentColour(int n, Rgb colour) {
  Sprite* s = impl_->spriteToChange(n);
  if (s == nullptr) return;
  s->pictureChanges(impl_->newVersion());
  s->key = packed(colour);
}

void Media::drawSprite(int n, int x, int y) {
  if (impl_->silent) return;
  const Sprite* s = impl_->sprite(n);
  if (s == nullptr) return;
  const Drawing d{.kind = Drawing::Kind::Copy, .source = n, .version = s->version, .x = x, .y = y};
  impl_->draw(d, x, y, s->image.w, s->image.h);
}

void Media::drawTransparentSprite(int n, int x, int y) {
  const Point at{x, y};
  drawTransparentSprites(n, {&at, 1});
}

void Media::drawTransparentSprites(int n, std::span<const Point> at) {
  if (impl_->silent) return;  // first: frames played again draw thousands of balls
  const Sprite* s = impl_->sprite(n);
  if (s == nullptr) return;
  Drawing like;
  like.kind = Drawing::Kind::KeyedCopy;
  like.source = n;
  like.version = s->version;
  // Never over the whole screen, as it lets the sea through.
  impl_->scene.addAt(like, {s->image.w, s->image.h}, at);
}

bool Media::createRotatable(int r, int sprite) {
  const Sprite* s = impl_->sprite(sprite);
  if (s == nullptr || !s->rotatable) return false;
  impl_->rotatables.put(r, Rotatable{sprite, 0.0f});
  return true;
}

void Media::setRotation(int r, float degrees, bool relative) {
  Rotatable* found = impl_->rotatables.find(r);
  if (found == nullptr) return;
  found->angle = relative ? found->angle + degrees : degrees;
}

float Media::rotation(int r) const {
  const Rotatable* found = impl_->rotatables.find(r);
  return found == nullptr ? 0.0f : found->angle;
}

void Media::drawRotatable(int r, int x, int y) {
  if (impl_->silent) return;
  const Rotatable* found = impl_->rotatables.find(r);
  if (found == nullptr) return;
  Sprite* s = impl_->sprite(found->sprite);
  if (s == nullptr) return;
  const float angle = found->angle;
  const Image& picture = s->image;
  Drawing d{.source = found->sprite, .version = s->version, .x = x, .y = y};
  if (angle == 0.0f) {
    d.kind = Drawing::Kind::KeyedCopy;
    impl_->draw(d, x, y, picture.w, picture.h);
    return;
  }
  d.kind = Drawing::Kind::Turned;
  d.angle = angle;
  // The horizontal half-size places the centre on both axes.
  const double half = (picture.w - 1) / 2.0;
  std::vector<PixelBox>& outline = impl_->outline;
  outline.clear();
  const PixelBox box = turnedBox(impl_->backBuffer, s->turnReady(), x + half, y + half, angle,
                                 Scene::kOutlineBand, outline);
  static_assert(sizeof(ScreenBox) == sizeof(PixelBox));
  impl_->draw(d, box.x, box.y, box.w, box.h, {},
              {reinterpret_cast<const ScreenBox*>(outline.data()), outline.size()});
}

bool Media::spritesOverlap(int a, int xa, int ya, int b, int xb, int yb) {
  const Sprite* first = impl_->sprite(a);
  const Sprite* second = impl_->sprite(b);
  if (first == nullptr || second == nullptr) return false;
  // Most pairs (a cannonball and a hit disc) lie apart: answered here, without a call.
  if (boxesApart(first->image, xa, ya, second->image, xb, yb)) return false;
  return imagesOverlap(first->image, first->key, xa, ya, second->image, second->key, xb, yb);
}

Size Media::spriteSize(int n) const {
  const Sprite* s = impl_->sprites.find(n);
  return s == nullptr ? Size{0, 0} : Size{s->image.w, s->image.h};
}

// Every drawRotatable is complete when it returns, so the brackets have nothing to do.
void Media::beginRotatedDrawing() {}
void Media::endRotatedDrawing() {}
