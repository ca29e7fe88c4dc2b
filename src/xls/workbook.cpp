#include "xls/workbook.h"

#include "xls/workbook_state.h"

namespace xls {

namespace {

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

}  // namespace

struct Workbook::Impl {
  std::vector<SheetEntry> sheets;
  std::vector<size_t> worksheets;  // the sheets offered to callers, as indexes into `sheets`

  const SheetEntry& worksheet(size_t index) const { return sheets.at(worksheets.at(index)); }
  SheetEntry& worksheet(size_t index) { return sheets.at(worksheets.at(index)); }
};

Workbook::Workbook() : m_impl(std::make_unique<Impl>()) {}
Workbook::~Workbook() = default;
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;

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
  return MakeError("Reading sheets from files is not available yet");
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

Result<Workbook> Workbook::Load(const std::string&) { return MakeError("Loading workbooks is not available yet"); }
Result<Workbook> Workbook::Parse(std::span<const uint8_t>) { return MakeError("Loading workbooks is not available yet"); }
Result<std::vector<uint8_t>> Workbook::Serialize() const { return MakeError("Saving workbooks is not available yet"); }
Status Workbook::Save(const std::string&) const { return MakeError("Saving workbooks is not available yet"); }

}  // namespace xls
