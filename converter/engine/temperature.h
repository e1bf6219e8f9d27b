// Temperature scales convert through kelvin by fixed formulas.
#pragma once

enum TemperatureScale {
  kCelsius = 0,
  kFahrenheit = 1,
  kRankine = 2,
  kReaumur = 3,
  kKelvin = 4,
};

// Static texts of the Temperature page.
constexpr int kAbsoluteZeroNoteId = 1302;     // three lines, set once at creation
constexpr int kAbsoluteZeroWarningId = 1303;  // empty or the warning below
constexpr const char kAbsoluteZeroNote[] =
    "The customary definition of kelvin temperature is incapable of being below zero in "
    "any possible configuration of atoms with any possible momenta.";
constexpr const char kAbsoluteZeroWarning[] =
    "No temperature conversions are valid below absolute zero kelvin.";

// `value` on scale `scale` in kelvin; an unknown scale is taken as kelvin.
double TemperatureToKelvin(int scale, double value);
// `kelvin` on scale `scale`; an unknown scale gives 0.
double KelvinToScale(double kelvin, int scale);
// Both steps: `value` on scale `source` expressed on scale `target`.
double ConvertTemperature(int source, int target, double value);

// True when the Kelvin box text, read like a typed value, is below zero: the
// page then shows kAbsoluteZeroWarning, otherwise the empty text.
bool IsBelowAbsoluteZero(const char* kelvinText);
