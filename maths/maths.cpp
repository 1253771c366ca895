#include "maths/maths.h"

#include <cmath>

// For now the C library's functions; they are replaced by kernels of our own that do not
// depend on the processor.
namespace maths {

double sin(double x) { return std::sin(x); }
double cos(double x) { return std::cos(x); }
float acos(float x) { return std::acos(x); }
double acos(double x) { return std::acos(x); }
double atan2(double y, double x) { return std::atan2(y, x); }

}  // namespace maths
