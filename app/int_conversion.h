// Conversion of a double to int with truncation toward zero, defined for every input.
#pragma once

#include <climits>
#include <cmath>

// A value whose truncation does not fit in an int, or NaN, gives INT_MIN, the result the
// x86 conversion instruction produces; C++ leaves that case undefined.
inline int TruncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT_MIN;
  return static_cast<int>(value);
}
