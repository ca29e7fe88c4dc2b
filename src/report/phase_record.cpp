#include "report/phase_record.h"

#include "platform/text/encoding.h"

namespace report {

namespace {

constexpr int kNumberColumn = 0;

std::vector<std::string> Utf8All(const std::vector<CString>& texts) {
  std::vector<std::string> result;
  for (const CString& text : texts) result.push_back(ToUtf8(text));
  return result;
}

}  // namespace

std::optional<PhaseRecord> BalancedPhases(const CircuitTable& list, const BalanceOutcome& outcome) {
  if (!outcome.applied) return std::nullopt;
  PhaseRecord record;
  for (int row = 0; row < list.GetItemCount(); ++row) record.circuits.push_back(ToUtf8(list.GetItemText(row, kNumberColumn)));
  record.before = Utf8All(outcome.phasesBefore);
  record.after = Utf8All(outcome.phasesAfter);
  return record;
}

}  // namespace report
