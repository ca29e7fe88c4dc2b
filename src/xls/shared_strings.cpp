#include "xls/shared_strings.h"

#include <algorithm>

#include "xls/biff_records.h"
#include "xls/byte_io.h"

namespace xls {

namespace {

constexpr uint8_t kHighByte = 0x01;
constexpr uint8_t kExtended = 0x04;
constexpr uint8_t kRich = 0x08;

}  // namespace

bool ContinuedReader::next_part() {
  while (m_part < m_parts.size() && m_pos >= m_parts[m_part].size()) {
    ++m_part;
    m_pos = 0;
  }
  if (m_part >= m_parts.size()) {
    m_failed = true;
    return false;
  }
  return true;
}

uint8_t ContinuedReader::u8() {
  if (!next_part()) return 0;
  return m_parts[m_part][m_pos++];
}

uint16_t ContinuedReader::u16() {
  const uint16_t low = u8();
  return static_cast<uint16_t>(low | (u8() << 8));
}

uint32_t ContinuedReader::u32() {
  const uint32_t low = u16();
  return low | (uint32_t{u16()} << 16);
}

void ContinuedReader::skip(uint64_t count) {
  while (count > 0) {
    if (!next_part()) return;
    const size_t step = static_cast<size_t>(std::min<uint64_t>(count, left_in_part()));
    m_pos += step;
    count -= step;
  }
}

std::u16string ContinuedReader::chars(size_t count, bool high_byte) {
  std::u16string text;
  while (text.size() < count && !m_failed) {
    if (left_in_part() == 0) {
      ++m_part;
      m_pos = 0;
      if (m_part >= m_parts.size() || m_parts[m_part].empty()) {
        m_failed = true;
        break;
      }
      high_byte = (m_parts[m_part][m_pos++] & kHighByte) != 0;
    }
    const size_t width = high_byte ? 2 : 1;
    const auto& part = m_parts[m_part];
    const size_t here = std::min(count - text.size(), (part.size() - m_pos) / width);
    if (here == 0) {  // half a character before the record's end
      m_failed = true;
      break;
    }
    for (size_t i = 0; i < here; ++i, m_pos += width)
      text.push_back(high_byte ? static_cast<char16_t>(part[m_pos] | (part[m_pos + 1] << 8)) : part[m_pos]);
  }
  return text;
}

std::vector<uint8_t> ContinuedReader::bytes(uint64_t count) {
  std::vector<uint8_t> out;
  while (count > 0) {
    if (!next_part()) return out;
    const size_t step = static_cast<size_t>(std::min<uint64_t>(count, left_in_part()));
    const auto& part = m_parts[m_part];
    out.insert(out.end(), part.begin() + static_cast<std::ptrdiff_t>(m_pos),
               part.begin() + static_cast<std::ptrdiff_t>(m_pos + step));
    m_pos += step;
    count -= step;
  }
  return out;
}

std::u16string ContinuedReader::rich_string(StringFormatting* formatting) {
  const uint16_t length = u16();
  const uint8_t flags = u8();
  const uint16_t runs = (flags & kRich) ? u16() : 0;
  const uint32_t extended = (flags & kExtended) ? u32() : 0;
  std::u16string text = chars(length, flags & kHighByte);
  if (!formatting) {
    skip(uint64_t{runs} * 4);
    skip(extended);
    return text;
  }
  formatting->runs = bytes(uint64_t{runs} * 4);
  formatting->phonetic = bytes(extended);
  return text;
}

std::u16string ContinuedReader::unicode_string() {
  const uint16_t length = u16();
  const uint8_t flags = u8();
  return chars(length, flags & kHighByte);
}

Result<SstContents> ReadSstWithFormatting(std::vector<std::span<const uint8_t>> parts) {
  ContinuedReader reader(std::move(parts));
  reader.u32();  // references in the workbook
  const uint32_t unique = reader.u32();
  if (reader.failed()) return MakeError("The workbook file is damaged: its shared string table is cut short");
  SstContents contents;
  for (uint32_t i = 0; i < unique; ++i) {
    StringFormatting formatting;
    std::u16string text = reader.rich_string(&formatting);
    if (reader.failed()) {
      // Some writers count more strings than they store; keep what is there.
      if (i > 0 || unique == 0) break;
      return MakeError("The workbook file is damaged: its shared string table is cut short");
    }
    contents.strings.push_back(std::move(text));
    contents.formatting.push_back(std::move(formatting));
  }
  return contents;
}

Result<std::vector<std::u16string>> ReadSst(std::vector<std::span<const uint8_t>> parts) {
  auto contents = ReadSstWithFormatting(std::move(parts));
  if (!contents) return contents.error();
  return std::move(contents->strings);
}

uint64_t StringsReferencedBy(std::span<const uint8_t> substream) {
  uint64_t count = 0;
  for (auto rec = record::RecordAt(substream, 0); rec; rec = record::RecordAt(substream, rec->end())) {
    if (rec->id != record::kLabelsst || rec->body.size() < 10) continue;
    count = std::max<uint64_t>(count, uint64_t{GetU32(rec->body, 6)} + 1);
  }
  return count;
}

namespace {

// More missing strings than this are not filled in: such a table is damaged
// beyond what a save should carry on.
constexpr uint64_t kMaxMissingStrings = 65536;

const StringFormatting kPlain;

}  // namespace

SharedStringTable::SharedStringTable(std::vector<std::u16string> loaded, std::vector<StringFormatting> formatting,
                                     uint32_t loaded_references)
    : m_strings(std::move(loaded)), m_formatting(std::move(formatting)), m_references(loaded_references) {
  m_formatting.resize(m_strings.size());
  // A new cell gets a plain string: it never shares one that carries runs.
  for (uint32_t i = 0; i < m_strings.size(); ++i)
    if (m_formatting[i].empty()) m_index.emplace(m_strings[i], i);
}

Status SharedStringTable::Cover(uint64_t referenced_count) {
  if (referenced_count <= m_strings.size()) return Ok{};
  if (referenced_count - m_strings.size() > kMaxMissingStrings)
    return MakeError("The workbook file is damaged: a cell refers to shared string " +
                     std::to_string(referenced_count - 1) + " of " + std::to_string(m_strings.size()) +
                     "; the workbook is not written so that the cell keeps its meaning");
  m_index.emplace(std::u16string(), static_cast<uint32_t>(m_strings.size()));
  m_strings.resize(static_cast<size_t>(referenced_count));
  m_formatting.resize(m_strings.size());
  return Ok{};
}

const StringFormatting& SharedStringTable::formatting(size_t index) const {
  return index < m_formatting.size() ? m_formatting[index] : kPlain;
}

uint32_t SharedStringTable::Add(const std::u16string& text) {
  ++m_references;
  auto [it, added] = m_index.emplace(text, static_cast<uint32_t>(m_strings.size()));
  if (added) {
    m_strings.push_back(text);
    m_formatting.emplace_back();
  }
  return it->second;
}

namespace {

// Lays records out while the body grows, starting a CONTINUE when full.
class RecordSplitter {
 public:
  explicit RecordSplitter(uint16_t first_id) : m_id(first_id) {}

