#include "calc/results_target.h"

#include <sys/stat.h>

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

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace

std::optional<CString> CheckResultsTarget(const CString& requested, const CString& inputWorkbook, CString& error) {
  if (!workbook_files::IsExactName(requested)) {
    error = "The file name is not valid text and cannot be written exactly as given";
    return std::nullopt;
  }
  std::optional<CString> target = workbook_files::ResultsName(requested, error);
  if (!target) return std::nullopt;
  const std::string path = ToUtf8(*target);
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    error = "The target exists and is not a regular file; it is left as it is";
    return std::nullopt;
  }
  if (SameFile(path, ToUtf8(inputWorkbook))) {
    error = "This is the workbook the circuits are read from; the results must go to another file";
    return std::nullopt;
  }
  return target;
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

std::optional<CString> ResultsScratch::WorkbookPath(CString& error) const {
  if (m_folder.empty()) {
    error = CString("Cannot create a file in the target's folder: ") + std::strerror(m_error);
    return std::nullopt;
  }
  return FromUtf8(m_folder + "/results" + m_extension);
}

bool ReplaceWithFile(const CString& finished, const CString& target, CString& error) {
  try {
    CFile source(finished, CFile::modeRead | CFile::shareDenyNone);
    std::vector<char> bytes;
    char chunk[65536];
    for (unsigned got; (got = source.Read(chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
    CFile out(target, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone);
    out.Write(bytes.data(), static_cast<unsigned>(bytes.size()));
    out.Close();
  } catch (const CFileException& e) {
    error = e.m_strError;
    return false;
  }
  return true;
}
