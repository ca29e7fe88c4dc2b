// The connection string of the workbook driver, e.g.
//   DRIVER={Microsoft Excel Driver (*.xls)};DSN='';FIRSTROWHASNAMES=1;
//   READONLY=FALSE;CREATE_DB="c:\book.xls";DBQ=c:\book.xls
// Keys are case-insensitive; a value may stand in braces, quotation marks or
// apostrophes (which are removed); keys the driver does not use are ignored.
#pragma once

#include <string>
#include <string_view>

#include "workbook/result.h"

namespace xls::sql {

struct ConnectSettings {
  std::u16string driver;      // DRIVER, without its braces
  std::u16string dsn;         // DSN
  std::u16string workbook;    // DBQ: the workbook to open
  std::u16string createPath;  // CREATE_DB: the workbook to create when missing (empty: none)
  bool readOnly = false;      // READONLY=TRUE/1
};

Result<ConnectSettings> ParseConnectString(std::u16string_view text);

}  // namespace xls::sql
