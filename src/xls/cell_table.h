// A worksheet substream taken apart around its cell table, so that single
// cells can be changed and rows removed or inserted while every other record
// of the sheet keeps its bytes. Each cell keeps its format (XF); the
// offsets the sheet holds (INDEX, DBCELL) are computed anew when written.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "workbook/result.h"
#include "xls/globals.h"

namespace xls {

class CellTable {
 public:
  static Result<CellTable> Parse(std::span<const uint8_t> substream);

  // Why rows of this sheet cannot move without breaking what refers to
  // them (formulas, links, drawings…); Ok when they can.
  Status CheckRowsCanMove() const;
  // Rows below move up; a merged range that holds the row refuses.
  Status DeleteRow(uint16_t row);
  // An empty row with the row above's height and cell formats.
  Status InsertRow(uint16_t row);
  // Numbers stay numbers where the cell (or, in an inserted row, the cell
  // above) held one; `default_format` serves a cell that had none.
  Status SetCell(uint16_t row, uint16_t column, const std::u16string& text, uint16_t default_format);

  // `offset`: where the substream's absolute offsets count from.
  std::vector<uint8_t> Serialize(uint32_t offset) const;

 private:
  struct Cell {
    uint16_t id = 0;
    std::vector<uint8_t> body;         // row and column first, then the XF for single cells
    std::vector<StoredRecord> after;   // STRING, SHRFMLA, ARRAY, TABLE, CONTINUE that belong to it
  };
  using Place = std::pair<uint16_t, uint16_t>;  // row, first column

  void Split(const Place& place);
  bool HeldNumber(uint16_t row, uint16_t column) const;
  void MoveRows(uint16_t from, int delta);
  Status MoveMergedRanges(uint16_t row, bool deleted);
  uint16_t FormatAt(uint16_t row, uint16_t column, uint16_t fallback) const;

  std::vector<StoredRecord> m_before;  // BOF up to the cell table
  std::vector<StoredRecord> m_after;   // what follows it, to EOF
  std::map<uint16_t, std::vector<uint8_t>> m_rows;  // ROW bodies
  std::map<Place, Cell> m_cells;
  std::set<uint16_t> m_inserted;
};

}  // namespace xls
