#include "xls/workbook_stream.h"

#include <algorithm>

#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/sheet_writer.h"

namespace xls {

namespace {

class StreamBuilder {
 public:
  size_t position() const { return m_out.size(); }
  std::vector<uint8_t>& bytes() { return m_out.bytes(); }

  void write_record(uint16_t id, const std::vector<uint8_t>& body) {
    m_out.u16(id);
    m_out.u16(static_cast<uint16_t>(body.size()));
    m_out.append(body);
  }
  void write_boundsheet(SheetPart& sheet) {
    m_boundsheet_at.push_back(position() + 4);
    write_record(record::kBoundsheet, sheet.boundsheet);
  }
  void write_sst(const SharedStringTable& strings) { m_out.append(WriteSstAndExtsst(strings, static_cast<uint32_t>(position()))); }

  // Appends the sheets and points their BOUNDSHEET records at them.
  void write_sheets(std::vector<SheetPart*>& order) {
    for (size_t i = 0; i < order.size(); ++i) {
      const size_t at = position();
      PutU32(m_out.bytes(), m_boundsheet_at[i], static_cast<uint32_t>(at));
      RelocateSubstream(order[i]->substream, static_cast<int64_t>(at) - order[i]->loaded_offset);
      m_out.append(order[i]->substream);
    }
  }

 private:
  ByteWriter m_out;
  std::vector<size_t> m_boundsheet_at;
};

size_t LastIndexOf(const std::vector<StoredRecord>& records, uint16_t id) {
  for (size_t i = records.size(); i-- > 0;)
    if (records[i].id == id) return i;
  return records.size();
}

// The workbook's reference to itself, which formulas use to name sheets,
// counts the sheets: it must follow when sheets are added.
constexpr uint16_t kSelfReference = 0x0401;

std::vector<uint8_t> SupbookBody(const std::vector<uint8_t>& body, size_t sheet_count) {
  if (body.size() != 4 || GetU16(body, 2) != kSelfReference) return body;
  std::vector<uint8_t> counted = body;
  PutU16(counted, 0, static_cast<uint16_t>(sheet_count));
  return counted;
}

}  // namespace

std::vector<uint8_t> AssembleWorkbookStream(const std::vector<StoredRecord>& globals, std::vector<SheetPart> sheets,
                                            const SharedStringTable& strings, bool write_sst) {
  std::vector<SheetPart*> loaded, added, order;
  for (SheetPart& sheet : sheets) (sheet.added ? added : loaded).push_back(&sheet);

  StreamBuilder out;
  const size_t last_boundsheet = LastIndexOf(globals, record::kBoundsheet);
  const bool has_boundsheets = last_boundsheet < globals.size();
  bool sheets_written = false, sst_written = false;
  size_t next_loaded = 0;
  auto write_added = [&] {
    for (SheetPart* sheet : added) {
      out.write_boundsheet(*sheet);
      order.push_back(sheet);
    }
    sheets_written = true;
  };

  for (size_t i = 0; i < globals.size(); ++i) {
    const StoredRecord& rec = globals[i];
    const bool sheet_list_ends_here =
        !has_boundsheets && !sheets_written && (rec.id == record::kCountry || rec.id == record::kSst || rec.id == record::kEof);
    if (sheet_list_ends_here) write_added();
    switch (rec.id) {
      case record::kBoundsheet:
        if (next_loaded < loaded.size()) {
          out.write_boundsheet(*loaded[next_loaded]);
          order.push_back(loaded[next_loaded++]);
        }
        if (i == last_boundsheet) write_added();
        break;
      case record::kSst:
        if (!sst_written) out.write_sst(strings);  // a second table would only contradict the first
        sst_written = true;
        while (i + 1 < globals.size() && globals[i + 1].id == record::kContinue) ++i;
        break;
      case record::kExtsst: break;  // written with the SST
      case record::kSupbook: out.write_record(rec.id, SupbookBody(rec.body, sheets.size())); break;
      case record::kEof:
        if (!sst_written && (write_sst || !strings.strings().empty())) out.write_sst(strings);
        out.write_record(rec.id, rec.body);
        break;
      default: out.write_record(rec.id, rec.body);
    }
  }
  out.write_sheets(order);
  return std::move(out.bytes());
}

}  // namespace xls
