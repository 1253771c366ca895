// Text in the battle: faces found by fontconfig, rendered by SDL_ttf.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "media/image.h"

class TextRenderer {
 public:
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Loads font n from the best match for `face` at `points`; false when no usable face exists.
  bool loadFont(int n, const std::string& face, int points);
  // True when font n is a stand-in because the named face is not installed.
  bool isFallback(int n) const;
  // UTF-8 text in font n (kDefaultFont: the plain default face), white on an opaque
  // black box exactly as large as the text; empty Image when nothing can be rendered.
  Image render(int n, std::string_view utf8) const;

  static constexpr int kDefaultFont = -1;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
