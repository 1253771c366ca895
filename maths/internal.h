// Shared by the module's own files only. The kernels test and set the two 32-bit halves of a
// double instead of comparing values: exact, and the same on every processor.
#pragma once

#include <bit>
#include <cstdint>

namespace maths::internal {

inline int32_t highWord(double x) {
  return static_cast<int32_t>(static_cast<uint32_t>(std::bit_cast<uint64_t>(x) >> 32));
}

inline uint32_t lowWord(double x) { return static_cast<uint32_t>(std::bit_cast<uint64_t>(x)); }

inline double fromWords(uint32_t high, uint32_t low) {
  return std::bit_cast<double>(uint64_t{high} << 32 | low);
}

// x * 2^e for the exponents the reduction meets (normal results): exact.
inline double scaled(double x, int e) {
  return x * fromWords(static_cast<uint32_t>(0x3ff + e) << 20, 0);
}

// x = n * pi/2 + (hi + lo), with |hi + lo| at most a little over pi/4.
struct Reduced {
  int32_t n;
  double hi, lo;
};

// For finite |x| from about 2^20 * pi/2 on: pi/2 taken to as many bits as x needs.
Reduced reduceLarge(double x);

}  // namespace maths::internal
