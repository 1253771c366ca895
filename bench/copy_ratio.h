// Benchmarks read as multiples of one plain copy of the 1680 x 1050 back buffer, measured in
// the same run: on a shared, noisy machine the ratio holds still where absolute times do not.
#pragma once

#include <benchmark/benchmark.h>

#include <initializer_list>

// The yardstick: one memcpy of a whole back buffer into another.
void plainBackBufferCopy(benchmark::State& state);

// Adds the best (least) CPU time of a benchmark's repetitions to its report, beside the median:
// noise on a shared machine only ever adds time.
benchmark::internal::Benchmark* withBest(benchmark::internal::Benchmark* b);

// Runs every registered benchmark and the yardstick, then prints each benchmark's median
// CPU time as a number of plain copies, and its best one as a number of the best copies when
// both have it. Returns the exit code for main.
int runWithCopyRatios(int argc, char** argv);

// The same, printing also how many times slower the first of each pair is than the second.
struct Comparison {
  const char* slower;
  const char* faster;
};
int runWithCopyRatios(int argc, char** argv, std::initializer_list<Comparison> comparisons);
