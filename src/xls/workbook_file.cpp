#include "xls/workbook_file.h"

#include <algorithm>

#include "xls/biff_records.h"
#include "xls/byte_io.h"
#include "xls/sheet_reader.h"

namespace xls {

namespace {

constexpr size_t kFirstGlobalsRead = size_t{64} << 10;

// The bytes of the workbook globals: the stream from its start up to the
// first EOF record, found by walking the record headers and reading more of
// the stream only while the walk needs it.
Result<std::vector<uint8_t>> ReadGlobalsBytes(const StreamView& stream, const ByteSource& file) {
  std::vector<uint8_t> bytes;
  uint64_t wanted = std::min<uint64_t>(stream.size(), kFirstGlobalsRead);
  size_t position = 0;
  for (;;) {
    if (bytes.size() < wanted) {
      auto more = stream.read(file, bytes.size(), static_cast<size_t>(wanted - bytes.size()));
      if (!more) return more.error();
      bytes.insert(bytes.end(), more->begin(), more->end());
    }
    while (position + 4 <= bytes.size()) {
      const uint16_t id = GetU16(bytes, position);
      const size_t end = position + 4 + GetU16(bytes, position + 2);
      if (end > bytes.size()) break;
      position = end;
      if (id == record::kEof) {
        bytes.resize(end);
        return bytes;
      }
    }
    if (bytes.size() >= stream.size()) return bytes;  // cut short: reading the globals says so
    wanted = std::min<uint64_t>(stream.size(), std::max<uint64_t>(bytes.size() * 2, position + 4 + 0xFFFF));
  }
}

// The one workbook file read last, with the identity it had.
struct SharedFile {
  std::mutex mutex;
  std::string path;
  FileIdentity identity;
  std::shared_ptr<const WorkbookFile> file;
};

SharedFile& LastFile() {
  static SharedFile shared;
  return shared;
}

}  // namespace

Result<std::shared_ptr<const WorkbookFile>> WorkbookFile::Read(const ByteSource& file) {
  auto directory = CompoundFile::ReadDirectory(file);
  if (!directory) return directory.error();
  auto entry = directory->FindRootStream(u"Workbook");
  if (!entry) entry = directory->FindRootStream(u"Book");
  if (!entry && directory->FindRootStream(u"EncryptedPackage"))
    return MakeError("The workbook is password-protected (encrypted); the program cannot read it. Save it without "
                     "a password in the spreadsheet program first");
  if (!entry) return MakeError("The file holds no Excel workbook (no Workbook stream)", ErrorKind::NotAWorkbook);
  auto stream = directory->OpenStream(file, *entry);
  if (!stream) return stream.error();
  auto globals_bytes = ReadGlobalsBytes(*stream, file);
  if (!globals_bytes) return globals_bytes.error();
  auto globals = ReadGlobals(*globals_bytes);
  if (!globals) return globals.error();

  auto result = std::make_shared<WorkbookFile>();
  result->m_directory = std::move(*directory);
  result->m_stream_entry = *entry;
  result->m_stream = std::move(*stream);
  result->m_globals = std::move(*globals);

  std::vector<BoundSheet> listed;
  for (const StoredRecord& rec : result->m_globals.records) {
    if (rec.id != record::kBoundsheet) continue;
    listed.push_back(ParseBoundsheet(rec.body));
    SheetEntry sheet;
    sheet.name = listed.back().name;
    sheet.boundsheet = rec.body;
    sheet.loaded_offset = listed.back().offset;
    sheet.is_worksheet = listed.back().type == 0;
    result->m_sheets.push_back(std::move(sheet));
  }
  // Sheets never share records: each one ends before the next one starts.
  // Holding to that keeps a hostile sheet list from making the work or the
  // memory grow beyond the stream's size.
  std::vector<uint64_t> starts;
  for (const BoundSheet& sheet : listed) starts.push_back(sheet.offset);
  std::sort(starts.begin(), starts.end());
  if (std::adjacent_find(starts.begin(), starts.end()) != starts.end())
    return MakeError("The workbook file is damaged: two sheets share their records");
  const uint64_t stream_size = result->m_stream.size();
  for (const BoundSheet& sheet : listed) {
    auto next = std::upper_bound(starts.begin(), starts.end(), uint64_t{sheet.offset});
    result->m_sheet_limits.push_back(std::min(stream_size, next == starts.end() ? stream_size : *next));
  }
  return std::shared_ptr<const WorkbookFile>(std::move(result));
}

Result<std::shared_ptr<const WorkbookFile>> WorkbookFile::ReadShared(const FileSource& file) {
  SharedFile& last = LastFile();
  {
    std::lock_guard lock(last.mutex);
    if (last.file && last.path == file.path() && last.identity == file.identity()) return last.file;
  }
  auto read = Read(file);
  if (!read) return read.error();
  std::lock_guard lock(last.mutex);
  last.path = file.path();
  last.identity = file.identity();
  last.file = *read;
  return read;
}

Result<std::vector<uint8_t>> WorkbookFile::Substream(const ByteSource& file, size_t index) const {
  const uint64_t offset = m_sheets.at(index).loaded_offset;
  const uint64_t limit = m_sheet_limits.at(index);
  auto region = m_stream.read(file, offset, offset < limit ? static_cast<size_t>(limit - offset) : 0);
  if (!region) return region.error();
  auto end = FindSubstreamEnd(*region, 0);
  if (!end) return end.error();
  region->resize(*end);
  return region;
}

Result<std::shared_ptr<const Grid>> WorkbookFile::Cells(const ByteSource& file, size_t index) const {
  std::lock_guard lock(m_mutex);
  if (auto found = m_cells.find(index); found != m_cells.end()) return found->second;
  auto substream = Substream(file, index);
  if (!substream) return substream.error();
  // The sheet's records must belong to the file whose strings were read.
  if (auto unchanged = file.check_unchanged(); !unchanged) return unchanged.error();
  auto cells = ReadWorksheet(*substream, strings());
  if (!cells) return cells.error();
  auto shared = std::make_shared<const Grid>(std::move(*cells));
  m_cells.emplace(index, shared);
  return shared;
}

}  // namespace xls
