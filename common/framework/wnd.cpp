#include "common/framework/wnd.h"

namespace {
const char kOwnerProperty[] = "QuantaraWindowObject";
}  // namespace

CWnd::~CWnd() {
  if (m_hWnd != nullptr) UnsubclassWindow();
}

CWnd* CWnd::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<CWnd*>(::GetPropA(window, kOwnerProperty));
}

const MessageTable* CWnd::GetThisMessageTable() {
  static const MessageEntry entries[] = {{0, 0, 0, 0, nullptr}};
  static const MessageTable table = {nullptr, entries};
  return &table;
}

const MessageTable* CWnd::GetMessageTable() const { return GetThisMessageTable(); }

void CWnd::Attach(HWND window) {
  m_hWnd = window;
  ::SetPropA(window, kOwnerProperty, this);
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
  if (::IsWindow(window) && FromHandle(window) == this) {
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
    ::RemovePropA(window, kOwnerProperty);
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
    ::RemovePropA(window, kOwnerProperty);
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
