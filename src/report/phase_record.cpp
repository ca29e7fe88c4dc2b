#include "report/phase_record.h"

#include "platform/text/encoding.h"

namespace report {

namespace {

constexpr int kNumberColumn = 0;
constexpr int kPhaseColumn = 1;

std::vector<std::string> ColumnTexts(const CircuitTable& list, int column) {
  std::vector<std::string> texts;
  for (int row = 0; row < list.GetItemCount(); ++row) texts.push_back(ToUtf8(list.GetItemText(row, column)));
  return texts;
}

}  // namespace

PhaseRecord RecordPhasesBefore(const CircuitTable& list) {
  PhaseRecord record;
  record.circuits = ColumnTexts(list, kNumberColumn);
  record.before = ColumnTexts(list, kPhaseColumn);
  return record;
}

void RecordPhasesAfter(PhaseRecord& record, const CircuitTable& list) {
  record.after = ColumnTexts(list, kPhaseColumn);
}

}  // namespace report
