// The transcendental functions the battle's step calls. Two computers in one network battle,
// and a replay on another machine, must get the same bits from them whatever the processor's
// features (FMA, AVX2) or the C library's version: the step calls these, never <cmath>'s.
#pragma once

namespace maths {

double sin(double x);
double cos(double x);
float acos(float x);
double acos(double x);
double atan2(double y, double x);

}  // namespace maths
