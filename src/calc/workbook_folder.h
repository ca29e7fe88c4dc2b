// The choice of the folder that holds the input workbook and the files the
// program writes for itself. Run from its own folder the program keeps
// everything beside the executable; an installed copy's folder holds no
// workbook and is not the user's to write, so the user's data folder for the
// program takes its place, with the installed sample workbook copied into it
// the first time.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

// What the choice depends on; GetWorkbookFolder() gathers the running
// process's own, tests give their own.
struct WorkbookFolderFacts {
  std::filesystem::path programFolder;
  // The sample workbook an installed copy ships (<prefix>/share/<program>/);
  // its presence marks the program folder as an installed copy's.
  std::filesystem::path installedSample;
  std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
  std::string home;         // $HOME, empty when unset
  // Whether the process may write into a folder (access with W_OK).
  std::function<bool(const std::filesystem::path&)> mayWrite;
};

struct WorkbookFolderChoice {
  std::filesystem::path folder;
  // Why the folder could not be made ready (created, sample copied); empty
  // when it is. The folder is chosen all the same: the missing workbook is
  // then reported where it is read.
  std::string error;
};

// The folder's name under the user's data folder, and the workbook's file
// name, in UTF-8.
inline constexpr const char* kProgramDataName = "loadcalc";
inline constexpr const char* kInputWorkbookFile = "电气计算.xls";

// The program folder when it holds the input workbook, or when it may be
// written and is not an installed copy's. Otherwise $XDG_DATA_HOME/loadcalc/
// (an absolute XDG_DATA_HOME only), else $HOME/.local/share/loadcalc/ (an
// absolute HOME only),
// created if need be, with the installed sample copied in when it holds no
// workbook yet; a workbook already there is never replaced.
WorkbookFolderChoice ChooseWorkbookFolder(const WorkbookFolderFacts& facts);
