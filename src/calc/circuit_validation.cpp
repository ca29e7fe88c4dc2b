#include "calc/circuit_validation.h"

#include <cmath>

#include "calc/calc_texts.h"
#include "calc/cell_numbers.h"
#include "calc/circuit.h"
#include "platform/crt/crt.h"
#include "platform/text/encoding.h"

namespace {

constexpr int kPhaseColumn = 1;
constexpr int kPowerColumn = 2;
constexpr int kDemandColumn = 3;
constexpr int kPowerFactorColumn = 4;

// The number the calculation will use, or none when the cell is no decimal
// number as the runtime reads one or overflows the stored float.
bool ReadsAsNumber(const CString& text, float& value) {
  if (!crt::IsWholeDecimalNumber(text.GetString())) return false;
  value = static_cast<float>(crt::atof(text.GetString()));
  return std::isfinite(value);
}

bool IsCoefficient(float value) { return value > 0.0f && value <= 1.0f; }

void Check(const CircuitTable& list, int row, int column, bool (*valid)(float), const CString& caption,
           std::vector<CircuitProblem>& problems) {
  const CString text = ReadShortCell(list, row, column);
  float value = 0.0f;
  if (ReadsAsNumber(text, value) && valid(value)) return;
  problems.push_back({row, list.GetItemText(row, 0), caption, text});
}

void CheckPhase(const CircuitTable& list, int row, std::vector<CircuitProblem>& problems) {
  const CString text = list.GetItemText(row, kPhaseColumn);
  if (ReadPhaseMark(text, ReadShortCell(list, row, kPhaseColumn)).kind != PhaseKind::Invalid) return;
  problems.push_back({row, list.GetItemText(row, 0), calc_text::Phase(), text});
}

}  // namespace

std::vector<CircuitProblem> FindCircuitProblems(const CircuitTable& list, PhaseCheck phases) {
  std::vector<CircuitProblem> problems;
  for (int row = 0; row < list.GetItemCount(); ++row) {
    if (phases == PhaseCheck::Known) CheckPhase(list, row, problems);
    Check(list, row, kPowerColumn, [](float value) { return value >= 0.0f; }, calc_text::EquipmentPower(), problems);
    Check(list, row, kDemandColumn, IsCoefficient, calc_text::DemandCoefficient(), problems);
    Check(list, row, kPowerFactorColumn, IsCoefficient, calc_text::PowerFactor(), problems);
  }
  return problems;
}

CircuitValueProblem CheckCircuitValue(int field, const CString& text) {
  const CString cut = CutToBytes(text, kNumberCellBytes);
  float value = 0.0f;
  switch (field) {
    case kPhaseColumn:
      return ReadPhaseMark(text, cut).kind == PhaseKind::Invalid ? CircuitValueProblem::Phase
                                                                 : CircuitValueProblem::None;
    case kPowerColumn:
      return ReadsAsNumber(cut, value) && value >= 0.0f ? CircuitValueProblem::None : CircuitValueProblem::Power;
    case kDemandColumn:
    case kPowerFactorColumn:
      return ReadsAsNumber(cut, value) && IsCoefficient(value) ? CircuitValueProblem::None
                                                                : CircuitValueProblem::Coefficient;
    default: return CircuitValueProblem::None;
  }
}

namespace {

CString Heading(int count, const char* phaseRule) {
  CString number;
  number.Format("%d", count);
  return FromUtf8("以下") + number +
         FromUtf8("处回路数据不合法(设备功率须为不小于0的数,需要系数和功率因数须为0到1之间的数,"
                  "可以等于1") +
         FromUtf8(phaseRule) + FromUtf8("),请在工作簿中改正后重新读取:");
}

}  // namespace

CString CircuitProblemsHeading(int count) { return Heading(count, ""); }

// A phase among the problems adds the phase texts 规范法 takes.
CString CircuitProblemsHeading(const std::vector<CircuitProblem>& problems) {
  const auto count = static_cast<int>(problems.size());
  for (const CircuitProblem& problem : problems)
    if (problem.column == calc_text::Phase())
      return Heading(count, ";相别须为L1、L2、L3、L1L2L3或三相,单相回路可带“(固定)”或“*”");
  return Heading(count, "");
}

CString CircuitProblemLine(const CircuitProblem& problem) {
  CString place;
  if (problem.circuit.IsEmpty()) place.Format("%d", problem.row + 1);
  const CString circuit = problem.circuit.IsEmpty() ? FromUtf8("列表第") + place + FromUtf8("行的回路")
                                                    : FromUtf8("回路 ") + problem.circuit;
  const CString found = problem.text.IsEmpty() ? FromUtf8("(空)") : FromUtf8("“") + problem.text + FromUtf8("”");
  return circuit + FromUtf8(" 的") + problem.column + FromUtf8(":") + found;
}

CString CircuitProblemsMessage(const std::vector<CircuitProblem>& problems) {
  // A message box cannot show thousands of lines; the first ones and a
  // count of the rest say enough to start mending.
  constexpr size_t kShownLines = 30;
  CString text = CircuitProblemsHeading(problems);
  for (size_t i = 0; i < problems.size() && i < kShownLines; ++i) text += "\n" + CircuitProblemLine(problems[i]);
  if (problems.size() > kShownLines) {
    CString rest;
    rest.Format("%d", static_cast<int>(problems.size() - kShownLines));
    text += FromUtf8("\n……另有") + rest + FromUtf8("处");
  }
  return text;
}

CString CircuitPowerFactorRefusal(const CString& circuit) {
  return FromUtf8("回路 ") + circuit + FromUtf8(":") + calc_text::CircuitPowerFactorRange();
}

CString BoardDemandCoefficientRange() { return FromUtf8("需要系数必须介于0和1之间(可以等于1)"); }

bool IsBoardDemandCoefficient(float value) { return IsCoefficient(value); }
