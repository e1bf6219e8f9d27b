#include "converter/app/splash_dialog.h"

#include "common/ui_helpers.h"
#include "resource.h"

namespace {
const UINT_PTR kSplashTimer = 1;
const UINT kSplashMs = 4500;
const unsigned kPictureWidth = 480;
const unsigned kPictureHeight = 344;
}  // namespace

CSplashDialog SplashWindow;

BEGIN_MESSAGE_TABLE(CSplashDialog, CDialog)
  ON_MESSAGE(WM_PAINT, OnPaint)
  ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_TABLE()

CSplashDialog::CSplashDialog() : CDialog(IDD_SPLASH) {}

CSplashDialog::~CSplashDialog() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CSplashDialog::ShowSplash() {
  if (m_timerActive == 1 || ::SetTimer(m_hWnd, kSplashTimer, kSplashMs, nullptr) == kSplashTimer) {
    m_timerActive = 1;
    ShowWindow(SW_SHOW);
    PumpMessagesFor(100, 0);
  } else {
    m_timerActive = 0;
    ShowWindow(SW_HIDE);
  }
}

void CSplashDialog::HideSplash() {
  if (m_hWnd == nullptr) return;
  if (m_timerActive == 1) {
    ::KillTimer(m_hWnd, kSplashTimer);
    m_timerActive = 0;
  }
  ShowWindow(SW_HIDE);
}

BOOL CSplashDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  ::MoveWindow(m_hWnd, m_area.left, m_area.top, m_area.right, m_area.bottom, FALSE);
  CenterWindow();
  ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE);
  return TRUE;
}

LRESULT CSplashDialog::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  // A palette-relative grey, so a 256-colour display maps it to the picture's palette.
  HBRUSH grey = ::CreateSolidBrush(0x02C2C2C2);
  ::FillRect(dc, &m_area, grey);
  ::DeleteObject(grey);
  PaintCentredBitmap(m_hWnd, dc, kPictureWidth, kPictureHeight);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CSplashDialog::OnTimer(WPARAM, LPARAM) {
  ::KillTimer(m_hWnd, kSplashTimer);
  m_timerActive = 0;
  ShowWindow(SW_HIDE);
  return Default();
}
