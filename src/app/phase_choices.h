// The phases the 相别 cell offers when it is edited: every phase text the
// calculation accepts, in the order a designer reads them.
#pragma once

#include <vector>

#include "platform/text/cstring.h"

std::vector<CString> PhaseChoices();
