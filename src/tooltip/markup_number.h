// Numbers in markup values: decimal, "0x" hexadecimal or leading-0 octal,
// read up to the first character that is not a digit ("100%" is 100).
#pragma once

#include "platform/gdi/geometry.h"
#include "platform/text/cstring.h"

// An empty value gives the default; one that does not start with a digit 0.
DWORD MarkupNumber(const CString& value, DWORD dwDefault);
