// How the cost of the program's commands grows with the work, all in one run
// so that the figures stand side by side on the same machine load:
//   计算 on 1,000 and 10,000 circuits (one switch lookup per circuit and one
//   for the board, each opening the workbook as it is on disk);
//   opening a 20-row workbook and reading one sheet;
//   reading a 65,535 × 6 sheet, ours beside FreeXL on the same file;
//   reading the corners-only workbook (cells A1 and IV65536) with its backup;
//   reading a 65,535-row circuit sheet with its backup (the backup writes
//   65,536 rows × 6 through one INSERT per row);
//   读取 of 65,535 circuits into the list;
//   计算 of 200 circuits with a 2,000-model switch library, .xls beside .xlsx.
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// for medians.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "../support/freexl_reading.h"
#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "calc/switch_combo_box.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"
#include "xls/workbook.h"
#include "xlsx/xlsx_workbook.h"

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / ("growth_bench_" + std::to_string(getpid()));
    fs::create_directories(path);
    std::atexit([] { std::error_code ignored; fs::remove_all(Folder(), ignored); });
    return path;
  }();
  return folder;
}

std::u16string Text(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// n circuits spread over the three phases, with the header row.
xls::Grid Circuits(int count) {
  xls::Grid rows = {{u"线路编号", u"相别", u"设备功率", u"需要系数", u"功率因数", u"备注"}};
  for (int i = 0; i < count; ++i) {
    rows.push_back({Text("N" + std::to_string(i + 1)), Text("L" + std::to_string(i % 3 + 1)),
                    Text(std::to_string(0.5 + (i % 40) * 0.75)), u"0.8", u"0.85", u"照明"});
  }
  return rows;
}

// A library of 20 models, each rated over nine steps of the standard series.
xls::Grid SwitchLibrary() {
  static const int kSeries[] = {6, 10, 16, 20, 25, 32, 40, 50, 63, 80, 100, 125, 160, 200, 250, 315, 400, 500, 630, 800};
  xls::Grid rows = {{u"型号", u"额定电流"}};
  for (int i = 0; i < 20; ++i) {
    xls::Grid::value_type row = {Text("M" + std::to_string(i))};
    for (int k = i / 2; k < i / 2 + 9 && k < 20; ++k) row.push_back(Text(std::to_string(kSeries[k])));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string InputWorkbook(int circuits) {
  const std::string path = (Folder() / ("input_" + std::to_string(circuits) + ".xls")).string();
  if (!fs::exists(path)) {
    xls::Workbook book;
    book.AddSheet(u"线路负荷计算", Circuits(circuits));
    book.AddSheet(u"开关型号库", SwitchLibrary());
    if (!book.Save(path).ok()) std::abort();
  }
  return path;
}

class QuietHost : public LoadCalcHost {
 public:
  void ShowMessage(const CString&) override {}
  void ExchangeBoardData(bool) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
};

// 计算 as loadcalc-cli runs it, after one 读取 (which has added the backup sheet).
void Calculate(benchmark::State& state) {
  const int circuits = static_cast<int>(state.range(0));
  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  QuietHost host;
  CLoadCalcCore core(list, switches, host);
  core.SetWorkbookPath(FromUtf8(InputWorkbook(circuits)));
  core.ResetCircuitList();
  if (!core.ReadCircuits() || list.GetItemCount() != circuits) std::abort();
  for (auto _ : state) {
    if (!core.Calculate()) std::abort();
  }
  state.counters["lookups"] = circuits + 1;
}
BENCHMARK(Calculate)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A library of `models` switches, each rated over nine steps of the series.
xls::Grid LargeSwitchLibrary(int models) {
  static const int kSeries[] = {6, 10, 16, 20, 25, 32, 40, 50, 63, 80, 100, 125, 160, 200, 250, 315, 400, 500, 630, 800};
  xls::Grid rows = {{u"型号", u"额定电流"}};
  for (int i = 0; i < models; ++i) {
    xls::Grid::value_type row = {Text("M" + std::to_string(i))};
    for (int k = i % 11; k < i % 11 + 9; ++k) row.push_back(Text(std::to_string(kSeries[k])));
    rows.push_back(std::move(row));
  }
  return rows;
}

// 200 circuits and a 2,000-model switch library, as .xls and as the .xlsx
// LibreOffice makes of it (written by this program where LibreOffice is missing).
bool g_libreOfficeWrote = false;

std::string LibraryBoard(bool xlsx) {
  const fs::path xls_path = Folder() / "library_board.xls";
  if (!fs::exists(xls_path)) {
    xls::Workbook book;
    book.AddSheet(u"线路负荷计算", Circuits(200));
    book.AddSheet(u"开关型号库", LargeSwitchLibrary(2000));
    if (!book.Save(xls_path.string()).ok()) std::abort();
  }
  if (!xlsx) return xls_path.string();
  const fs::path xlsx_path = Folder() / "library_board.xlsx";
  if (!fs::exists(xlsx_path)) {
    const std::string convert = "soffice --headless --convert-to xlsx --outdir '" + Folder().string() + "' '" +
                                xls_path.string() + "' >/dev/null 2>&1";
    g_libreOfficeWrote = std::system(convert.c_str()) == 0 && fs::exists(xlsx_path);
    if (!g_libreOfficeWrote) {
      xlsx::XlsxWorkbook book;
      book.AddSheet(u"线路负荷计算", Circuits(200));
      book.AddSheet(u"开关型号库", LargeSwitchLibrary(2000));
      if (!book.Save(xlsx_path.string()).ok()) std::abort();
    }
  }
  return xlsx_path.string();
}

// 计算 of 200 circuits, each looking its switch up in the 2,000-model library,
// on the same board as .xls (0) and as .xlsx (1): the package is parsed once
// while the file is unchanged, so the two stay close.
void CalculateWithLargeLibrary(benchmark::State& state) {
  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  QuietHost host;
  CLoadCalcCore core(list, switches, host);
  core.SetWorkbookPath(FromUtf8(LibraryBoard(state.range(0) == 1)));
  core.ResetCircuitList();
  if (!core.ReadCircuits() || list.GetItemCount() != 200) std::abort();
  for (auto _ : state) {
    if (!core.Calculate()) std::abort();
  }
  state.SetLabel(state.range(0) == 0 ? ".xls" : g_libreOfficeWrote ? ".xlsx by LibreOffice" : ".xlsx by this program");
}
BENCHMARK(CalculateWithLargeLibrary)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 读取 of the whole circuit sheet into the list (the backup sheet exists
// after the first read, as it does for every later read of a workbook).
void ReadCircuits(benchmark::State& state) {
  const int circuits = static_cast<int>(state.range(0));
  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  QuietHost host;
  CLoadCalcCore core(list, switches, host);
  core.SetWorkbookPath(FromUtf8(InputWorkbook(circuits)));
  if (!core.ReadCircuits()) std::abort();  // the first read adds the backup sheet
  for (auto _ : state) {
    if (!core.ReadCircuits() || list.GetItemCount() != circuits) std::abort();
  }
}
BENCHMARK(ReadCircuits)->Arg(65535)->Unit(benchmark::kMillisecond);

// A workbook written once per run.
std::string SheetWorkbook(int rows) {
  const std::string path = (Folder() / ("sheet_" + std::to_string(rows) + ".xls")).string();
  if (!fs::exists(path)) {
    xls::Workbook book;
    book.AddSheet(u"Sheet1", Circuits(rows - 1));
    book.AddSheet(u"开关型号库", SwitchLibrary());
    if (!book.Save(path).ok()) std::abort();
  }
  return path;
}

// The file's change time moves on, so that every opening reads it afresh.
void Touch(const std::string& path) {
  if (utimensat(AT_FDCWD, path.c_str(), nullptr, 0) != 0) std::abort();
}

// Opening and reading one sheet when nothing has been read of the file before.
void OpenAndReadSheet(benchmark::State& state) {
  const std::string path = SheetWorkbook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    Touch(path);
    state.ResumeTiming();
    auto book = xls::Workbook::Load(path);
    auto cells = book->SheetCells(0);
    benchmark::DoNotOptimize((*cells)->size());
  }
}
BENCHMARK(OpenAndReadSheet)->Arg(20)->Arg(65535)->Unit(benchmark::kMillisecond);

// The same file opened again unchanged, as the switch lookups of one 计算 do.
void OpenUnchangedAndReadSheet(benchmark::State& state) {
  const std::string path = SheetWorkbook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto book = xls::Workbook::Load(path);
    auto cells = book->SheetCells(0);
    benchmark::DoNotOptimize((*cells)->size());
  }
}
BENCHMARK(OpenUnchangedAndReadSheet)->Arg(20)->Unit(benchmark::kMillisecond);

void FreexlOpenAndReadSheet(benchmark::State& state) {
  const std::string path = SheetWorkbook(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(bench::ReadEveryCellWithFreexl(path));
}
BENCHMARK(FreexlOpenAndReadSheet)->Arg(65535)->Unit(benchmark::kMillisecond);

// CSpreadSheet on a fresh copy of `source`, with the backup flag set: the
// sheet is read and the backup sheet written into the copy.
void ReadWithBackup(benchmark::State& state, const std::string& source, const char* sheet) {
  const std::string copy = (Folder() / "with_backup.xls").string();
  long rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
    state.ResumeTiming();
    CSpreadSheet table(FromUtf8(copy), FromUtf8(sheet), true);
    rows = table.GetTotalRows();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void SparseWorkbookWithBackup(benchmark::State& state) {
  ReadWithBackup(state, LOADCALC_SOURCE_DIR "/tests/fixtures/xls/xlwt_sparse.xls", "线路负荷计算");
}
BENCHMARK(SparseWorkbookWithBackup)->Unit(benchmark::kMillisecond);

void FullSheetWithBackup(benchmark::State& state) {
  ReadWithBackup(state, SheetWorkbook(65536), "Sheet1");
}
BENCHMARK(FullSheetWithBackup)->Unit(benchmark::kMillisecond);

}  // namespace
