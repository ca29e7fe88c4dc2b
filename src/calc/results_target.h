// Where the results go. The target is checked before anything is written;
// the workbook is built in a private folder beside it and only a complete
// file replaces the target, in one rename, so a failure leaves it as it was.
#pragma once

#include <optional>
#include <string>

#include "platform/text/cstring.h"

// The file the results are written to (".xls" added where the name has no
// extension), or empty with `error` set when the name is refused: not exact
// text, an extension the results cannot be written as, an existing target
// that is not a regular file, or the workbook the circuits are read from.
std::optional<CString> CheckResultsTarget(const CString& requested, const CString& inputWorkbook, CString& error);

// A private folder next to the target, removed with its contents at the end.
class ResultsScratch {
 public:
  explicit ResultsScratch(const CString& target);
  ~ResultsScratch();
  ResultsScratch(const ResultsScratch&) = delete;
  ResultsScratch& operator=(const ResultsScratch&) = delete;

  // Empty when the folder could not be made; `error` says why.
  std::optional<CString> WorkbookPath(CString& error) const;

 private:
  std::string m_folder;  // UTF-8; empty when not made
  std::string m_extension;
  int m_error = 0;
};

// Replaces the target with the finished file, keeping the target's
// permissions, owner and group, and writing through a symbolic link.
bool ReplaceWithFile(const CString& finished, const CString& target, CString& error);
