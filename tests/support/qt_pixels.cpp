#include "support/qt_pixels.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>

namespace jubilora::test {

namespace {

// Calls `visit` with the difference of every channel of every pixel.
template <typename Visit>
bool EachDifference(const QImage& a, const QImage& b, int channels, Visit visit) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      for (int channel = 0; channel < channels; ++channel) {
        const int shift = 8 * channel;
        visit(std::abs(static_cast<int>((a.pixel(x, y) >> shift) & 0xFF) -
                       static_cast<int>((b.pixel(x, y) >> shift) & 0xFF)));
      }
  return true;
}

}  // namespace

int LargestDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  return EachDifference(a, b, 4, [&](int d) { largest = std::max(largest, d); }) ? largest : 256;
}

double MeanDifference(const QImage& a, const QImage& b) {
  long long sum = 0;
  if (!EachDifference(a, b, 3, [&](int d) { sum += d; })) return 256;
  return a.isNull() ? 0 : static_cast<double>(sum) / (3.0 * a.width() * a.height());
}

}  // namespace jubilora::test
