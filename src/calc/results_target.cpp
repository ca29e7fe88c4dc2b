#include "calc/results_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "calc/workbook_files.h"
#include "platform/files/file.h"
#include "platform/text/encoding.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Both name one file: the same file once they exist (also through links or
// other names), else the same path once made absolute and normal.
bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  if (stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0)
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  std::error_code error;
  const std::filesystem::path left = std::filesystem::weakly_canonical(std::filesystem::absolute(a, error), error);
  const std::filesystem::path right = std::filesystem::weakly_canonical(std::filesystem::absolute(b, error), error);
  return !error && left == right;
}

std::optional<CString> Refuse(TargetRefusal& refusal, TargetRefusal::Kind kind, std::string detail) {
  refusal = {kind, std::move(detail)};
  return std::nullopt;
}

// What every written file must pass, whatever it holds.
std::optional<CString> CheckTarget(const CString& target, const CString& inputWorkbook, TargetRefusal& refusal) {
  using Kind = TargetRefusal::Kind;
  const std::string path = ToUtf8(target);
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return Refuse(refusal, Kind::NotRegularFile, "not a regular file: " + path);
    if (access(path.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0)
      return Refuse(refusal, Kind::ReadOnly, "read-only: " + path);
  }
  if (!inputWorkbook.IsEmpty() && SameFile(path, ToUtf8(inputWorkbook)))
    return Refuse(refusal, Kind::InputWorkbook, "the circuits are read from " + ToUtf8(inputWorkbook));
  return target;
}

}  // namespace

std::optional<CString> CheckResultsTarget(const CString& requested, const CString& inputWorkbook,
                                          TargetRefusal& refusal) {
  using Kind = TargetRefusal::Kind;
  if (!workbook_files::IsExactName(requested)) return Refuse(refusal, Kind::NotExactName, {});
  CString error;
  const std::optional<CString> target = workbook_files::ResultsName(requested, error);
  if (!target) {
    const int slash = requested.ReverseFind('/');
    return Refuse(refusal, requested.Mid(slash + 1).IsEmpty() ? Kind::NoName : Kind::NotAWorkbookName, error.str());
  }
  return CheckTarget(*target, inputWorkbook, refusal);
}

std::optional<CString> CheckReportTarget(const CString& requested, const CString& inputWorkbook,
                                         const CString& otherOutput, TargetRefusal& refusal) {
  using Kind = TargetRefusal::Kind;
  if (!workbook_files::IsExactName(requested)) return Refuse(refusal, Kind::NotExactName, {});
  const int slash = requested.ReverseFind('/');
  if (requested.Mid(slash + 1).IsEmpty()) return Refuse(refusal, Kind::NoName, {});
  if (!otherOutput.IsEmpty() && SameFile(ToUtf8(requested), ToUtf8(otherOutput)))
    return Refuse(refusal, Kind::OtherOutput, "the results are written to " + ToUtf8(otherOutput));
  return CheckTarget(requested, inputWorkbook, refusal);
}

ResultsScratch::ResultsScratch(const CString& target) {
  // The built file has the target's extension: it chooses the format.
  const std::string name = ToUtf8(target);
  const size_t dot = name.rfind('.');
  m_extension = dot != std::string::npos && name.find('/', dot) == std::string::npos ? name.substr(dot) : ".xls";
  std::string pattern = FolderOf(ToUtf8(target)) + "/.results-XXXXXX";
  if (mkdtemp(pattern.data())) m_folder = pattern;
  else m_error = errno;
}

ResultsScratch::~ResultsScratch() {
  if (m_folder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(m_folder, ignored);
}

std::optional<CString> ResultsScratch::WorkbookPath(xls::Error& error) const {
  if (m_folder.empty()) {
    error = xls::MakeError(std::string("Cannot create a file in the target's folder: ") + std::strerror(m_error),
                           xls::KindOfSystemError(m_error));
    return std::nullopt;
  }
  return FromUtf8(m_folder + "/results" + m_extension);
}

bool ReplaceWithFile(const CString& finished, const CString& target, xls::Error& error) {
  try {
    CFile source(finished, CFile::modeRead | CFile::shareDenyNone);
    std::vector<char> bytes;
    char chunk[65536];
    for (unsigned got; (got = source.Read(chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
    CFile out(target, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone);
    out.Write(bytes.data(), static_cast<unsigned>(bytes.size()));
    out.Close();
  } catch (const CFileException& e) {
    error = xls::MakeError(e.m_strError.str(), e.m_kind);
    return false;
  }
  return true;
}
