#include "calc/workbook_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/text/encoding.h"

namespace workbook_files {

namespace {

constexpr const char* kWorkbookExtensions[] = {".xls", ".xlsx"};
constexpr const char kResultsExtension[] = ".xls";

// The extension of the last path component with its dot, or empty. A name
// that starts with its only dot (".results") has none.
CString ExtensionOf(const CString& path) {
  const int slash = path.ReverseFind('/');
  const CString name = path.Mid(slash + 1);
  const int dot = name.ReverseFind('.');
  if (dot <= 0) return CString();
  return name.Mid(dot);
}

}  // namespace

bool IsWorkbookName(const CString& path) {
  CString extension = ExtensionOf(path);
  extension.MakeLower();
  for (const char* known : kWorkbookExtensions)
    if (extension == known) return true;
  return false;
}

std::optional<CString> ResultsName(const CString& path, CString& error) {
  const int slash = path.ReverseFind('/');
  if (path.Mid(slash + 1).IsEmpty()) {
    error = "The results file needs a name";
    return std::nullopt;
  }
  if (ExtensionOf(path).IsEmpty()) return path + kResultsExtension;
  if (IsWorkbookName(path)) return path;
  error = "The results can only be saved as an Excel workbook (.xls or .xlsx), not as \"" + ExtensionOf(path) + "\"";
  return std::nullopt;
}

bool IsExactName(const CString& path) { return FromUtf8(ToUtf8(path)) == path; }

std::optional<xls::Error> InputProblem(const CString& path) {
  const std::string name = ToUtf8(path);
  struct stat info {};
  if (stat(name.c_str(), &info) != 0) {
    const int error = errno;
    return xls::MakeError(name + ": " + std::strerror(error),
                          error == ENOENT || error == ENOTDIR ? xls::ErrorKind::NotFound : xls::ErrorKind::Failed);
  }
  if (S_ISDIR(info.st_mode)) return xls::MakeError({}, xls::ErrorKind::IsFolder);
  if (!S_ISREG(info.st_mode)) return xls::MakeError(name + " is not a regular file", xls::ErrorKind::NotRegularFile);
  if (access(name.c_str(), R_OK) != 0) {
    const int error = errno;
    return xls::MakeError(name + ": " + std::strerror(error),
                          error == EACCES ? xls::ErrorKind::AccessDenied : xls::ErrorKind::Failed);
  }
  return std::nullopt;
}

}  // namespace workbook_files
