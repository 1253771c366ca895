// Shows that glibc's maths takes another code path when told to (GLIBC_TUNABLES) and ours does
// not: "record FILE" writes the sine and cosine of many headings, from the C library and from
// the module, "compare FILE" (run with the tunables) counts the results that changed. Exits
// with 1 when one of ours changed, or when the C library's did not on a processor with FMA
// and AVX2 (then the tunables no longer switch anything, and tests run with them prove
// nothing); with 77 (skipped) on other processors.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <vector>

#include "maths/maths.h"

namespace {

constexpr int kHeadings = 300000;

// Both functions from both sources, in one row per heading.
std::vector<double> results() {
  std::vector<double> out;
  out.reserve(kHeadings * 4);
  for (int i = 0; i < kHeadings; ++i) {
    const double degrees = -360.0 + 1080.0 * i / kHeadings;
    const double x = degrees * (std::numbers::pi / 180.0);
    for (const double v : {std::sin(x), std::cos(x), maths::sin(x), maths::cos(x)}) {
      out.push_back(v);
    }
  }
  return out;
}

bool bothPaths() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s record|compare FILE\n", argv[0]);
    return 2;
  }
  const std::vector<double> now = results();
  const auto bytes = static_cast<std::streamsize>(now.size() * sizeof(double));
  if (std::strcmp(argv[1], "record") == 0) {
    std::ofstream(argv[2], std::ios::binary)
        .write(reinterpret_cast<const char*>(now.data()), bytes);
    return 0;
  }
  std::vector<double> before(now.size());
  std::ifstream in(argv[2], std::ios::binary);
  if (!in.read(reinterpret_cast<char*>(before.data()), bytes)) {
    std::fprintf(stderr, "no recording in %s\n", argv[2]);
    return 2;
  }
  int changed[4] = {};
  for (size_t i = 0; i < now.size(); ++i) {
    changed[i % 4] += std::memcmp(&now[i], &before[i], sizeof(double)) != 0;
  }
  std::printf(
      "Of %d headings, std::sin changed on %d, std::cos on %d; maths::sin on %d, "
      "maths::cos on %d\n",
      kHeadings, changed[0], changed[1], changed[2], changed[3]);
  if (changed[2] + changed[3] > 0) return 1;
  if (!bothPaths()) {
    std::printf("This processor lacks FMA or AVX2: glibc has no other path to take here\n");
    return 77;
  }
  return changed[0] + changed[1] > 0 ? 0 : 1;
}
