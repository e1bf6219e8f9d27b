// Result text of a conversion, identical on every runtime: the texts of the
// classic Windows C runtime's %f, %E and %G conversions, produced here digit by
// digit from the exact binary value instead of by the linked printf.
#pragma once
#include <cstddef>

// Room for the longest result plus its terminator: a "Float only" text of the
// largest double at 32 decimals ("-", 309 digits, ".", 32 digits). Pages size
// their text buffer with it so that every result is written whole.
constexpr size_t kResultTextSize = 1 + 309 + 1 + 32 + 1;

// Writes `value` as text into `out` (at most outSize - 1 characters, always
// terminated) and returns the number of characters written; with outSize at
// least kResultTextSize nothing is ever cut.
//   notation 1: "%0.<decimals>f"; 2: "%0.<decimals>E"; anything else:
//   "%0.<decimals>G". Exponents carry a sign and at least three digits; exact
//   halves round away from zero; digits are those of the exact binary value.
//   decimals: 0 to 32 (values outside are clamped to that range).
//   noTrailingZeros: when 1, StripTrailingZeros is applied to texts that hold
//   none of "-", "+", "#", "N", "E".
// Infinities and NaNs read "1.#INF", "-1.#INF", "1.#QNAN", "-1.#QNAN", and the
// default NaN of invalid operations "-1.#IND" (a signalling NaN: "1.#SNAN").
size_t ResultToText(double value, int notation, int decimals, int noTrailingZeros,
                    char* out, size_t outSize);

// Removes trailing zeros after a decimal point, then the point if nothing
// follows it: "12.500000" -> "12.5", "12.000000" -> "12", "0.000000" -> "0";
// a text without a point ("100") is unchanged. Null is ignored.
void StripTrailingZeros(char* text);
