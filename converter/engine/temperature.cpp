#include "converter/engine/temperature.h"

#include "converter/engine/number_reading.h"

namespace {

constexpr double kCelsiusZero = 273.15;
constexpr double kFahrenheitOffset = 32;
constexpr double kFiveNinths = 0.5555555555555556;  // a multiplier: no division by 9
constexpr double kReaumurToKelvin = 1.25;
constexpr double kKelvinToFahrenheit = 1.8;
constexpr double kKelvinToReaumur = 0.8;

}  // namespace

double TemperatureToKelvin(int scale, double value) {
  switch (scale) {
    case kCelsius:
      return value + kCelsiusZero;
    case kFahrenheit:
      return (value - kFahrenheitOffset) * kFiveNinths + kCelsiusZero;
    case kRankine:
      return value * kFiveNinths;
    case kReaumur:
      return value * kReaumurToKelvin + kCelsiusZero;
    default:
      return value;
  }
}

double KelvinToScale(double kelvin, int scale) {
  const double celsius = kelvin - kCelsiusZero;
  switch (scale) {
    case kCelsius:
      return celsius;
    case kFahrenheit:
      return celsius * kKelvinToFahrenheit + kFahrenheitOffset;
    case kRankine:
      return kelvin * kKelvinToFahrenheit;
    case kReaumur:
      return celsius * kKelvinToReaumur;
    case kKelvin:
      return kelvin;
    default:
      return 0;
  }
}

double ConvertTemperature(int source, int target, double value) {
  return KelvinToScale(TemperatureToKelvin(source, value), target);
}

bool IsBelowAbsoluteZero(const char* kelvinText) {
  return ReadNumber(kelvinText) < 0;
}
