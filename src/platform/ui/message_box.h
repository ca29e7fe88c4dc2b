// Message boxes: modal, one OK button ("确定"), titled with the
// application's name. A test installs a handler that receives the text
// instead of a window opening.
#pragma once

#include <functional>

#include "platform/text/cstring.h"
#include "platform/ui/win_types.h"

constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_YESNO = 0x0004;  // buttons 是 and 否; the box answers IDYES or IDNO
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;

int AfxMessageBox(const CString& text, UINT type = MB_OK);

// text and caption in code page 936; the handler answers the button (IDOK,
// or IDYES / IDNO for MB_YESNO).
using MessageBoxHandler = std::function<int(const CString& text, const CString& caption, UINT type)>;
void SetMessageBoxHandler(MessageBoxHandler handler);
