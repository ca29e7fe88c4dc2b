#include "calc/write_back_plan.h"

#include <algorithm>

#include "platform/text/encoding.h"
#include "workbook/unicode_text.h"

namespace {

std::u16string SheetText(const CString& text) { return xls::Utf8ToUtf16(ToUtf8(text)); }

const SheetCircuit* Kept(const std::vector<SheetCircuit>& circuits, int origin) {
  if (origin < 0 || static_cast<size_t>(origin) >= circuits.size()) return nullptr;
  const SheetCircuit& circuit = circuits[static_cast<size_t>(origin)];
  return circuit.sheetRow != 0 ? &circuit : nullptr;
}

// Rows (from 0) of the circuits in the sheet that the list no longer holds.
std::vector<uint32_t> DeletedRows(const std::vector<SheetCircuit>& circuits, const ListInputs& now) {
  std::vector<bool> kept(circuits.size(), false);
  for (const int origin : now.origins)
    if (Kept(circuits, origin)) kept[static_cast<size_t>(origin)] = true;
  std::vector<uint32_t> rows;
  for (size_t i = 0; i < circuits.size(); ++i)
    if (circuits[i].sheetRow != 0 && !kept[i]) rows.push_back(static_cast<uint32_t>(circuits[i].sheetRow - 1));
  std::sort(rows.begin(), rows.end());
  return rows;
}

uint32_t AfterDeletion(uint32_t row, const std::vector<uint32_t>& deleted) {
  return row - static_cast<uint32_t>(std::lower_bound(deleted.begin(), deleted.end(), row) - deleted.begin());
}

}  // namespace

WriteBackPlan PlanWriteBack(const std::vector<SheetCircuit>& circuits, const ListInputs& now) {
  WriteBackPlan plan;
  plan.update.deleted_rows = DeletedRows(circuits, now);
  const std::vector<uint32_t>& deleted = plan.update.deleted_rows;
  uint32_t firstKept = 1;  // below the header
  for (const int origin : now.origins)
    if (const SheetCircuit* circuit = Kept(circuits, origin)) {
      firstKept = AfterDeletion(static_cast<uint32_t>(circuit->sheetRow - 1), deleted);
      break;
    }
  uint32_t previous = firstKept - 1;
  uint32_t inserted = 0;
  for (size_t row = 0; row < now.cells.size(); ++row) {
    const SheetCircuit* circuit = Kept(circuits, row < now.origins.size() ? now.origins[row] : -1);
    const CircuitInputs& cells = now.cells[row];
    uint32_t final = 0;
    if (circuit) {
      final = AfterDeletion(static_cast<uint32_t>(circuit->sheetRow - 1), deleted) + inserted;
    } else {
      final = previous + 1;
      plan.update.inserted_rows.push_back(final);
      ++inserted;
    }
    for (uint32_t field = 0; field < kInputFields; ++field) {
      const CString& text = cells[field];
      const bool changed = circuit ? text != circuit->texts[field] : !text.IsEmpty();
      if (changed) plan.update.cells.push_back({final, field, SheetText(text)});
    }
    plan.finalRows.push_back(static_cast<long>(final) + 1);
    previous = final;
  }
  return plan;
}
