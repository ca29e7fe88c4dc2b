// The compound file that holds a workbook: a small file system of storages
// and streams in fixed-size sectors. Loading reads every stream; saving lays
// all of them out again, so streams the program does not touch (summary
// information, macros) keep their bytes and their directory entries.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "xls/result.h"

namespace xls {

struct DirectoryEntry {
  static constexpr uint8_t kEmpty = 0, kStorage = 1, kStream = 2, kRoot = 5;

  std::array<uint8_t, 128> raw{};  // as loaded: name, colour, tree links, class id, times
  std::vector<uint8_t> data;       // the content of a stream

  uint8_t type() const { return raw[66]; }
  std::u16string name() const;
};

class CompoundFile {
 public:
  // A container with a root storage and one stream, as a new workbook needs.
  static CompoundFile WithStream(std::u16string_view name, std::vector<uint8_t> data);
  static Result<CompoundFile> Parse(std::span<const uint8_t> bytes);

  // Streams directly under the root, found without regard to case.
  std::optional<size_t> FindRootStream(std::u16string_view name) const;
  const std::vector<DirectoryEntry>& entries() const { return m_entries; }
  void SetStreamData(size_t entry, std::vector<uint8_t> data) { m_entries[entry].data = std::move(data); }

  std::vector<uint8_t> Serialize() const;

 private:
  std::vector<DirectoryEntry> m_entries;  // index = directory id; entry 0 is the root
};

}  // namespace xls
