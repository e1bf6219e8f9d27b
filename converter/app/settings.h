// The converter's global settings: read once while the main window starts,
// written once when it is closed (the pages keep their own values).
#pragma once

void LoadAllSettings();
// Every page's options and box texts, then the global values.
void SaveAllSettings();
