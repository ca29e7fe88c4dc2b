#include "calc/system_results_workbook.h"

#include <cstdio>
#include <filesystem>
#include <set>

#include "calc/calc_texts.h"
#include "calc/problem_texts.h"
#include "calc/result_sheets.h"
#include "calc/results_target.h"
#include "calc/standard_results_sheet.h"
#include "calc/system_texts.h"
#include "platform/text/encoding.h"
#include "sheet/spreadsheet.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kSheetNameLimit = 31;  // UTF-16 units, as spreadsheet programs count

CString U(const char* utf8) { return FromUtf8(utf8); }

CString Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return CString(text);
}

CString Percent(double rate) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1f%%", rate * 100);
  return CString(text);
}

CString Joined(const std::vector<CString>& texts) {
  CString joined;
  for (const CString& text : texts) joined += text + ";";
  return joined;
}

std::u16string Folded(std::u16string text) {
  for (char16_t& ch : text)
    if (ch >= u'A' && ch <= u'Z') ch = static_cast<char16_t>(ch - u'A' + u'a');
  return text;
}

// `base` + `suffix` as a sheet name no other in `used` has (names compare
// without case, as spreadsheet programs do).
CString UniqueSheetName(const CString& base, const CString& suffix, std::set<std::u16string>& used) {
  std::u16string name = ToUtf16(base);
  for (char16_t& ch : name)
    if (std::u16string_view(u":\\/?*[]'").find(ch) != std::u16string_view::npos || ch < 0x20) ch = u'_';
  const std::u16string tail = ToUtf16(suffix);
  for (int number = 1;; ++number) {
    const std::u16string mark = number == 1 ? u"" : u"(" + ToUtf16(CString(std::to_string(number))) + u")";
    const size_t room = kSheetNameLimit - tail.size() - mark.size();
    std::u16string candidate = name.substr(0, std::min(room, name.size()));
    // A surrogate pair is never cut in half.
    if (!candidate.empty() && candidate.back() >= 0xD800 && candidate.back() <= 0xDBFF) candidate.pop_back();
    candidate += mark + tail;
    if (used.insert(Folded(candidate)).second) return FromUtf16(candidate);
  }
}

bool SameFile(const CString& a, const CString& b) {
  std::error_code error;
  return fs::equivalent(ToUtf8(a), ToUtf8(b), error);
}

ParameterRows BoardRows(const SystemBoardResult& board, const SystemInputs& inputs) {
  ParameterRows rows = {{U("配电箱编号"), board.row.name}, {U("工作簿"), board.row.path},
                        {U("设备功率Pe(kW)"), Number(board.installedPower)}};
  for (const auto& row : StandardSheetRows(board.board, inputs.board)) rows.push_back(row);
  rows.emplace_back(calc_text::BoardSwitches(), Joined(board.switches));
  return rows;
}

// The boards' and the busbar's quantities, numeric cells as a board's are;
// the rows of inputs below them keep their texts ("不补偿", "69.5%").
CStringArray SystemNumberColumns() {
  const std::vector<CString> header = SystemSheetHeader();
  CStringArray names;
  for (size_t column = 1; column <= 6; ++column) names.Add(header[column]);
  return names;
}

bool WriteSystemSheet(const CString& path, const SystemResult& result, xls::Error& error) {
  const std::unique_ptr<CSpreadSheet> opened = CSpreadSheet::TryOpen(path, system_text::SystemResultsSheet(), true, error);
  if (!opened) return false;
  CSpreadSheet& sheet = *opened;
  sheet.StoreNumbersIn(SystemNumberColumns());
  sheet.BeginTransaction();
  CStringArray header;
  for (const CString& caption : SystemSheetHeader()) header.Add(caption);
  sheet.AddHeaders(header, true);
  for (const std::vector<CString>& row : SystemSheetRows(result)) {
    CStringArray cells;
    for (const CString& cell : row) cells.Add(cell);
    sheet.AddRow(cells, 0, false);
  }
  if (sheet.Commit()) return true;
  error = SheetErrorOf(sheet);
  return false;
}

bool WriteAllSheets(const CString& path, const SystemResult& result, xls::Error& error) {
  if (!WriteSystemSheet(path, result, error)) return false;
  const auto names = BoardSheetNames(result.boards);
  for (size_t i = 0; i < result.boards.size(); ++i) {
    const SystemBoardResult& board = result.boards[i];
    const CLoadCalcCore& core = board.session->core;
    if (!WriteCircuitSheet(path, names[i].first, core.m_astrHeaders, board.session->list, error)) return false;
    if (!WriteParameterSheet(path, names[i].second, BoardRows(board, result.inputs), error)) return false;
  }
  return true;
}

std::vector<CString> Row(std::initializer_list<CString> cells) {
  std::vector<CString> row(cells);
  row.resize(SystemSheetHeader().size());
  return row;
}

}  // namespace

