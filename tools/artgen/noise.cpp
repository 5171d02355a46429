// Seeded random numbers and lattice noise for the artwork generator.
#include "noise.h"

#include <cmath>

namespace quivella::artgen {

std::uint64_t Rng::Next() {
  state += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double Rng::Uniform() {
  // The top 53 bits fill a double's mantissa exactly.
  return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double Rng::Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

int Rng::Below(int n) { return static_cast<int>(Uniform() * n); }

double LatticeValue(int x, int y, std::uint32_t seed) {
  std::uint32_t h = seed * 0x27D4EB2DU;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6BU;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35U;
  h ^= h >> 16;
  h *= 0x7FEB352DU;
  h ^= h >> 15;
  h *= 0x846CA68BU;
  h ^= h >> 16;
  return static_cast<double>(h >> 8) * 0x1.0p-24;
}

namespace {

// Eases a fraction with zero slope at both ends, so the lattice cells join without creases.
double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = Fade(x - fx);
  const double ty = Fade(y - fy);
  const double a = LatticeValue(ix, iy, seed);
  const double b = LatticeValue(ix + 1, iy, seed);
  const double c = LatticeValue(ix, iy + 1, seed);
  const double d = LatticeValue(ix + 1, iy + 1, seed);
  const double top = a + (b - a) * tx;
  const double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fractal(double x, double y, int octaves, std::uint32_t seed) {
  double sum = 0.0;
  double weight = 0.5;
  double total = 0.0;
  for (int i = 0; i < octaves; ++i) {
    sum += weight * ValueNoise(x, y, seed + static_cast<std::uint32_t>(i) * 101U);
    total += weight;
    x *= 2.0;
    y *= 2.0;
    weight *= 0.5;
  }
  return sum / total;
}

}  // namespace quivella::artgen
