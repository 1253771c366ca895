// Benchmarks read as multiples of one plain copy of the 1680 x 1050 back buffer, measured in
// the same run: on a shared, noisy machine the ratio holds still where absolute times do not.
#pragma once

#include <initializer_list>

namespace benchmark {
class State;
}

// The yardstick: one memcpy of a whole back buffer into another.
void plainBackBufferCopy(benchmark::State& state);

// Runs every registered benchmark and the yardstick, then prints each benchmark's median
// CPU time as a number of plain copies. Returns the exit code for main.
int runWithCopyRatios(int argc, char** argv);

// The same, printing also how many times slower the first of each pair is than the second.
struct Comparison {
  const char* slower;
  const char* faster;
};
int runWithCopyRatios(int argc, char** argv, std::initializer_list<Comparison> comparisons);
