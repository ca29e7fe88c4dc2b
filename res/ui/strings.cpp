// The string table.
#include "platform/text/encoding.h"
#include "platform/ui/resources.h"
#include "res/ui/resource.h"

CString LoadResourceString(UINT id) {
  if (id == IDS_ABOUTBOX) return FromUtf8("关于 Volmira电气计算(&A)...");
  return CString();
}
