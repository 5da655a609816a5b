// Build step: turns the readable sample source into the sample file of 72-byte records.
//   make_samples SOURCE OUTPUT

#include <iostream>

#include "data/sample_source.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_samples SOURCE OUTPUT\n";
    return 2;
  }
  if (const auto error = jubilora::BuildSampleFile(argv[1], argv[2])) {
    std::cerr << *error << '\n';
    return 1;
  }
  return 0;
}
