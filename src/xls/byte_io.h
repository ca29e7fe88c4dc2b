// Little-endian reading and writing of the file format's fields. The reader
// never reads past its end: a short read sets a flag the caller checks once.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace xls {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  bool failed() const { return m_failed; }
  size_t position() const { return m_pos; }
  size_t remaining() const { return m_bytes.size() - m_pos; }
  bool at_end() const { return m_pos >= m_bytes.size(); }

  uint8_t u8() { return static_cast<uint8_t>(read_le(1)); }
  uint16_t u16() { return static_cast<uint16_t>(read_le(2)); }
  uint32_t u32() { return static_cast<uint32_t>(read_le(4)); }
  uint64_t u64() { return read_le(8); }
  double f64() {
    const uint64_t bits = u64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  void skip(size_t count) {
    if (count > remaining()) {
      m_failed = true;
      m_pos = m_bytes.size();
      return;
    }
    m_pos += count;
  }
  std::span<const uint8_t> take(size_t count) {
    if (count > remaining()) {
      m_failed = true;
      m_pos = m_bytes.size();
      return {};
    }
    auto part = m_bytes.subspan(m_pos, count);
    m_pos += count;
    return part;
  }

 private:
  uint64_t read_le(size_t width) {
    if (width > remaining()) {
      m_failed = true;
      m_pos = m_bytes.size();
      return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= uint64_t{m_bytes[m_pos + i]} << (8 * i);
    m_pos += width;
    return value;
  }

  std::span<const uint8_t> m_bytes;
  size_t m_pos = 0;
  bool m_failed = false;
};

class ByteWriter {
 public:
  std::vector<uint8_t>& bytes() { return m_bytes; }
  size_t size() const { return m_bytes.size(); }

  void u8(uint8_t v) { m_bytes.push_back(v); }
  void u16(uint16_t v) { write_le(v, 2); }
  void u32(uint32_t v) { write_le(v, 4); }
  void f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    write_le(bits, 8);
  }
  void append(std::span<const uint8_t> data) { m_bytes.insert(m_bytes.end(), data.begin(), data.end()); }
  void zeros(size_t count) { m_bytes.insert(m_bytes.end(), count, 0); }

 private:
  void write_le(uint64_t v, size_t width) {
    for (size_t i = 0; i < width; ++i) m_bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }

  std::vector<uint8_t> m_bytes;
};

inline void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t v) {
  bytes[at] = static_cast<uint8_t>(v);
  bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t GetU16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}
inline uint32_t GetU32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} | (uint32_t{bytes[at + 1]} << 8) | (uint32_t{bytes[at + 2]} << 16) |
         (uint32_t{bytes[at + 3]} << 24);
}

}  // namespace xls
