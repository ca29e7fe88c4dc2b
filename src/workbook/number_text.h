// Numbers as a spreadsheet shows them in General format: at most 15
// significant digits, no trailing zeros, no decimal point for integers.
// Magnitudes from 1e-9 up to below 1e15 are written out in full; beyond them
// the text is scientific with a two-digit exponent at least: 1.5E+15, 2E-10.
#pragma once

#include <string>

namespace xls {

std::u16string NumberText(double value);

}  // namespace xls
