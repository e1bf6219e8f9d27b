// Writes the page dialog templates 207 to 213 from the unit catalogue, so the
// templates' identifiers and captions are the catalogue's own. The committed
// pages.rc is this text (make_pages_rc.sh regenerates it; a core test compares).
#pragma once
#include <cstdio>
#include <string>

#include "converter/engine/catalogue.h"
#include "converter/engine/temperature_notes.h"

namespace pages_rc {

// Page size in dialog units: the room the 347 x 250 main window's tab control leaves.
constexpr int kPageWidth = 340;
constexpr int kPageHeight = 230;
// Categories with more units than this stand in two columns.
constexpr int kOneColumnMaxUnits = 13;

struct Rect {
  int x, y, w, h;
};

// Text as an .rc string literal: quotes doubled, bytes above 127 as octal
// escapes (of UTF-8, the script's code page), so the file itself stays plain ASCII.
inline std::string Quoted(const char* text) {
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
    if (*p == '"') {
      out += "\"\"";
    } else if (*p == '\\') {
      out += "\\\\";
    } else if (*p >= 0x80 || *p < 0x20) {
      char escape[8];
      snprintf(escape, sizeof escape, "\\%03o", *p);
      out += escape;
    } else {
      out += static_cast<char>(*p);
    }
  }
  return out + "\"";
}

inline std::string Control(const char* text, int id, const char* windowClass, const char* style, Rect r,
                           const char* exStyle = nullptr) {
  char line[512];
  snprintf(line, sizeof line, "    CONTROL %s, %d, \"%s\", %s, %d, %d, %d, %d%s%s\n", Quoted(text).c_str(), id,
           windowClass, style, r.x, r.y, r.w, r.h, exStyle != nullptr ? ", " : "",
           exStyle != nullptr ? exStyle : "");
  return line;
}

// Where a page's option controls stand: to the right of a single column of
// units, or in a band below two columns.
struct OptionLayout {
  Rect clear, check, expressGroup, radios[3], roundGroup, list;
};

inline OptionLayout RightPanel() {
  const int x = 214;
  return {{x, 20, 60, 14},
          {x, 40, 118, 10},
          {x, 56, 118, 50},
          {{x + 8, 68, 104, 10}, {x + 8, 80, 104, 10}, {x + 8, 92, 104, 10}},
          {x, 112, 118, 34},
          {x + 8, 125, 50, 150}};
}

inline OptionLayout BottomBand() {
  const int y = 174;
  return {{7, y + 6, 60, 14},
          {7, y + 26, 90, 10},
          {105, y, 120, 50},
          {{113, y + 12, 108, 10}, {113, y + 24, 108, 10}, {113, y + 36, 108, 10}},
          {231, y, 66, 50},
          {239, y + 14, 50, 150}};
}

inline std::string PageTemplate(const CategoryInfo& c) {
  const bool twoColumns = c.unitCount > kOneColumnMaxUnits;
  char head[256];
  snprintf(head, sizeof head,
           "\n// %s\n%d DIALOGEX 0, 0, %d, %d\nSTYLE DS_CONTROL | DS_SETFONT | WS_CHILD\n"
           "FONT 8, \"MS Sans Serif\"\nBEGIN\n",
           c.name, c.dialogId, kPageWidth, kPageHeight);
  std::string rc = head;
  // Each option stands in its own group, so the arrow keys move only through the
  // three notation choices, in order; the unit grid is one group after the title.
  rc += Control(c.title, c.titleId, "Static", "SS_LEFT | WS_GROUP", {7, 5, 200, 10});

  // Units in unit order, which is also the tab order: button, then its box.
  const int perColumn = twoColumns ? (c.unitCount + 1) / 2 : c.unitCount;
  for (int i = 0; i < c.unitCount; ++i) {
    const int column = i / perColumn;
    const int row = i % perColumn;
    Rect button;
    Rect edit;
    if (twoColumns) {
      const int x = 7 + column * 166;
      button = {x, 18 + row * 14, 82, 12};
      edit = {x + 84, button.y, 76, 12};
    } else {
      button = {7, 20 + row * 15, 58, 13};
      edit = {68, button.y, 134, 13};
    }
    rc += Control(c.units[i].caption, c.firstButtonId + i, "Button", "BS_PUSHBUTTON | WS_TABSTOP", button);
    rc += Control("", c.firstEditId + i, "Edit", "ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP", edit,
                  "WS_EX_CLIENTEDGE");
  }
  if (c.dialogId == CategoryAt(kCategoryTemperature)->dialogId) {
    const int y = 20 + c.unitCount * 15 + 6;
    rc += Control("", kAbsoluteZeroNoteId, "Static", "SS_LEFT", {7, y, 195, 26});
    rc += Control("", kAbsoluteZeroWarningId, "Static", "SS_LEFT", {7, y + 30, 195, 18});
  }

  const OptionLayout o = twoColumns ? BottomBand() : RightPanel();
  rc += Control("&Clear", c.clearId, "Button", "BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP", o.clear);
  rc += Control("No &Trailing Zeros", c.noTrailingZerosId, "Button", "BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP",
                o.check);
  rc += Control("&Express Results as:", c.expressGroupId, "Button", "BS_GROUPBOX | WS_GROUP", o.expressGroup);
  rc += Control("Float only", c.floatRadioId, "Button", "BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP",
                o.radios[0]);
  rc += Control("Scientific Notation only", c.scientificRadioId, "Button", "BS_AUTORADIOBUTTON", o.radios[1]);
  rc += Control("Whichever is Shorter", c.shorterRadioId, "Button", "BS_AUTORADIOBUTTON", o.radios[2]);
  rc += Control("&Round Decimal", c.roundGroupId, "Button", "BS_GROUPBOX | WS_GROUP", o.roundGroup);
  rc += Control("", c.decimalsListId, "ComboBox", "CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP", o.list);
  return rc + "END\n";
}

inline std::string PagesResourceScript() {
  std::string rc =
      "// Conversion page templates 207 to 213. Generated from the unit catalogue by\n"
      "// converter/resources/make_pages_rc.sh; do not edit by hand.\n"
      "#include <windows.h>\n"
      "#pragma code_page(65001)\n";
  for (int tab = 0; tab < kCategoryCount; ++tab) rc += PageTemplate(*CategoryAt(tab));
  return rc;
}

}  // namespace pages_rc
