// The ODBC installer's list of drivers: descriptions ended by a zero byte
// each, the list ended by an empty entry.
#pragma once

// Nonzero on success; zero when the list does not fit into `size` bytes.
int SQLGetInstalledDrivers(char* buffer, unsigned short size, unsigned short* count);

// The workbook driver's description as the list gives it.
inline constexpr const char kExcelDriverName[] = "Microsoft Excel Driver (*.xls)";
