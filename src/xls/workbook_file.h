// What reading a workbook file gives before any sheet is read: the container's
// directory, the workbook globals (records, shared strings) and the sheet list.
// A sheet's records are read from the file when the sheet is first wanted,
// and its cells are kept here, so that opening a workbook costs no more than
// the globals and the one sheet read, and workbooks opened again on the same
// unchanged file share all of it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "workbook/byte_source.h"
#include "xls/compound_file.h"
#include "xls/globals.h"
#include "workbook/result.h"
#include "xls/workbook_state.h"

namespace xls {

class WorkbookFile {
 public:
  static Result<std::shared_ptr<const WorkbookFile>> Read(const ByteSource& file);

  // The last file read through here, when the file at the same path is still
  // exactly that file (same identity, size and change times); otherwise it is
  // read again. Every opening so sees the file as it is on disk.
  static Result<std::shared_ptr<const WorkbookFile>> ReadShared(const FileSource& file);

  const std::vector<StoredRecord>& globals() const { return m_globals.records; }
  const std::vector<std::u16string>& strings() const { return m_globals.strings; }
  const std::vector<StringFormatting>& string_formatting() const { return m_globals.string_formatting; }
  uint32_t string_references() const { return m_globals.string_references; }
  bool has_sst() const { return m_globals.has_sst; }
  size_t stream_entry() const { return m_stream_entry; }
  // Names, BOUNDSHEET bodies and offsets; the substreams are not read here.
  const std::vector<SheetEntry>& sheets() const { return m_sheets; }

  // The records of sheets()[index], BOF to EOF, read from `file`, which must
  // be the file this was read from.
  Result<std::vector<uint8_t>> Substream(const ByteSource& file, size_t index) const;
  // The cells of sheets()[index], read from `file` the first time.
  Result<std::shared_ptr<const Grid>> Cells(const ByteSource& file, size_t index) const;

 private:
  CompoundFile m_directory;
  size_t m_stream_entry = 0;
  StreamView m_stream;
  Globals m_globals;
  std::vector<SheetEntry> m_sheets;
  std::vector<uint64_t> m_sheet_limits;  // where the next sheet starts, or the stream's end

  mutable std::mutex m_mutex;
  mutable std::map<size_t, std::shared_ptr<const Grid>> m_cells;
};

}  // namespace xls
