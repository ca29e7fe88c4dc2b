// What the calculation needs from the window it runs in. The dialog shows
// message boxes, exchanges its fields and shows the wait cursor; the
// command-line tool and the tests record messages and do nothing else.
#pragma once

#include <vector>

#include "calc/circuit_validation.h"
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
  // Shows why a command cannot go on as asked, followed by a question whether
  // to go on another way (Yes/No); true for Yes. A host that cannot ask
  // shows the refusal alone and declines.
  virtual bool OfferAlternative(const CString& refusal, const CString& /*question*/) {
    ShowMessage(refusal);
    return false;
  }
  // Called now and then while a balancing runs, with the share of its time
  // limit used (0 to 1, or the share of the assignments tried); false
  // cancels it and the board stays as it was.
  virtual bool ContinueBalancing(double /*share*/) { return true; }
  // The board results were emptied (the members hold 0): the window shows
  // them so. The input fields keep what was typed.
  virtual void BoardResultsCleared() {}
  // Circuits whose numbers cannot be calculated, all in one message.
  virtual void ShowCircuitProblems(const std::vector<CircuitProblem>& problems) {
    ShowMessage(CircuitProblemsMessage(problems));
  }
};
