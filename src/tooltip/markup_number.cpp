#include "tooltip/markup_number.h"

#include "platform/crt/crt.h"

DWORD MarkupNumber(const CString& value, DWORD dwDefault) {
  if (value.IsEmpty()) return dwDefault;
  const char first = value.GetAt(0);
  if (first < '0' || first > '9') return 0;
  return crt::strtoul(value.GetString(), nullptr, 0);
}
