// The building's results workbook: the sheet "配电系统计算结果" (the boards,
// the busbar, compensation, transformer and main switch), then for every
// board its circuits ("AL1-各回路") and its figures ("AL1-总回路"). Written
// whole in a private folder and renamed over the target, like 保存.
#pragma once

#include <vector>

#include "calc/system_calculation.h"

// Refuses an incomplete calculation, the system workbook and every board's
// workbook as the target. False with `error` set when nothing was written.
bool SaveSystemResults(const SystemResult& result, const CString& requested, CString& error);

// The two sheet names of each board, in board order: the board's name with
// "-各回路" / "-总回路", characters a sheet name cannot hold replaced by "_",
// cut to the 31 characters a sheet name may have, and numbered where two
// would otherwise be the same.
std::vector<std::pair<CString, CString>> BoardSheetNames(const std::vector<SystemBoardResult>& boards);

// The rows of "配电系统计算结果" below its header, each as wide as the header.
std::vector<std::vector<CString>> SystemSheetRows(const SystemResult& result);
std::vector<CString> SystemSheetHeader();
