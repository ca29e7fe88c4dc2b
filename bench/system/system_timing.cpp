// Timed run of the whole building: makes a system of B boards with C
// circuits each (one .xls workbook per board with a switch library) and times, end to end, reading and calculating every board, the
// busbar and the transformer; the results workbook; and the 计算书.
//   system_timing [boards] [circuits] [folder to keep the workbooks in]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>

#include "calc/system_calculation.h"
#include "calc/system_results_workbook.h"
#include "platform/text/encoding.h"
#include "xls/workbook.h"
#ifdef LOADCALC_TIME_REPORT
#include "report/system_report.h"
#include "report_pdf/headless_painting.h"
#include "report_pdf/system_report_pdf.h"
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::u16string U16(const std::string& utf8) { return ToUtf16(FromUtf8(utf8)); }

xls::Grid Sheet(const std::vector<std::vector<std::string>>& rows) {
  xls::Grid grid;
  for (const auto& row : rows) {
    std::vector<std::u16string> cells;
    for (const auto& cell : row) cells.push_back(U16(cell));
    grid.push_back(cells);
  }
  return grid;
}

const std::vector<std::vector<std::string>> kLibrary = {
    {"型号", "额定电流"}, {"C16", "16"},   {"C32", "32"},          {"C63", "63"},         {"NSX100", "100"},
    {"NSX160", "160"},   {"NSX250", "250"}, {"NS400", "400"},       {"NS630", "630"},      {"NS800", "800"},
    {"NS1000", "1000"},  {"MT1600", "1600"}, {"MT2500", "2000", "2500"}, {"MT4000", "3200", "4000"}};

void WriteBoard(const fs::path& path, int circuits, std::mt19937& rng) {
  std::uniform_int_distribution<int> tenths(2, 60), phase(0, 9), cosPhi(75, 95);
  std::vector<std::vector<std::string>> rows = {{"线路编号", "相别", "设备功率", "需要系数", "功率因数", "备注"}};
  for (int c = 1; c <= circuits; ++c) {
    const int p = phase(rng);
    rows.push_back({"WL" + std::to_string(c), p == 9 ? "L1L2L3" : "L" + std::to_string(1 + p % 3),
                    std::to_string(tenths(rng) / 10.0).substr(0, 4), "0.8", "0." + std::to_string(cosPhi(rng)), ""});
  }
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", Sheet(rows));
  book.AddSheet(u"开关型号库", Sheet(kLibrary));
  if (!book.Save(path.string()).ok()) std::exit(1);
}

fs::path MakeBuilding(const fs::path& folder, int boards, int circuits) {
  std::mt19937 rng(26);
  std::vector<std::vector<std::string>> rows = {{"配电箱编号", "工作簿", "备注"}};
  for (int b = 1; b <= boards; ++b) {
    const std::string name = "AL" + std::to_string(b);
    WriteBoard(folder / (name + ".xls"), circuits, rng);
    rows.push_back({name, name + ".xls", ""});
  }
  xls::Workbook book;
  book.AddSheet(u"配电系统", Sheet(rows));
  // A building this large takes several transformers.
  book.AddSheet(u"系统参数", Sheet({{"参数", "值"}, {"变压器台数", std::to_string(1 + boards / 15)}}));
  const fs::path system = folder / "系统.xls";
  if (!book.Save(system.string()).ok()) std::exit(1);
  return system;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

SystemResult TimedCalculation(const fs::path& system, const char* what) {
  const double cpu = CpuSeconds();
  const auto start = Clock::now();
  SystemResult result = CalculateSystem(FromUtf8(system.string()));
  std::printf("%-44s %7.3f s (cpu %.3f s)\n", what, Seconds(start), CpuSeconds() - cpu);
  if (!result.Complete()) {
    std::printf("not complete: %s\n", ToUtf8(result.problems.front().detail).c_str());
    std::exit(1);
  }
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const int boards = argc > 1 ? std::atoi(argv[1]) : 100;
  const int circuits = argc > 2 ? std::atoi(argv[2]) : 50;
  const bool keep = argc > 3;
  const fs::path folder = keep ? fs::path(argv[3]) : fs::temp_directory_path() / ("system-timing-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path system = MakeBuilding(folder, boards, circuits);
  std::printf("%d boards × %d circuits in %s\n", boards, circuits, folder.c_str());

  TimedCalculation(system, "first calculation (backup sheets added)");
  SystemResult result;
  for (int run = 1; run <= 3; ++run) result = TimedCalculation(system, ("calculation, run " + std::to_string(run)).c_str());
  std::printf("busbar %.1f kW, %.1f kVA, transformer %.0f kVA\n", result.busbar->totals.pjs, result.busbar->totals.sjs,
              result.busbar->transformer.rating.value_or(0));

  for (const char* name : {"结果.xls", "结果.xlsx"}) {
    const auto start = Clock::now();
    CString error;
    const bool saved = SaveSystemResults(result, FromUtf8((folder / name).string()), error);
    std::printf("results workbook %-27s %7.3f s%s\n", name, Seconds(start), saved ? "" : " FAILED");
  }
#ifdef LOADCALC_TIME_REPORT
  {
    const report_pdf::HeadlessPainting painting;
    const auto start = Clock::now();
    const xls::Status written =
        report_pdf::WriteSystemReportPdf(report::BuildSystemReport(result, std::time(nullptr)), (folder / "计算书.pdf").string());
    std::printf("%-44s %7.3f s%s\n", "计算书 (PDF)", Seconds(start), written ? "" : " FAILED");
  }
#endif
  if (!keep) fs::remove_all(folder);
  return 0;
}
