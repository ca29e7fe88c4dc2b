// The progress of a long command that runs on the user-interface thread: a
// small modal window with a bar and a cancel button, shown once the command
// has run a moment. Escape or the button cancels. While the command runs, it
// calls Update now and then, which also lets the window take its input.
#pragma once

#include <memory>

#include "platform/text/cstring.h"

class QProgressDialog;
class CWnd;

class CProgressWindow {
 public:
  CProgressWindow(const CString& label, CWnd* parent);
  ~CProgressWindow();
  CProgressWindow(const CProgressWindow&) = delete;
  CProgressWindow& operator=(const CProgressWindow&) = delete;

  // `share` from 0 to 1. False once the user has cancelled.
  bool Update(double share);

 private:
  std::unique_ptr<QProgressDialog> m_dialog;
  bool m_cancelled = false;
};
