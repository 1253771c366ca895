// RIFF WAVE decoding: SDL parses the file and converts it once to the output format.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/sdl_decode.h"

namespace {

struct WavBuffer {
  Uint8* data = nullptr;
  Uint32 length = 0;
  ~WavBuffer() { SDL_FreeWAV(data); }
};

// The conversion runs in float; SDL's resampler overshoots full scale on 8-bit data,
// so the clamp to 16 bits is ours.
int16_t toSample(float x) {
  return static_cast<int16_t>(std::lrint(std::clamp(x, -1.0f, 1.0f) * 32767.0f));
}

// SDL_AudioCVT rather than SDL_AudioStream: the stream's flush in SDL 2.26 drops the last
// 512 source frames when it resamples, cutting the end off every sound.
std::optional<std::vector<float>> convert(const SDL_AudioSpec& from, const WavBuffer& wav,
                                          AudioFormat to) {
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq, AUDIO_F32SYS,
                        static_cast<Uint8>(to.channels), to.rate) < 0) {
    return std::nullopt;
  }
  const size_t room = static_cast<size_t>(wav.length) * static_cast<size_t>(cvt.len_mult);
  if (room > static_cast<size_t>(INT32_MAX)) return std::nullopt;
  std::vector<Uint8> buffer(std::max(room, size_t{1}));
  std::copy_n(wav.data, wav.length, buffer.data());
  cvt.buf = buffer.data();
  cvt.len = static_cast<int>(wav.length);
  if (SDL_ConvertAudio(&cvt) != 0) return std::nullopt;
  std::vector<float> out(static_cast<size_t>(cvt.len_cvt) / sizeof(float));
  std::memcpy(out.data(), buffer.data(), out.size() * sizeof(float));
  return out;
}

}  // namespace

std::optional<std::vector<int16_t>> decodeWav(std::span<const uint8_t> bytes, AudioFormat to) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT32_MAX)) return std::nullopt;
  if (to.rate <= 0 || to.channels < 1 || to.channels > 8) return std::nullopt;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) return std::nullopt;
  SDL_AudioSpec source{};
  WavBuffer wav;
  if (SDL_LoadWAV_RW(rw, 1, &source, &wav.data, &wav.length) == nullptr) return std::nullopt;
  const auto converted = convert(source, wav, to);
  if (!converted) return std::nullopt;
  std::vector<int16_t> samples(converted->size());
  std::transform(converted->begin(), converted->end(), samples.begin(), toSample);
  return samples;
}
