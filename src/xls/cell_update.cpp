#include "xls/cell_update.h"

#include "xls/biff_records.h"
#include "xls/cell_table.h"

namespace xls {

namespace {

constexpr uint16_t kName = 0x0018;
constexpr uint32_t kRowLimit = 65536;
constexpr uint32_t kColumnLimit = 256;

bool HoldsFormulas(const std::vector<uint8_t>& substream) {
  size_t offset = 0;
  for (auto rec = record::RecordAt(substream, 0); rec; rec = record::RecordAt(substream, offset)) {
    offset = rec->end();
    if (rec->id == record::kFormula || rec->id == 0x04BC || rec->id == 0x0221) return true;
  }
  return false;
}

// Names and other sheets' formulas may point into the rows that move; the
// engine does not rewrite them, so such a move is refused.
Status CheckOthersAllowMoves(const std::vector<SheetEntry>& sheets, size_t sheet, const std::vector<StoredRecord>& globals) {
  for (const StoredRecord& rec : globals)
    if (rec.id == kName) return MakeError("The workbook holds defined names, which may refer to the rows that would move", ErrorKind::CannotKeep);
  for (size_t i = 0; i < sheets.size(); ++i)
    if (i != sheet && HoldsFormulas(sheets[i].substream))
      return MakeError("Another sheet holds formulas, which may refer to the rows that would move", ErrorKind::CannotKeep);
  return Ok{};
}

}  // namespace

Status UpdateSheetRecords(std::vector<SheetEntry>& sheets, size_t sheet, const std::vector<StoredRecord>& globals,
                          const SheetUpdate& update) {
  SheetEntry& entry = sheets.at(sheet);
  if (entry.cells) {
    ApplyUpdate(*entry.cells, update);
    return Ok{};
  }
  auto table = CellTable::Parse(entry.substream);
  if (!table) return table.error();
  const bool moves = !update.deleted_rows.empty() || !update.inserted_rows.empty();
  if (moves) {
    if (auto allowed = table->CheckRowsCanMove(); !allowed) return allowed;
    if (auto allowed = CheckOthersAllowMoves(sheets, sheet, globals); !allowed) return allowed;
  }
  Status moved = Ok{};
  const bool fits = ForEachRowMove(update, kRowLimit, [&](bool deleted, uint32_t row) {
    moved = deleted ? table->DeleteRow(static_cast<uint16_t>(row)) : table->InsertRow(static_cast<uint16_t>(row));
    return moved.ok();
  });
  if (!moved) return moved;
  if (!fits) return MakeError("The sheet has no room for another row");
  const uint16_t default_format = DefaultCellFormat(globals);
  for (const CellText& cell : update.cells) {
    if (cell.row >= kRowLimit || cell.column >= kColumnLimit) return MakeError("A cell lies outside the sheet");
    if (auto set = table->SetCell(static_cast<uint16_t>(cell.row), static_cast<uint16_t>(cell.column), cell.text, default_format); !set)
      return set;
  }
  entry.substream = table->Serialize(entry.loaded_offset);
  entry.updated = true;
  return Ok{};
}

}  // namespace xls
