#include "platform/qt/qt_random_source.h"

#include <QTime>

QtRandomSource::QtRandomSource()
    : generator_(static_cast<std::mt19937::result_type>(
          QTime::currentTime().msecsSinceStartOfDay() / 1000)) {}

double QtRandomSource::nextFraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator_);
}
