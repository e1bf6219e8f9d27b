// The texts a page shows after a keystroke, taken from the engine's own
// keystroke rule, so that a test compares the page with the rule itself.
#pragma once
#include <string>
#include <vector>

#include "converter/engine/conversion.h"
#include "converter/engine/result_format.h"

namespace qtest {

inline void CollectText(void* texts, int unit, const char* text) {
  (*static_cast<std::vector<std::string>*>(texts))[unit] = text;
}

// Every unit's text after `value` was converted from unit `source`; the
// source's own entry stays empty.
inline std::vector<std::string> ConvertedTexts(int category, int source, double value,
                                               const ResultOptions& options = ResultOptions()) {
  std::vector<std::string> texts(CategoryAt(category)->unitCount);
  char text[kResultTextSize];
  ConvertToEveryUnit(category, source, value, options, text, sizeof text, CollectText, &texts);
  return texts;
}

// Every unit's text after `typed` was typed into unit `source`, which keeps it.
inline std::vector<std::string> TypedTexts(int category, int source, const std::string& typed,
                                           const ResultOptions& options = ResultOptions()) {
  std::vector<std::string> texts(CategoryAt(category)->unitCount);
  char text[kResultTextSize];
  ConvertTypedText(category, source, typed.c_str(), options, text, sizeof text, CollectText, &texts);
  texts[source] = typed;
  return texts;
}

}  // namespace qtest
