// The converter's fixed knowledge of its seven pages: categories in tab order,
// their units, control identifiers and registry value names. Every other part
// of the program reads these facts from here. This table and
// temperature_notes.h are the only parts of the engine that know about
// windows (identifiers and texts, as plain numbers and strings); the
// conversion and formatting code takes nothing from them but unit counts.
#pragma once

enum UnitCategory {
  kCategoryLength = 0,
  kCategoryArea = 1,
  kCategoryVolume = 2,
  kCategoryWeight = 3,
  kCategoryDensity = 4,
  kCategorySpeed = 5,
  kCategoryTemperature = 6,
};
constexpr int kCategoryCount = 7;

// How a page writes its results.
enum Notation {
  kNotationFloat = 1,       // "Float only"
  kNotationScientific = 2,  // "Scientific Notation only"
  kNotationShorter = 3,     // "Whichever is Shorter" (also any other stored value)
};

// Built-in page options.
constexpr int kDefaultNoTrailingZeros = 1;
constexpr int kDefaultNotation = kNotationFloat;
constexpr int kDefaultDecimals = 6;
constexpr int kMaxDecimals = 32;

// Option value names: the page's registry prefix followed by these words.
constexpr const char kNoTrailingZerosValue[] = "NoTrailingZeros";
constexpr const char kExpressResultsAsValue[] = "ExpressResultsAs";
constexpr const char kRoundOffToValue[] = "RoundOffTo";
constexpr const char kLastUsedEditValue[] = "LastUsedEB";

struct UnitInfo {
  const char* caption;    // text of the unit's push button
  const char* valueName;  // registry value holding the text of the unit's edit box
};

struct CategoryInfo {
  const char* name;            // tab text
  int dialogId;                // page dialog template
  const char* title;           // page title (UTF-8, the programs' code page)
  int titleId;                 // static control showing the title
  const char* registryPrefix;  // in front of every value name of the page
  int unitCount;
  int firstButtonId;           // unit i: firstButtonId + i
  int firstEditId;             // unit i: firstEditId + i == its button + unitCount
  int clearId;                 // "&Clear"
  int noTrailingZerosId;       // "No &Trailing Zeros" check box
  int expressGroupId;          // "&Express Results as:" group box, Clear + 2
  int floatRadioId;            // "Float only"
  int scientificRadioId;       // "Scientific Notation only"
  int shorterRadioId;          // "Whichever is Shorter"
  int roundGroupId;            // "&Round Decimal" group box, Clear + 6
  int decimalsListId;          // decimal count drop-down list
  int defaultLastUsedEditId;   // last used edit box before anything was typed
  const UnitInfo* units;       // unitCount entries in page order
};

// The category shown on tab `tab` (0 to 6), or null for any other value.
const CategoryInfo* CategoryAt(int tab);

// Index of the unit whose edit box (or button) is `controlId`, or -1.
int UnitIndexOfEdit(const CategoryInfo& category, int controlId);
int UnitIndexOfButton(const CategoryInfo& category, int controlId);
