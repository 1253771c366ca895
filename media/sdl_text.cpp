#include "media/sdl_text.h"

#include <SDL_ttf.h>

struct TextRenderer::Impl {};

TextRenderer::TextRenderer() : impl_(std::make_unique<Impl>()) {}
TextRenderer::~TextRenderer() = default;
bool TextRenderer::loadFont(int, const std::string&, int) { return false; }
bool TextRenderer::isFallback(int) const { return true; }
Image TextRenderer::render(int, std::string_view) const { return {}; }
