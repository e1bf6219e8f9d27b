// CWinApp: the application object. Its InitInstance runs the program; when it
// returns FALSE the program ends without entering a message loop of its own.
#pragma once
#include <windows.h>

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance() { return m_exitCode; }

  HINSTANCE m_hInstance = nullptr;
  const char* m_lpCmdLine = "";  // the argument part of the command line

 protected:
  int m_exitCode = 0;
};

// The program's one application object.
CWinApp* GetApp();
