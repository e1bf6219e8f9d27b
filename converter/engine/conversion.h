// One conversion as a page performs it, for any category.
#pragma once

// `value` typed in unit `source` of category `category` (tab index), expressed
// in unit `target`: the factor table for the linear categories, the kelvin
// formulas for Temperature. Unknown categories or units give 0.
double ConvertValue(int category, int source, int target, double value);
