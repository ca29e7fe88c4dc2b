#include "xls/globals.h"

#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/shared_strings.h"

namespace xls {

namespace {

Error Damaged(const std::string& what) { return MakeError("The workbook file is damaged: " + what); }

StoredRecord Stored(const record::Record& rec) { return {rec.id, {rec.body.begin(), rec.body.end()}}; }

Status read_bof(std::span<const uint8_t> stream) {
  auto bof = record::RecordAt(stream, 0);
  if (!bof || bof->id != record::kBof || bof->body.size() < 4)
    return MakeError("The file is not an Excel workbook (.xls): its workbook stream has no start record");
  if (GetU16(bof->body, 0) != record::kBiff8)
    return MakeError("The workbook was saved in an Excel format older than Excel 97; save it as Excel 97-2003 first");
  if (GetU16(bof->body, 2) != record::kBofGlobals) return Damaged("its workbook stream does not start with the workbook globals");
  return Ok{};
}

Status read_sst(std::span<const uint8_t> stream, const record::Record& sst, Globals& globals) {
  std::vector<std::span<const uint8_t>> parts = {sst.body};
  for (auto next = record::RecordAt(stream, sst.end()); next && next->id == record::kContinue;
       next = record::RecordAt(stream, next->end()))
    parts.push_back(next->body);
  auto contents = ReadSstWithFormatting(std::move(parts));
  if (!contents) return contents.error();
  globals.strings = std::move(contents->strings);
  globals.string_formatting = std::move(contents->formatting);
  globals.string_references = sst.body.size() >= 4 ? GetU32(sst.body, 0) : 0;
  globals.has_sst = true;
  return Ok{};
}

}  // namespace

Result<Globals> ReadGlobals(std::span<const uint8_t> stream) {
  if (auto bof = read_bof(stream); !bof) return bof.error();
  Globals globals;
  for (auto rec = record::RecordAt(stream, 0); rec; rec = record::RecordAt(stream, rec->end())) {
    if (rec->id == record::kFilepass) return MakeError("The workbook is encrypted (password protected); it cannot be read");
    if (rec->id == record::kSst && !globals.has_sst)
      if (auto sst = read_sst(stream, *rec, globals); !sst) return sst.error();
    globals.records.push_back(Stored(*rec));
    if (rec->id == record::kEof) return globals;
  }
  return Damaged("the workbook globals are cut short before their EOF record");
}

BoundSheet ParseBoundsheet(std::span<const uint8_t> body) {
  BoundSheet sheet;
  ByteReader in(body);
  sheet.offset = in.u32();
  sheet.visibility = in.u8();
  sheet.type = in.u8();
  const uint8_t length = in.u8();
  const bool high_byte = in.u8() & 0x01;
  for (size_t i = 0; i < length && !in.failed(); ++i) {
    const char16_t c = high_byte ? in.u16() : in.u8();
    if (!in.failed()) sheet.name.push_back(c);
  }
  return sheet;
}

std::vector<uint8_t> MakeBoundsheetBody(const std::u16string& name) {
  ByteWriter body;
  body.u32(0);
  body.u8(0);  // visible
  body.u8(0);  // worksheet
  body.u8(static_cast<uint8_t>(name.size()));
  body.u8(0x01);
  for (char16_t c : name) body.u16(c);
  return std::move(body.bytes());
}

namespace {

StoredRecord make_record(uint16_t id, ByteWriter body) { return {id, std::move(body.bytes())}; }

StoredRecord write_bof() {
  ByteWriter body;
  body.u16(record::kBiff8);
  body.u16(record::kBofGlobals);
  body.u16(0x0DBB);
  body.u16(0x07CC);
  body.u32(0);
  body.u32(0x06);
  return make_record(record::kBof, std::move(body));
}

StoredRecord write_codepage() {
  ByteWriter body;
  body.u16(1200);  // texts are UTF-16
  return make_record(record::kCodepage, std::move(body));
}

StoredRecord write_window1() {
  ByteWriter body;
  body.u16(0x0168);
  body.u16(0x001E);
  body.u16(0x3A5C);
  body.u16(0x2328);
  body.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
  body.u16(0);       // active sheet
  body.u16(0);       // first visible tab
  body.u16(1);       // selected tabs
  body.u16(0x0258);  // tab bar width ratio
  return make_record(record::kWindow1, std::move(body));
}

StoredRecord write_datemode() {
  ByteWriter body;
  body.u16(0);  // 1900 date system
  return make_record(record::kDatemode, std::move(body));
}

StoredRecord write_font() {
  ByteWriter body;
  body.u16(200);     // 10 points, in twips
  body.u16(0);       // plain
  body.u16(0x7FFF);  // automatic colour
  body.u16(400);     // normal weight
  body.u16(0);
  body.u8(0);
  body.u8(0);
  body.u8(0);
  body.u8(0);
  const std::u16string face = u"Arial";
  body.u8(static_cast<uint8_t>(face.size()));
  body.u8(0x01);
  for (char16_t c : face) body.u16(c);
  return make_record(record::kFont, std::move(body));
}

StoredRecord write_xf(bool style) {
  ByteWriter body;
  body.u16(0);                         // font
  body.u16(0);                         // number format: General
  body.u16(style ? 0xFFF5 : 0x0001);   // style XF without parent, or cell XF under style 0; locked
  body.u8(0x20);                       // bottom aligned
  body.u8(0);
  body.u8(0);
  body.u8(style ? 0xF4 : 0x00);        // which attributes a cell XF sets itself
  body.u32(0);
  body.u32(0);
  body.u16(0x20C0);                    // automatic pattern colours
  return make_record(record::kXf, std::move(body));
}

StoredRecord write_style() {
  ByteWriter body;
  body.u16(0x8000);  // built-in style on XF 0
  body.u8(0);        // Normal
  body.u8(0xFF);
  return make_record(record::kStyle, std::move(body));
}

StoredRecord write_country() {
  ByteWriter body;
  body.u16(1);
  body.u16(86);  // China
  return make_record(record::kCountry, std::move(body));
}

}  // namespace

std::vector<StoredRecord> NewGlobals() {
  std::vector<StoredRecord> records = {write_bof(), write_codepage(), write_window1(), write_datemode()};
  for (int i = 0; i < 5; ++i) records.push_back(write_font());  // font 4 is never referenced; readers expect it
  for (int i = 0; i < 16; ++i) records.push_back(write_xf(true));
  records.push_back(write_xf(false));
  records.push_back(write_style());
  records.push_back(write_country());
  records.push_back({record::kEof, {}});
  return records;
}

size_t ActiveSheet(const std::vector<StoredRecord>& records) {
  for (const StoredRecord& rec : records)
    if (rec.id == record::kWindow1 && rec.body.size() >= 12) return GetU16(rec.body, 10);
  return 0;
}

uint16_t DefaultCellFormat(const std::vector<StoredRecord>& records) {
  std::vector<bool> is_cell_format;
  for (const StoredRecord& rec : records)
    if (rec.id == record::kXf && rec.body.size() >= 6) is_cell_format.push_back((GetU16(rec.body, 4) & 0x0004) == 0);
  if (is_cell_format.size() > 15 && is_cell_format[15]) return 15;  // Excel's default cell format
  for (size_t i = 0; i < is_cell_format.size(); ++i)
    if (is_cell_format[i]) return static_cast<uint16_t>(i);
  return 0;
}

}  // namespace xls
