#include "media/sdl_backend.h"

#include <SDL.h>

SdlBackend::SdlBackend() = default;
SdlBackend::~SdlBackend() { shutdown(); }

bool SdlBackend::initScreen() { started_ = SDL_Init(SDL_INIT_VIDEO) == 0; return started_; }
bool SdlBackend::initKeyboard() { return SDL_InitSubSystem(SDL_INIT_EVENTS) == 0; }
bool SdlBackend::initSound() { return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0; }
void SdlBackend::shutdown() {
  if (started_) SDL_Quit();
  started_ = false;
}
Size SdlBackend::desktopSize() { return {}; }
bool SdlBackend::openWindow(int, int) { return false; }
bool SdlBackend::openScreen(int, int) { return false; }
void SdlBackend::closeWindow() {}
void SdlBackend::present(const uint32_t*, int, int) {}
bool SdlBackend::pollEvent() { return false; }
void SdlBackend::keyboardSnapshot(std::array<bool, kKeyCount>& down) { down.fill(false); }
bool SdlBackend::messageBox(const std::string&, const std::string&, MessageKind) { return false; }
void SdlBackend::sleepMs(int ms) { SDL_Delay(static_cast<Uint32>(ms)); }
uint64_t SdlBackend::nowMicros() { return SDL_GetTicks64() * 1000; }
bool SdlBackend::openAudio(AudioSource*, AudioFormat&) { return false; }
void SdlBackend::closeAudio() {}
void SdlBackend::lockAudio() {}
void SdlBackend::unlockAudio() {}
