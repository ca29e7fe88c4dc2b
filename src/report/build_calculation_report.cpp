// Assembles the 计算书 from the list, the board values and the switch choice.
#include <cmath>

#include "calc/calc_texts.h"
#include "calc/standard_texts.h"
#include "platform/text/encoding.h"
#include "report/board_formulas.h"
#include "report/calculation_report.h"
#include "report/standard_formulas.h"

namespace report {

namespace {

constexpr int kCalculatedPowerColumn = 5;

BoardFigures FiguresOf(const CLoadCalcCore& core) {
  BoardFigures b;
  b.l1 = core.m_fL1;
  b.l2 = core.m_fL2;
  b.l3 = core.m_fL3;
  b.unbalance = core.m_fUnbalance;
  b.equipmentPower = core.m_fEquipPower;
  b.calculatedPower = core.m_fCalcPower;
  b.current = core.m_fCurrent;
  b.powerFactor = core.m_fPowerFactor;
  b.demandCoefficient = core.m_fDemandCoef;
  return b;
}

std::vector<std::string> Facts(const CLoadCalcCore& core, const ReportSource& source) {
  std::vector<std::string> facts = {"工作簿：" + source.workbookName, "计算时间：" + LocalTimeText(source.calculatedAt),
                                    "功率因数 cosφ：" + FieldNumber(core.m_fPowerFactor),
                                    "需要系数 Kx：" + FieldNumber(core.m_fDemandCoef)};
  if (!core.LastStandard()) return facts;
  // 规范法 takes each circuit's own Kx and cos φ: the board's two are kept but not used.
  facts[2] += "（规范法不用）";
  facts[3] += "（规范法不用）";
  for (const std::string& fact : StandardFacts(core.m_standardInputs)) facts.push_back(fact);
  return facts;
}

TextSection StandardBoardSection(const StandardBoardResult& board, const StandardInputs& inputs) {
  TextSection section{"三、总回路计算结果（规范法）", StandardLoadLines(board)};
  for (const std::string& line : StandardBoardLines(board, inputs)) section.lines.push_back(line);
  section.lines.push_back("无功补偿：");
  for (const std::string& line : StandardCompensationLines(board, inputs)) section.lines.push_back(line);
  return section;
}

// Every column and cell as the list shows it.
Table CircuitRows(const CLoadCalcCore& core) {
  Table table;
  table.heading = "一、各回路负荷计算";
  const CircuitTable& list = core.m_list;
  for (int column = 0; column < list.GetColumnCount(); ++column)
    table.headers.push_back(ToUtf8(list.GetColumnCaption(column)));
  for (int row = 0; row < list.GetItemCount(); ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < list.GetColumnCount(); ++column) cells.push_back(ToUtf8(list.GetItemText(row, column)));
    table.rows.push_back(std::move(cells));
  }
  return table;
}

PhaseChart Chart(const BoardFigures& board) {
  PhaseChart chart;
  chart.heading = "二、三相负荷与不平衡度";
  const float values[3] = {board.l1, board.l2, board.l3};
  for (int i = 0; i < 3; ++i) {
    chart.bars[static_cast<size_t>(i)] = {"L" + std::to_string(i + 1), values[i], FieldNumber(values[i])};
  }
  chart.mean = static_cast<float>(static_cast<double>(PhaseTotal(board)) / 3);
  chart.meanText = "平均 " + FieldNumber(chart.mean);
  chart.unit = "kW";
  chart.notes = UnbalanceNotes(board);
  return chart;
}

TextSection BoardSection(const BoardFigures& board) {
  return {"三、总回路计算结果", BoardFormulaLines(board)};
}

std::string Joined(const std::vector<std::string>& texts, const std::string& separator) {
  std::string joined;
  for (size_t i = 0; i < texts.size(); ++i) joined += (i ? separator : "") + texts[i];
  return joined;
}

TextSection SwitchSection(const BoardFigures& board, const SwitchComboBox& switches) {
  const std::string none = ToUtf8(calc_text::NoSwitch());
  std::vector<std::string> candidates;
  for (int i = 0; i < switches.GetCount(); ++i) candidates.push_back(ToUtf8(switches.GetLBText(i)));
  const int selected = switches.GetCurSel();
  const std::string choice = selected >= 0 && selected < switches.GetCount() ? candidates[static_cast<size_t>(selected)] : none;
  const double threshold = std::trunc(static_cast<double>(board.current) * 1.1 + 1);
  return {"四、开关选择",
          {"选择条件：额定电流 ≥ Ijs × 1.1 + 1（取整）= " + FieldNumber(static_cast<float>(threshold)) + " A",
           "可选择开关：" + (candidates.empty() ? none : Joined(candidates, "、")),
           "选用开关：" + choice}};
}

Table BalancingTable(const PhaseRecord& record) {
  Table table;
  table.heading = "五、自动平衡前后的相别";
  table.headers = {ToUtf8(calc_text::CircuitNumber()), "平衡前相别", "平衡后相别"};
  for (size_t i = 0; i < record.circuits.size(); ++i) {
    const std::string before = i < record.before.size() ? record.before[i] : std::string();
    const std::string after = i < record.after.size() ? record.after[i] : std::string();
    table.rows.push_back({record.circuits[i], before, after});
  }
  return table;
}

}  // namespace

std::string LocalTimeText(std::time_t when) {
  std::tm parts{};
  localtime_r(&when, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

CalculationReport BuildCalculationReport(const CLoadCalcCore& core, const SwitchComboBox& switches,
                                         const ReportSource& source) {
  const BoardFigures board = FiguresOf(core);
  CalculationReport report;
  report.title = "配电箱负荷计算书";
  report.facts = Facts(core, source);
  report.circuits = CircuitRows(core);
  report.phases = Chart(board);
  report.board = BoardSection(board);
  report.switches = SwitchSection(board, switches);
  if (const std::optional<StandardBoardResult>& standard = core.LastStandard()) {
    report.title += "（" + ToUtf8(calc_text::MethodName(true)) + "）";
    report.phases.notes = StandardUnbalanceNotes(*standard);
    report.board = StandardBoardSection(*standard, core.m_standardInputs);
  }
  if (source.balanced) report.balancing = BalancingTable(*source.balanced);
  return report;
}

bool HasCalculationResults(const CLoadCalcCore& core) {
  return core.ResultsCurrent() && core.m_list.GetItemCount() > 0 &&
         core.m_astrHeaders.GetSize() > kCalculatedPowerColumn &&
         core.m_astrHeaders[kCalculatedPowerColumn] == calc_text::CalculatedPower();
}

}  // namespace report
