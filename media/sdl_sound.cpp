// The audio device, filled by the mixer from SDL's audio thread.
#include <SDL.h>

#include "media/sdl_backend.h"

namespace {

constexpr int kAudioRate = 44100;
constexpr int kAudioFrames = 1024;

}  // namespace

void SdlBackend::audioCallback(void* link, uint8_t* stream, int bytes) {
  const auto* audio = static_cast<const AudioLink*>(link);
  const int frames = bytes / static_cast<int>(sizeof(int16_t)) / audio->channels;
  audio->source->render(reinterpret_cast<int16_t*>(stream), frames);
}

bool SdlBackend::openAudio(AudioSource* source, AudioFormat& format) {
  closeAudio();
  if (source == nullptr) return false;
  SDL_AudioSpec want{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = kAudioFrames;
  want.callback = &SdlBackend::audioCallback;
  want.userdata = &audioLink_;
  SDL_AudioSpec have{};
  audioLink_ = {source, want.channels};
  // The rate may follow the device (no resampling in SDL then); the channel count may not:
  // the source starts rendering before its owner learns the format, and stereo frames
  // into a mono device's buffer would overrun it. SDL converts channels itself.
  audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (audioDevice_ == 0) return false;  // no device: the game runs silent
  format = {have.freq, have.channels};
  SDL_PauseAudioDevice(audioDevice_, 0);
  return true;
}

void SdlBackend::closeAudio() {
  if (audioDevice_ != 0) SDL_CloseAudioDevice(audioDevice_);
  audioDevice_ = 0;
}

void SdlBackend::lockAudio() {
  if (audioDevice_ != 0) SDL_LockAudioDevice(audioDevice_);
}

void SdlBackend::unlockAudio() {
  if (audioDevice_ != 0) SDL_UnlockAudioDevice(audioDevice_);
}
