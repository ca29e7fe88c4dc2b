#include "calc/program_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/text/encoding.h"

namespace {
CString& FolderOverride() {
  static CString folder;
  return folder;
}
}  // namespace

void OverrideProgramFolder(const CString& folder) { FolderOverride() = folder; }

CString GetProgramFolder() {
  if (!FolderOverride().IsEmpty()) return FolderOverride();
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return CString("./");
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return FromUtf8(folder);
}

CString InputWorkbookName() { return FromUtf8("电气计算.xls"); }
