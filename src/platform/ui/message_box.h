// Message boxes: modal, one OK button ("确定") or 是/否, titled with the
// program's title. A test installs a handler that receives the text
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
constexpr UINT MB_DEFBUTTON2 = 0x0100;  // with MB_YESNO: 否 is the default (Enter)

int AfxMessageBox(const CString& text, UINT type = MB_OK);

// text and caption in code page 936; the handler answers the button (IDOK,
// or IDYES / IDNO for MB_YESNO).
using MessageBoxHandler = std::function<int(const CString& text, const CString& caption, UINT type)>;
void SetMessageBoxHandler(MessageBoxHandler handler);
// The title of every box from now on (code page 936); without one, the
// application's name.
void SetMessageBoxCaption(const CString& caption);
