// Text rendering: fontconfig finds a font file for a face name, SDL_ttf draws with it.
#include "media/sdl_text.h"

#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <optional>
#include <vector>

#include "basis/latin1.h"

namespace {

// The game's sizes are points on the classic 96 dpi screen ("impact" 100 is ~133 px).
constexpr unsigned kDpi = 96;
constexpr int kDefaultPoints = 10;

struct FontFile {
  std::string path;
  int index = 0;
};

struct FontDeleter {
  void operator()(TTF_Font* f) const { TTF_CloseFont(f); }
};
using FontPtr = std::unique_ptr<TTF_Font, FontDeleter>;

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

bool hasFamily(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  }
  return false;
}

// The file fontconfig matches for `pattern`. With `family` set, only a match of that very
// family counts: fontconfig always answers with something, for "impact" even a dingbats face.
std::optional<FontFile> findFont(const std::string& pattern, const std::string& family) {
  PatternPtr want(FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str())));
  if (!want) return std::nullopt;
  FcConfigSubstitute(nullptr, want.get(), FcMatchPattern);
  FcDefaultSubstitute(want.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, want.get(), &result));
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
    return std::nullopt;
  }
  if (!family.empty() && !hasFamily(match.get(), family)) return std::nullopt;
  int index = 0;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  return FontFile{reinterpret_cast<const char*>(file), index};
}

FontPtr openFont(const FontFile& file, int points) {
  return FontPtr(TTF_OpenFontIndexDPI(file.path.c_str(), points, file.index, kDpi, kDpi));
}

struct Candidate {
  std::string pattern;
  std::string family;  // empty: any answer will do
};

// The stand-ins, best first, when the face itself is not installed.
std::vector<Candidate> standIns(const std::string& face) {
  if (strcasecmp(face.c_str(), "impact") == 0) {
    return {{"DejaVu Sans:style=Condensed Bold", "DejaVu Sans"},
            {"Liberation Sans Narrow:bold", "Liberation Sans Narrow"},
            {"sans-serif:bold", ""}};
  }
  return {{"sans-serif", ""}};
}

// An 8-bit shaded surface as opaque XRGB pixels, through its palette.
Image toImage(const SDL_Surface& surface) {
  Image image(surface.w, surface.h);
  const SDL_Palette* palette = surface.format->palette;
  for (int y = 0; y < surface.h; ++y) {
    const auto* row =
        static_cast<const Uint8*>(surface.pixels) + static_cast<ptrdiff_t>(y) * surface.pitch;
    for (int x = 0; x < surface.w; ++x) {
      const SDL_Color c = palette->colors[row[x] < palette->ncolors ? row[x] : 0];
      image.at(x, y) = (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
    }
  }
  return image;
}

}  // namespace

struct TextRenderer::Impl {
  struct Font {
    FontPtr font;
    bool fallback = false;
  };
  bool ttfReady = false;
  std::map<int, Font> fonts;

  bool load(int n, const std::string& face, int points) {
    fonts.erase(n);
    if (!ttfReady || points <= 0) return false;
    if (auto exact = findFont(face, face)) {
      if (FontPtr font = openFont(*exact, points)) return keep(n, std::move(font), false);
    }
    for (const Candidate& c : standIns(face)) {
      const auto file = findFont(c.pattern, c.family);
      if (!file) continue;
      if (FontPtr font = openFont(*file, points)) return keep(n, std::move(font), true);
    }
    return false;
  }

  bool keep(int n, FontPtr font, bool fallback) {
    fonts[n] = Font{std::move(font), fallback};
    return true;
  }
};

TextRenderer::TextRenderer() : impl_(std::make_unique<Impl>()) {
  impl_->ttfReady = TTF_Init() == 0;
  if (!impl_->ttfReady) return;
  // A plain face for the small overlay labels; failing here only leaves that text out.
  if (!impl_->load(kDefaultFont, "DejaVu Sans", kDefaultPoints)) return;
  impl_->fonts[kDefaultFont].fallback = false;
}

TextRenderer::~TextRenderer() {
  const bool ttfReady = impl_->ttfReady;
  impl_->fonts.clear();  // fonts must close before TTF_Quit
  if (ttfReady) TTF_Quit();
}

bool TextRenderer::loadFont(int n, const std::string& face, int points) {
  return impl_->load(n, face, points);
}

bool TextRenderer::isFallback(int n) const {
  const auto found = impl_->fonts.find(n);
  return found == impl_->fonts.end() || found->second.fallback;
}

Image TextRenderer::render(int n, std::string_view latin1) const {
  const auto found = impl_->fonts.find(n);
  if (latin1.empty() || found == impl_->fonts.end()) return {};
  const std::string utf8 = latin1ToUtf8(latin1);
  SDL_Surface* surface =
      TTF_RenderUTF8_Shaded(found->second.font.get(), utf8.c_str(), SDL_Color{255, 255, 255, 255},
                            SDL_Color{0, 0, 0, 255});
  if (surface == nullptr) return {};
  Image image = surface->format->palette != nullptr ? toImage(*surface) : Image{};
  SDL_FreeSurface(surface);
  return image;
}
