// The Temperature page's two static texts and their control identifiers: what
// the page shows, kept apart from the formulas in temperature.h. Like the
// catalogue's identifiers, they live here so that the resource writer, the
// page and the tests read one copy.
#pragma once

constexpr int kAbsoluteZeroNoteId = 1302;     // three lines, set once at creation
constexpr int kAbsoluteZeroWarningId = 1303;  // empty or the warning below
constexpr const char kAbsoluteZeroNote[] =
    "The customary definition of kelvin temperature is incapable of being below zero in "
    "any possible configuration of atoms with any possible momenta.";
constexpr const char kAbsoluteZeroWarning[] =
    "No temperature conversions are valid below absolute zero kelvin.";

