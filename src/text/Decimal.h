// A small unsigned number written in decimal digits only, as a typed choice
// or a side file's field gives it: no sign, no blanks, no more digits than
// the largest value has.
#pragma once
#include <string_view>

namespace lumo {

// The value of digits when it is 0..max, else -1.
inline int DecimalUpTo(std::string_view digits, int max) {
  int width = 1;
  for (int m = max; m >= 10; m /= 10) ++width;
  if (digits.empty() || int(digits.size()) > width) return -1;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n <= max ? n : -1;
}

}  // namespace lumo
