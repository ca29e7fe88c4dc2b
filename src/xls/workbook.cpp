#include "xls/workbook.h"

#include <algorithm>

#include "workbook/atomic_file.h"
#include "xls/biff_records.h"
#include "xls/cell_update.h"
#include "xls/compound_file.h"
#include "xls/globals.h"
#include "xls/sheet_reader.h"
#include "xls/sheet_writer.h"
#include "xls/workbook_file.h"
#include "xls/workbook_state.h"
#include "xls/workbook_stream.h"

namespace xls {

namespace {

// Readers of the workbook stream expect at least this much; shorter streams
// are padded, as other writers do, so that they stay out of the small-stream area.
constexpr size_t kMinimumStreamSize = 4096;
constexpr size_t kMaxSheetNameLength = 31;

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0xFF41 + 0xFF21);  // full-width letters
  return c;
}

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

Status CheckSheetName(const std::u16string& name) {
  if (name.empty()) return MakeError("A sheet name cannot be empty");
  if (name.size() > kMaxSheetNameLength) return MakeError("A sheet name can have at most 31 characters");
  if (name.find_first_of(u"[]:*?/\\") != std::u16string::npos)
    return MakeError("A sheet name cannot contain any of the characters [ ] : * ? / \\");
  return Ok{};
}

}  // namespace

struct Workbook::Impl {
  // Set for a loaded workbook: what was read of the file, and the file to
  // read the rest from on demand.
  std::shared_ptr<const WorkbookFile> file;
  std::shared_ptr<const ByteSource> source;
  std::optional<CompoundFile> container;  // every stream, read when saving

  std::vector<SheetEntry> sheets;
  std::vector<size_t> worksheets;  // the sheets offered to callers, as indexes into `sheets`

  const SheetEntry& worksheet(size_t index) const { return sheets.at(worksheets.at(index)); }
  SheetEntry& worksheet(size_t index) { return sheets.at(worksheets.at(index)); }

  const std::vector<StoredRecord>& globals() const {
    static const std::vector<StoredRecord> none;
    return file ? file->globals() : none;
  }
  const std::vector<std::u16string>& strings() const {
    static const std::vector<std::u16string> none;
    return file ? file->strings() : none;
  }

  void take_file(std::shared_ptr<const WorkbookFile> read, std::shared_ptr<const ByteSource> from);
  Status read_everything();
  Status check_sheet_names() const;
  Result<std::vector<SheetPart>> sheet_parts(SharedStringTable& table) const;
  Result<SharedStringTable> string_table() const;
};

void Workbook::Impl::take_file(std::shared_ptr<const WorkbookFile> read, std::shared_ptr<const ByteSource> from) {
  file = std::move(read);
  source = std::move(from);
  sheets = file->sheets();
  for (size_t i = 0; i < sheets.size(); ++i)
    if (sheets[i].is_worksheet) worksheets.push_back(i);
}

// Saving needs every stream of the container and every sheet's records.
Status Workbook::Impl::read_everything() {
  if (!file || container) return Ok{};
  auto whole = CompoundFile::Parse(*source);
  if (!whole) return whole.error();
  for (size_t i = 0; i < sheets.size(); ++i) {
    if (sheets[i].cells || !sheets[i].substream.empty()) continue;
    auto substream = file->Substream(*source, i);
    if (!substream) return substream.error();
    sheets[i].substream = std::move(*substream);
  }
  // What is written back must all come from the file as it was opened.
  if (auto unchanged = source->check_unchanged(); !unchanged) return unchanged.error();
  container = std::move(*whole);
  return Ok{};
}

Status Workbook::Impl::check_sheet_names() const {
  if (sheets.empty()) return MakeError("A workbook needs at least one sheet");
  for (size_t i = 0; i < sheets.size(); ++i) {
    if (!sheets[i].boundsheet.empty()) continue;  // loaded names stay as the file had them
    if (auto valid = CheckSheetName(sheets[i].name); !valid) return valid.error();
    for (size_t j = 0; j < sheets.size(); ++j)
      if (j != i && SameSheetName(sheets[i].name, sheets[j].name))
        return MakeError("The workbook already has a sheet of this name");
  }
  return Ok{};
}

Result<std::vector<SheetPart>> Workbook::Impl::sheet_parts(SharedStringTable& table) const {
  const std::vector<StoredRecord>& records = file ? globals() : NewGlobals();
  const uint16_t cell_format = DefaultCellFormat(records);
  const size_t active = ActiveSheet(records);
  std::vector<SheetPart> parts;
  for (const SheetEntry& sheet : sheets) {
    const bool selected = parts.size() == active;
    SheetPart part;
    part.added = sheet.boundsheet.empty();
    part.boundsheet = part.added ? MakeBoundsheetBody(sheet.name) : sheet.boundsheet;
    if (sheet.cells) {
      auto substream = WriteWorksheet(*sheet.cells, sheet.numbers, cell_format, selected, table);
      if (!substream) return substream.error();
      part.substream = std::move(*substream);
    } else {
      part.substream = sheet.substream;
      part.loaded_offset = sheet.loaded_offset;
    }
    parts.push_back(std::move(part));
  }
  return parts;
}

