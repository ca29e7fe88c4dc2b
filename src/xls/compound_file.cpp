#include "xls/compound_file.h"

#include <algorithm>

#include "xls/byte_io.h"

namespace xls {

namespace {

constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFatSector = 0xFFFFFFFD;
constexpr uint32_t kDifatSector = 0xFFFFFFFC;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr size_t kMiniSectorSize = 64;
constexpr size_t kMiniStreamCutoff = 4096;
constexpr size_t kHeaderDifatCount = 109;
constexpr size_t kHeaderSize = 512;
constexpr std::array<uint8_t, 8> kSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Entry fields by their offset in a 128-byte directory entry.
constexpr size_t kNameLength = 64, kColour = 67, kLeft = 68, kRight = 72, kChild = 76, kStart = 116, kSize = 120;

void PutU32Array(std::array<uint8_t, 128>& raw, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) raw[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

Error Damaged(const std::string& what) { return MakeError("The workbook file is damaged: " + what); }

// Reads a loaded file sector by sector; every sector id is checked against
// the sectors the file really has, and every chain against cycles.
class SectorReader {
 public:
  SectorReader(const ByteSource& file, size_t sector_size)
      : m_file(file), m_sector_size(sector_size),
        m_sector_count((file.size() - sector_size + sector_size - 1) / sector_size) {}

  size_t sector_size() const { return m_sector_size; }
  uint64_t file_size() const { return m_file.size(); }
  // Marks sectors as belonging to a stream; a sector claimed twice would let
  // a hostile file multiply its size in memory.
  bool claim(const std::vector<uint32_t>& ids) {
    if (m_claimed.empty()) m_claimed.assign(m_sector_count, false);
    for (uint32_t id : ids) {
      if (m_claimed[id]) return false;
      m_claimed[id] = true;
    }
    return true;
  }
  size_t sector_count() const { return m_sector_count; }

  // The sector's bytes; a last sector cut short by the file's end reads as zeros.
  Status append_sector(uint32_t id, std::vector<uint8_t>& out) const {
    const size_t at = out.size();
    out.resize(at + m_sector_size);
    return m_file.read((uint64_t{id} + 1) * m_sector_size, std::span(out).subspan(at));
  }

  // Follows a chain through `table`; a chain can never be longer than the table.
  Result<std::vector<uint32_t>> chain(uint32_t start, const std::vector<uint32_t>& table, size_t limit) const {
    std::vector<uint32_t> ids;
    for (uint32_t id = start; id != kEndOfChain; id = table[id]) {
      if (id >= table.size() || id >= limit) return Damaged("a sector chain points outside the file");
      if (ids.size() >= table.size()) return Damaged("a sector chain runs in a circle");
      ids.push_back(id);
    }
    return ids;
  }

 private:
  const ByteSource& m_file;
  size_t m_sector_size;
  size_t m_sector_count;
  std::vector<bool> m_claimed;
};

Result<std::vector<uint32_t>> ReadFatSectorIds(std::span<const uint8_t> header, const SectorReader& sectors) {
  const uint32_t fat_count = GetU32(header, 0x2C);
  const size_t per_sector = sectors.sector_size() / 4;
  if (fat_count > sectors.sector_count()) return Damaged("it claims more allocation sectors than it has");
  std::vector<uint32_t> ids;
  for (size_t i = 0; i < kHeaderDifatCount && ids.size() < fat_count; ++i) ids.push_back(GetU32(header, 0x4C + 4 * i));
  uint32_t next = GetU32(header, 0x44);
  size_t visited = 0;
  std::vector<uint8_t> sector;
  while (ids.size() < fat_count) {
    if (next >= sectors.sector_count()) return Damaged("the sector allocation list points outside the file");
    if (++visited > sectors.sector_count()) return Damaged("the sector allocation list runs in a circle");
    sector.clear();
    if (auto read = sectors.append_sector(next, sector); !read) return read.error();
    for (size_t i = 0; i + 1 < per_sector && ids.size() < fat_count; ++i) ids.push_back(GetU32(sector, 4 * i));
    next = GetU32(sector, 4 * (per_sector - 1));
  }
  return ids;
}

Result<std::vector<uint32_t>> ReadTable(const SectorReader& sectors, const std::vector<uint32_t>& sector_ids) {
  std::vector<uint8_t> bytes;
  bytes.reserve(sector_ids.size() * sectors.sector_size());
  for (uint32_t id : sector_ids) {
    if (id >= sectors.sector_count()) return Damaged("an allocation sector lies outside the file");
    if (auto read = sectors.append_sector(id, bytes); !read) return read.error();
  }
  std::vector<uint32_t> table(bytes.size() / 4);
  for (size_t i = 0; i < table.size(); ++i) table[i] = GetU32(bytes, 4 * i);
  return table;
}

Result<std::vector<uint8_t>> ReadChainBytes(SectorReader& sectors, uint32_t start, const std::vector<uint32_t>& fat) {
  auto ids = sectors.chain(start, fat, sectors.sector_count());
  if (!ids) return ids.error();
  if (!sectors.claim(*ids)) return Damaged("two of its parts share sectors");
  std::vector<uint8_t> bytes;
  bytes.reserve(ids->size() * sectors.sector_size());
  for (uint32_t id : *ids)
    if (auto read = sectors.append_sector(id, bytes); !read) return read.error();
  return bytes;
}

uint64_t EntrySize(const DirectoryEntry& entry, bool wide_sizes) {
  const uint64_t low = GetU32(entry.raw, kSize);
  return wide_sizes ? low | (uint64_t{GetU32(entry.raw, kSize + 4)} << 32) : low;
}

struct MiniStream {
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> fat;
  std::vector<bool> claimed;
};

Result<std::vector<uint8_t>> ReadMiniStreamData(MiniStream& mini, uint32_t start, uint64_t size) {
  std::vector<uint8_t> data;
  const size_t limit = mini.bytes.size() / kMiniSectorSize;
  size_t steps = 0;
  for (uint32_t id = start; data.size() < size; id = mini.fat[id]) {
    if (id >= mini.fat.size() || id >= limit) return Damaged("a small stream points outside its container");
    if (++steps > mini.fat.size()) return Damaged("a small stream's chain runs in a circle");
    if (mini.claimed.empty()) mini.claimed.assign(limit, false);
    if (mini.claimed[id]) return Damaged("two small streams share sectors");
    mini.claimed[id] = true;
    const size_t take = std::min<uint64_t>(kMiniSectorSize, size - data.size());
    data.insert(data.end(), mini.bytes.begin() + id * kMiniSectorSize, mini.bytes.begin() + id * kMiniSectorSize + take);
  }
  return data;
}

// The sectors of a stream kept outside the small-stream area, checked to
// hold at least its recorded size.
Result<std::vector<uint32_t>> BigStreamSectors(const SectorReader& sectors, const std::vector<uint32_t>& fat,
                                               uint32_t start, uint64_t size) {
  auto ids = sectors.chain(start, fat, sectors.sector_count());
  if (!ids) return ids.error();
  if (ids->size() * sectors.sector_size() < size) return Damaged("a stream is shorter than its recorded size");
  return ids;
}

Result<std::vector<uint8_t>> ReadStreamData(SectorReader& sectors, const std::vector<uint32_t>& fat,
                                            MiniStream& mini, uint32_t start, uint64_t size) {
  if (size == 0) return std::vector<uint8_t>{};
  if (size < kMiniStreamCutoff) return ReadMiniStreamData(mini, start, size);
  auto ids = BigStreamSectors(sectors, fat, start, size);
  if (!ids) return ids.error();
  if (!sectors.claim(*ids)) return Damaged("two of its streams share sectors");
  std::vector<uint8_t> data;
  data.reserve(size);
  for (uint32_t id : *ids) {
    if (data.size() >= size) break;
    if (auto read = sectors.append_sector(id, data); !read) return read.error();
  }
  data.resize(size);
  return data;
}

Result<std::vector<uint8_t>> ReadHeader(const ByteSource& file) {
  if (file.size() < kHeaderSize) return MakeError("The file is not an Excel workbook (.xls)", ErrorKind::NotAWorkbook);
  std::vector<uint8_t> header(kHeaderSize);
  if (auto read = file.read(0, header); !read) return read.error();
  if (!std::equal(kSignature.begin(), kSignature.end(), header.begin()))
    return MakeError("The file is not an Excel workbook (.xls)", ErrorKind::NotAWorkbook);
  const uint16_t shift = GetU16(header, 0x1E);
  if (shift != 9 && shift != 12) return Damaged("unknown sector size");
  if (GetU16(header, 0x20) != 6) return Damaged("unknown small sector size");
  if (file.size() < (size_t{1} << shift) + 1) return Damaged("it ends after its header");
  return header;
}

Result<MiniStream> ReadMiniStream(SectorReader& sectors, std::span<const uint8_t> header, const std::vector<uint32_t>& fat,
                                  const DirectoryEntry& root, bool wide_sizes) {
  MiniStream mini;
  const uint32_t minifat_start = GetU32(header, 0x3C);
  if (minifat_start == kEndOfChain || minifat_start == kFreeSector) return mini;
  auto minifat_ids = sectors.chain(minifat_start, fat, sectors.sector_count());
  if (!minifat_ids) return minifat_ids.error();
  auto minifat = ReadTable(sectors, *minifat_ids);
  if (!minifat) return minifat.error();
  mini.fat = std::move(*minifat);
  if (EntrySize(root, wide_sizes) > sectors.file_size())
    return Damaged("its small-stream container is larger than the file");
  auto mini_bytes = ReadChainBytes(sectors, GetU32(root.raw, kStart), fat);
  if (!mini_bytes) return mini_bytes.error();
  mini.bytes = std::move(*mini_bytes);
  return mini;
}

}  // namespace

std::u16string DirectoryEntry::name() const {
  const size_t length = std::min<size_t>(GetU16(raw, kNameLength) / 2, 32);
  std::u16string text;
  for (size_t i = 0; i < length; ++i) {
    const char16_t c = GetU16(raw, 2 * i);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

Result<std::vector<uint8_t>> StreamView::read(const ByteSource& file, uint64_t offset, size_t length) const {
  std::vector<uint8_t> bytes;
  if (offset >= m_size) return bytes;
  length = static_cast<size_t>(std::min<uint64_t>(length, m_size - offset));
  if (!m_sectors.empty() || m_small.empty()) {
    bytes.resize(length);
    // Runs of consecutive sectors are read at once.
    size_t done = 0;
    while (done < length) {
      const uint64_t at = offset + done;
      const size_t index = static_cast<size_t>(at / m_sector_size);
      const size_t within = static_cast<size_t>(at % m_sector_size);
      size_t run = 1;
      while (index + run < m_sectors.size() && m_sectors[index + run] == m_sectors[index] + run &&
             run * m_sector_size - within < length - done)
        ++run;
      const size_t take = std::min(run * m_sector_size - within, length - done);
      const uint64_t file_at = (uint64_t{m_sectors[index]} + 1) * m_sector_size + within;
      if (auto read = file.read(file_at, std::span(bytes).subspan(done, take)); !read) return read.error();
      done += take;
    }
    return bytes;
  }
  bytes.assign(m_small.begin() + static_cast<ptrdiff_t>(offset), m_small.begin() + static_cast<ptrdiff_t>(offset + length));
  return bytes;
}

Result<CompoundFile> CompoundFile::Parse(std::span<const uint8_t> file) { return Parse(SpanSource(file)); }

Result<CompoundFile> CompoundFile::Parse(const ByteSource& file) {
  auto result = ReadDirectory(file);
  if (!result) return result.error();
  // Read again with every sector claimed once, so that no two parts share one.
  SectorReader sectors(file, result->m_sector_size);
  auto directory = ReadChainBytes(sectors, result->m_directory_start, result->m_fat);
  if (!directory) return directory.error();
  auto mini = ReadMiniStream(sectors, result->m_header, result->m_fat, result->m_entries[0], result->m_wide_sizes);
  if (!mini) return mini.error();
  for (DirectoryEntry& entry : result->m_entries) {
    if (entry.type() != DirectoryEntry::kStream) continue;
    const uint64_t size = EntrySize(entry, result->m_wide_sizes);
    if (size > file.size()) return Damaged("a stream is larger than the file");
    auto data = ReadStreamData(sectors, result->m_fat, *mini, GetU32(entry.raw, kStart), size);
    if (!data) return data.error();
    entry.data = std::move(*data);
  }
  return result;
}

Result<CompoundFile> CompoundFile::ReadDirectory(const ByteSource& file) {
  auto header = ReadHeader(file);
  if (!header) return header.error();
  CompoundFile result;
  result.m_header = std::move(*header);
  result.m_sector_size = size_t{1} << GetU16(result.m_header, 0x1E);
  result.m_wide_sizes = result.m_sector_size == 4096;
  result.m_directory_start = GetU32(result.m_header, 0x30);
  SectorReader sectors(file, result.m_sector_size);

  auto fat_ids = ReadFatSectorIds(result.m_header, sectors);
  if (!fat_ids) return fat_ids.error();
  auto fat = ReadTable(sectors, *fat_ids);
  if (!fat) return fat.error();
  result.m_fat = std::move(*fat);

  auto directory = ReadChainBytes(sectors, result.m_directory_start, result.m_fat);
  if (!directory) return directory.error();
  for (size_t at = 0; at + 128 <= directory->size(); at += 128) {
    DirectoryEntry entry;
    std::copy_n(directory->begin() + at, 128, entry.raw.begin());
    result.m_entries.push_back(std::move(entry));
  }
  if (result.m_entries.empty() || result.m_entries[0].type() != DirectoryEntry::kRoot)
    return Damaged("its root directory entry is missing");
  return result;
}

Result<StreamView> CompoundFile::OpenStream(const ByteSource& file, size_t entry_index) const {
  const DirectoryEntry& entry = m_entries.at(entry_index);
  StreamView view;
  view.m_size = EntrySize(entry, m_wide_sizes);
  view.m_sector_size = m_sector_size;
  if (view.m_size > file.size()) return Damaged("a stream is larger than the file");
  if (view.m_size == 0) return view;
  SectorReader sectors(file, m_sector_size);
  if (view.m_size < kMiniStreamCutoff) {
    auto mini = ReadMiniStream(sectors, m_header, m_fat, m_entries[0], m_wide_sizes);
    if (!mini) return mini.error();
    auto data = ReadMiniStreamData(*mini, GetU32(entry.raw, kStart), view.m_size);
    if (!data) return data.error();
    view.m_small = std::move(*data);
    return view;
  }
  auto ids = BigStreamSectors(sectors, m_fat, GetU32(entry.raw, kStart), view.m_size);
  if (!ids) return ids.error();
  view.m_sectors = std::move(*ids);
  return view;
}

std::optional<size_t> CompoundFile::FindRootStream(std::u16string_view name) const {
  auto same = [&](const std::u16string& other) {
    if (other.size() != name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
      auto fold = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };
      if (fold(other[i]) != fold(name[i])) return false;
    }
    return true;
  };
  // The root's children form a tree through their left and right links.
  std::vector<uint32_t> pending = {GetU32(m_entries[0].raw, kChild)};
  std::vector<bool> seen(m_entries.size(), false);
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (id >= m_entries.size() || seen[id]) continue;
    seen[id] = true;
    const DirectoryEntry& entry = m_entries[id];
    if (entry.type() == DirectoryEntry::kStream && same(entry.name())) return id;
    pending.push_back(GetU32(entry.raw, kLeft));
    pending.push_back(GetU32(entry.raw, kRight));
  }
  return std::nullopt;
}

namespace {

std::array<uint8_t, 128> MakeEntry(std::u16string_view name, uint8_t type, uint32_t child) {
  std::array<uint8_t, 128> raw{};
  for (size_t i = 0; i < name.size() && i < 31; ++i) {
    raw[2 * i] = static_cast<uint8_t>(name[i]);
    raw[2 * i + 1] = static_cast<uint8_t>(name[i] >> 8);
  }
  raw[kNameLength] = static_cast<uint8_t>((name.size() + 1) * 2);
  raw[66] = type;
  raw[kColour] = 1;  // black
  std::vector<uint8_t> links(12);
  PutU32(links, 0, kNoStream);
  PutU32(links, 4, kNoStream);
  PutU32(links, 8, child);
  std::copy(links.begin(), links.end(), raw.begin() + kLeft);
  return raw;
}

// Where each part of the saved file goes, in sectors of 512 bytes.
struct Layout {
  static constexpr size_t kSectorSize = 512;
  static constexpr size_t kIdsPerSector = kSectorSize / 4;

