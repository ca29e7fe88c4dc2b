// CWinApp: the application object. Run makes the Qt application, gives the
// dialogs their colours and font, and calls InitInstance; the program ends
// when it returns. The application's name is the executable's file name
// without its extension: it titles every message box.
#pragma once

#include "platform/gdi/handles.h"
#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

class CWnd;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Exit code of Run when this system cannot convert the program's texts.
  static constexpr int kExitNoTextConversion = 3;

  virtual BOOL InitInstance();
  // Checks the text conversions, creates the Qt application when there is
  // none (and destroys it again before returning), then InitInstance.
  // Returns the process's exit code.
  int Run(int argc, char** argv);

  // Background and text colour of every dialog and message box.
  void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));
  // Window-system features with no visible use here.
  void Enable3dControls() {}

  // The icon of that resource number at the system's large (32) or small (16)
  // size; null when there is none. The icon lives until DestroyIcon.
  HICON LoadIcon(UINT id) const;
  HICON LoadIcon(UINT id, int size) const;
  void BeginWaitCursor();
  void EndWaitCursor();

  CString m_strAppName;  // code page 936
  LPCTSTR m_pszAppName = nullptr;
  CWnd* m_pMainWnd = nullptr;

 private:
  int m_nWaitCursorCount = 0;
};

CWinApp* AfxGetApp();
// The application's name; without an application object, the executable's.
CString AfxGetAppName();
// The executable's file name without its extension (from /proc/self/exe).
CString ExecutableBaseName();
inline void AfxEnableControlContainer() {}

// The wait cursor for the lifetime of the object.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};
