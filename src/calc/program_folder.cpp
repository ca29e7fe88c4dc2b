#include "calc/program_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "calc/workbook_folder.h"
#include "platform/text/encoding.h"

// Where an installed copy's sample workbook lies, relative to the
// executable's folder; the build gives the install layout's own.
#ifndef LOADCALC_INSTALLED_SAMPLE_FOLDER
#define LOADCALC_INSTALLED_SAMPLE_FOLDER "../share/loadcalc"
#endif

namespace fs = std::filesystem;

namespace {

CString& FolderOverride() {
  static CString folder;
  return folder;
}

fs::path ExecutableFolder() {
  if (!FolderOverride().IsEmpty()) return fs::path(ToUtf8(FolderOverride())).parent_path();
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : exe.parent_path();
}

CString AsFolderText(const fs::path& folder) {
  std::string text = folder.string();
  if (text.empty()) return CString("./");
  if (text.back() != '/') text += '/';
  return FromUtf8(text);
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

WorkbookFolderFacts CurrentWorkbookFolderFacts() {
  WorkbookFolderFacts facts;
  facts.programFolder = ExecutableFolder();
  if (facts.programFolder.empty()) facts.programFolder = ".";
  facts.installedSample =
      (facts.programFolder / LOADCALC_INSTALLED_SAMPLE_FOLDER / kInputWorkbookFile).lexically_normal();
  facts.xdgDataHome = Environment("XDG_DATA_HOME");
  facts.home = Environment("HOME");
  facts.mayWrite = [](const fs::path& folder) { return access(folder.c_str(), W_OK) == 0; };
  return facts;
}

}  // namespace

void OverrideProgramFolder(const CString& folder) { FolderOverride() = folder; }

CString GetProgramFolder() { return AsFolderText(ExecutableFolder()); }

CString InputWorkbookName() { return FromUtf8(kInputWorkbookFile); }

CString GetWorkbookFolder() {
  const WorkbookFolderChoice choice = ChooseWorkbookFolder(CurrentWorkbookFolderFacts());
  if (!choice.error.empty()) std::cerr << "loadcalc: 无法准备存放工作簿的文件夹 (" << choice.error << ")" << std::endl;
  return AsFolderText(choice.folder);
}
