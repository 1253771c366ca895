#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "media/media_impl.h"

namespace {

// Sounds loaded while there is no audio device are only checked; any format will do.
constexpr AudioFormat kCheckFormat{22050, 1};

}  // namespace

void Media::Impl::openAudio() {
  closeAudio();
  AudioFormat format = kWantedAudio;
  outlet.connect(nullptr, format.channels);
  if (!backend->openAudio(&outlet, format)) return;  // no device: silent
  audioOpen = true;
  auto created = std::make_unique<Mixer>(format);
  backend->lockAudio();
  mixer = std::move(created);
  outlet.connect(mixer.get(), mixer->format().channels);
  backend->unlockAudio();
}

void Media::Impl::closeAudio() {
  if (!audioOpen) return;
  backend->closeAudio();  // the device pulls no more, so the mixer can go
  audioOpen = false;
  outlet.connect(nullptr, kWantedAudio.channels);
  mixer.reset();
}

// --- sound

bool Media::loadSound(int n, std::span<const uint8_t> wav) {
  Mixer* mixer = impl_->mixer.get();
  std::optional<std::vector<int16_t>> samples =
      impl_->decodedSounds.decode(wav, mixer != nullptr ? mixer->format() : kCheckFormat);
  if (!samples) return false;
  if (mixer == nullptr) return true;  // silent game: nothing to keep
  impl_->backend->lockAudio();
  mixer->setSound(n, std::move(*samples));
  impl_->backend->unlockAudio();
  return true;
}

void Media::captureSounds(std::vector<std::pair<int, int>>* into) { impl_->capturedSounds = into; }

void Media::playSound(int n, int volume) {
  if (impl_->capturedSounds != nullptr) {
    impl_->capturedSounds->emplace_back(n, volume);
    return;
  }
  if (impl_->silent) return;
  impl_->backend->soundStarted(n, volume);
  Mixer* mixer = impl_->mixer.get();
  if (mixer == nullptr) return;
  impl_->backend->lockAudio();
  mixer->play(n, volume);  // clamps to 0..100
  impl_->backend->unlockAudio();
}
