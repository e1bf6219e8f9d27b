#include "common/named_accessible.h"

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>
#include <utility>

namespace {

// Looked up at run time: the program starts, and runs, on a system without
// Active Accessibility. The libraries stay loaded once found.
typedef HRESULT(WINAPI* CreateStdAccessibleObjectFn)(HWND, LONG, REFIID, void**);
typedef LRESULT(WINAPI* LresultFromObjectFn)(REFIID, WPARAM, LPUNKNOWN);
typedef HRESULT(WINAPI* CoInitializeFn)(LPVOID);
typedef BSTR(WINAPI* SysAllocStringFn)(const OLECHAR*);

struct AccessibilityApi {
  CreateStdAccessibleObjectFn createStdAccessibleObject;
  LresultFromObjectFn lresultFromObject;
  CoInitializeFn coInitialize;
  SysAllocStringFn sysAllocString;
};

HMODULE LoadSystemLibrary(const char* name) {
  // From the system folder only: never a same-named file beside the program.
  char path[MAX_PATH];
  UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  int written = snprintf(path + length, MAX_PATH - length, "\\%s", name);
  if (written < 0 || written >= static_cast<int>(MAX_PATH - length)) return nullptr;
  return ::LoadLibraryA(path);
}

template <typename Function>
bool Find(HMODULE library, const char* name, Function* function) {
  FARPROC address = library != nullptr ? ::GetProcAddress(library, name) : nullptr;
  *function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
  return *function != nullptr;
}

// Null when any piece is missing. Looked up once, by the user-interface thread,
// the only caller. COM is started on that thread at the first request: the
// object travels to the asking process through it.
const AccessibilityApi* Api() {
  static bool looked = false;
  static bool complete = false;
  static AccessibilityApi api = {};
  if (!looked) {
    looked = true;
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    HMODULE ole32 = LoadSystemLibrary("ole32.dll");
    HMODULE oleaut32 = LoadSystemLibrary("oleaut32.dll");
    complete = Find(oleacc, "CreateStdAccessibleObject", &api.createStdAccessibleObject) &&
               Find(oleacc, "LresultFromObject", &api.lresultFromObject) &&
               Find(ole32, "CoInitialize", &api.coInitialize) &&
               Find(oleaut32, "SysAllocString", &api.sysAllocString);
    // Already started (S_FALSE) or started otherwise (RPC_E_CHANGED_MODE) is as good.
    if (complete) api.coInitialize(nullptr);
  }
  return complete ? &api : nullptr;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object of a control, answering every question itself except
// the control's own name.
class CNamedAccessible final : public IAccessible {
 public:
  CNamedAccessible(IAccessible* standard, std::unique_ptr<wchar_t[]> name, SysAllocStringFn sysAllocString)
      : m_standard(standard), m_sysAllocString(sysAllocString), m_name(std::move(name)) {
    m_standard->AddRef();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // The control's window and its children are the standard object's. Nothing
    // else is passed on: marshalling must see this object, not the one inside.
    if (iid == __uuidof(IOleWindow) || iid == __uuidof(IEnumVARIANT)) return m_standard->QueryInterface(iid, object);
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: calls by number reach this object's methods through the standard type description.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return m_standard->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return m_standard->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override {
    ITypeInfo* info = nullptr;
    HRESULT status = m_standard->GetTypeInfo(0, locale, &info);
    if (FAILED(status) || info == nullptr) return FAILED(status) ? status : E_NOTIMPL;
    status = info->Invoke(static_cast<IAccessible*>(this), id, flags, parameters, result, exception, badArgument);
    info->Release();
    return status;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return m_standard->get_accName(child, name);
    if (name == nullptr) return E_INVALIDARG;
    *name = m_sysAllocString(m_name.get());
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return m_standard->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return m_standard->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return m_standard->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return m_standard->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return m_standard->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return m_standard->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return m_standard->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return m_standard->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return m_standard->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return m_standard->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return m_standard->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return m_standard->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return m_standard->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return m_standard->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    return m_standard->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return m_standard->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return m_standard->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return m_standard->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return m_standard->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return m_standard->put_accValue(child, value);
  }

 private:
  ~CNamedAccessible() { m_standard->Release(); }

  LONG m_references = 1;
  IAccessible* m_standard;
  SysAllocStringFn m_sysAllocString;
  std::unique_ptr<wchar_t[]> m_name;
};

}  // namespace

bool AnswerWithAccessibleName(HWND control, WPARAM wParam, LPARAM lParam, const wchar_t* name,
                              LRESULT* result) {
  // The identifier is a 32-bit value: widened to 64 bits it would carry the sign.
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || name == nullptr) return false;
  const AccessibilityApi* api = Api();
  if (api == nullptr) return false;
  // The object outlives the caller's text, so it keeps a copy: plain memory,
  // as a string class would bring over 100 KB of the C++ runtime with it.
  const size_t length = wcslen(name) + 1;
  std::unique_ptr<wchar_t[]> copy(new (std::nothrow) wchar_t[length]);
  if (!copy) return false;
  wmemcpy(copy.get(), name, length);
  IAccessible* standard = nullptr;
  if (FAILED(api->createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard))) ||
      standard == nullptr)
    return false;
  CNamedAccessible* named = new (std::nothrow) CNamedAccessible(standard, std::move(copy), api->sysAllocString);
  standard->Release();
  if (named == nullptr) return false;
  // The reference is the client's now; ours is let go either way.
  LRESULT reference = api->lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(named));
  named->Release();
  if (reference < 0) return false;
  *result = reference;
  return true;
}
