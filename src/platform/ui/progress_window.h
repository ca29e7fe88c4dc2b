// The progress of a long command that runs on the user-interface thread: a
// small modal window with a bar and a cancel button, shown once the command
// has run for a moment. Escape or the button cancels. While the command runs
// it calls Update now and then; once the window is shown, Update also lets
// it take its input (before that, no input is taken at all, so a key meant
// for the window cannot reach the dialog behind it).
#pragma once

#include <chrono>
#include <memory>

#include "platform/text/cstring.h"

class QProgressDialog;
class CWnd;

class CProgressWindow {
 public:
  CProgressWindow(const CString& label, CWnd* parent,
                  std::chrono::milliseconds showAfter = std::chrono::milliseconds(300));
  ~CProgressWindow();
  CProgressWindow(const CProgressWindow&) = delete;
  CProgressWindow& operator=(const CProgressWindow&) = delete;

  // `share` from 0 to 1. False once the user has cancelled.
  bool Update(double share);

 private:
  std::unique_ptr<QProgressDialog> m_dialog;
  std::chrono::steady_clock::time_point m_showAt;
  bool m_cancelled = false;
};
