#pragma once
// Comparing pictures pixel by pixel.

class QImage;

namespace jubilora::test {

// The largest difference of one channel (alpha included) between two pictures; 256 when their
// sizes differ.
int LargestDifference(const QImage& a, const QImage& b);

// The mean difference per colour channel (red, green, blue) and pixel; 256 when the sizes differ.
double MeanDifference(const QImage& a, const QImage& b);

}  // namespace jubilora::test
