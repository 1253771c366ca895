// The media services the game is written against: a software compositor on a
// 1680 x 1050 back buffer, sprite, text, sound and keyboard tables indexed by the
// game's own numbers, over a platform Backend.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "basis/steuerung.h"
#include "media/backend.h"

struct Rgb {
  uint8_t r, g, b;
  friend bool operator==(Rgb, Rgb) = default;
};

inline constexpr int kScreenWidth = 1680;
inline constexpr int kScreenHeight = 1050;

// Which service failed in initMedia.
enum class MediaInit { Ok, ScreenFailed, KeyboardFailed, RotationFailed, SoundFailed };

class Media {
 public:
  // randomSeed 0: seeded from std::random_device.
  explicit Media(std::unique_ptr<Backend> backend, uint32_t randomSeed = 0);
  ~Media();
  Media(const Media&) = delete;
  Media& operator=(const Media&) = delete;

  MediaInit initMedia();
  // Gives up one service and what the game made with it (sounds, sprites, fonts, ...).
  void release(MediaService service);
  Size desktopSize();
  bool openBattleWindow(int w, int h);
  bool openBattleScreen();
  void closeBattleWindow();
  bool pollWindowEvent();
  // Takes every window event pending now at once; how many there were.
  int takeWindowEvents();
  void showFrame();
  void clearScreen(Rgb);
  void sleepMs(int ms);

  bool createSprite(int n, int w, int h);
  bool loadSprite(int n, std::span<const uint8_t> bmp, bool rotatable);
  void setTransparentColour(int n, Rgb);
  void drawSprite(int n, int x, int y);
  void drawTransparentSprite(int n, int x, int y);
  // drawTransparentSprite at each place in turn: a frame's thousands of cannonballs in a call.
  void drawTransparentSprites(int n, std::span<const Point> at);
  bool createRotatable(int r, int sprite);
  void setRotation(int r, float degrees, bool relative);
  float rotation(int r) const;
  void drawRotatable(int r, int x, int y);
  bool spritesOverlap(int a, int xa, int ya, int b, int xb, int yb);
  // A sprite's width and height; 0 x 0 when there is none.
  Size spriteSize(int n) const;
  void beginRotatedDrawing();
  void endRotatedDrawing();

  bool beginDrawing();            // onto the back buffer
  bool beginDrawing(int sprite);  // onto a sprite
  void endDrawing();
  void fillBox(int x, int y, int w, int h, Rgb);
  void fillRoundBox(int x, int y, int w, int h, int rx, int ry, Rgb);
  void fillCircle(int x, int y, int r, Rgb);
  bool loadFont(int n, const std::string& face, int points);
  void useFont(int n);
  void drawText(int x, int y, std::string_view utf8Text);

  bool loadSound(int n, std::span<const uint8_t> wav);
  void playSound(int n, int volume);

  void pollKeyboard();
  bool keyDown(Key);
  bool keyReleased(Key);
  // Player `spieler`'s (0 or 1) controls in the reading pollKeyboard took, from the keys and
  // the pads that steer that player; none for others. A pad's Start and Back count as
  // Return and Escape.
  Steuerung steuerung(int spieler) const;
  // One player: every pad steers Player 1. Two: the first pad plugged in steers Player 1 and
  // the second Player 2, or a lone pad Player 2 (the keyboard has Player 1).
  void setPlayerCount(int players);
  void setKeyBindings(const KeyBindings& bindings);
  // A short rumble of the pads that steer player `spieler`.
  void rumble(int spieler);
  bool hasFocus();

  int randomInt(int max);
  // The seed of randomInt's generator, given or drawn at construction.
  uint32_t randomSeed() const;
  bool messageBox(const std::string& title, const std::string& text, MessageKind);

  Rgb pixel(int x, int y) const;  // back-buffer read-back; black outside
  Backend& backend();
  // Drawings on the back buffer are made when the frame is shown (or a pixel read), and a
  // frame that begins anew over the whole screen (the sea) is compared with the one before:
  // on (from the start), only where the two differ is painted again, to the same pixels.
  // Tests turn it off to compare with frames painted whole.
  void repaintOnlyWhatChanged(bool on);
  // While silent, nothing is drawn, played or shown, and neither window events nor pauses
  // are taken; rotations still turn and sprites' masks still collide, so a silent frame
  // changes a battle exactly as a shown one does. For frames simulated a second time.
  void setSilent(bool on);
  bool silent() const;
  // While `into` is set, the sounds asked for are added to it as (sound, volume) instead of
  // played, silent or not: a network battle decides afterwards which of a frame's it plays.
  void captureSounds(std::vector<std::pair<int, int>>* into);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
