#include "xlsx/xlsx_workbook.h"

#include <algorithm>

#include "workbook/atomic_file.h"
#include "xlsx/cell_parts.h"
#include "xlsx/new_package.h"
#include "xlsx/package_file.h"
#include "xlsx/package_layout.h"
#include "xlsx/sheet_additions.h"
#include "xlsx/sheet_update_checks.h"
#include "xlsx/xml_text.h"
#include "xlsx/zip_package.h"

namespace xlsx {

namespace {


char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - u'a' + u'A');
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0xFF41 + 0xFF21);  // full-width letters
  return c;
}

bool SameSheetName(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

}  // namespace

bool LooksLikeZip(std::span<const uint8_t> bytes) {
  return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == 3 && bytes[3] == 4;
}

struct XlsxWorkbook::Impl {
  static constexpr size_t kAdded = static_cast<size_t>(-1);
  struct Sheet {
    std::u16string name;
    size_t listed = kAdded;  // index into the package's sheet list, or kAdded for a sheet the program added
    std::optional<xls::Grid> cells;
    xls::NumberCells numbers;  // which of `cells` are stored as numbers
    // Set by UpdateCells: the part as it will be stored, and its cells.
    std::optional<std::string> updated_part;
    std::shared_ptr<const xls::Grid> updated_cells;
  };

  std::shared_ptr<const PackageFile> file;  // none for a new workbook
  bool macro_enabled = false;               // for a new workbook
  std::vector<Sheet> sheets;  // the worksheets offered to callers; other sheet kinds stay in the package

  void take_file(std::shared_ptr<const PackageFile> read);
  xls::Result<std::vector<uint8_t>> serialize_onto(const ZipPackage& onto, const std::string& workbook) const;
};

void XlsxWorkbook::Impl::take_file(std::shared_ptr<const PackageFile> read) {
  file = std::move(read);
  for (size_t i = 0; i < file->sheets().size(); ++i)
    if (file->sheets()[i].worksheet) sheets.push_back({file->sheets()[i].name, i, std::nullopt, {}, std::nullopt, nullptr});
}

xls::Result<std::vector<uint8_t>> XlsxWorkbook::Impl::serialize_onto(const ZipPackage& onto,
                                                                    const std::string& workbook) const {
  std::map<std::string, std::string> changed;
  std::vector<NewSheet> added;
  for (const Sheet& sheet : sheets) {
    if (sheet.updated_part && !sheet.cells) changed[file->sheets()[sheet.listed].part] = *sheet.updated_part;
    if (!sheet.cells) continue;
    if (sheet.listed == kAdded) {
      added.push_back({sheet.name, WriteWorksheetPart(*sheet.cells, sheet.numbers)});
      continue;
    }
    const ListedSheet& listed = file->sheets()[sheet.listed];
    if (!listed.unusable.empty()) return xls::MakeError(listed.unusable);
    if (std::string shared = file->SharedUseOf(sheet.listed); !shared.empty()) return xls::MakeError(shared);
    changed[listed.part] = WriteWorksheetPart(*sheet.cells, sheet.numbers);
  }
  if (!added.empty())
    if (auto listed = AddSheetParts(onto, workbook, added, changed); !listed) return listed.error();
  return onto.WithParts(changed);
}

XlsxWorkbook::XlsxWorkbook(bool macro_enabled) : m_impl(std::make_unique<Impl>()) {
  m_impl->macro_enabled = macro_enabled;
}
XlsxWorkbook::~XlsxWorkbook() = default;
XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&&) noexcept = default;
XlsxWorkbook& XlsxWorkbook::operator=(XlsxWorkbook&&) noexcept = default;

xls::Result<XlsxWorkbook> XlsxWorkbook::Load(const std::string& path) {
  auto read = PackageFile::ReadShared(path);
  if (!read) return read.error();
  XlsxWorkbook book;
  book.m_impl->take_file(std::move(*read));
  return book;
}

xls::Result<XlsxWorkbook> XlsxWorkbook::Parse(std::vector<uint8_t> bytes) {
  if (!LooksLikeZip(bytes)) return xls::MakeError("The file is not an Excel workbook (.xlsx): it is no ZIP archive", xls::ErrorKind::NotAWorkbook);
  auto read = PackageFile::Parse(std::move(bytes));
  if (!read) return read.error();
  XlsxWorkbook book;
  book.m_impl->take_file(std::move(*read));
  return book;
}

