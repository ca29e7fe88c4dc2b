// The C runtime functions the program's code relies on, with the behaviour of
// the Windows runtime rather than glibc's where the two differ.
#pragma once

#include <cstdint>

namespace crt {

// Decimal numbers only: leading blanks, sign, digits, fraction, exponent.
// Stops at the first byte that cannot continue the number; hex, "inf" and
// "nan" give 0, as does text that holds no number.
double atof(const char* text);
// True when atof reads all of `text` (white space around it aside): a
// decimal number, not a prefix of other text nor an empty one.
bool IsWholeDecimalNumber(const char* text);

// Base 0: decimal, "0x" hexadecimal or leading-0 octal; `end` (if given)
// receives the first byte not used. Overflow gives ULONG_MAX as 32 bits.
uint32_t strtoul(const char* text, char** end, int base);

// The runtime's generator: state = state * 214013 + 2531011, result bits
// 16 to 30. The program never seeds it, so it starts from state 1.
constexpr int RAND_MAX_VALUE = 0x7FFF;
int rand();
void srand(uint32_t seed);

double pow(double base, double exponent);

}  // namespace crt
