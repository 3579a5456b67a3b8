#pragma once

// Fractions in [0, 1) from a generator seeded with the seconds since midnight.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double nextFraction() = 0;
};
