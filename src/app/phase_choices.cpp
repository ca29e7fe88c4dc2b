#include "app/phase_choices.h"

std::vector<CString> PhaseChoices() {
  // Only texts the calculation reads as a phase: any other would be refused.
  return {CString("L1"), CString("L2"), CString("L3")};
}
