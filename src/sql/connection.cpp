#include "sql/connection.h"

#include <filesystem>
#include <system_error>
#include <variant>

#include "sql/connection_book.h"
#include "sql/sql_statement.h"
#include "sql/sql_text.h"

namespace xls {

Connection::Connection(std::string path, ConnectionOptions options, std::unique_ptr<SheetBook> workbook)
    : m_path(std::move(path)), m_options(options), m_workbook(std::move(workbook)), m_open(true) {}

Connection::Connection(Connection&&) noexcept = default;
Connection& Connection::operator=(Connection&&) noexcept = default;
Connection::~Connection() = default;

Result<Connection> Connection::Open(const std::string& path, ConnectionOptions options) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) && !error) {
    if (options.createIfMissing) return Connection(path, options, NewSheetBook(path));
    return MakeError("The workbook '" + path + "' does not exist", ErrorKind::NotFound);
  }
  auto loaded = LoadSheetBook(path);
  if (loaded) return Connection(path, options, std::move(loaded.value()));
  return MakeError("Cannot open the workbook '" + path + "': " + loaded.error().text, loaded.error().kind);
}

Result<sql::QueryResult> Connection::Query(std::u16string_view statement) {
  auto parsed = sql::ParseStatement(statement);
  if (!parsed) return parsed.error();
  if (!std::holds_alternative<sql::SelectAll>(parsed.value())) {
    return MakeError("Only a SELECT statement returns records");
  }
  sql::QueryResult result;
  if (auto status = Run(std::get<sql::SelectAll>(parsed.value()), &result); !status) return status.error();
  return result;
}

Status Connection::Execute(std::u16string_view statement) {
  if (!m_open) return MakeError("The connection is closed");
  auto parsed = sql::ParseStatement(statement);
  if (!parsed) return parsed.error();
  return std::visit([this](const auto& parsedStatement) { return Run(parsedStatement, nullptr); }, parsed.value());
}

Status Connection::Close() {
  if (!m_open) return Ok{};
  m_open = false;
  if (!m_changed) return Ok{};
  for (auto& [index, cells] : m_sheets) m_workbook->ReplaceSheet(index, std::move(cells), std::move(m_numbers[index]));
  m_sheets.clear();
  m_numbers.clear();
  m_changed = false;
  if (auto saved = m_workbook->Save(m_path); !saved) {
    return MakeError("Cannot write the workbook '" + m_path + "': " + saved.error().text, saved.error().kind);
  }
  return Ok{};
}

void Connection::Discard() {
  m_open = false;
  m_changed = false;
  m_sheets.clear();
  m_numbers.clear();
}

Result<size_t> Connection::FindSheet(const sql::TableRef& table) const {
  if (auto index = m_workbook->FindSheet(table.sheet)) return *index;
  return MakeError("The workbook has no sheet named " + sql::Quoted(table.sheet), ErrorKind::NoSuchSheet);
}

Result<Grid*> Connection::Cells(size_t index) {
  auto found = m_sheets.find(index);
  if (found != m_sheets.end()) return &found->second;
  auto cells = m_workbook->ReadSheet(index);
  if (!cells) return MakeError("Cannot read the sheet " + sql::Quoted(m_workbook->SheetName(index)) + ": " + cells.error().text);
  return &m_sheets.emplace(index, std::move(cells.value())).first->second;
}

Result<Grid*> Connection::CellsOf(const sql::TableRef& table) {
  auto index = FindSheet(table);
  if (!index) return index.error();
  return Cells(index.value());
}

Status Connection::CheckWritable() const {
  if (!m_open) return MakeError("The connection is closed");
  if (m_options.readOnly) return MakeError("The workbook is opened read-only (READONLY=TRUE); it cannot be changed");
  return Ok{};
}

Status Connection::Run(const sql::SelectAll& select, sql::QueryResult* result) {
  if (!m_open) return MakeError("The connection is closed");
  auto index = FindSheet(select.table);
  if (!index) return index.error();
  // A sheet no statement has changed is read where the workbook keeps it, without a copy.
  if (auto changed = m_sheets.find(*index); changed != m_sheets.end()) {
    if (result) *result = sql::SelectFromGrid(changed->second, select.table.lastRow);
    return Ok{};
  }
  auto cells = m_workbook->SheetCells(*index);
  if (!cells) return MakeError("Cannot read the sheet " + sql::Quoted(m_workbook->SheetName(*index)) + ": " + cells.error().text);
  if (result) *result = sql::SelectFromGrid(**cells, select.table.lastRow);
  return Ok{};
}

Status Connection::Run(const sql::DropTable& drop, sql::QueryResult*) {
  if (auto writable = CheckWritable(); !writable) return writable;
  auto index = FindSheet(drop.table);
  if (!index) return index.error();
  auto cells = Cells(*index);
  if (!cells) return cells.error();
  sql::ClearRows(*cells.value(), drop.table.lastRow);
  sql::ClearNumbers(m_numbers[*index], drop.table.lastRow);
  m_changed = true;
  return Ok{};
}

Status Connection::Run(const sql::CreateTable& create, sql::QueryResult*) {
  if (auto writable = CheckWritable(); !writable) return writable;
  if (create.table.isRange) {
    auto cells = CellsOf(create.table);
    if (!cells) return cells.error();
    auto written = sql::WriteHeader(*cells.value(), create.table.lastRow, create.columns);
    if (written) m_changed = true;
    return written;
  }
  if (m_workbook->HasSheetNamed(create.table.sheet)) {
    return MakeError("The workbook already has a sheet named " + sql::Quoted(create.table.sheet), ErrorKind::SheetExists);
  }
  if (auto valid = sql::CheckSheetName(create.table.sheet); !valid) return valid;
  Grid cells;
  if (auto written = sql::WriteHeader(cells, sql::kSheetRows, create.columns); !written) return written;
  const size_t index = m_workbook->AddSheet(create.table.sheet, {});
  m_sheets[index] = std::move(cells);
  m_changed = true;
  return Ok{};
}

Status Connection::Run(const sql::InsertRow& insert, sql::QueryResult*) {
  if (auto writable = CheckWritable(); !writable) return writable;
  auto index = FindSheet(insert.table);
  if (!index) return index.error();
  auto cells = Cells(*index);
  if (!cells) return cells.error();
  auto inserted = sql::InsertIntoGrid(*cells.value(), m_numbers[*index], insert);
  if (inserted) m_changed = true;
  return inserted;
}

}  // namespace xls
