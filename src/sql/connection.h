// xls::Connection: one connection of the workbook driver to a workbook file.
// Statements change the workbook in memory; the file is written once, when
// the connection closes, and only if a statement changed something. A read
// never creates a file.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "workbook/result.h"
#include "sql/sql_grid.h"
#include "sql/sql_statement.h"
#include "workbook/sheet_book.h"

namespace xls {

struct ConnectionOptions {
  bool readOnly = false;
  bool createIfMissing = false;  // a missing workbook is made by the first statement that writes
};

class Connection {
 public:
  // `path` is UTF-8. A missing file is an error unless createIfMissing.
  static Result<Connection> Open(const std::string& path, ConnectionOptions options);

  Connection(Connection&&) noexcept;
  Connection& operator=(Connection&&) noexcept;
  ~Connection();

  // SELECT only.
  Result<sql::QueryResult> Query(std::u16string_view statement);
  // Any statement the driver understands; a SELECT changes nothing.
  Status Execute(std::u16string_view statement);

  // Writes the workbook if a statement changed it. The connection is closed
  // afterwards whatever the result; a failed write is reported, and the
  // changes are lost with the connection.
  Status Close();
  // Closes without writing: the file stays as it was.
  void Discard();

  bool IsOpen() const { return m_open; }
  bool HasChanges() const { return m_changed; }

 private:
  Connection(std::string path, ConnectionOptions options, std::unique_ptr<SheetBook> workbook);

  Result<size_t> FindSheet(const sql::TableRef& table) const;
  // The sheet's cells, read from the workbook the first time.
  Result<Grid*> Cells(size_t index);
  Result<Grid*> CellsOf(const sql::TableRef& table);
  Status CheckWritable() const;

  Status Run(const sql::SelectAll& select, sql::QueryResult* result);
  Status Run(const sql::DropTable& drop, sql::QueryResult* result);
  Status Run(const sql::CreateTable& create, sql::QueryResult* result);
  Status Run(const sql::InsertRow& insert, sql::QueryResult* result);

  std::string m_path;
  ConnectionOptions m_options;
  std::unique_ptr<SheetBook> m_workbook;  // .xls or .xlsx, as the file holds
  bool m_open = false;
  bool m_changed = false;
  // Cells of the sheets read or changed so far, by sheet index; the changed
  // ones are put back into the workbook when it is written.
  std::map<size_t, Grid> m_sheets;
  // The cells of those sheets that INSERT wrote as numbers, by sheet index.
  std::map<size_t, NumberCells> m_numbers;
};

}  // namespace xls
