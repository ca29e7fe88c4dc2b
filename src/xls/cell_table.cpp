#include "xls/cell_table.h"

#include <algorithm>
#include <optional>

#include "workbook/sheet_update.h"
#include "xls/biff_records.h"
#include "xls/byte_io.h"

namespace xls {

namespace {

constexpr uint16_t kShrfmla = 0x04BC;
constexpr uint16_t kArray = 0x0221;
constexpr uint16_t kTable = 0x0236;
constexpr uint16_t kMergedCells = 0x00E5;
constexpr uint16_t kDefColWidth = 0x0055;
constexpr size_t kRowsPerBlock = 32;
constexpr size_t kLongestLabel = (record::kMaxBody - 9) / 2;
constexpr uint32_t kGhostDirty = 0x80;

bool IsCell(uint16_t id) {
  switch (id) {
    case record::kFormula: case record::kLabelsst: case record::kLabel: case record::kRstring:
    case record::kNumber: case record::kRk: case record::kBlank: case record::kBoolerr:
    case record::kMulrk: case record::kMulblank: return true;
    default: return false;
  }
}

bool FollowsCell(uint16_t id) {
  return id == record::kString || id == kShrfmla || id == kArray || id == kTable || id == record::kContinue;
}

bool IsMulti(uint16_t id) { return id == record::kMulrk || id == record::kMulblank; }

// Records whose row numbers this engine does not rewrite.
const char* RowReferenceIn(uint16_t id) {
  switch (id) {
    case 0x01B8: return "a hyperlink";
    case 0x01B0: case 0x01B1: case 0x0879: case 0x087A: return "a conditional format";
    case 0x01B2: case 0x01BE: return "a data validation";
    // A drawing record alone (LibreOffice writes an empty one) anchors nothing;
    // every shape, picture or comment comes with an OBJ or NOTE record.
    case 0x001C: case 0x005D: return "a drawing or comment";
    case 0x001B: return "a page break";
    case 0x009D: return "an autofilter";
    case 0x015F: return "a label range";
    case record::kBof: return "an embedded chart";
    default: return nullptr;
  }
}

// A page-break list that lists none.
bool IsEmptyList(const StoredRecord& rec) {
  return rec.id == 0x001B && (rec.body.size() < 2 || GetU16(rec.body, 0) == 0);
}

std::vector<uint8_t> SingleCell(uint16_t row, uint16_t column, uint16_t format) {
  ByteWriter out;
  out.u16(row);
  out.u16(column);
  out.u16(format);
  return std::move(out.bytes());
}

void Write(ByteWriter& out, uint16_t id, std::span<const uint8_t> body) {
  out.u16(id);
  out.u16(static_cast<uint16_t>(body.size()));
  out.append(body);
}

}  // namespace

Result<CellTable> CellTable::Parse(std::span<const uint8_t> substream) {
  CellTable table;
  enum { kBefore, kInTable, kAfter } phase = kBefore;
  int depth = 0;
  std::optional<Place> last;  // the cell the records just read belong to
  size_t offset = 0;
  for (auto rec = record::RecordAt(substream, 0); rec; rec = record::RecordAt(substream, offset)) {
    offset = rec->end();
    StoredRecord stored{rec->id, std::vector<uint8_t>(rec->body.begin(), rec->body.end())};
    if (rec->id == record::kBof) ++depth;
    const bool nested = depth > 1;
    if (rec->id == record::kEof) --depth;
    if (!nested && IsCell(rec->id) && rec->body.size() >= 6) {
      const Place place{GetU16(stored.body, 0), GetU16(stored.body, 2)};
      table.m_cells[place] = Cell{rec->id, std::move(stored.body), {}};
      last = place;
      phase = kInTable;
    } else if (!nested && FollowsCell(rec->id) && last) {
      table.m_cells[*last].after.push_back(std::move(stored));
    } else if (!nested && rec->id == record::kRow && rec->body.size() >= 16) {
      table.m_rows[GetU16(stored.body, 0)] = std::move(stored.body);
      phase = kInTable;
      last.reset();
    } else if (!nested && rec->id == record::kDbcell) {
      phase = kInTable;
      last.reset();
    } else {
      if (phase == kInTable) phase = kAfter;
      (phase == kBefore ? table.m_before : table.m_after).push_back(std::move(stored));
      last.reset();
    }
    if (depth == 0) break;
  }
  if (depth != 0) return MakeError("The sheet's records end before its EOF record");
  if (phase == kBefore) {
    // No cell table yet: cells go where one would stand, before the window settings.
    auto window = std::find_if(table.m_before.begin(), table.m_before.end(),
                               [](const StoredRecord& r) { return r.id == record::kWindow2 || r.id == record::kEof; });
    table.m_after.assign(window, table.m_before.end());
    table.m_before.erase(window, table.m_before.end());
  }
  return table;
}

Status CellTable::CheckRowsCanMove() const {
  for (const auto& [place, cell] : m_cells)
    if (cell.id == record::kFormula || !cell.after.empty())
      return MakeError("The sheet holds formulas, whose references would not follow the moved rows",
                       ErrorKind::CannotKeep);
  for (const auto* records : {&m_before, &m_after})
    for (const StoredRecord& rec : *records)
      if (const char* what = RowReferenceIn(rec.id); what && &rec != &m_before.front() && !IsEmptyList(rec))
        return MakeError(std::string("The sheet holds ") + what + " tied to its rows", ErrorKind::CannotKeep);
  return Ok{};
}

void CellTable::Split(const Place& place) {
  auto found = m_cells.find(place);
  if (found == m_cells.end() || !IsMulti(found->second.id)) return;
  const Cell multi = std::move(found->second);
  m_cells.erase(found);
  const bool rk = multi.id == record::kMulrk;
  const size_t step = rk ? 6 : 2;
  const size_t count = (multi.body.size() - 6) / step;
  for (size_t i = 0; i < count; ++i) {
    const auto column = static_cast<uint16_t>(place.second + i);
    std::vector<uint8_t> body = SingleCell(place.first, column, GetU16(multi.body, 4 + i * step));
    if (rk) body.insert(body.end(), multi.body.begin() + 6 + i * step, multi.body.begin() + 10 + i * step);
    m_cells[{place.first, column}] = Cell{rk ? record::kRk : record::kBlank, std::move(body), {}};
  }
}

bool CellTable::HeldNumber(uint16_t row, uint16_t column) const {
  while (m_inserted.count(row) && row > 0) --row;
  auto found = m_cells.upper_bound({row, column});
  if (found == m_cells.begin()) return false;
  --found;
  if (found->first.first != row) return false;
  const Cell& cell = found->second;
  if (cell.id == record::kMulrk) return column <= GetU16(cell.body, cell.body.size() - 2);
  if (found->first.second != column) return false;
  if (cell.id == record::kFormula) return cell.body.size() >= 20 && !(cell.body[12] == 0xFF && cell.body[13] == 0xFF);
  return cell.id == record::kNumber || cell.id == record::kRk;
}

uint16_t CellTable::FormatAt(uint16_t row, uint16_t column, uint16_t fallback) const {
  if (auto cell = m_cells.find({row, column}); cell != m_cells.end()) return GetU16(cell->second.body, 4);
  if (auto found = m_rows.find(row); found != m_rows.end()) {
    const uint32_t flags = GetU32(found->second, 12);
    if (flags & kGhostDirty) return static_cast<uint16_t>((flags >> 16) & 0x0FFF);
  }
  return fallback;
}

void CellTable::MoveRows(uint16_t from, int delta) {
  std::map<uint16_t, std::vector<uint8_t>> rows;
  for (auto& [row, body] : m_rows) {
    const auto moved = static_cast<uint16_t>(row >= from ? row + delta : row);
    PutU16(body, 0, moved);
    rows[moved] = std::move(body);
  }
  m_rows = std::move(rows);
  std::map<Place, Cell> cells;
  for (auto& [place, cell] : m_cells) {
    const auto moved = static_cast<uint16_t>(place.first >= from ? place.first + delta : place.first);
    PutU16(cell.body, 0, moved);
    cells[{moved, place.second}] = std::move(cell);
  }
  m_cells = std::move(cells);
  std::set<uint16_t> inserted;
  for (const uint16_t row : m_inserted) inserted.insert(static_cast<uint16_t>(row >= from ? row + delta : row));
  m_inserted = std::move(inserted);
}

// Merged ranges below the row move with it; one that spans it would be cut
// and is refused. A range within a deleted row goes with the row.
Status CellTable::MoveMergedRanges(uint16_t row, bool deleted) {
  std::vector<StoredRecord> before = m_before, after = m_after;
  for (auto* records : {&before, &after}) {
    for (auto rec = records->begin(); rec != records->end();) {
      if (rec->id != kMergedCells || rec->body.size() < 2) {
        ++rec;
        continue;
      }
      ByteWriter ranges;
      uint16_t kept = 0;
      const size_t count = std::min<size_t>(GetU16(rec->body, 0), (rec->body.size() - 2) / 8);
      for (size_t i = 0; i < count; ++i) {
        const size_t at = 2 + i * 8;
        uint16_t first = GetU16(rec->body, at), last = GetU16(rec->body, at + 2);
        if (deleted && first == row && last == row) continue;
        if (first < row && row <= last) return MakeError("A merged range spans the rows that would move", ErrorKind::CannotKeep);
        if (deleted && first == row) return MakeError("A merged range starts in the deleted row", ErrorKind::CannotKeep);
        if (first >= row) {
          first = static_cast<uint16_t>(deleted ? first - 1 : first + 1);
          last = static_cast<uint16_t>(deleted ? last - 1 : last + 1);
        }
        ranges.u16(first);
        ranges.u16(last);
        ranges.append(std::span<const uint8_t>(rec->body).subspan(at + 4, 4));
        ++kept;
      }
      if (kept == 0) {
        rec = records->erase(rec);
        continue;
      }
      rec->body.assign({static_cast<uint8_t>(kept), static_cast<uint8_t>(kept >> 8)});
      rec->body.insert(rec->body.end(), ranges.bytes().begin(), ranges.bytes().end());
      ++rec;
    }
  }
  m_before = std::move(before);
  m_after = std::move(after);
  return Ok{};
}

Status CellTable::DeleteRow(uint16_t row) {
  if (auto merged = MoveMergedRanges(row, true); !merged) return merged;
  m_rows.erase(row);
  std::erase_if(m_cells, [&](const auto& entry) { return entry.first.first == row; });
  m_inserted.erase(row);
  MoveRows(static_cast<uint16_t>(row + 1), -1);
  return Ok{};
}

Status CellTable::InsertRow(uint16_t row) {
  const bool full = (!m_rows.empty() && m_rows.rbegin()->first == 0xFFFF) ||
                    (!m_cells.empty() && m_cells.rbegin()->first.first == 0xFFFF);
  if (full || row == 0) return MakeError("The sheet has no room for another row");
  if (auto merged = MoveMergedRanges(row, false); !merged) return merged;
  MoveRows(row, 1);
  const auto above = static_cast<uint16_t>(row - 1);
  if (auto found = m_rows.find(above); found != m_rows.end()) {
    std::vector<uint8_t> body = found->second;
    PutU16(body, 0, row);
    m_rows[row] = std::move(body);
  }
  std::vector<std::pair<uint16_t, uint16_t>> formats;  // column, XF of the row above
  for (auto cell = m_cells.lower_bound({above, 0}); cell != m_cells.end() && cell->first.first == above; ++cell) {
    const std::vector<uint8_t>& body = cell->second.body;
    if (!IsMulti(cell->second.id)) {
      formats.emplace_back(cell->first.second, GetU16(body, 4));
      continue;
    }
    const size_t step = cell->second.id == record::kMulrk ? 6 : 2;
    for (size_t i = 0; 6 + (i + 1) * step <= body.size(); ++i)
      formats.emplace_back(static_cast<uint16_t>(cell->first.second + i), GetU16(body, 4 + i * step));
  }
  for (const auto& [column, format] : formats)
    m_cells[{row, column}] = Cell{record::kBlank, SingleCell(row, column, format), {}};
  m_inserted.insert(row);
  return Ok{};
}

Status CellTable::SetCell(uint16_t row, uint16_t column, const std::u16string& text, uint16_t default_format) {
  auto covering = m_cells.upper_bound({row, column});
  if (covering != m_cells.begin() && (--covering)->first.first == row) Split(covering->first);
  const auto found = m_cells.find({row, column});
  const bool existed = found != m_cells.end();
  // Other cells share the formula (or array) this cell carries.
  if (existed && std::any_of(found->second.after.begin(), found->second.after.end(),
                             [](const StoredRecord& rec) { return rec.id != record::kString; }))
    return MakeError("The changed cell carries a formula other cells share", ErrorKind::CannotKeep);
  const uint16_t format = FormatAt(row, column, default_format);
  const bool number = HeldNumber(row, column);
  std::vector<uint8_t> body = SingleCell(row, column, format);
  uint16_t id = record::kBlank;
  if (text.empty()) {
    if (!existed) return Ok{};
  } else if (const auto value = ParseNumberText(text); value && number) {
    id = record::kNumber;
    ByteWriter out;
    out.f64(*value);
    body.insert(body.end(), out.bytes().begin(), out.bytes().end());
  } else {
    if (text.size() > kLongestLabel) return MakeError("A changed cell's text is too long for one record");
    id = record::kLabel;
    ByteWriter out;
    out.u16(static_cast<uint16_t>(text.size()));
    out.u8(1);  // UTF-16
    for (const char16_t c : text) out.u16(c);
    body.insert(body.end(), out.bytes().begin(), out.bytes().end());
  }
  m_cells[{row, column}] = Cell{id, std::move(body), {}};
  if (auto found = m_rows.find(row); found != m_rows.end()) {
    PutU16(found->second, 2, std::min<uint16_t>(GetU16(found->second, 2), column));
    PutU16(found->second, 4, std::max<uint16_t>(GetU16(found->second, 4), static_cast<uint16_t>(column + 1)));
  }
  return Ok{};
}

std::vector<uint8_t> CellTable::Serialize(uint32_t offset) const {
  std::set<uint16_t> row_set;
  for (const auto& entry : m_rows) row_set.insert(entry.first);
  for (const auto& entry : m_cells) row_set.insert(entry.first.first);
  const std::vector<uint16_t> rows(row_set.begin(), row_set.end());
  const size_t blocks = (rows.size() + kRowsPerBlock - 1) / kRowsPerBlock;

  ByteWriter out;
  std::optional<size_t> index_body;
  size_t default_width_at = 0;
  for (const StoredRecord& rec : m_before) {
    if (rec.id == record::kIndex && !index_body) {
      out.u16(record::kIndex);
      out.u16(static_cast<uint16_t>(16 + 4 * blocks));
      index_body = out.size();
      out.u32(0);
      out.u32(rows.empty() ? 0 : rows.front());
      out.u32(rows.empty() ? 0 : rows.back() + 1u);
      out.zeros(4 + 4 * blocks);
      continue;
    }
    if (rec.id == kDefColWidth) default_width_at = out.size();
    if (rec.id == record::kDimensions && rec.body.size() == 14) {
      ByteWriter body;
      uint16_t first_column = 0xFFFF, end_column = 0;
      for (const auto& [place, cell] : m_cells) {
        first_column = std::min(first_column, place.second);
        const uint16_t last = IsMulti(cell.id) ? GetU16(cell.body, cell.body.size() - 2) : place.second;
        end_column = std::max<uint16_t>(end_column, static_cast<uint16_t>(last + 1));
      }
      const bool any = !m_cells.empty();
      body.u32(any ? m_cells.begin()->first.first : 0);
      body.u32(any ? m_cells.rbegin()->first.first + 1u : 0);
      body.u16(any ? first_column : 0);
      body.u16(end_column);
      body.u16(0);
      Write(out, rec.id, body.bytes());
      continue;
    }
    Write(out, rec.id, rec.body);
  }
  if (index_body && default_width_at != 0) PutU32(out.bytes(), *index_body + 12, static_cast<uint32_t>(offset + default_width_at));
  for (size_t block = 0; block < blocks; ++block) {
    const size_t begin = block * kRowsPerBlock, end = std::min(rows.size(), begin + kRowsPerBlock);
    const size_t first_row_at = out.size();
    size_t row_records = 0;
    for (size_t i = begin; i < end; ++i)
      if (auto found = m_rows.find(rows[i]); found != m_rows.end()) {
        Write(out, record::kRow, found->second);
        ++row_records;
      }
    std::vector<size_t> first_cell_at;
    for (size_t i = begin; i < end; ++i) {
      if (m_rows.count(rows[i])) first_cell_at.push_back(out.size());
      for (auto cell = m_cells.lower_bound({rows[i], 0}); cell != m_cells.end() && cell->first.first == rows[i]; ++cell) {
        Write(out, cell->second.id, cell->second.body);
        for (const StoredRecord& rec : cell->second.after) Write(out, rec.id, rec.body);
      }
    }
    if (index_body) PutU32(out.bytes(), *index_body + 16 + 4 * block, static_cast<uint32_t>(offset + out.size()));
    // The first cell offset counts from the second ROW record; the rest from the previous row's first cell.
    ByteWriter dbcell;
    dbcell.u32(static_cast<uint32_t>(out.size() - first_row_at));
    size_t previous = first_row_at + (row_records > 0 ? 20 : 0);
    for (const size_t at : first_cell_at) {
      dbcell.u16(static_cast<uint16_t>(at - previous));
      previous = at;
    }
    Write(out, record::kDbcell, dbcell.bytes());
  }
  for (const StoredRecord& rec : m_after) Write(out, rec.id, rec.body);
  return std::move(out.bytes());
}

}  // namespace xls
