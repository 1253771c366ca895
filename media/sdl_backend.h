// The game's platform: an SDL2 window with a stretched streaming texture, SDL audio,
// SDL keyboard state and SDL message boxes.
#pragma once

#include <array>
#include <cstdint>

#include "media/backend.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

class SdlBackend : public Backend {
 public:
  SdlBackend();
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  bool initScreen() override;
  bool initKeyboard() override;
  bool initSound() override;
  void shutdown() override;

  Size desktopSize() override;
  bool openWindow(int w, int h) override;
  bool openScreen(int w, int h) override;
  void closeWindow() override;
  void present(const uint32_t* pixels, int w, int h) override;
  bool pollEvent() override;

  void keyboardSnapshot(std::array<bool, kKeyCount>& down) override;

  bool messageBox(const std::string& title, const std::string& text, MessageKind) override;

  void sleepMs(int ms) override;
  uint64_t nowMicros() override;

  bool openAudio(AudioSource* source, AudioFormat& format) override;
  void closeAudio() override;
  void lockAudio() override;
  void unlockAudio() override;

 private:
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint32_t audioDevice_ = 0;
  bool started_ = false;
  std::array<bool, kKeyCount> latched_{};
};
