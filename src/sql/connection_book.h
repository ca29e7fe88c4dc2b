// The workbook behind a connection, in the format its file holds: a ZIP
// container is an .xlsx workbook, anything else is read as BIFF8 (.xls). A
// workbook that does not exist yet takes the format its name asks for.
#pragma once

#include <memory>
#include <string>

#include "workbook/sheet_book.h"

namespace xls {

Result<std::unique_ptr<SheetBook>> LoadSheetBook(const std::string& path);
std::unique_ptr<SheetBook> NewSheetBook(const std::string& path);

// True for a name ending in .xlsx or .xlsm, in any case.
bool NamesXlsxWorkbook(const std::string& path);

}  // namespace xls
