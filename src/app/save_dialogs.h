// The save dialogs of 保存 and 导出计算书…: they open in the folder of the
// workbook the circuits came from (or, for the default workbook, the folder
// last used for that kind of file), propose a name from the board
// ("AL1-负荷计算结果.xlsx" for AL1.xlsx, "AL1-计算书.pdf"), refuse the
// input workbook as the target before anything else, and ask before an
// existing file is replaced.
#pragma once

#include <QString>

#include "platform/text/cstring.h"

class CWnd;

namespace save_dialogs {

enum class Kind { Results, Report };

struct Request {
  Kind kind;
  QString inputWorkbook;  // absolute path
  bool defaultWorkbook;   // the one beside the program, not one the designer chose
};

// The proposed file name, without folder.
QString ProposedName(const Request& request);
// The folder the dialog opens in.
QString StartFolder(const Request& request);
// The dialog's filter, in the file dialog's "description|pattern||" form.
CString Filter(Kind kind);

// Asks for the file to write. Empty when cancelled, refused (the refusal is
// said) or when the designer keeps an existing file. The folder chosen is
// remembered for the kind.
CString AskTarget(const Request& request, CWnd* parent);

}  // namespace save_dialogs
