// The compound file that holds a workbook: a small file system of storages
// and streams in fixed-size sectors. Reading a workbook needs only the
// allocation table, the directory and the sectors of the one stream it
// reads; saving reads every stream and lays all of them out again, so
// streams the program does not touch (summary information, macros) keep
// their bytes and their directory entries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/byte_source.h"
#include "workbook/result.h"

namespace xls {

struct DirectoryEntry {
  static constexpr uint8_t kEmpty = 0, kStorage = 1, kStream = 2, kRoot = 5;

  std::array<uint8_t, 128> raw{};  // as loaded: name, colour, tree links, class id, times
  std::vector<uint8_t> data;       // the content of a stream

  uint8_t type() const { return raw[66]; }
  std::u16string name() const;
};

// One stream of a container, read piece by piece from its file.
class StreamView {
 public:
  uint64_t size() const { return m_size; }
  // Up to `length` bytes from `offset`; fewer at the stream's end.
  Result<std::vector<uint8_t>> read(const ByteSource& file, uint64_t offset, size_t length) const;

 private:
  friend class CompoundFile;
  uint64_t m_size = 0;
  size_t m_sector_size = 512;
  std::vector<uint32_t> m_sectors;  // a stream of the big sectors
  std::vector<uint8_t> m_small;     // a stream of the small-stream area, held whole
};

class CompoundFile {
 public:
  // A container with a root storage and one stream, as a new workbook needs.
  static CompoundFile WithStream(std::u16string_view name, std::vector<uint8_t> data);
  // Reads every stream.
  static Result<CompoundFile> Parse(std::span<const uint8_t> bytes);
  static Result<CompoundFile> Parse(const ByteSource& file);
  // Reads the allocation table and the directory only; streams are then
  // read through OpenStream from the same file.
  static Result<CompoundFile> ReadDirectory(const ByteSource& file);
  Result<StreamView> OpenStream(const ByteSource& file, size_t entry) const;

  // Streams directly under the root, found without regard to case.
  std::optional<size_t> FindRootStream(std::u16string_view name) const;
  const std::vector<DirectoryEntry>& entries() const { return m_entries; }
  void SetStreamData(size_t entry, std::vector<uint8_t> data) { m_entries[entry].data = std::move(data); }

  std::vector<uint8_t> Serialize() const;

 private:
  std::vector<DirectoryEntry> m_entries;  // index = directory id; entry 0 is the root
  // As read, for reading streams on demand.
  std::vector<uint8_t> m_header;
  std::vector<uint32_t> m_fat;
  size_t m_sector_size = 512;
  bool m_wide_sizes = false;
  uint32_t m_directory_start = 0;
};

}  // namespace xls
