#include "common/framework/wnd.h"

#include "common/handle_table.h"

namespace {
// Every message of our windows looks its object up, so the objects are kept in
// the process; a window property costs a round trip to the window server per
// message on some systems (a fifth of the converter's calls while it starts).
CHandleTable g_owners;
// Only when memory ran out is an object kept in a property of its window.
const char kOwnerProperty[] = "QuantaraWindowObject";
size_t g_ownersInProperties = 0;

uintptr_t Key(HWND window) { return reinterpret_cast<uintptr_t>(window); }

void RememberOwner(HWND window, CWnd* owner) {
  if (g_owners.Set(Key(window), owner)) return;
  if (::SetPropA(window, kOwnerProperty, owner)) ++g_ownersInProperties;
}

void ForgetOwner(HWND window) {
  if (g_owners.Remove(Key(window))) return;
  if (g_ownersInProperties > 0 && ::RemovePropA(window, kOwnerProperty) != nullptr) --g_ownersInProperties;
}
}  // namespace

CWnd::~CWnd() {
  if (m_hWnd != nullptr) UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  CWnd* owner = static_cast<CWnd*>(g_owners.Get(Key(window)));
  if (owner == nullptr && g_ownersInProperties > 0) owner = static_cast<CWnd*>(::GetPropA(window, kOwnerProperty));
  return owner;
}

const MessageTable* CWnd::GetThisMessageTable() {
  static const MessageEntry entries[] = {{0, 0, 0, 0, nullptr}};
  static const MessageTable table = {nullptr, entries};
  return &table;
}

const MessageTable* CWnd::GetMessageTable() const { return GetThisMessageTable(); }

void CWnd::Attach(HWND window) {
  m_hWnd = window;
  RememberOwner(window, this);
  m_originalProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc)));
}

BOOL CWnd::SubclassWindow(HWND window) {
  if (window == nullptr || m_hWnd != nullptr || FromHandle(window) != nullptr) return FALSE;
  Attach(window);
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent != nullptr && SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow() {
  HWND window = m_hWnd;
  if (window == nullptr) return nullptr;
  if (FromHandle(window) == this) {
    if (::IsWindow(window)) ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
    // Forgotten even when the window is gone, so a later window of the same handle is not taken for ours.
    ForgetOwner(window);
  }
  m_hWnd = nullptr;
  m_originalProc = nullptr;
  return window;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* owner = FromHandle(window);
  if (owner == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    WNDPROC original = owner->m_originalProc;
    LRESULT result = owner->WindowProc(message, wParam, lParam);
    ForgetOwner(window);
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    owner->m_hWnd = nullptr;
    owner->m_originalProc = nullptr;
    owner->PostNcDestroy();
    return result;
  }
  return owner->WindowProc(message, wParam, lParam);
}

bool CWnd::FindHandler(UINT message, WPARAM wParam, LPARAM lParam, MessageHandler* handler) const {
  UINT id = 0;
  UINT code = 0;
  if (message == WM_COMMAND) {
    id = LOWORD(wParam);
    code = HIWORD(wParam);
  } else if (message == WM_NOTIFY) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr) return false;
    id = static_cast<UINT>(header->idFrom);
    code = header->code;
  }
  for (const MessageTable* table = GetMessageTable(); table != nullptr;
       table = table->base != nullptr ? table->base() : nullptr) {
    for (const MessageEntry* entry = table->entries; entry->handler != nullptr; ++entry) {
      if (entry->message != message) continue;
      if (message == WM_COMMAND || message == WM_NOTIFY) {
        if (id < entry->idFirst || id > entry->idLast) continue;
        if (entry->code != kAnyCode && entry->code != code) continue;
      }
      *handler = entry->handler;
      return true;
    }
  }
  return false;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  MessageHandler handler = nullptr;
  if (!FindHandler(WM_COMMAND, wParam, lParam, &handler)) return FALSE;
  (this->*handler)(wParam, lParam);
  return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Handlers may run nested (a message box inside a handler), so the current
  // message is kept per call.
  CurrentMessage saved = m_current;
  m_current = {message, wParam, lParam};
  LRESULT result = 0;
  MessageHandler handler = nullptr;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) result = DefWindowProc(message, wParam, lParam);
  } else if (FindHandler(message, wParam, lParam, &handler)) {
    result = (this->*handler)(wParam, lParam);
  } else {
    result = DefWindowProc(message, wParam, lParam);
  }
  m_current = saved;
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_originalProc != nullptr) return ::CallWindowProcA(m_originalProc, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

void CWnd::CenterWindow() const {
  RECT window;
  RECT desktop;
  ::GetWindowRect(m_hWnd, &window);
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = desktop.left + (desktop.right - desktop.left - width) / 2;
  int y = desktop.top + (desktop.bottom - desktop.top - height) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
