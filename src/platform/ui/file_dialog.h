// CFileDialog: the save (or open) dialog. The filter is written as the class
// library writes it ("description|pattern|...|"); a name without extension
// gets the default one. With OFN_OVERWRITEPROMPT the dialog asks before an
// existing file is replaced. A test installs a handler that answers the
// chosen name (empty: cancelled) instead of a window opening.
#pragma once

#include <functional>

#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

class CWnd;

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;

class CFileDialog {
 public:
  CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt = nullptr, LPCTSTR fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR filter = nullptr,
              CWnd* parent = nullptr);
  // IDOK with a chosen file, IDCANCEL otherwise.
  int DoModal();
  CString GetPathName() const { return m_strPath; }
  CString GetFileName() const;

  // What the dialog was asked with, for the handler.
  BOOL m_bOpenFileDialog;
  CString m_strDefExt;
  CString m_strFileName;
  CString m_strFilter;
  DWORD m_dwFlags;

 private:
  CString m_strPath;
  CWnd* m_pParent;
};

using FileDialogHandler = std::function<CString(const CFileDialog& dialog)>;
void SetFileDialogHandler(FileDialogHandler handler);
