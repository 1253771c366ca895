// Mixes any number of overlapping playbacks into the audio output at linear gain, through a
// limiter that keeps the sum off full scale.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "media/backend.h"
#include "media/limiter.h"

class Mixer : public AudioSource {
 public:
  explicit Mixer(AudioFormat format);
  AudioFormat format() const;
  // Stores a decoded sound (already in the output format) under number n, replacing one there.
  void setSound(int n, std::vector<int16_t> samples);
  bool hasSound(int n) const;
  // Starts a new playback of sound n at volume 0..100 (clamped; 0 starts nothing).
  void play(int n, int volume);
  int activeVoices() const;
  void render(int16_t* out, int frames) override;

 private:
  struct Voice {
    std::shared_ptr<const std::vector<int16_t>> samples;
    size_t position;
    int gainPercent;
  };
  // Adds the next `count` samples of one voice to the accumulator at its gain.
  void mixVoice(Voice& voice, size_t count);

  AudioFormat format_;
  std::map<int, std::shared_ptr<const std::vector<int16_t>>> sounds_;
  std::vector<Voice> voices_;
  std::vector<int32_t> accumulator_;
  Limiter limiter_;
};
