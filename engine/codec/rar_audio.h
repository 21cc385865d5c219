#pragma once
// The adaptation step shared by RAR's two audio predictors (RAR 2.0's multimedia blocks and the RAR
// 2.9-4.x audio filter): every 32 samples the predictor looks at the summed errors it would have made
// with each coefficient one step lower (odd buckets) or higher (even buckets), moves the coefficient
// of the smallest sum by one within -17..16, and starts the sums again. Bucket 0, the error as it is,
// changes nothing and wins ties.

#include <cstring>

namespace mx::codec::rar {

inline void AdaptCoefficients(unsigned* dif, unsigned buckets, int* const* coefficients) noexcept {
  unsigned best = 0;
  for (unsigned i = 1; i < buckets; ++i)
    if (dif[i] < dif[best]) best = i;
  std::memset(dif, 0, buckets * sizeof *dif);
  if (best == 0) return;
  int& k = *coefficients[(best - 1) / 2];
  if (best & 1) {
    if (k >= -16) --k;
  } else if (k < 16) {
    ++k;
  }
}

}  // namespace mx::codec::rar