std::vector<CString> SystemSheetHeader() {
  return {U("配电箱编号"), U("设备功率Pe(kW)"), U("有功计算负荷Pjs(kW)"), U("无功计算负荷Qjs(kvar)"),
          U("视在计算负荷Sjs(kVA)"), U("功率因数"), U("计算电流Ijs(A)"), U("选用开关"), U("工作簿"), U("备注")};
}

std::vector<std::vector<CString>> SystemSheetRows(const SystemResult& result) {
  std::vector<std::vector<CString>> rows;
  double installed = 0;
  for (const SystemBoardResult& b : result.boards) {
    const StandardTotals& t = b.board.totals;
    installed += b.installedPower;
    rows.push_back(Row({b.row.name, Number(b.installedPower), Number(t.pjs), Number(t.qjs), Number(t.sjs),
                        Number(t.powerFactor), Number(t.current), b.SelectedSwitch(), b.row.workbook, b.row.remark}));
  }
  if (!result.busbar) return rows;
  const BusbarResult& bus = *result.busbar;
  const StandardTotals& t = bus.totals;
  const SystemInputs& in = result.inputs;
  rows.push_back(Row({U("合计"), Number(installed), Number(bus.boardsP), Number(bus.boardsQ)}));
  rows.push_back(Row({U("母线"), CString(),
                      Number(t.pjs), Number(t.qjs), Number(t.sjs), Number(t.powerFactor), Number(t.current),
                      result.mainSwitches.empty() ? calc_text::NoSwitch() : result.mainSwitches.front()}));
  rows.push_back(Row({U("补偿后"), CString(), Number(t.pjs), Number(t.qAfter), Number(t.sAfter),
                      Number(t.powerFactorAfter), Number(t.currentAfter)}));
  const TransformerChoice& tx = bus.transformer;
  CString count;
  count.Format("%d", tx.count);
  rows.push_back(Row({U("补偿容量Qc(kvar)"), Number(t.compensation)}));
  rows.push_back(Row({U("目标功率因数"), in.busbar.compensate ? Number(in.busbar.targetPowerFactor) : U("不补偿")}));
  rows.push_back(Row({U("电容器步长(kvar)"), Number(in.busbar.bankStep)}));
  rows.push_back(Row({U("变压器台数"), count}));
  rows.push_back(Row({U("变压器容量(kVA)"), tx.rating ? Number(*tx.rating) : U("无(2500kVA仍不足)")}));
  rows.push_back(Row({U("最大负荷率"), Percent(in.transformer.maxLoadRate)}));
  rows.push_back(Row({U("负荷率(补偿前)"), Percent(tx.loadRateBefore)}));
  rows.push_back(Row({U("负荷率(补偿后)"), Percent(tx.loadRate)}));
  rows.push_back(Row({U("总开关可选型号"), Joined(result.mainSwitches)}));
  rows.push_back(Row({U("开关型号库"), result.libraryPath}));
  rows.push_back(Row({U("母线K∑p"), Number(in.busbar.kp)}));
  rows.push_back(Row({U("母线K∑q"), Number(in.busbar.kq)}));
  rows.push_back(Row({U("配电箱K∑p"), Number(in.board.kp)}));
  rows.push_back(Row({U("配电箱K∑q"), Number(in.board.kq)}));
  return rows;
}

std::vector<std::pair<CString, CString>> BoardSheetNames(const std::vector<SystemBoardResult>& boards) {
  std::set<std::u16string> used = {Folded(ToUtf16(system_text::SystemResultsSheet()))};
  std::vector<std::pair<CString, CString>> names;
  for (const SystemBoardResult& board : boards) {
    const CString circuits = UniqueSheetName(board.row.name, U("-各回路"), used);
    const CString figures = UniqueSheetName(board.row.name, U("-总回路"), used);
    names.emplace_back(circuits, figures);
  }
  return names;
}

bool SaveSystemResults(const SystemResult& result, const CString& requested, CString& error) {
  if (!result.Complete()) {
    error = U("配电系统计算未完成,不能保存结果");
    return false;
  }
  TargetRefusal refusal;
  const std::optional<CString> target = CheckResultsTarget(requested, result.path, refusal);
  if (!target) {
    error = calc_text::Reason(refusal);
    return false;
  }
  for (const SystemBoardResult& board : result.boards)
    if (SameFile(*target, board.row.path)) {
      error = U("不能把结果写入配电箱的工作簿") + board.row.path;
      return false;
    }
  xls::Error failure;
  const ResultsScratch scratch(*target);
  const std::optional<CString> built = scratch.WorkbookPath(failure);
  if (built && WriteAllSheets(*built, result, failure) && ReplaceWithFile(*built, *target, failure)) return true;
  error = calc_text::Reason(failure);
  return false;
}
