// Reads the number at the start of a typed text, the same on every runtime and
// in every locale.
#pragma once

// Accepts leading white space (space, tab, line feed, vertical tab, form feed,
// carriage return), an optional sign, digits with an optional point and an
// optional exponent ("e" or "E", optional sign, digits), and stops at the first
// character that does not fit. A text without digits, "inf", "nan" and
// hexadecimal forms read as 0 (a hexadecimal text reads its leading "0").
// The result is the double nearest to the decimal value (ties to even); values
// too large give plus or minus infinity. A null text reads as 0.
double ReadNumber(const char* text);
