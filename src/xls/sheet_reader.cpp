#include "xls/sheet_reader.h"

#include <optional>

#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "workbook/number_text.h"
#include "xls/shared_strings.h"

namespace xls {

namespace {

using record::Record;

constexpr size_t kMaxRows = 65536;
constexpr size_t kMaxColumns = 256;

Error Damaged(const std::string& what) { return MakeError("The workbook file is damaged: " + what); }

// Collects cell texts into rows that end at their last non-empty cell.
// Cells may repeat one shared string many times; a budget of characters,
// generous for real sheets, keeps a small hostile file from filling memory.
class GridBuilder {
 public:
  explicit GridBuilder(size_t substream_size) : m_budget(kBaseBudget + kBudgetPerByte * substream_size) {}

  bool over_budget() const { return m_used > m_budget; }
  void set(uint32_t row, uint32_t column, std::u16string text) {
    if (text.empty() || row >= kMaxRows || column >= kMaxColumns) return;
    m_used += text.size();
    if (over_budget()) return;
    if (m_grid.size() <= row) m_grid.resize(row + 1);
    auto& cells = m_grid[row];
    if (cells.size() <= column) cells.resize(column + 1);
    cells[column] = std::move(text);
  }
  Grid take() { return std::move(m_grid); }

 private:
  static constexpr size_t kBaseBudget = size_t{1} << 24;
  static constexpr size_t kBudgetPerByte = 32;

  Grid m_grid;
  size_t m_budget;
  size_t m_used = 0;
};

std::u16string DecodeRk(uint32_t rk) {
  double value;
  if (rk & 0x02) {
    value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    const uint64_t bits = uint64_t{rk & 0xFFFFFFFCu} << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  if (rk & 0x01) value /= 100;
  return NumberText(value);
}

std::u16string BooleanText(bool value) { return value ? u"TRUE" : u"FALSE"; }

struct CellPlace {
  uint16_t row, column;
};

CellPlace read_place(ByteReader& in) {
  CellPlace place{in.u16(), in.u16()};
  in.u16();  // format (XF)
  return place;
}

void read_labelsst(ByteReader in, const std::vector<std::u16string>& strings, GridBuilder& grid) {
  const CellPlace at = read_place(in);
  const uint32_t index = in.u32();
  if (!in.failed() && index < strings.size()) grid.set(at.row, at.column, strings[index]);
}

void read_label(std::span<const uint8_t> body, GridBuilder& grid) {
  ByteReader in(body);
  const CellPlace at = read_place(in);
  if (in.failed()) return;
  ContinuedReader text({body.subspan(6)});
  grid.set(at.row, at.column, text.unicode_string());  // RSTRING's formatting runs follow; not needed
}

void read_number(ByteReader in, GridBuilder& grid) {
  const CellPlace at = read_place(in);
  const double value = in.f64();
  if (!in.failed()) grid.set(at.row, at.column, NumberText(value));
}

void read_rk(ByteReader in, GridBuilder& grid) {
  const CellPlace at = read_place(in);
  const uint32_t rk = in.u32();
  if (!in.failed()) grid.set(at.row, at.column, DecodeRk(rk));
}

void read_mulrk(std::span<const uint8_t> body, GridBuilder& grid) {
  ByteReader in(body);
  const uint16_t row = in.u16();
  uint16_t column = in.u16();
  while (in.remaining() >= 6 + 2) {
    in.u16();  // format
    grid.set(row, column++, DecodeRk(in.u32()));
  }
}

void read_boolerr(ByteReader in, GridBuilder& grid) {
  const CellPlace at = read_place(in);
  const uint8_t value = in.u8();
  const uint8_t is_error = in.u8();
  if (!in.failed() && !is_error) grid.set(at.row, at.column, BooleanText(value != 0));
}

// A formula's cached result; a string result comes in the STRING record next.
std::optional<CellPlace> read_formula(ByteReader in, GridBuilder& grid) {
  const CellPlace at = read_place(in);
  auto result = in.take(8);
  if (in.failed()) return std::nullopt;
  if (result[6] != 0xFF || result[7] != 0xFF) {
    double value;
    std::memcpy(&value, result.data(), sizeof value);
    grid.set(at.row, at.column, NumberText(value));
    return std::nullopt;
  }
  switch (result[0]) {
    case 0: return at;
    case 1: grid.set(at.row, at.column, BooleanText(result[2] != 0)); break;
    default: break;  // error or empty text
  }
  return std::nullopt;
}

// The STRING record and the CONTINUE records that carry the rest of a long result.
std::u16string read_string(std::span<const uint8_t> substream, const Record& string_record) {
  std::vector<std::span<const uint8_t>> parts = {string_record.body};
  for (auto next = record::RecordAt(substream, string_record.end()); next && next->id == record::kContinue;
       next = record::RecordAt(substream, next->end()))
    parts.push_back(next->body);
  ContinuedReader reader(std::move(parts));
  return reader.unicode_string();
}

}  // namespace

Result<size_t> FindSubstreamEnd(std::span<const uint8_t> stream, size_t offset) {
  auto first = record::RecordAt(stream, offset);
  if (!first || first->id != record::kBof) return Damaged("a sheet does not start where the sheet list says");
  int depth = 0;
  for (auto rec = first; rec; rec = record::RecordAt(stream, rec->end())) {
    if (rec->id == record::kBof) ++depth;
    if (rec->id == record::kEof && --depth == 0) return rec->end();
  }
  return Damaged("a sheet is cut short before its EOF record");
}

Result<Grid> ReadWorksheet(std::span<const uint8_t> substream, const std::vector<std::u16string>& strings) {
  GridBuilder grid(substream.size());
  std::optional<CellPlace> pending_string;
  int depth = 0;
  for (auto rec = record::RecordAt(substream, 0); rec; rec = record::RecordAt(substream, rec->end())) {
    if (rec->id == record::kBof) ++depth;
    if (rec->id == record::kEof && --depth <= 0) break;
    if (depth != 1) continue;  // records of an embedded chart
    ByteReader in(rec->body);
    switch (rec->id) {
      case record::kLabelsst: read_labelsst(in, strings, grid); break;
      case record::kLabel:
      case record::kRstring: read_label(rec->body, grid); break;
      case record::kNumber: read_number(in, grid); break;
      case record::kRk: read_rk(in, grid); break;
      case record::kMulrk: read_mulrk(rec->body, grid); break;
      case record::kBoolerr: read_boolerr(in, grid); break;
      case record::kFormula: pending_string = read_formula(in, grid); break;
      case record::kString:
        if (pending_string) grid.set(pending_string->row, pending_string->column, read_string(substream, *rec));
        pending_string.reset();
        break;
      default: break;
    }
  }
  if (grid.over_budget()) return MakeError("The sheet holds more text than can be read at once");
  return grid.take();
}

}  // namespace xls
