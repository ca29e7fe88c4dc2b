// The BIFF8 record numbers the engine reads or writes, and the walk over a
// stream's records.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace xls::record {

constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kFilepass = 0x002F;
constexpr uint16_t kFont = 0x0031;
constexpr uint16_t kContinue = 0x003C;
constexpr uint16_t kWindow1 = 0x003D;
constexpr uint16_t kCodepage = 0x0042;
constexpr uint16_t kDatemode = 0x0022;
constexpr uint16_t kBoundsheet = 0x0085;
constexpr uint16_t kCountry = 0x008C;
constexpr uint16_t kMulrk = 0x00BD;
constexpr uint16_t kMulblank = 0x00BE;
constexpr uint16_t kRstring = 0x00D6;
constexpr uint16_t kDbcell = 0x00D7;
constexpr uint16_t kXf = 0x00E0;
constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kLabelsst = 0x00FD;
constexpr uint16_t kExtsst = 0x00FF;
constexpr uint16_t kDimensions = 0x0200;
constexpr uint16_t kBlank = 0x0201;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kBoolerr = 0x0205;
constexpr uint16_t kString = 0x0207;
constexpr uint16_t kRow = 0x0208;
constexpr uint16_t kIndex = 0x020B;
constexpr uint16_t kWindow2 = 0x023E;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kStyle = 0x0293;
constexpr uint16_t kSupbook = 0x01AE;
constexpr uint16_t kBof = 0x0809;

constexpr uint16_t kBiff8 = 0x0600;
constexpr uint16_t kBofGlobals = 0x0005;
constexpr uint16_t kBofWorksheet = 0x0010;
constexpr size_t kMaxBody = 8224;  // the longest record body; longer data goes on in CONTINUE records

struct Record {
  uint16_t id = 0;
  size_t offset = 0;  // of the record header in its stream
  std::span<const uint8_t> body;
  size_t end() const { return offset + 4 + body.size(); }
};

// The record at `offset`, or nothing when the stream ends or cuts it short.
inline std::optional<Record> RecordAt(std::span<const uint8_t> stream, size_t offset) {
  if (offset > stream.size() || stream.size() - offset < 4) return std::nullopt;
  const uint16_t id = static_cast<uint16_t>(stream[offset] | (stream[offset + 1] << 8));
  const size_t length = static_cast<size_t>(stream[offset + 2] | (stream[offset + 3] << 8));
  if (stream.size() - offset - 4 < length) return std::nullopt;
  return Record{id, offset, stream.subspan(offset + 4, length)};
}

}  // namespace xls::record
