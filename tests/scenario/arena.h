// A battle on the headless backend for scenario tests: real assets, default classes and
// options, frames stepped one by one with scripted keys.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/headless.h"
#include "media/media.h"
#include "state/spiel.h"

inline constexpr Rgb kSeeFarbe{1, 119, 254};

class Arena {
 public:
  // Set up as a battle start does, with every class at its defaults.
  explicit Arena(int32_t modus = kZweiSpieler, int32_t gegner = 1, uint32_t seed = 7);

  // One whole frame; true when the player left.
  bool frame();
  void frames(int count);
  void halten(Key key, bool unten = true) { backend->setKey(key, unten); }
  // Restarts the match as the battle start does, after a test changed classes or options.
  void neuAufbauen();

  // Sound starts of one sound since the arena was made.
  int toene(int sound) const;

  Spiel spiel;
  HeadlessBackend* backend;
  std::unique_ptr<Media> media;
};

// A headless screen of sea with `text` drawn at (x, y) in font `schrift` (-1: the default
// font), for comparing a frame against what the text alone looks like.
class Textbild {
 public:
  Textbild(int x, int y, const std::string& text, int schrift = -1);
  // True when every pixel of the text's box (the pixels that are not sea) is the same in
  // `media`'s back buffer; false too when the box is empty.
  bool gleich(const Media& media) const;

 private:
  struct Pixel {
    int x, y;
    Rgb farbe;
  };
  std::vector<Pixel> box_;
};
