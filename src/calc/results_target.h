// Where the results go. The target is checked before anything is written;
// the workbook is built in a private folder beside it and only a complete
// file replaces the target, in one rename, so a failure leaves it as it was.
#pragma once

#include <optional>
#include <string>

#include "platform/text/cstring.h"
#include "workbook/result.h"

// Why a file is refused as the target of the results or of the report.
struct TargetRefusal {
  enum class Kind {
    NotExactName,      // the name does not survive the way to the file system
    NoName,            // a folder path without a file name
    NotAWorkbookName,  // an extension the results cannot be written as
    NotRegularFile,    // an existing folder, device or FIFO
    InputWorkbook,     // the workbook the circuits are read from (also through a link)
    ReadOnly,          // an existing file the user may not write
    OtherOutput,       // the file the other output of the same run goes to
  };
  Kind kind = Kind::NotExactName;
  std::string detail;  // English, for the parentheses after the message
};

// The file the results are written to (".xls" added where the name has no
// extension), or empty with `refusal` set.
std::optional<CString> CheckResultsTarget(const CString& requested, const CString& inputWorkbook,
                                          TargetRefusal& refusal);

// The same checks for the 计算书's file, whose name is taken as given, and
// that it is not `otherOutput` (the results file of the same run; empty
// when there is none).
std::optional<CString> CheckReportTarget(const CString& requested, const CString& inputWorkbook,
                                         const CString& otherOutput, TargetRefusal& refusal);

// A private folder next to the target, removed with its contents at the end.
class ResultsScratch {
 public:
  explicit ResultsScratch(const CString& target);
  ~ResultsScratch();
  ResultsScratch(const ResultsScratch&) = delete;
  ResultsScratch& operator=(const ResultsScratch&) = delete;

  // Empty when the folder could not be made; `error` says why.
  std::optional<CString> WorkbookPath(xls::Error& error) const;

 private:
  std::string m_folder;  // UTF-8; empty when not made
  std::string m_extension;
  int m_error = 0;
};

// Replaces the target with the finished file, keeping the target's
// permissions, owner and group, and writing through a symbolic link.
bool ReplaceWithFile(const CString& finished, const CString& target, xls::Error& error);
