// Sounds kept decoded between battles.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "media/backend.h"
#include "media/sdl_decode.h"

// Sounds decoded before, by their bytes: every battle loads the same two, and converting
// them to the device's rate is most of the cost of opening a battle.
class DecodedSounds {
 public:
  std::optional<std::vector<int16_t>> decode(std::span<const uint8_t> wav, AudioFormat format) {
    for (const Entry& e : entries_) {
      if (e.format.rate == format.rate && e.format.channels == format.channels &&
          std::equal(wav.begin(), wav.end(), e.bytes.begin(), e.bytes.end())) {
        return e.samples;
      }
    }
    std::optional<std::vector<int16_t>> samples = decodeWav(wav, format);
    if (!samples) return samples;
    if (entries_.size() == kKept) entries_.erase(entries_.begin());
    entries_.push_back({std::vector<uint8_t>(wav.begin(), wav.end()), format, *samples});
    return samples;
  }

 private:
  static constexpr size_t kKept = 4;
  struct Entry {
    std::vector<uint8_t> bytes;
    AudioFormat format;
    std::vector<int16_t> samples;
  };
  std::vector<Entry> entries_;
};
