// Cell records and continued strings as other writers lay them out, built
// byte by byte where our fixtures' writers do not produce them.
#include <gtest/gtest.h>

#include "test_support.h"
#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/shared_strings.h"
#include "xls/sheet_reader.h"

namespace xls {
namespace {

using test::MakeGrid;

class SubstreamBuilder {
 public:
  SubstreamBuilder& add(uint16_t id, std::vector<uint8_t> body) {
    m_out.u16(id);
    m_out.u16(static_cast<uint16_t>(body.size()));
    m_out.append(body);
    return *this;
  }
  std::vector<uint8_t> bytes() { return m_out.bytes(); }

 private:
  ByteWriter m_out;
};

std::vector<uint8_t> Place(uint16_t row, uint16_t column, const std::vector<uint8_t>& rest) {
  ByteWriter body;
  body.u16(row);
  body.u16(column);
  body.u16(15);  // format
  body.append(rest);
  return std::move(body.bytes());
}

std::vector<uint8_t> Bof() { return {0x00, 0x06, 0x10, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }

TEST(Records, CellsOfEveryKind) {
  SubstreamBuilder sheet;
  sheet.add(record::kBof, Bof())
      .add(record::kLabel, Place(0, 0, {2, 0, 0, 'h', 'i'}))
      .add(record::kRstring, Place(0, 1, {2, 0, 1, 0x35, 0x75, 0x8B, 0x53, 1, 0, 0, 0, 1, 0}))  // 电压 with one run
      .add(record::kBoolerr, Place(0, 2, {0x07, 1}))  // #DIV/0!
      .add(record::kBoolerr, Place(0, 3, {1, 0}))
      .add(record::kRk, Place(1, 0, {0x43, 0x01, 0, 0}))  // 80 / 100 as an integer RK
      .add(record::kRk, Place(1, 1, {0, 0, 0xF0, 0x3F}))  // 1.0 as the top of a double
      .add(record::kMulblank, {2, 0, 0, 0, 15, 0, 15, 0, 1, 0})
      .add(record::kFormula, Place(3, 0, {1, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}))  // TRUE
      .add(record::kFormula, Place(3, 1, {2, 0, 0x2A, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}))  // #N/A
      .add(record::kFormula, Place(3, 2, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}))  // text follows
      .add(0x04BC, {0, 0, 0, 0})  // a shared formula between FORMULA and STRING
      .add(record::kString, {5, 0, 0, 'a', 'b'})
      .add(record::kContinue, {1, 'c', 0, 0x35, 0x75, 'e', 0})  // the rest in two bytes a character
      .add(record::kBof, Bof())  // an embedded chart's records are not cells
      .add(record::kLabel, Place(9, 0, {1, 0, 0, 'z'}))
      .add(record::kEof, {})
      .add(record::kEof, {})
      .add(record::kLabel, Place(9, 1, {1, 0, 0, 'z'}));  // after the sheet's end
  auto grid = ReadWorksheet(sheet.bytes(), {});
  ASSERT_TRUE(grid.ok());
  EXPECT_EQ(*grid, MakeGrid({{"hi", "电压", "", "TRUE"}, {"0.8", "1"}, {}, {"TRUE", "", "abc电e"}}));
}

TEST(Records, OneLongSharedStringRepeatedBeyondAnyRealSheet) {
  const std::vector<std::u16string> strings = {std::u16string(32767, u'x')};
  SubstreamBuilder sheet;
  sheet.add(record::kBof, Bof());
  for (uint16_t row = 0; row < 4000; ++row) sheet.add(record::kLabelsst, Place(row, 0, {0, 0, 0, 0}));
  sheet.add(record::kEof, {});
  auto grid = ReadWorksheet(sheet.bytes(), strings);
  ASSERT_FALSE(grid.ok());
  EXPECT_NE(grid.error().text.find("more text"), std::string::npos);
}

TEST(Records, SharedStringsWhoseCharacterWidthChangesInAContinue) {
  ByteWriter sst;
  sst.u32(3);
  sst.u32(3);
  sst.u16(5);
  sst.u8(0x00);  // starts one byte a character
  for (char c : std::string("ab")) sst.u8(static_cast<uint8_t>(c));
  ByteWriter continued;
  continued.u8(0x01);  // goes on two bytes a character
  for (char16_t c : std::u16string(u"电cd")) continued.u16(c);
  // a rich string with its runs and extended data split over the next record
  continued.u16(1);
  continued.u8(0x0C);
  continued.u16(1);
  continued.u32(6);
  continued.u8('x');
  continued.u16(0);
  ByteWriter last;
  last.u16(0);
  last.zeros(6);
  last.u16(2);  // header and characters in the last record
  last.u8(0x01);
  last.u16(u'好');
  last.u16(u'!');
  auto strings = ReadSst({sst.bytes(), continued.bytes(), last.bytes()});
  ASSERT_TRUE(strings.ok()) << strings.error().text;
  EXPECT_EQ(*strings, (std::vector<std::u16string>{u"ab电cd", u"x", u"好!"}));
}

TEST(Records, SharedStringTableWrittenOverContinuesReadsBack) {
  SharedStringTable table;
  std::vector<std::u16string> texts;
  for (int i = 0; i < 2000; ++i) texts.push_back(test::Utf16("回路 " + std::to_string(i) + std::string(i % 50, 'x')));
  texts.push_back(std::u16string(20000, u'长'));
  for (const auto& text : texts) table.Add(text);
  table.Add(texts[0]);  // a repeated text is stored once
  EXPECT_EQ(table.strings().size(), texts.size());
  EXPECT_EQ(table.references(), texts.size() + 1);

  const std::vector<uint8_t> bytes = WriteSstAndExtsst(table, 1000);
  std::vector<std::span<const uint8_t>> parts;
  size_t offset = 0;
  for (auto rec = record::RecordAt(bytes, 0); rec && rec->id != record::kExtsst; rec = record::RecordAt(bytes, rec->end())) {
    EXPECT_LE(rec->body.size(), record::kMaxBody);
    parts.push_back(rec->body);
    offset = rec->end();
  }
  EXPECT_GT(parts.size(), 5u);
  EXPECT_EQ(*ReadSst(parts), texts);

  // Each EXTSST bucket points at the start of a string: at its length field.
  auto extsst = record::RecordAt(bytes, offset);
  ASSERT_TRUE(extsst && extsst->id == record::kExtsst);
  const uint16_t per_bucket = GetU16(extsst->body, 0);
  for (size_t b = 0; 2 + 8 * b + 8 <= extsst->body.size(); ++b) {
    const size_t at = GetU32(extsst->body, 2 + 8 * b) - 1000;
    EXPECT_EQ(GetU16(bytes, at), texts[b * per_bucket].size()) << b;
  }
}

}  // namespace
}  // namespace xls
