#include "xls/workbook.h"

#include <algorithm>

#include "xls/atomic_file.h"
#include "xls/biff_records.h"
#include "xls/compound_file.h"
#include "xls/globals.h"
#include "xls/sheet_reader.h"
#include "xls/sheet_writer.h"
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
  std::optional<CompoundFile> container;  // set for a loaded workbook
  size_t stream_entry = 0;
  std::vector<StoredRecord> globals;
  std::vector<std::u16string> strings;
  std::vector<StringFormatting> string_formatting;
  uint32_t string_references = 0;
  bool has_sst = false;

  std::vector<SheetEntry> sheets;
  std::vector<size_t> worksheets;  // the sheets offered to callers, as indexes into `sheets`

  const SheetEntry& worksheet(size_t index) const { return sheets.at(worksheets.at(index)); }
  SheetEntry& worksheet(size_t index) { return sheets.at(worksheets.at(index)); }

  Status load_sheets(std::span<const uint8_t> stream);
  Status check_sheet_names() const;
  Result<std::vector<SheetPart>> sheet_parts(SharedStringTable& table) const;
  Result<SharedStringTable> string_table() const;
};

Status Workbook::Impl::load_sheets(std::span<const uint8_t> stream) {
  std::vector<BoundSheet> listed;
  std::vector<const StoredRecord*> records;
  for (const StoredRecord& rec : globals) {
    if (rec.id != record::kBoundsheet) continue;
    listed.push_back(ParseBoundsheet(rec.body));
    records.push_back(&rec);
  }
  // Sheets never share records: each one ends before the next one starts.
  // Holding to that keeps a hostile sheet list from making the work or the
  // memory grow beyond the stream's size.
  std::vector<size_t> starts;
  for (const BoundSheet& sheet : listed) starts.push_back(sheet.offset);
  std::sort(starts.begin(), starts.end());
  if (std::adjacent_find(starts.begin(), starts.end()) != starts.end())
    return MakeError("The workbook file is damaged: two sheets share their records");
  for (size_t i = 0; i < listed.size(); ++i) {
    auto next = std::upper_bound(starts.begin(), starts.end(), listed[i].offset);
    const size_t limit = std::min(stream.size(), next == starts.end() ? stream.size() : *next);
    auto end = FindSubstreamEnd(stream.first(limit), listed[i].offset);
    if (!end) return end.error();
    SheetEntry sheet;
    sheet.name = listed[i].name;
    sheet.boundsheet = records[i]->body;
    sheet.substream.assign(stream.begin() + listed[i].offset, stream.begin() + *end);
    sheet.loaded_offset = listed[i].offset;
    sheet.is_worksheet = listed[i].type == 0;
    sheets.push_back(std::move(sheet));
    if (sheets.back().is_worksheet) worksheets.push_back(sheets.size() - 1);
  }
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
  const std::vector<StoredRecord>& records = globals.empty() ? NewGlobals() : globals;
  const uint16_t cell_format = DefaultCellFormat(records);
  const size_t active = ActiveSheet(records);
  std::vector<SheetPart> parts;
  for (const SheetEntry& sheet : sheets) {
    const bool selected = parts.size() == active;
    SheetPart part;
    part.added = sheet.boundsheet.empty();
    part.boundsheet = part.added ? MakeBoundsheetBody(sheet.name) : sheet.boundsheet;
    if (sheet.cells) {
      auto substream = WriteWorksheet(*sheet.cells, cell_format, selected, table);
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
  SharedStringTable table(strings, string_formatting, string_references);
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
  auto bytes = ReadWholeFile(path);
  if (!bytes) return bytes.error();
  return Parse(*bytes);
}

Result<Workbook> Workbook::Parse(std::span<const uint8_t> bytes) {
  auto container = CompoundFile::Parse(bytes);
  if (!container) return container.error();
  auto entry = container->FindRootStream(u"Workbook");
  if (!entry) entry = container->FindRootStream(u"Book");
  if (!entry) return MakeError("The file holds no Excel workbook (no Workbook stream)");
  const std::vector<uint8_t>& stream = container->entries()[*entry].data;

  auto globals = ReadGlobals(stream);
  if (!globals) return globals.error();
  Workbook book;
  Impl& impl = *book.m_impl;
  impl.globals = std::move(globals->records);
  impl.strings = std::move(globals->strings);
  impl.string_formatting = std::move(globals->string_formatting);
  impl.string_references = globals->string_references;
  impl.has_sst = globals->has_sst;
  if (auto sheets = impl.load_sheets(stream); !sheets) return sheets.error();
  impl.stream_entry = *entry;
  impl.container = std::move(*container);
  return book;
}

size_t Workbook::SheetCount() const { return m_impl->worksheets.size(); }

const std::u16string& Workbook::SheetName(size_t index) const { return m_impl->worksheet(index).name; }

std::optional<size_t> Workbook::FindSheet(std::u16string_view name) const {
  for (size_t i = 0; i < SheetCount(); ++i)
    if (SameSheetName(SheetName(i), name)) return i;
  return std::nullopt;
}

Result<Grid> Workbook::ReadSheet(size_t index) const {
  if (index >= SheetCount()) return MakeError("There is no sheet with this number", ErrorKind::NotFound);
  const SheetEntry& sheet = m_impl->worksheet(index);
  if (sheet.cells) return *sheet.cells;
  return ReadWorksheet(sheet.substream, m_impl->strings);
}

void Workbook::ReplaceSheet(size_t index, Grid cells) { m_impl->worksheet(index).cells = std::move(cells); }

size_t Workbook::AddSheet(std::u16string name, Grid cells) {
  SheetEntry sheet;
  sheet.name = std::move(name);
  sheet.cells = std::move(cells);
  m_impl->sheets.push_back(std::move(sheet));
  m_impl->worksheets.push_back(m_impl->sheets.size() - 1);
  return m_impl->worksheets.size() - 1;
}

Result<std::vector<uint8_t>> Workbook::Serialize() const {
  const Impl& impl = *m_impl;
  if (auto names = impl.check_sheet_names(); !names) return names.error();
  auto table = impl.string_table();
  if (!table) return table.error();
  auto parts = impl.sheet_parts(*table);
  if (!parts) return parts.error();
  const bool is_new = !impl.container.has_value();
  std::vector<uint8_t> stream =
      AssembleWorkbookStream(is_new ? NewGlobals() : impl.globals, std::move(*parts), *table, is_new || impl.has_sst);
  if (stream.size() < kMinimumStreamSize) stream.resize(kMinimumStreamSize, 0);
  if (is_new) return CompoundFile::WithStream(u"Workbook", std::move(stream)).Serialize();
  CompoundFile container = *impl.container;
  container.SetStreamData(impl.stream_entry, std::move(stream));
  return container.Serialize();
}

Status Workbook::Save(const std::string& path) const {
  auto bytes = Serialize();
  if (!bytes) return bytes.error();
  return WriteFileAtomically(path, *bytes);
}

}  // namespace xls