  size_t room() const { return record::kMaxBody - m_body.size(); }
  // Offset of the next byte from the first record's start, and from its own record's start.
  uint32_t stream_offset() const { return static_cast<uint32_t>(m_out.size() + 4 + m_body.size()); }
  uint16_t record_offset() const { return static_cast<uint16_t>(4 + m_body.size()); }
  ByteWriter& body() { return m_body; }
  void start_continue() {
    flush();
    m_id = record::kContinue;
  }
  std::vector<uint8_t> finish() {
    flush();
    return std::move(m_out.bytes());
  }

 private:
  void flush() {
    m_out.u16(m_id);
    m_out.u16(static_cast<uint16_t>(m_body.size()));
    m_out.append(m_body.bytes());
    m_body.bytes().clear();
  }

  uint16_t m_id;
  ByteWriter m_out;
  ByteWriter m_body;
};

bool FitsInOneByte(const std::u16string& text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
}

// Runs go on in whole runs; the phonetic block may be cut anywhere.
void write_formatting(RecordSplitter& out, const StringFormatting& formatting) {
  for (size_t at = 0; at + 4 <= formatting.runs.size(); at += 4) {
    if (out.room() < 4) out.start_continue();
    for (size_t i = 0; i < 4; ++i) out.body().u8(formatting.runs[at + i]);
  }
  for (const uint8_t byte : formatting.phonetic) {
    if (out.room() == 0) out.start_continue();
    out.body().u8(byte);
  }
}

size_t HeaderSize(const StringFormatting& formatting) {
  return 3 + (formatting.runs.empty() ? 0 : 2) + (formatting.phonetic.empty() ? 0 : 4);
}

void write_sst_string(RecordSplitter& out, const std::u16string& text, const StringFormatting& formatting) {
  const bool high_byte = !FitsInOneByte(text);
  const size_t width = high_byte ? 2 : 1;
  const bool rich = !formatting.runs.empty();
  const bool extended = !formatting.phonetic.empty();
  out.body().u16(static_cast<uint16_t>(text.size()));
  out.body().u8(static_cast<uint8_t>((high_byte ? kHighByte : 0) | (rich ? kRich : 0) | (extended ? kExtended : 0)));
  if (rich) out.body().u16(static_cast<uint16_t>(formatting.runs.size() / 4));
  if (extended) out.body().u32(static_cast<uint32_t>(formatting.phonetic.size()));
  size_t done = 0;
  while (done < text.size()) {
    if (out.room() < width) {
      out.start_continue();
      out.body().u8(high_byte ? kHighByte : 0);
    }
    const size_t here = std::min(text.size() - done, out.room() / width);
    for (size_t i = 0; i < here; ++i) {
      const char16_t c = text[done + i];
      if (high_byte) out.body().u16(c); else out.body().u8(static_cast<uint8_t>(c));
    }
    done += here;
  }
  write_formatting(out, formatting);
}

}  // namespace

std::vector<uint8_t> WriteSstAndExtsst(const SharedStringTable& table, uint32_t position) {
  const auto& strings = table.strings();
  const uint16_t per_bucket = static_cast<uint16_t>(std::max<size_t>(8, (strings.size() + 127) / 128));
  struct Bucket {
    uint32_t stream_offset;
    uint16_t record_offset;
  };
  std::vector<Bucket> buckets;

  RecordSplitter sst(record::kSst);
  sst.body().u32(table.references());
  sst.body().u32(static_cast<uint32_t>(strings.size()));
  for (size_t i = 0; i < strings.size(); ++i) {
    // A string's header (length and flags) and its first character stay together.
    const StringFormatting& formatting = table.formatting(i);
    if (sst.room() < HeaderSize(formatting) + 2) sst.start_continue();
    if (i % per_bucket == 0) buckets.push_back({position + sst.stream_offset(), sst.record_offset()});
    write_sst_string(sst, strings[i], formatting);
  }
  std::vector<uint8_t> bytes = sst.finish();

  ByteWriter extsst;
  extsst.u16(record::kExtsst);
  extsst.u16(static_cast<uint16_t>(2 + 8 * buckets.size()));
  extsst.u16(per_bucket);
  for (const Bucket& bucket : buckets) {
    extsst.u32(bucket.stream_offset);
    extsst.u16(bucket.record_offset);
    extsst.u16(0);
  }
  bytes.insert(bytes.end(), extsst.bytes().begin(), extsst.bytes().end());
  return bytes;
}

}  // namespace xls
