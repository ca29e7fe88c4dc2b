#include "xls/sheet_writer.h"

#include <algorithm>

#include "xls/biff_records.h"
#include "xls/byte_io.h"

namespace xls {

namespace {

constexpr size_t kMaxRows = 65536;
constexpr size_t kMaxColumns = 256;
constexpr size_t kMaxTextLength = 32767;
constexpr size_t kRowsPerBlock = 32;

class RecordWriter {
 public:
  size_t position() const { return m_out.size(); }
  std::vector<uint8_t>& bytes() { return m_out.bytes(); }
  // Starts a record; its length is filled in by end().
  ByteWriter& begin(uint16_t id) {
    m_out.u16(id);
    m_length_at = m_out.size();
    m_out.u16(0);
    return m_out;
  }
  void end() { PutU16(m_out.bytes(), m_length_at, static_cast<uint16_t>(m_out.size() - m_length_at - 2)); }

 private:
  ByteWriter m_out;
  size_t m_length_at = 0;
};

struct RowSpan {
  uint16_t row;
  uint16_t first_column, end_column;  // columns holding text: [first, end)
};

std::vector<RowSpan> FilledRows(const Grid& cells) {
  std::vector<RowSpan> rows;
  for (size_t r = 0; r < cells.size(); ++r) {
    const auto& row = cells[r];
    auto first = std::find_if(row.begin(), row.end(), [](const auto& t) { return !t.empty(); });
    if (first == row.end()) continue;
    auto last = std::find_if(row.rbegin(), row.rend(), [](const auto& t) { return !t.empty(); });
    rows.push_back({static_cast<uint16_t>(r), static_cast<uint16_t>(first - row.begin()),
                    static_cast<uint16_t>(row.rend() - last)});
  }
  return rows;
}

Status CheckLimits(const Grid& cells) {
  if (cells.size() > kMaxRows) return MakeError("A sheet can hold at most 65536 rows");
  for (const auto& row : cells) {
    if (row.size() > kMaxColumns) return MakeError("A sheet can hold at most 256 columns");
    for (const auto& text : row)
      if (text.size() > kMaxTextLength) return MakeError("A cell can hold at most 32767 characters");
  }
  return Ok{};
}

void write_bof(RecordWriter& out) {
  ByteWriter& body = out.begin(record::kBof);
  body.u16(record::kBiff8);
  body.u16(record::kBofWorksheet);
  body.u16(0x0DBB);  // build
  body.u16(0x07CC);  // year
  body.u32(0);
  body.u32(0x06);  // lowest version that can read the file: BIFF8
  out.end();
}

// Returns where the DBCELL offsets begin, to be filled in later.
size_t write_index(RecordWriter& out, const std::vector<RowSpan>& rows, size_t blocks) {
  ByteWriter& body = out.begin(record::kIndex);
  body.u32(0);
  body.u32(rows.empty() ? 0 : rows.front().row);
  body.u32(rows.empty() ? 0 : rows.back().row + 1u);
  body.u32(0);  // no DEFCOLWIDTH record
  const size_t offsets_at = out.position();
  body.zeros(4 * blocks);
  out.end();
  return offsets_at;
}

void write_dimensions(RecordWriter& out, const std::vector<RowSpan>& rows) {
  ByteWriter& body = out.begin(record::kDimensions);
  uint16_t first_column = 0, end_column = 0;
  if (!rows.empty()) {
    first_column = std::min_element(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.first_column < b.first_column; })->first_column;
    end_column = std::max_element(rows.begin(), rows.end(), [](auto& a, auto& b) { return a.end_column < b.end_column; })->end_column;
  }
  body.u32(rows.empty() ? 0 : rows.front().row);
  body.u32(rows.empty() ? 0 : rows.back().row + 1u);
  body.u16(first_column);
  body.u16(end_column);
  body.u16(0);
  out.end();
}

void write_row(RecordWriter& out, const RowSpan& row) {
  ByteWriter& body = out.begin(record::kRow);
  body.u16(row.row);
  body.u16(row.first_column);
  body.u16(row.end_column);
  body.u16(0x00FF);  // default height
  body.u16(0);
  body.u16(0);
  body.u32(0x000F0100);
  out.end();
}

void write_labelsst(RecordWriter& out, uint16_t row, uint16_t column, uint16_t format, uint32_t string) {
  ByteWriter& body = out.begin(record::kLabelsst);
  body.u16(row);
  body.u16(column);
  body.u16(format);
  body.u32(string);
  out.end();
}

void write_number(RecordWriter& out, uint16_t row, uint16_t column, uint16_t format, double value) {
  ByteWriter& body = out.begin(record::kNumber);
  body.u16(row);
  body.u16(column);
  body.u16(format);
  body.f64(value);
  out.end();
}

// A listed cell whose text is a number becomes a NUMBER cell; any other, text.
void write_cell(RecordWriter& out, const NumberCells& numbers, uint16_t row, uint16_t column, uint16_t format,
                const std::u16string& text, SharedStringTable& strings) {
  if (numbers.count({row, column}) != 0)
    if (const std::optional<double> value = StoredNumber(text)) return write_number(out, row, column, format, *value);
  write_labelsst(out, row, column, format, strings.Add(text));
}

void write_dbcell(RecordWriter& out, size_t first_row_at, const std::vector<size_t>& first_cell_at) {
  const size_t dbcell_at = out.position();
  ByteWriter& body = out.begin(record::kDbcell);
  body.u32(static_cast<uint32_t>(dbcell_at - first_row_at));
  // The first cell offset counts from the second ROW record; the rest from the previous row's first cell.
  size_t previous = first_row_at + 20;
  for (size_t at : first_cell_at) {
    body.u16(static_cast<uint16_t>(at - previous));
    previous = at;
  }
  out.end();
}

void write_window2(RecordWriter& out, bool selected) {
  ByteWriter& body = out.begin(record::kWindow2);
  // gridlines, headers, zeros, outline symbols, default colour; the open tab also selected and shown
  body.u16(selected ? 0x06B6 : 0x00B6);
  body.u16(0);
  body.u16(0);
  body.u16(0x40);  // grid colour: automatic
  body.u16(0);
  body.u16(0);
  body.u16(0);
  body.u32(0);
  out.end();
}

void write_eof(RecordWriter& out) {
  out.begin(record::kEof);
  out.end();
}

}  // namespace

