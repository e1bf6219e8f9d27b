#include "common/framework/tab_page.h"

#include <cstdio>

namespace {

typedef HRESULT(WINAPI * EnableTextureProc)(HWND, DWORD);

// Looked up at run time, once for all pages: systems before visual styles have no uxtheme.dll.
EnableTextureProc FindEnableTexture() {
  // From the system folder only, never from beside the program.
  char path[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return nullptr;
  const int written = snprintf(path + length, sizeof path - length, "\\uxtheme.dll");
  if (written < 0 || static_cast<size_t>(written) >= sizeof path - length) return nullptr;
  // Stays loaded: the controls' visual styles use it for the program's whole life.
  HMODULE uxtheme = ::LoadLibraryA(path);
  if (uxtheme == nullptr) return nullptr;
  FARPROC address = ::GetProcAddress(uxtheme, "EnableThemeDialogTexture");
  return address != nullptr ? reinterpret_cast<EnableTextureProc>(reinterpret_cast<void (*)()>(address)) : nullptr;
}

// Asks uxtheme, where the system has it, to give the page the tab texture.
void EnableTabTexture(HWND page) {
  const DWORD kEnableTabTexture = 0x6;  // ETDT_ENABLE | ETDT_USETABTEXTURE
  static const EnableTextureProc enable = FindEnableTexture();
  if (enable != nullptr) enable(page, kEnableTabTexture);
}

// The parent's own painting of the area the page covers, as a pattern brush.
HBRUSH CreateParentBodyBrush(HWND page) {
  HWND parent = ::GetParent(page);
  RECT area = {};
  if (parent == nullptr || !::GetWindowRect(page, &area)) return nullptr;
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return nullptr;
  HDC pageDc = ::GetDC(page);
  HDC memory = ::CreateCompatibleDC(pageDc);
  HBITMAP picture = ::CreateCompatibleBitmap(pageDc, width, height);
  ::ReleaseDC(page, pageDc);
  HBRUSH brush = nullptr;
  if (memory != nullptr && picture != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, picture);
    // Anything the parent leaves unpainted is the dialog colour, as an unthemed tab shows it.
    RECT all = {0, 0, width, height};
    ::FillRect(memory, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    ::SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_ERASEBKGND | PRF_CLIENT);
    ::SetViewportOrgEx(memory, 0, 0, nullptr);
    ::SelectObject(memory, old);
    brush = ::CreatePatternBrush(picture);
  }
  if (picture != nullptr) ::DeleteObject(picture);  // the brush keeps its own copy
  if (memory != nullptr) ::DeleteDC(memory);
  return brush;
}

}  // namespace

BEGIN_MESSAGE_TABLE(CTabPage, CDialog)
  ON_MESSAGE(WM_CTLCOLORDLG, OnControlColour)
  ON_MESSAGE(WM_CTLCOLORSTATIC, OnControlColour)
  ON_MESSAGE(WM_CTLCOLORBTN, OnControlColour)
  ON_MESSAGE(WM_SIZE, OnLookChanged)
  ON_MESSAGE(WM_THEMECHANGED, OnLookChanged)
  ON_MESSAGE(WM_SYSCOLORCHANGE, OnLookChanged)
END_MESSAGE_TABLE()

CTabPage::~CTabPage() { ForgetBodyBrush(); }

BOOL CTabPage::OnInitDialog() {
  EnableTabTexture(m_hWnd);
  return CDialog::OnInitDialog();
}

void CTabPage::ForgetBodyBrush() {
  if (m_bodyBrush != nullptr) ::DeleteObject(m_bodyBrush);
  m_bodyBrush = nullptr;
}

LRESULT CTabPage::OnLookChanged(WPARAM, LPARAM) {
  ForgetBodyBrush();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return Default();
}

LRESULT CTabPage::OnControlColour(WPARAM dcParam, LPARAM controlParam) {
  if (m_bodyBrush == nullptr) m_bodyBrush = CreateParentBodyBrush(m_hWnd);
  if (m_bodyBrush == nullptr) return Default();
  HDC dc = reinterpret_cast<HDC>(dcParam);
  HWND control = reinterpret_cast<HWND>(controlParam);
  // The pattern starts at the page's corner, wherever in the page the control lies.
  POINT corner = {0, 0};
  if (control != m_hWnd) ::MapWindowPoints(m_hWnd, control, &corner, 1);
  ::SetBrushOrgEx(dc, corner.x, corner.y, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  return reinterpret_cast<LRESULT>(m_bodyBrush);
}
