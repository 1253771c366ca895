// Rendered text boxes kept between frames.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "media/image.h"
#include "media/sdl_text.h"

// Rendered text boxes by font and text: the overlay writes the same labels every frame, and
// rendering one anew costs far more than copying it.
class TextCache {
 public:
  const Image& box(const TextRenderer& renderer, int font, std::string_view text) {
    auto& texts = boxes_[font];
    if (const auto found = texts.find(text); found != texts.end()) return found->second;
    Image rendered = renderer.render(font, text);
    // Bounded, as every new health value is a new label; starting afresh is rare and cheap.
    if (pixels_ + rendered.pixels.size() > kMaxPixels) clear();
    pixels_ += rendered.pixels.size();
    return boxes_[font].emplace(std::string(text), std::move(rendered)).first->second;
  }

  void forgetFont(int font) {
    const auto found = boxes_.find(font);
    if (found == boxes_.end()) return;
    for (const auto& [text, image] : found->second) pixels_ -= image.pixels.size();
    boxes_.erase(found);
  }

 private:
  static constexpr size_t kMaxPixels = size_t{1} << 22;  // 16 MB

  void clear() {
    boxes_.clear();
    pixels_ = 0;
  }

  std::map<int, std::map<std::string, Image, std::less<>>> boxes_;
  size_t pixels_ = 0;
};