  size_t sectors_for(size_t bytes) const { return (bytes + kSectorSize - 1) / kSectorSize; }
};

// The sectors after the header, with the allocation table (FAT) that chains
// them. Sector ids follow the order the parts are placed.
class SectorBody {
 public:
  // The first sector of the chain now holding `data`, or end-of-chain when empty.
  uint32_t place_chain(std::span<const uint8_t> data) {
    if (data.empty()) return kEndOfChain;
    const uint32_t first = static_cast<uint32_t>(m_fat.size());
    const size_t count = Layout().sectors_for(data.size());
    for (size_t i = 0; i < count; ++i) m_fat.push_back(i + 1 == count ? kEndOfChain : first + i + 1);
    m_body.insert(m_body.end(), data.begin(), data.end());
    m_body.resize(m_fat.size() * Layout::kSectorSize, 0);
    return first;
  }
  std::vector<uint32_t>& fat() { return m_fat; }
  const std::vector<uint8_t>& bytes() const { return m_body; }

 private:
  std::vector<uint8_t> m_body;
  std::vector<uint32_t> m_fat;
};

// Small streams live in 64-byte mini sectors inside the root entry's
// stream, chained by the mini FAT.
struct MiniStreamWriter {
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> fat;

  uint32_t place(std::span<const uint8_t> data) {
    const uint32_t start = static_cast<uint32_t>(fat.size());
    const size_t count = (data.size() + kMiniSectorSize - 1) / kMiniSectorSize;
    for (size_t i = 0; i < count; ++i) fat.push_back(i + 1 == count ? kEndOfChain : start + i + 1);
    bytes.insert(bytes.end(), data.begin(), data.end());
    bytes.resize(fat.size() * kMiniSectorSize, 0);
    return start;
  }
};

void SetStreamPlace(std::array<uint8_t, 128>& raw, uint32_t start, size_t size) {
  PutU32Array(raw, kStart, start);
  PutU32Array(raw, kSize, static_cast<uint32_t>(size));
  PutU32Array(raw, kSize + 4, 0);
}

// The directory sectors: every entry, then empty entries to the sector's end.
std::vector<uint8_t> DirectoryBytes(const std::vector<std::array<uint8_t, 128>>& raws) {
  ByteWriter directory;
  for (const auto& raw : raws) directory.append(raw);
  while (directory.size() % Layout::kSectorSize != 0) {
    auto empty = MakeEntry(u"", DirectoryEntry::kEmpty, kNoStream);
    empty[kNameLength] = 0;
    empty[kColour] = 0;
    directory.append(empty);
  }
  return std::move(directory.bytes());
}

// The FAT and DIFAT sectors the file needs: the tables must also describe
// their own sectors, so the counts grow until they cover themselves.
struct TableSectors {
  size_t fat_count = 0;
  size_t difat_count = 0;
};

TableSectors CountTableSectors(size_t body_sectors) {
  TableSectors tables;
  for (;;) {
    const size_t total = body_sectors + tables.fat_count + tables.difat_count;
    const size_t need_fat = (total + Layout::kIdsPerSector - 1) / Layout::kIdsPerSector;
    const size_t need_difat =
        need_fat > kHeaderDifatCount ? (need_fat - kHeaderDifatCount + Layout::kIdsPerSector - 2) / (Layout::kIdsPerSector - 1) : 0;
    if (need_fat == tables.fat_count && need_difat == tables.difat_count) return tables;
    tables.fat_count = need_fat;
    tables.difat_count = need_difat;
  }
}

// What the header says about where things are.
struct HeaderPlaces {
  TableSectors tables;
  uint32_t fat_start = 0;
  uint32_t difat_start = 0;
  uint32_t directory_start = 0;
  uint32_t mini_fat_start = kEndOfChain;
  uint32_t mini_fat_count = 0;
};

// Header signature, header CLSID (zero), minor and major version (3: sectors of 512 bytes).
void WriteHeaderIdentity(ByteWriter& out) {
  out.append(kSignature);
  out.zeros(16);
  out.u16(0x3E);
  out.u16(3);
}

// Byte order mark (little-endian), sector shift (2^9 bytes), mini sector
// shift (2^6 bytes) and the reserved bytes.
void WriteSectorShifts(ByteWriter& out) {
  out.u16(0xFFFE);
  out.u16(9);
  out.u16(6);
  out.zeros(6);
}

// Number of directory sectors (always 0 in version 3), number of FAT
// sectors, first directory sector and the transaction signature (unused).
void WriteFatAndDirectoryPlaces(ByteWriter& out, const HeaderPlaces& places) {
  out.u32(0);
  out.u32(static_cast<uint32_t>(places.tables.fat_count));
  out.u32(places.directory_start);
  out.u32(0);
}

// Mini stream cutoff size, first mini FAT sector and number of mini FAT sectors.
void WriteMiniFatPlaces(ByteWriter& out, const HeaderPlaces& places) {
  out.u32(kMiniStreamCutoff);
  out.u32(places.mini_fat_start);
  out.u32(places.mini_fat_count);
}

// The FAT sector at `index` of the DIFAT, or free past the last one.
uint32_t FatSectorAt(const HeaderPlaces& places, size_t index) {
  return index < places.tables.fat_count ? places.fat_start + static_cast<uint32_t>(index) : kFreeSector;
}

// First DIFAT sector, number of DIFAT sectors, then the header's own 109
// DIFAT entries.
void WriteDifatPlaces(ByteWriter& out, const HeaderPlaces& places) {
  out.u32(places.tables.difat_count ? places.difat_start : kEndOfChain);
  out.u32(static_cast<uint32_t>(places.tables.difat_count));
  for (size_t i = 0; i < kHeaderDifatCount; ++i) out.u32(FatSectorAt(places, i));
}

// DIFAT sectors beyond the header: 127 FAT sector ids each, then the next DIFAT sector.
void WriteDifatSectors(ByteWriter& out, const HeaderPlaces& places) {
  const size_t count = places.tables.difat_count;
  for (size_t d = 0; d < count; ++d) {
    for (size_t i = 0; i + 1 < Layout::kIdsPerSector; ++i)
      out.u32(FatSectorAt(places, kHeaderDifatCount + d * (Layout::kIdsPerSector - 1) + i));
    out.u32(d + 1 < count ? places.difat_start + static_cast<uint32_t>(d) + 1 : kEndOfChain);
  }
}

}  // namespace

CompoundFile CompoundFile::WithStream(std::u16string_view name, std::vector<uint8_t> data) {
  CompoundFile file;
  DirectoryEntry root;
  root.raw = MakeEntry(u"Root Entry", DirectoryEntry::kRoot, 1);
  DirectoryEntry stream;
  stream.raw = MakeEntry(name, DirectoryEntry::kStream, kNoStream);
  stream.data = std::move(data);
  file.m_entries.push_back(std::move(root));
  file.m_entries.push_back(std::move(stream));
  return file;
}

std::vector<uint8_t> CompoundFile::Serialize() const {
  std::vector<std::array<uint8_t, 128>> raws;
  for (const DirectoryEntry& entry : m_entries) raws.push_back(entry.raw);

  // Placed in this order: big streams, the mini stream, the mini FAT, the
  // directory, then the allocation tables.
  SectorBody body;
  MiniStreamWriter mini;
  for (size_t id = 0; id < m_entries.size(); ++id) {
    const DirectoryEntry& entry = m_entries[id];
    if (entry.type() != DirectoryEntry::kStream) continue;
    const bool small = !entry.data.empty() && entry.data.size() < kMiniStreamCutoff;
    SetStreamPlace(raws[id], small ? mini.place(entry.data) : body.place_chain(entry.data), entry.data.size());
  }
  SetStreamPlace(raws[0], body.place_chain(mini.bytes), mini.bytes.size());

  ByteWriter mini_fat;
  for (uint32_t id : mini.fat) mini_fat.u32(id);
  while (mini_fat.size() % Layout::kSectorSize != 0) mini_fat.u32(kFreeSector);
  const uint32_t mini_fat_start = body.place_chain(mini_fat.bytes());

  HeaderPlaces places;
  places.directory_start = body.place_chain(DirectoryBytes(raws));
  places.mini_fat_start = mini.fat.empty() ? kEndOfChain : mini_fat_start;
  places.mini_fat_count = static_cast<uint32_t>((mini.fat.size() * 4 + Layout::kSectorSize - 1) / Layout::kSectorSize);

  std::vector<uint32_t>& fat = body.fat();
  places.tables = CountTableSectors(fat.size());
  places.fat_start = static_cast<uint32_t>(fat.size());
  places.difat_start = static_cast<uint32_t>(places.fat_start + places.tables.fat_count);
  fat.insert(fat.end(), places.tables.fat_count, kFatSector);
  fat.insert(fat.end(), places.tables.difat_count, kDifatSector);
  fat.resize(places.tables.fat_count * Layout::kIdsPerSector, kFreeSector);

  ByteWriter out;
  WriteHeaderIdentity(out);
  WriteSectorShifts(out);
  WriteFatAndDirectoryPlaces(out, places);
  WriteMiniFatPlaces(out, places);
  WriteDifatPlaces(out, places);
  out.append(body.bytes());
  for (uint32_t id : fat) out.u32(id);
  WriteDifatSectors(out, places);
  return std::move(out.bytes());
}

}  // namespace xls
