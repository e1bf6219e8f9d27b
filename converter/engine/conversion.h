// One conversion as a page performs it, for any category, and the keystroke
// rule built on it.
#pragma once
#include <cstddef>

#include "converter/engine/catalogue.h"

// `value` typed in unit `source` of category `category` (tab index), expressed
// in unit `target`: the factor table for the linear categories, the kelvin
// formulas for Temperature. Unknown categories or units give 0.
double ConvertValue(int category, int source, int target, double value);

// How a page writes its results (see ResultToText).
struct ResultOptions {
  int notation = kDefaultNotation;
  int decimals = kDefaultDecimals;
  int noTrailingZeros = kDefaultNoTrailingZeros;
};

// Receives one result: the unit's index and its text. The text lives in the
// caller's buffer and the next result overwrites it.
using ResultSink = void (*)(void* context, int unit, const char* text);

// `value` in unit `source` converted to every other unit of `category`, in
// unit order, each formatted into `text` and handed to `sink`. Nothing is
// allocated; with textSize at least kResultTextSize every text is whole.
// An unknown category gives no result.
void ConvertToEveryUnit(int category, int source, double value, const ResultOptions& options, char* text,
                        size_t textSize, ResultSink sink, void* context);

// The keystroke rule: reads `typed` as a number (ReadNumber) and converts it
// as ConvertToEveryUnit does. `typed` may be `text` itself, as on a page whose
// one buffer holds the typed text and then each result: it is read before the
// first result is written. Returns the value read.
double ConvertTypedText(int category, int source, const char* typed, const ResultOptions& options, char* text,
                        size_t textSize, ResultSink sink, void* context);
