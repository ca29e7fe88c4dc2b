// What the calculation needs from the window it runs in. The dialog shows
// message boxes, exchanges its fields and shows the wait cursor; the
// command-line tool and the tests record messages and do nothing else.
#pragma once

#include "platform/text/cstring.h"

class LoadCalcHost {
 public:
  virtual ~LoadCalcHost() = default;
  // A modal message box with an OK button; messages come in order.
  virtual void ShowMessage(const CString& text) = 0;
  // The dialog's data exchange: true reads the fields into the board members
  // (CLoadCalcCore's floats), false writes the members into the fields.
  virtual void ExchangeBoardData(bool saveAndValidate) = 0;
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
};
