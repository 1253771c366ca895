#include "media/mixer.h"

#include <algorithm>

namespace {

// Enough for the device buffers and overlapping shots seen in a battle; more still works,
// it only allocates outside the audio callback.
constexpr size_t kReservedVoices = 64;
constexpr size_t kReservedFrames = 4096;

}  // namespace

Mixer::Mixer(AudioFormat format)
    : format_{format.rate, std::max(format.channels, 1)}, limiter_(format_.rate, format_.channels) {
  voices_.reserve(kReservedVoices);
  accumulator_.reserve(kReservedFrames * static_cast<size_t>(format_.channels));
}

AudioFormat Mixer::format() const { return format_; }

void Mixer::setSound(int n, std::vector<int16_t> samples) {
  // Playing voices keep their own reference, so replacing a sound never cuts one off.
  sounds_[n] = std::make_shared<const std::vector<int16_t>>(std::move(samples));
}

bool Mixer::hasSound(int n) const { return sounds_.contains(n); }

void Mixer::play(int n, int volume) {
  const int gain = std::clamp(volume, 0, 100);
  const auto found = sounds_.find(n);
  if (gain == 0 || found == sounds_.end() || found->second->empty()) return;
  voices_.push_back(Voice{found->second, 0, gain});
}

int Mixer::activeVoices() const { return static_cast<int>(voices_.size()); }

void Mixer::render(int16_t* out, int frames) {
  const size_t count = static_cast<size_t>(std::max(frames, 0)) * format_.channels;
  if (accumulator_.size() < count) accumulator_.resize(count);
  std::fill_n(accumulator_.begin(), count, 0);
  for (Voice& voice : voices_) mixVoice(voice, count);
  std::erase_if(voices_, [](const Voice& v) { return v.position >= v.samples->size(); });
  limiter_.process(accumulator_.data(), out, std::max(frames, 0));
}

void Mixer::mixVoice(Voice& voice, size_t count) {
  const std::vector<int16_t>& samples = *voice.samples;
  const size_t take = std::min(count, samples.size() - voice.position);
  const int16_t* from = samples.data() + voice.position;
  for (size_t i = 0; i < take; ++i) accumulator_[i] += from[i] * voice.gainPercent / 100;
  voice.position += take;
}
