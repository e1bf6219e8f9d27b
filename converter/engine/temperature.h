// Temperature scales convert through kelvin by fixed formulas. The page's two
// static texts are in temperature_notes.h.
#pragma once

enum TemperatureScale {
  kCelsius = 0,
  kFahrenheit = 1,
  kRankine = 2,
  kReaumur = 3,
  kKelvin = 4,
};

// `value` on scale `scale` in kelvin; an unknown scale is taken as kelvin.
double TemperatureToKelvin(int scale, double value);
// `kelvin` on scale `scale`; an unknown scale gives 0.
double KelvinToScale(double kelvin, int scale);
// Both steps: `value` on scale `source` expressed on scale `target`.
double ConvertTemperature(int source, int target, double value);

// True when the Kelvin box text, read like a typed value, is below zero: the
// page then shows kAbsoluteZeroWarning, otherwise the empty text.
bool IsBelowAbsoluteZero(const char* kelvinText);
