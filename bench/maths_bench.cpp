// The battle's maths against glibc's: first how often the two give the same bits over ten
// million arguments from the game's ranges (headings from -360 to 720 degrees in radians,
// float ratios in [-1, 1] for the captains' arc cosine), and how far apart they are at worst;
// then what one call of each costs. Run it once more with
// GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2,-FMA for glibc's other code path.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

#include "maths/maths.h"

namespace {

constexpr int kArguments = 10'000'000;

class Spread {
 public:
  Spread(double lo, double hi) : lo_(lo), width_(hi - lo) {}
  double next() {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return lo_ + width_ * static_cast<double>(state_ >> 11) * 0x1p-53;
  }

 private:
  double lo_, width_;
  uint64_t state_ = 2024;
};

double radians(double degrees) { return degrees * (std::numbers::pi / 180.0); }

int64_t ulpsApart(double a, double b) {
  if (std::isnan(a) && std::isnan(b)) return 0;
  const auto order = [](double v) {
    const auto i = std::bit_cast<int64_t>(v);
    return i < 0 ? INT64_MIN - i : i;
  };
  return std::llabs(order(a) - order(b));
}

int64_t ulpsApart(float a, float b) {
  if (std::isnan(a) && std::isnan(b)) return 0;
  const auto order = [](float v) {
    const int64_t i = std::bit_cast<int32_t>(v);
    return i < 0 ? -(i & 0x7fffffff) : i;
  };
  return std::llabs(order(a) - order(b));
}

template <typename Pair>
void agreement(const char* name, Spread spread, Pair pair) {
  int64_t same = 0, worst = 0;
  for (int i = 0; i < kArguments; ++i) {
    const auto [ours, glibc] = pair(spread);
    const int64_t apart = ulpsApart(ours, glibc);
    same += apart == 0;
    worst = std::max(worst, apart);
  }
  std::printf("  %-6s %9lld of %d the same bits (%.4f %%), at most %lld ulp apart\n", name,
              static_cast<long long>(same), kArguments, 100.0 * same / kArguments,
              static_cast<long long>(worst));
}

void reportAgreement() {
  std::printf("Agreement with glibc over %d arguments each:\n", kArguments);
  agreement("sin", Spread(-360, 720), [](Spread& s) {
    const double x = radians(s.next());
    return std::pair{maths::sin(x), std::sin(x)};
  });
  agreement("cos", Spread(-360, 720), [](Spread& s) {
    const double x = radians(s.next());
    return std::pair{maths::cos(x), std::cos(x)};
  });
  agreement("acosf", Spread(-1, 1), [](Spread& s) {
    const auto x = static_cast<float>(s.next());
    return std::pair{maths::acos(x), std::acos(x)};
  });
  agreement("atan2", Spread(-2000, 2000), [](Spread& s) {
    const double y = s.next(), x = s.next();
    return std::pair{maths::atan2(y, x), std::atan2(y, x)};
  });
  std::printf("\n");
}

// 4096 arguments, taken in turn, so that no branch predictor learns one of them.
template <typename T>
std::array<T, 4096> arguments(double lo, double hi, bool inRadians) {
  std::array<T, 4096> a{};
  Spread s(lo, hi);
  for (T& x : a) x = static_cast<T>(inRadians ? radians(s.next()) : s.next());
  return a;
}

template <typename T, typename F>
void perCall(benchmark::State& state, const std::array<T, 4096>& args, F f) {
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f(args[i]));
    i = (i + 1) & 4095;
  }
}

const auto kHeadings = arguments<double>(-360, 720, true);
const auto kRatios = arguments<float>(-1, 1, false);

void mathsSin(benchmark::State& s) {
  perCall(s, kHeadings, [](double x) { return maths::sin(x); });
}
void stdSin(benchmark::State& s) {
  perCall(s, kHeadings, [](double x) { return std::sin(x); });
}
void mathsCos(benchmark::State& s) {
  perCall(s, kHeadings, [](double x) { return maths::cos(x); });
}
void stdCos(benchmark::State& s) {
  perCall(s, kHeadings, [](double x) { return std::cos(x); });
}
void mathsAcosf(benchmark::State& s) {
  perCall(s, kRatios, [](float x) { return maths::acos(x); });
}
void stdAcosf(benchmark::State& s) {
  perCall(s, kRatios, [](float x) { return std::acos(x); });
}
BENCHMARK(mathsSin);
BENCHMARK(stdSin);
BENCHMARK(mathsCos);
BENCHMARK(stdCos);
BENCHMARK(mathsAcosf);
BENCHMARK(stdAcosf);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  reportAgreement();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
