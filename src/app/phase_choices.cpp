#include "app/phase_choices.h"

#include "platform/text/encoding.h"

std::vector<CString> PhaseChoices() {
  // Only texts the calculation reads as a phase: any other would be refused.
  // A three-phase circuit, and a single-phase one kept on its phase by 自动平衡.
  return {CString("L1"),         CString("L2"),         CString("L3"),         CString("L1L2L3"),
          FromUtf8("三相"),      FromUtf8("L1(固定)"), FromUtf8("L2(固定)"), FromUtf8("L3(固定)")};
}
