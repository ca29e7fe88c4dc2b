// Opening and reading workbooks, ours beside FreeXL on the same files, and
// writing the large one.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "../support/freexl_reading.h"
#include "platform/odbc/database.h"
#include "platform/odbc/recordset.h"
#include "xls/workbook.h"

namespace {

xls::Grid Cells(int rows, int columns) {
  xls::Grid cells;
  for (int r = 0; r < rows; ++r) {
    auto& row = cells.emplace_back();
    for (int c = 0; c < columns; ++c) {
      const std::string text = c % 2 ? std::to_string(r * 0.5 + c) : "回路" + std::to_string(r);
      row.push_back(std::u16string(text.begin(), text.end()));
    }
  }
  return cells;
}

// A workbook written once per run into the temporary folder.
const std::string& WorkbookFile(int rows) {
  static std::string small, large;
  std::string& path = rows <= 20 ? small : large;
  if (path.empty()) {
    path = "/tmp/xls_bench_" + std::to_string(getpid()) + "_" + std::to_string(rows) + ".xls";
    xls::Workbook book;
    book.AddSheet(u"Sheet1", Cells(rows, 6));
    if (!book.Save(path).ok()) std::abort();
  }
  return path;
}

// An unchanged file is answered from what its last opening read; moving its
// change time on makes every opening read it afresh, as these measure.
void Touch(const std::string& path) {
  if (utimensat(AT_FDCWD, path.c_str(), nullptr, 0) != 0) std::abort();
}

void LoadAndReadSheet(benchmark::State& state) {
  const std::string& path = WorkbookFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Touch(path);
    state.ResumeTiming();
    auto book = xls::Workbook::Load(path);
    auto grid = book->ReadSheet(0);
    benchmark::DoNotOptimize(grid->size());
  }
}
BENCHMARK(LoadAndReadSheet)->Arg(20)->Arg(65535)->Unit(benchmark::kMillisecond);

// The road the program takes for every circuit: a connection to the workbook,
// one SELECT over the sheet, every field of every record read as text.
void SelectThroughDatabase(benchmark::State& state) {
  const std::string& path = WorkbookFile(static_cast<int>(state.range(0)));
  const std::string connect =
      "DRIVER={Microsoft Excel Driver (*.xls)};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;"
      "CREATE_DB=\"" + path + "\";DBQ=" + path;
  for (auto _ : state) {
    state.PauseTiming();
    Touch(path);
    state.ResumeTiming();
    CDatabase database;
    database.OpenEx(connect.c_str(), CDatabase::noOdbcDialog);
    CRecordset records(&database);
    records.Open(CRecordset::forwardOnly, "SELECT * FROM [Sheet1$A1:IV65536]", CRecordset::readOnly);
    CString value;
    long fields = 0;
    for (; !records.IsEOF(); records.MoveNext())
      for (short i = 0; i < records.GetODBCFieldCount(); ++i, ++fields) records.GetFieldValue(i, value);
    benchmark::DoNotOptimize(fields);
    records.Close();
    database.Close();
  }
}
BENCHMARK(SelectThroughDatabase)->Arg(20)->Arg(65535)->Unit(benchmark::kMillisecond);

void FreexlOpenAndReadEveryCell(benchmark::State& state) {
  const std::string& path = WorkbookFile(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(bench::ReadEveryCellWithFreexl(path));
}
BENCHMARK(FreexlOpenAndReadEveryCell)->Arg(20)->Arg(65535)->Unit(benchmark::kMillisecond);

void WriteWorkbook(benchmark::State& state) {
  const xls::Grid cells = Cells(static_cast<int>(state.range(0)), 6);
  const std::string path = "/tmp/xls_bench_write_" + std::to_string(getpid()) + ".xls";
  for (auto _ : state) {
    xls::Workbook book;
    book.AddSheet(u"Sheet1", cells);
    if (!book.Save(path).ok()) std::abort();
  }
  unlink(path.c_str());
}
BENCHMARK(WriteWorkbook)->Arg(65535)->Unit(benchmark::kMillisecond);

// The same without the file system: building the bytes alone.
void SerializeWorkbook(benchmark::State& state) {
  const xls::Grid cells = Cells(static_cast<int>(state.range(0)), 6);
  for (auto _ : state) {
    xls::Workbook book;
    book.AddSheet(u"Sheet1", cells);
    benchmark::DoNotOptimize(book.Serialize()->size());
  }
}
BENCHMARK(SerializeWorkbook)->Arg(65535)->Unit(benchmark::kMillisecond);

}  // namespace
