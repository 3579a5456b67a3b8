#pragma once

#include "platform/random_source.h"

#include <random>

class QtRandomSource : public RandomSource {
  public:
    QtRandomSource();  // seeded with the seconds since midnight
    double nextFraction() override;

  private:
    std::mt19937 generator_;
};
