// Factor tables of the linear categories (Length to Speed).
#pragma once

// True for the six categories that convert through a factor table.
bool IsLinearCategory(int category);

// The stored factor from unit `source` to unit `target` of a linear category,
// or 0 for any index outside the category. Area stores side lengths (applied
// twice by ConvertLinear); Volume's cubic length block is stored already cubed,
// so the Volume page needs no preparation step and nothing can cube it twice.
double Factor(int category, int source, int target);

// `value` given in unit `source`, expressed in unit `target`: value * factor,
// or for Area (value * factor) * factor, multiplied in that order.
double ConvertLinear(int category, int source, int target, double value);