size_t XlsxWorkbook::SheetCount() const { return m_impl->sheets.size(); }

const std::u16string& XlsxWorkbook::SheetName(size_t index) const { return m_impl->sheets.at(index).name; }

std::optional<size_t> XlsxWorkbook::FindSheet(std::u16string_view name) const {
  for (size_t i = 0; i < SheetCount(); ++i)
    if (SameSheetName(SheetName(i), name)) return i;
  return std::nullopt;
}

bool XlsxWorkbook::HasSheetNamed(std::u16string_view name) const {
  if (FindSheet(name)) return true;
  if (!m_impl->file) return false;
  for (const ListedSheet& sheet : m_impl->file->sheets())
    if (SameSheetName(sheet.name, name)) return true;
  return false;
}

xls::Result<xls::Grid> XlsxWorkbook::ReadSheet(size_t index) const {
  auto cells = SheetCells(index);
  if (!cells) return cells.error();
  return **cells;
}

xls::Result<std::shared_ptr<const xls::Grid>> XlsxWorkbook::SheetCells(size_t index) const {
  if (index >= SheetCount()) return xls::MakeError("There is no sheet with this number", xls::ErrorKind::NotFound);
  const Impl::Sheet& sheet = m_impl->sheets[index];
  if (sheet.cells) return std::make_shared<const xls::Grid>(*sheet.cells);
  if (sheet.updated_cells) return sheet.updated_cells;
  return m_impl->file->Cells(sheet.listed);
}

void XlsxWorkbook::ReplaceSheet(size_t index, xls::Grid cells, xls::NumberCells numbers) {
  m_impl->sheets.at(index).cells = std::move(cells);
  m_impl->sheets.at(index).numbers = std::move(numbers);
}

xls::Status XlsxWorkbook::UpdateCells(size_t index, const xls::SheetUpdate& update) {
  if (index >= SheetCount()) return xls::MakeError("There is no sheet with this number", xls::ErrorKind::NotFound);
  Impl::Sheet& sheet = m_impl->sheets[index];
  if (sheet.cells) {
    xls::ApplyUpdate(*sheet.cells, update);
    return xls::Ok{};
  }
  auto before = SheetCells(index);
  if (!before) return before.error();
  const ListedSheet& listed = m_impl->file->sheets()[sheet.listed];
  if (!listed.unusable.empty()) return xls::MakeError(listed.unusable);
  if (std::string shared = m_impl->file->SharedUseOf(sheet.listed); !shared.empty()) return xls::MakeError(shared);
  const bool moves = !update.deleted_rows.empty() || !update.inserted_rows.empty();
  if (moves)
    if (auto allowed = OthersAllowRowMoves(*m_impl->file, sheet.listed); !allowed) return allowed;
  auto updated = UpdateSheetPart(m_impl->file->package(), sheet.updated_part, listed.part, update);
  if (!updated) return updated.error();
  xls::Grid cells = **before;
  xls::ApplyUpdate(cells, update);
  sheet.updated_part = std::move(*updated);
  sheet.updated_cells = std::make_shared<const xls::Grid>(std::move(cells));
  return xls::Ok{};
}

size_t XlsxWorkbook::AddSheet(std::u16string name, xls::Grid cells) {
  m_impl->sheets.push_back({std::move(name), Impl::kAdded, std::move(cells), {}, std::nullopt, nullptr});
  return m_impl->sheets.size() - 1;
}

xls::Result<std::vector<uint8_t>> XlsxWorkbook::Serialize() const {
  if (m_impl->sheets.empty()) return xls::MakeError("A workbook needs at least one sheet");
  if (m_impl->file) return m_impl->serialize_onto(m_impl->file->package(), m_impl->file->workbook_part());
  auto skeleton = ZipPackage::Create(NewPackageParts(m_impl->macro_enabled));
  if (!skeleton) return skeleton.error();
  auto fresh = ZipPackage::Open(std::move(*skeleton));
  if (!fresh) return fresh.error();
  return m_impl->serialize_onto(*fresh, "xl/workbook.xml");
}

xls::Status XlsxWorkbook::Save(const std::string& path) const {
  if (m_impl->file)
    if (auto unchanged = m_impl->file->CheckUnchanged(); !unchanged) return unchanged;
  auto bytes = Serialize();
  if (!bytes) return bytes.error();
  return xls::WriteFileAtomically(path, *bytes);
}

}  // namespace xlsx
