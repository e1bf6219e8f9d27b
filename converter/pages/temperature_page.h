// The Temperature tab: converts by formula and warns below absolute zero.
#pragma once
#include "converter/pages/conversion_page.h"

class CTemperaturePage : public CConversionPage {
 public:
  CTemperaturePage();

  // Shows the below-zero warning while the Kelvin box holds a negative value.
  void CheckAbsoluteZero();

 protected:
  void InitCategoryControls() override;
  void RefreshCategoryNotes() override { CheckAbsoluteZero(); }
};
