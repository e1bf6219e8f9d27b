// CWnd: a window object on plain Win32, with a message table per class.
//
// A class lists the messages it handles in a table that reads at a glance:
//
//   BEGIN_MESSAGE_TABLE(CMainDialog, CDialog)
//     ON_MESSAGE(WM_PAINT, OnPaint)
//     ON_NOTIFY_CODE(TCN_SELCHANGE, 1024, OnTabChanged)
//     ON_COMMAND_ID(ID_HELP_ABOUT, OnAbout)
//     ON_COMMAND_RANGE(IDC_FIRST_MODE, IDC_LAST_MODE, OnMode)
//   END_MESSAGE_TABLE()
//
// The table is the one place a window's fixed messages and commands are named.
// Only a window whose command identifiers come from data (a page built from the
// catalogue) overrides OnCommand instead. Every handler has the form
// `LRESULT Handler(WPARAM, LPARAM)`. A message that no table of the class or its
// bases takes goes to the window's original procedure. A handler that wants
// default processing as well calls Default().
#pragma once
#include <windows.h>

class CWnd;
typedef LRESULT (CWnd::*MessageHandler)(WPARAM wParam, LPARAM lParam);

// Matches any notification code of a WM_COMMAND or WM_NOTIFY entry.
const UINT kAnyCode = 0xFFFFFFFFu;

struct MessageEntry {
  UINT message;
  UINT code;      // WM_COMMAND / WM_NOTIFY: notification code or kAnyCode
  UINT idFirst;   // WM_COMMAND / WM_NOTIFY: control or command identifiers
  UINT idLast;
  MessageHandler handler;  // null ends the table
};

struct MessageTable {
  const MessageTable* (*base)();
  const MessageEntry* entries;
};

#define DECLARE_MESSAGE_TABLE()                        \
 public:                                               \
  static const MessageTable* GetThisMessageTable();    \
  const MessageTable* GetMessageTable() const override;

#define BEGIN_MESSAGE_TABLE(theClass, baseClass)                                   \
  const MessageTable* theClass::GetMessageTable() const { return GetThisMessageTable(); } \
  const MessageTable* theClass::GetThisMessageTable() {                            \
    typedef theClass ThisClass;                                                    \
    typedef baseClass ThisBaseClass;                                               \
    static const MessageEntry entries[] = {
#define ON_MESSAGE(message, handler) \
  {message, 0, 0, 0, static_cast<MessageHandler>(&ThisClass::handler)},
#define ON_COMMAND_ID(id, handler) \
  {WM_COMMAND, kAnyCode, id, id, static_cast<MessageHandler>(&ThisClass::handler)},
#define ON_COMMAND_RANGE(idFirst, idLast, handler) \
  {WM_COMMAND, kAnyCode, idFirst, idLast, static_cast<MessageHandler>(&ThisClass::handler)},
#define ON_NOTIFY_CODE(code, id, handler) \
  {WM_NOTIFY, static_cast<UINT>(code), id, id, static_cast<MessageHandler>(&ThisClass::handler)},
#define END_MESSAGE_TABLE()                                            \
    {0, 0, 0, 0, nullptr}};                                            \
    static const MessageTable table = {&ThisBaseClass::GetThisMessageTable, entries}; \
    return &table;                                                     \
  }

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }

  // The object that owns a window of ours, or null.
  static CWnd* FromHandle(HWND window);

  // Routes an existing window (a dialog's control) through this object.
  BOOL SubclassWindow(HWND window);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  static const MessageTable* GetThisMessageTable();
  virtual const MessageTable* GetMessageTable() const;

  // Every message of the window arrives here first.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Messages no table takes: the window's original procedure.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: the table's command entries. Returns TRUE when one took it.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // Called after the window's last message (WM_NCDESTROY), when it is gone.
  virtual void PostNcDestroy() {}

  // Default processing of the message being handled.
  LRESULT Default();

  // Thin conveniences.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  void CenterWindow() const;

 protected:
  bool FindHandler(UINT message, WPARAM wParam, LPARAM lParam, MessageHandler* handler) const;
  void Attach(HWND window);

  WNDPROC m_originalProc = nullptr;

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  CurrentMessage m_current = {0, 0, 0};
};
