// Seeded random numbers and lattice noise for the artwork generator.
//
// Everything is built on integer hashing with explicit seeds, never on the standard library's
// distributions (whose output differs between implementations), so one seed always paints the
// same picture.
#pragma once

#include <cstdint>

namespace quivella::artgen {

// A small SplitMix64 generator: fast, well mixed and fully specified.
class Rng {
public:
  explicit Rng(std::uint64_t seed) : state(seed) {}

  std::uint64_t Next();
  // Returns a value in [0, 1).
  double Uniform();
  // Returns a value in [lo, hi).
  double Range(double lo, double hi);
  // Returns an integer in [0, n) for n > 0.
  int Below(int n);

private:
  std::uint64_t state;
};

// Returns the hashed value in [0, 1) of one lattice point.
double LatticeValue(int x, int y, std::uint32_t seed);
// Returns smoothly interpolated lattice noise in [0, 1).
double ValueNoise(double x, double y, std::uint32_t seed);
// Returns `octaves` layers of value noise, each twice as fine and half as strong, in [0, 1).
double Fractal(double x, double y, int octaves, std::uint32_t seed);

}  // namespace quivella::artgen