// The loaded strings, with room for every index an untouched sheet refers to.
Result<SharedStringTable> Workbook::Impl::string_table() const {
  static const std::vector<StringFormatting> kNone;
  SharedStringTable table(strings(), file ? file->string_formatting() : kNone, file ? file->string_references() : 0);
  uint64_t referenced = 0;
  for (const SheetEntry& sheet : sheets)
    if (!sheet.cells) referenced = std::max(referenced, StringsReferencedBy(sheet.substream));
  if (auto covered = table.Cover(referenced); !covered) return covered.error();
  return table;
}

Workbook::Workbook() : m_impl(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;

Result<Workbook> Workbook::Load(const std::string& path) {
  auto source = FileSource::Open(path);
  if (!source) return source.error();
  auto read = WorkbookFile::ReadShared(**source);
  if (!read) return read.error();
  Workbook book;
  book.m_impl->take_file(std::move(*read), std::move(*source));
  return book;
}

Result<Workbook> Workbook::Parse(std::span<const uint8_t> bytes) {
  // Bytes in memory are checked whole at once, every stream and every sheet.
  auto source = std::make_shared<const MemorySource>(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  if (auto whole = CompoundFile::Parse(bytes); !whole) return whole.error();
  auto read = WorkbookFile::Read(*source);
  if (!read) return read.error();
  Workbook book;
  book.m_impl->take_file(std::move(*read), std::move(source));
  if (auto everything = book.m_impl->read_everything(); !everything) return everything.error();
  return book;
}

size_t Workbook::SheetCount() const { return m_impl->worksheets.size(); }

const std::u16string& Workbook::SheetName(size_t index) const { return m_impl->worksheet(index).name; }

std::optional<size_t> Workbook::FindSheet(std::u16string_view name) const {
  for (size_t i = 0; i < SheetCount(); ++i)
    if (SameSheetName(SheetName(i), name)) return i;
  return std::nullopt;
}

bool Workbook::HasSheetNamed(std::u16string_view name) const {
  return std::any_of(m_impl->sheets.begin(), m_impl->sheets.end(),
                     [&](const SheetEntry& sheet) { return SameSheetName(sheet.name, name); });
}

Result<Grid> Workbook::ReadSheet(size_t index) const {
  if (index >= SheetCount()) return MakeError("There is no sheet with this number", ErrorKind::NotFound);
  const SheetEntry& sheet = m_impl->worksheet(index);
  if (sheet.cells) return *sheet.cells;
  auto cells = SheetCells(index);
  if (!cells) return cells.error();
  return **cells;
}

Result<std::shared_ptr<const Grid>> Workbook::SheetCells(size_t index) const {
  if (index >= SheetCount()) return MakeError("There is no sheet with this number", ErrorKind::NotFound);
  const SheetEntry& sheet = m_impl->worksheet(index);
  if (sheet.cells) return std::make_shared<const Grid>(*sheet.cells);
  if (sheet.updated) {
    auto cells = ReadWorksheet(sheet.substream, m_impl->strings());
    if (!cells) return cells.error();
    return std::make_shared<const Grid>(std::move(*cells));
  }
  return m_impl->file->Cells(*m_impl->source, m_impl->worksheets.at(index));
}

void Workbook::ReplaceSheet(size_t index, Grid cells, NumberCells numbers) {
  m_impl->worksheet(index).cells = std::move(cells);
  m_impl->worksheet(index).numbers = std::move(numbers);
}

Status Workbook::UpdateCells(size_t index, const SheetUpdate& update) {
  if (index >= SheetCount()) return MakeError("There is no sheet with this number", ErrorKind::NotFound);
  if (auto everything = m_impl->read_everything(); !everything) return everything.error();
  return UpdateSheetRecords(m_impl->sheets, m_impl->worksheets.at(index), m_impl->globals(), update);
}

size_t Workbook::AddSheet(std::u16string name, Grid cells) {
  SheetEntry sheet;
  sheet.name = std::move(name);
  sheet.cells = std::move(cells);
  m_impl->sheets.push_back(std::move(sheet));
  m_impl->worksheets.push_back(m_impl->sheets.size() - 1);
  return m_impl->worksheets.size() - 1;
}

Result<std::vector<uint8_t>> Workbook::Serialize() const {
  if (auto everything = m_impl->read_everything(); !everything) return everything.error();
  const Impl& impl = *m_impl;
  if (auto names = impl.check_sheet_names(); !names) return names.error();
  auto table = impl.string_table();
  if (!table) return table.error();
  auto parts = impl.sheet_parts(*table);
  if (!parts) return parts.error();
  const bool is_new = !impl.container.has_value();
  std::vector<uint8_t> stream = AssembleWorkbookStream(is_new ? NewGlobals() : impl.globals(), std::move(*parts), *table,
                                                       is_new || impl.file->has_sst());
  if (stream.size() < kMinimumStreamSize) stream.resize(kMinimumStreamSize, 0);
  if (is_new) return CompoundFile::WithStream(u"Workbook", std::move(stream)).Serialize();
  CompoundFile container = *impl.container;
  container.SetStreamData(impl.file->stream_entry(), std::move(stream));
  return container.Serialize();
}

Status Workbook::Save(const std::string& path) const {
  auto bytes = Serialize();
  if (!bytes) return bytes.error();
  return WriteFileAtomically(path, *bytes);
}

}  // namespace xls
