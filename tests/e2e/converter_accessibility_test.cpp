// What a screen reader hears from the real converter, asked from this process
// as a screen reader asks: every unit box named as its button reads, every
// decimals list "Round Decimal", everything else as the system names it.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>

#include "common/product.h"
#include "converter/engine/catalogue.h"
#include "tests/harness/test_support.h"

namespace {

const char kProgramDlls[] = "Software\\Wine\\AppDefaults\\qtra.exe\\DllOverrides";

struct Heard {
  HRESULT status;
  std::wstring name;
  long role;
};

// `program`: the program answers for its window, as for a screen reader;
// otherwise the system's own object for the window, never asking the program.
Heard Ask(HWND window, bool program = true) {
  IAccessible* object = nullptr;
  void** out = reinterpret_cast<void**>(&object);
  Heard heard = {program ? ::AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, out)
                         : ::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, out),
                 L"", -1};
  if (object == nullptr) return heard;
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  VARIANT role = {};
  heard.status = object->get_accName(self, &name);
  if (name != nullptr) heard.name = name;
  ::SysFreeString(name);
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) heard.role = role.lVal;
  object->Release();
  return heard;
}

class ConverterAccessibility : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Start(true); }
  // Without `accessibility`, Wine gives the program no oleacc.dll.
  static void Start(bool accessibility) {
    ::CoInitialize(nullptr);
    qtest::DeleteRegTree(qtest::kProductKey);
    qtest::DeleteRegTree(kProgramDlls);
    if (!accessibility) {
      ASSERT_TRUE(qtest::WriteRegText(kProgramDlls, "oleacc", ""));
    }
    program_ = new qtest::Program;
    ASSERT_TRUE(program_->Start(qtest::BinPath("qtra.exe"), "", qtest::MakeTempFolder("qtra_accessibility")));
    main_ = qtest::WaitForWindow(kMainTitle, program_->Id(), 60000);
    ASSERT_NE(nullptr, main_);
  }
  static void TearDownTestSuite() {
    if (main_ != nullptr) qtest::PostCommand(main_, ID_REMOTE_CLOSE);  // Exit
    if (program_ != nullptr) program_->WaitForExit(30000);
    delete program_;
    qtest::DeleteRegTree(kProgramDlls);
    ::CoUninitialize();
  }
  static HWND Control(int id) { return qtest::FindControl(main_, id); }

  static qtest::Program* program_;
  static HWND main_;
};

qtest::Program* ConverterAccessibility::program_ = nullptr;
HWND ConverterAccessibility::main_ = nullptr;

// The system's own answer: the program changed nothing for the window.
void ExpectSystemsAnswer(HWND window) {
  const Heard system = Ask(window, false);
  const Heard heard = Ask(window);
  EXPECT_EQ(system.status, heard.status);
  EXPECT_EQ(system.name, heard.name);
  EXPECT_EQ(system.role, heard.role);
}

TEST_F(ConverterAccessibility, BoxesAndListsAreNamedAsShownAndTheRestAsBefore) {
  int boxes = 0;
  for (int tab = 0; tab < kCategoryCount; ++tab) {
    const CategoryInfo& category = *CategoryAt(tab);
    for (int unit = 0; unit < category.unitCount; ++unit, ++boxes) {
      wchar_t caption[64] = {};
      ::GetWindowTextW(Control(category.firstButtonId + unit), caption, 64);
      const Heard heard = Ask(Control(category.firstEditId + unit));
      SCOPED_TRACE(std::string(category.name) + " unit " + std::to_string(unit));
      EXPECT_EQ(S_OK, heard.status);
      EXPECT_NE(L'\0', caption[0]);
      EXPECT_EQ(std::wstring(caption), heard.name);
      EXPECT_EQ(ROLE_SYSTEM_TEXT, heard.role) << "the rest is still the system's";
    }
    SCOPED_TRACE(category.name);
    const Heard list = Ask(Control(category.decimalsListId));
    EXPECT_EQ(L"Round Decimal", list.name);
    EXPECT_EQ(Ask(Control(category.decimalsListId), false).role, list.role);
    for (int id : {category.firstButtonId, category.noTrailingZerosId, category.floatRadioId,
                   category.scientificRadioId, category.shorterRadioId})
      ExpectSystemsAnswer(Control(id));
  }
  EXPECT_EQ(107, boxes);
  for (HWND window : {main_, Control(1024) /* tab strip */, qtest::FindPageOf(main_, 1046) /* Inches */})
    ExpectSystemsAnswer(window);
  // The choices and the check box are named by their own texts.
  EXPECT_EQ(L"Float only", Ask(Control(CategoryAt(0)->floatRadioId)).name);
  EXPECT_EQ(L"No Trailing Zeros", Ask(Control(CategoryAt(0)->noTrailingZerosId)).name);
}

// Without Active Accessibility the program runs as before, its boxes named as
// the system names them.
class ConverterWithoutAccessibility : public ConverterAccessibility {
 protected:
  static void SetUpTestSuite() { Start(false); }
};

TEST_F(ConverterWithoutAccessibility, BoxesKeepTheSystemsNamesAndStillConvert) {
  const CategoryInfo& length = *CategoryAt(kCategoryLength);
  const HWND inches = Control(length.firstEditId);
  EXPECT_EQ(L"Length, Distance", Ask(inches).name);
  ASSERT_TRUE(qtest::SetText(Control(length.firstEditId + 1), "2"));  // Feet
  EXPECT_EQ("24", qtest::GetText(inches));
}

}  // namespace
