#include "calc/program_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/text/encoding.h"

CString GetProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return CString("./");
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return FromUtf8(folder);
}

CString InputWorkbookName() { return FromUtf8("电气计算.xls"); }
