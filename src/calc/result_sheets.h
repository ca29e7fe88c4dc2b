// The two kinds of results sheet, written through CSpreadSheet in one
// commit each: a list of circuits under its captions, and 参数项 | 参数值
// rows. Shared by a board's 保存 and the building's results workbook.
// Quantities are stored as numeric cells; labels and free text stay text.
#pragma once

#include <utility>
#include <vector>

#include "calc/circuit_table.h"
#include "platform/text/cstring.h"
#include "platform/text/cstring_array.h"
#include "workbook/result.h"

using ParameterRows = std::vector<std::pair<CString, CString>>;

// False with `error` set when the sheet could not be written.
bool WriteCircuitSheet(const CString& path, const CString& name, const CStringArray& captions,
                       const CircuitTable& list, xls::Error& error);
bool WriteParameterSheet(const CString& path, const CString& name, const ParameterRows& rows, xls::Error& error);

// The sheet's own error, or a plain one when it left none.
class CSpreadSheet;
xls::Error SheetErrorOf(const CSpreadSheet& sheet);
