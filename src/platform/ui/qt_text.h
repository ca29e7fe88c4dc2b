// Texts between the program (code page 936 bytes) and Qt (UTF-16).
#pragma once

#include <QString>

#include "platform/text/cstring.h"
#include "platform/text/encoding.h"

inline QString ToQString(const CString& text) {
  return QString::fromStdU16String(ToUtf16(text));
}

inline CString FromQString(const QString& text) {
  return FromUtf16(text.toStdU16String());
}

// The program's own literals are written in UTF-8 in the sources.
inline CString Cp936(const char* utf8) { return FromUtf8(utf8); }