Result<std::vector<uint8_t>> WriteWorksheet(const Grid& cells, const NumberCells& numbers, uint16_t cell_format, bool selected,
                                            SharedStringTable& strings) {
  if (auto fits = CheckLimits(cells); !fits) return fits.error();
  const std::vector<RowSpan> rows = FilledRows(cells);
  const size_t blocks = (rows.size() + kRowsPerBlock - 1) / kRowsPerBlock;

  RecordWriter out;
  write_bof(out);
  const size_t index_offsets_at = write_index(out, rows, blocks);
  write_dimensions(out, rows);
  for (size_t block = 0; block < blocks; ++block) {
    const size_t begin = block * kRowsPerBlock, end = std::min(rows.size(), begin + kRowsPerBlock);
    const size_t first_row_at = out.position();
    for (size_t i = begin; i < end; ++i) write_row(out, rows[i]);
    std::vector<size_t> first_cell_at;
    for (size_t i = begin; i < end; ++i) {
      first_cell_at.push_back(out.position());
      const auto& row = cells[rows[i].row];
      for (size_t c = rows[i].first_column; c < rows[i].end_column; ++c)
        if (!row[c].empty()) write_cell(out, numbers, rows[i].row, static_cast<uint16_t>(c), cell_format, row[c], strings);
    }
    PutU32(out.bytes(), index_offsets_at + 4 * block, static_cast<uint32_t>(out.position()));
    write_dbcell(out, first_row_at, first_cell_at);
  }
  write_window2(out, selected);
  write_eof(out);
  return std::move(out.bytes());
}

void RelocateSubstream(std::vector<uint8_t>& substream, int64_t delta) {
  int depth = 0;
  for (auto rec = record::RecordAt(substream, 0); rec; rec = record::RecordAt(substream, rec->end())) {
    if (rec->id == record::kBof) ++depth;
    if (rec->id == record::kEof && --depth <= 0) break;
    if (depth != 1 || rec->id != record::kIndex || rec->body.size() < 16) continue;
    const size_t body_at = rec->offset + 4;
    auto move = [&](size_t at) { PutU32(substream, at, static_cast<uint32_t>(GetU32(substream, at) + delta)); };
    if (GetU32(substream, body_at + 12) != 0) move(body_at + 12);
    for (size_t at = body_at + 16; at + 4 <= rec->end(); at += 4) move(at);
  }
}

}  // namespace xls
