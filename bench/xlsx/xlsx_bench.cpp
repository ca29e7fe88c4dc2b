// Opening an .xlsx workbook and reading one sheet: a board of 20 rows and a
// full sheet of 65,535 rows by 6 columns, with texts in the shared string
// table and numbers as numbers, as spreadsheet programs write them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "sql/connection.h"
#include "xlsx/xlsx_workbook.h"
#include "xlsx/zip_package.h"

namespace {

std::string ColumnLetter(int column) { return std::string(1, static_cast<char>('A' + column)); }

std::string SheetXml(int rows, int columns, std::string& strings) {
  std::string xml =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  int shared = 0;
  strings = "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
  for (int r = 1; r <= rows; ++r) {
    const std::string number = std::to_string(r);
    xml += "<row r=\"" + number + "\">";
    for (int c = 0; c < columns; ++c) {
      const std::string ref = ColumnLetter(c) + number;
      if (c % 2) {
        xml += "<c r=\"" + ref + "\"><v>" + std::to_string(r * 0.5 + c) + "</v></c>";
      } else {
        strings += "<si><t>回路" + number + "-" + std::to_string(c) + "</t></si>";
        xml += "<c r=\"" + ref + "\" t=\"s\"><v>" + std::to_string(shared++) + "</v></c>";
      }
    }
    xml += "</row>";
  }
  strings += "</sst>";
  return xml + "</sheetData></worksheet>";
}

// A workbook written once per run into the temporary folder.
const std::string& WorkbookFile(int rows) {
  static std::string small, large;
  std::string& path = rows <= 20 ? small : large;
  if (!path.empty()) return path;
  std::string strings;
  const std::string sheet = SheetXml(rows, 6, strings);
  const char* rels = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  auto bytes = xlsx::ZipPackage::Create({
      {"[Content_Types].xml", "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
      {"_rels/.rels", std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                  "relationships\"><Relationship Id=\"rId1\" Type=\"") +
                          rels + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml",
       "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
           std::string(rels, std::string(rels).size() - 1) +
           "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       std::string("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                   "<Relationship Id=\"rId1\" Type=\"") +
           rels + "worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" + rels +
           "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml", sheet},
      {"xl/sharedStrings.xml", strings}});
  if (!bytes) std::abort();
  path = "/tmp/xlsx_bench_" + std::to_string(getpid()) + "_" + std::to_string(rows) + ".xlsx";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(bytes->data(), 1, bytes->size(), file) != bytes->size()) std::abort();
  std::fclose(file);
  return path;
}

void LoadAndReadXlsxSheet(benchmark::State& state) {
  const std::string& path = WorkbookFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto book = xlsx::XlsxWorkbook::Load(path);
    if (!book) std::abort();
    auto grid = book->ReadSheet(0);
    if (!grid || grid->size() != static_cast<size_t>(state.range(0))) std::abort();
    benchmark::DoNotOptimize(grid->size());
  }
}
BENCHMARK(LoadAndReadXlsxSheet)->Arg(20)->Arg(65535)->Unit(benchmark::kMillisecond);

// The program's road: a connection to the workbook and a SELECT of the sheet.
void SelectThroughConnection(benchmark::State& state) {
  const std::string& path = WorkbookFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto connection = xls::Connection::Open(path, {true, false});
    auto result = connection->Query(u"SELECT * FROM [Sheet1$A1:IV65536]");
    if (!result) std::abort();
    benchmark::DoNotOptimize(result->records.size());
    connection->Discard();
  }
}
BENCHMARK(SelectThroughConnection)->Arg(20)->Arg(65535)->Unit(benchmark::kMillisecond);

}  // namespace
