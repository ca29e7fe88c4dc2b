// CLoadCalcApp: starts the program as a single instance and runs the main
// dialog; the program ends when the dialog closes.
#pragma once

#include "platform/ui/win_app.h"

class CLoadCalcApp : public CWinApp {
 public:
  // Always false: there is nothing to run after the dialog.
  BOOL InitInstance() override;
};
