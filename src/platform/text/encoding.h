// The text boundaries of the program. Inside, texts are code page 936 bytes
// (CString); workbooks hold UTF-16 and the operating system takes UTF-8 file
// names. GB18030 is a superset of code page 936 and maps every Unicode
// character, so nothing is lost either way; bytes that are not valid in the
// source encoding become a replacement character, never a failure.
#pragma once

#include <string>

#include "platform/text/cstring.h"

std::u16string ToUtf16(const CString& text);
CString FromUtf16(const std::u16string& text);
std::string ToUtf8(const CString& text);
CString FromUtf8(const std::string& text);

// Empty when every conversion above can be made on this system; otherwise
// what is missing. The conversions themselves throw std::runtime_error with
// that text, so a program checks this once before it relies on them.
std::string TextConversionProblem();
