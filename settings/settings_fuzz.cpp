// libFuzzer target: arbitrary bytes as a settings file. Reads and writes a few keys (top
// section, existing and missing groups, Latin-1 names, UTF-8 mode when the bytes start with
// the mark) and checks that saving is stable: the same writes applied to the saved file
// produce exactly the saved bytes again. Also checks that no read yields NaN.
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace {

constexpr std::string_view kManoev = "Man\xF6vrierf\xE4higkeit";

// One file per process; /dev/shm keeps the store's fsync from dominating the run time.
const std::string& fuzzFile() {
  static const std::string path = [] {
    const char* base = std::getenv("TMPDIR");
    std::string dir =
        base && *base ? base : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    std::string pattern = dir + "/kf_settings_fuzz_XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) std::abort();
    ::close(fd);
    return pattern;
  }();
  static const bool removedAtExit = [] {
    return std::atexit([] { ::unlink(fuzzFile().c_str()); }) == 0;
  }();
  (void)removedAtExit;
  return path;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void requireNotNaN(float value) {
  if (std::isnan(value)) std::abort();
}

// Values read in the first pass and written back in both, so the second pass repeats the
// first one's writes exactly.
struct Carried {
  float health = 0;
  int32_t count = 0;
};

Carried readSome(SettingsStore& store) {
  Carried carried;
  store.selectGroup("");
  store.readInt("Option", 1);
  for (std::string_view group : {"Schiff_1", "HMS Victory", "Gruppe \xE4", "Allgemein"}) {
    store.selectGroup(group);
    requireNotNaN(store.readFloat(kManoev, 0.5f));
    requireNotNaN(store.readFloat("TopSpeed", 2.0f));
    store.readInt("Health", 100);
  }
  store.selectGroup("Schiff_1");
  carried.health = store.readFloat("Health", 100.0f);
  requireNotNaN(carried.health);
  store.selectGroup("Allgemein");
  carried.count = store.readInt("Gegneranzahl", 1);
  return carried;
}

void writeSome(SettingsStore& store, const Carried& carried) {
  store.selectGroup("");
  store.writeInt("Oben", 1);
  store.selectGroup("Schiff_1");
  store.writeFloat("Health", carried.health);
  store.writeFloat(kManoev, 0.5f);
  store.selectGroup("Gruppe \xE4");
  store.writeInt("Gegneranzahl", carried.count);
  store.selectGroup("allgemein");
  store.writeInt("Option", 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& file = fuzzFile();
  writeFile(file, data, size);
  SettingsStore store;
  if (!store.openSettings(file)) std::abort();
  const Carried carried = readSome(store);
  writeSome(store, carried);
  store.closeSettings();
  const std::string first = readFile(file);

  if (!store.openSettings(file)) std::abort();
  writeSome(store, carried);
  store.closeSettings();
  if (readFile(file) != first) std::abort();
  return 0;
}
