// libFuzzer target: arbitrary bytes as a replay file. Whatever the reader accepts must encode
// back to exactly the bytes it came from, so that nothing it lets through was misread.
#include <cstdlib>
#include <span>

#include "replay/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const ReplayReading reading = readReplay(bytes, true);
  if (reading.replay.has_value() != (reading.problem == ReplayProblem::None)) std::abort();
  if (reading.replay) {
    const std::vector<uint8_t> again = encodeReplay(*reading.replay);
    if (!std::equal(again.begin(), again.end(), bytes.begin(), bytes.end())) std::abort();
  }
  return 0;
}
