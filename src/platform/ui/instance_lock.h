// The named mutex that keeps a second copy of the program out. It is a lock
// file in the user's runtime folder ($XDG_RUNTIME_DIR, else
// /tmp/loadcalc-<uid>) held with flock; the kernel releases it when the
// process ends, however it ends.
#pragma once

#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

using HANDLE = void*;
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

// Null when the lock file cannot be made. Afterwards GetLastError() tells
// ERROR_ALREADY_EXISTS when another process holds the name. The handle lives
// until the process ends.
HANDLE CreateMutex(void* security, BOOL initialOwner, LPCTSTR name);
DWORD GetLastError();

// Where the lock of a name lives (for tests and messages).
CString MutexLockPath(const CString& name);
