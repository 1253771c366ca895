#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "media/media_impl.h"

// --- drawing, text and shapes

bool Media::beginDrawing() {
  if (impl_->silent) return false;
  impl_->target = Impl::Target::BackBuffer;
  impl_->currentFont = TextRenderer::kDefaultFont;
  return true;
}

bool Media::beginDrawing(int sprite) {
  if (impl_->sprite(sprite) == nullptr || impl_->silent) return false;
  impl_->target = Impl::Target::Sprite;
  impl_->targetSprite = sprite;
  impl_->currentFont = TextRenderer::kDefaultFont;
  return true;
}

void Media::endDrawing() { impl_->target = Impl::Target::None; }

void Media::fillBox(int x, int y, int w, int h, Rgb colour) {
  if (impl_->silent) return;
  if (impl_->target == Impl::Target::BackBuffer) {
    const Drawing d{
        .kind = Drawing::Kind::Fill, .x = x, .y = y, .w = w, .h = h, .colour = packed(colour)};
    impl_->draw(d, x, y, w, h);
  } else if (Image* target = impl_->drawingTarget()) {
    ::fillBox(*target, x, y, w, h, packed(colour));
  }
}

void Media::fillRoundBox(int x, int y, int w, int h, int rx, int ry, Rgb colour) {
  if (impl_->silent) return;
  if (impl_->target == Impl::Target::BackBuffer) {
    // A negative size reaches to the left or upwards.
    const int64_t left = std::min<int64_t>(x, int64_t{x} + w);
    const int64_t top = std::min<int64_t>(y, int64_t{y} + h);
    const Drawing d{.kind = Drawing::Kind::RoundBox,
                    .x = x,
                    .y = y,
                    .w = w,
                    .h = h,
                    .rx = rx,
                    .ry = ry,
                    .colour = packed(colour)};
    impl_->draw(d, left, top, std::abs(int64_t{w}), std::abs(int64_t{h}));
  } else if (Image* target = impl_->drawingTarget()) {
    ::fillRoundBox(*target, x, y, w, h, rx, ry, packed(colour));
  }
}

void Media::fillCircle(int x, int y, int r, Rgb colour) {
  if (impl_->silent) return;
  if (impl_->target == Impl::Target::BackBuffer) {
    if (r < 0) return;
    const int64_t radius = r;
    const Drawing d{
        .kind = Drawing::Kind::Circle, .x = x, .y = y, .w = r, .colour = packed(colour)};
    impl_->draw(d, x - radius, y - radius, 2 * radius + 1, 2 * radius + 1);
  } else if (Image* target = impl_->drawingTarget()) {
    ::fillCircle(*target, x, y, r, packed(colour));
  }
}

bool Media::loadFont(int n, const std::string& face, int points) {
  if (!impl_->text) return false;
  impl_->bringUpToDate();  // texts that wait are written in the font as it was
  impl_->textCache.forgetFont(n);
  if (!impl_->text->loadFont(n, face, points)) {
    impl_->loadedFonts.erase(n);
    return false;
  }
  impl_->loadedFonts[n] = impl_->newVersion();
  return true;
}

void Media::useFont(int n) {
  impl_->currentFont = impl_->loadedFonts.contains(n) ? n : TextRenderer::kDefaultFont;
}

void Media::drawText(int x, int y, std::string_view utf8Text) {
  if (impl_->silent || impl_->target == Impl::Target::None || !impl_->text) return;
  const int font = impl_->currentFont;
  if (impl_->target == Impl::Target::BackBuffer) {
    const Image& box = impl_->textCache.box(*impl_->text, font, utf8Text);
    const auto loaded = impl_->loadedFonts.find(font);
    const uint64_t version = loaded == impl_->loadedFonts.end() ? 0 : loaded->second;
    const Drawing d{
        .kind = Drawing::Kind::Text, .source = font, .version = version, .x = x, .y = y};
    impl_->draw(d, x, y, box.w, box.h, utf8Text);
  } else if (Image* target = impl_->drawingTarget()) {
    copyImage(*target, impl_->textCache.box(*impl_->text, font, utf8Text), x, y);
  }
}
