// What the circuit list held when it was read from the circuit sheet, and
// what changed since: for each list row the sheet row it came from, the
// texts as read, the workbook's state on disk, and the steps to undo.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "platform/text/cstring.h"
#include "workbook/byte_source.h"

// 线路编号, 相别, 设备功率, 需要系数, 功率因数, 备注: sheet columns A to F.
constexpr int kInputFields = 6;
using CircuitInputs = std::array<CString, kInputFields>;

// A circuit as the sheet holds it (as read, or as last written back).
struct SheetCircuit {
  long sheetRow = 0;  // from 1; 0 once the row is no longer in the sheet
  CircuitInputs texts;
};

// The input fields of every list row and the sheet circuit each came from
// (an index into the circuits, or -1 for a row added in the list).
struct ListInputs {
  std::vector<CircuitInputs> cells;
  std::vector<int> origins;
};

struct CircuitEditState {
  bool read = false;
  // Grows only, so that an origin kept in an undo step stays valid after a
  // write-back; a circuit deleted from the sheet keeps its place with row 0.
  std::vector<SheetCircuit> circuits;
  std::vector<int> origins;  // one per list row
  std::optional<xls::FileIdentity> identity;  // of the workbook when read or last written
  std::vector<ListInputs> undo;

  // The sheet circuit a list row stands for, or null for a row not in the sheet.
  const SheetCircuit* OriginOf(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= origins.size()) return nullptr;
    const int origin = origins[static_cast<size_t>(row)];
    if (origin < 0 || circuits[static_cast<size_t>(origin)].sheetRow == 0) return nullptr;
    return &circuits[static_cast<size_t>(origin)];
  }
};
