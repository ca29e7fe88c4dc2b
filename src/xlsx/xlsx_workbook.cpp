#include "xlsx/xlsx_workbook.h"

#include <algorithm>

#include "workbook/atomic_file.h"
#include "xlsx/cell_parts.h"
#include "xlsx/new_package.h"
#include "xlsx/package_layout.h"
#include "xlsx/sheet_additions.h"
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

const Relationship* FindRelationship(const std::vector<Relationship>& rels, std::string_view id) {
  for (const Relationship& rel : rels)
    if (rel.id == id) return &rel;
  return nullptr;
}

const Relationship* FindRelationshipOfType(const std::vector<Relationship>& rels, std::string_view kind) {
  for (const Relationship& rel : rels)
    if (IsRelationshipType(rel.type, kind)) return &rel;
  return nullptr;
}

xls::Error NotAWorkbook(const std::string& why) {
  return xls::MakeError("The file is a ZIP archive but not an Excel workbook (.xlsx): " + why);
}

xls::Result<std::string> FindWorkbookPart(const ZipPackage& package) {
  auto rels_xml = package.ReadPart("_rels/.rels");
  if (!rels_xml) return NotAWorkbook("it has no package relationships (_rels/.rels)");
  auto rels = ReadRelationships(*rels_xml, "_rels/.rels");
  if (!rels) return rels.error();
  const Relationship* main = FindRelationshipOfType(*rels, "officeDocument");
  if (!main) return NotAWorkbook("it names no main document");
  auto part = ResolveTarget("", main->target);
  if (!part) return part.error();
  if (part->ends_with(".bin")) return xls::MakeError("The file is a binary Excel workbook (.xlsb), which the program does not read");
  if (!part->ends_with(".xml")) return NotAWorkbook("its main document is " + *part);
  return part;
}

}  // namespace

bool LooksLikeZip(std::span<const uint8_t> bytes) {
  return bytes.size() >= 4 && bytes[0] == 'P' && bytes[1] == 'K' && bytes[2] == 3 && bytes[3] == 4;
}

struct XlsxWorkbook::Impl {
  struct Sheet {
    std::u16string name;
    std::string part;  // empty for a sheet the program added
    std::optional<xls::Grid> cells;
  };

  std::optional<ZipPackage> package;
  bool macro_enabled = false;  // for a new workbook
  std::string workbook_part;
  std::vector<std::u16string> strings;
  std::vector<Sheet> sheets;  // worksheets only; chart and dialog sheets are kept but not offered

  xls::Status load(std::vector<uint8_t> bytes);
  xls::Status load_sheets(const std::vector<Relationship>& rels);
  xls::Status load_strings(const std::vector<Relationship>& rels);
  xls::Result<std::vector<uint8_t>> serialize_onto(const ZipPackage& onto, const std::string& workbook) const;
};

xls::Status XlsxWorkbook::Impl::load(std::vector<uint8_t> bytes) {
  if (!LooksLikeZip(bytes)) return xls::MakeError("The file is not an Excel workbook (.xlsx): it is no ZIP archive");
  auto opened = ZipPackage::Open(std::move(bytes));
  if (!opened) return opened.error();
  package.emplace(std::move(*opened));
  auto part = FindWorkbookPart(*package);
  if (!part) return part.error();
  workbook_part = *part;
  const std::string rels_part = RelationshipsPartOf(workbook_part);
  auto rels_xml = package->ReadPart(rels_part);
  if (!rels_xml) return NotAWorkbook("its workbook has no relationships (" + rels_part + ")");
  auto rels = ReadRelationships(*rels_xml, rels_part);
  if (!rels) return rels.error();
  if (auto loaded = load_strings(*rels); !loaded) return loaded;
  return load_sheets(*rels);
}

xls::Status XlsxWorkbook::Impl::load_strings(const std::vector<Relationship>& rels) {
  const Relationship* rel = FindRelationshipOfType(rels, "sharedStrings");
  if (!rel) return xls::Ok{};
  auto part = ResolveTarget(workbook_part, rel->target);
  if (!part) return part.error();
  auto xml = package->ReadPart(*part);
  if (!xml) return xml.error();
  auto read = ReadSharedStrings(*xml, *part);
  if (!read) return read.error();
  strings = std::move(*read);
  return xls::Ok{};
}

xls::Status XlsxWorkbook::Impl::load_sheets(const std::vector<Relationship>& rels) {
  auto xml = package->ReadPart(workbook_part);
  if (!xml) return NotAWorkbook("its workbook part " + workbook_part + " is missing");
  auto listed = ReadSheetList(*xml, workbook_part);
  if (!listed) return listed.error();
  for (SheetListing& listing : *listed) {
    const Relationship* rel = FindRelationship(rels, listing.relationship_id);
    if (!rel || rel->external)
      return xls::MakeError("The workbook file is damaged: the sheet '" + Utf16ToUtf8(listing.name) + "' has no part");
    if (!IsRelationshipType(rel->type, "worksheet")) continue;
    auto part = ResolveTarget(workbook_part, rel->target);
    if (!part) return part.error();
    if (!package->HasPart(*part))
      return xls::MakeError("The workbook file is damaged: the sheet '" + Utf16ToUtf8(listing.name) +
                            "' names the part " + *part + ", which the archive lacks");
    sheets.push_back({std::move(listing.name), *part, std::nullopt});
  }
  return xls::Ok{};
}

xls::Result<std::vector<uint8_t>> XlsxWorkbook::Impl::serialize_onto(const ZipPackage& onto,
                                                                    const std::string& workbook) const {
  std::map<std::string, std::string> changed;
  std::vector<NewSheet> added;
  for (const Sheet& sheet : sheets) {
    if (!sheet.cells) continue;
    if (sheet.part.empty()) added.push_back({sheet.name, WriteWorksheetPart(*sheet.cells)});
    else changed[sheet.part] = WriteWorksheetPart(*sheet.cells);
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
  auto bytes = xls::ReadWholeFile(path);
  if (!bytes) return bytes.error();
  return Parse(std::move(*bytes));
}

xls::Result<XlsxWorkbook> XlsxWorkbook::Parse(std::vector<uint8_t> bytes) {
  XlsxWorkbook book;
  if (auto loaded = book.m_impl->load(std::move(bytes)); !loaded) return loaded.error();
  return book;
}

size_t XlsxWorkbook::SheetCount() const { return m_impl->sheets.size(); }

const std::u16string& XlsxWorkbook::SheetName(size_t index) const { return m_impl->sheets.at(index).name; }

std::optional<size_t> XlsxWorkbook::FindSheet(std::u16string_view name) const {
  for (size_t i = 0; i < SheetCount(); ++i)
    if (SameSheetName(SheetName(i), name)) return i;
  return std::nullopt;
}

xls::Result<xls::Grid> XlsxWorkbook::ReadSheet(size_t index) const {
  if (index >= SheetCount()) return xls::MakeError("There is no sheet with this number", xls::ErrorKind::NotFound);
  const Impl::Sheet& sheet = m_impl->sheets[index];
  if (sheet.cells) return *sheet.cells;
  auto xml = m_impl->package->ReadPart(sheet.part);
  if (!xml) return xml.error();
  return ReadWorksheetPart(*xml, sheet.part, m_impl->strings);
}

void XlsxWorkbook::ReplaceSheet(size_t index, xls::Grid cells) { m_impl->sheets.at(index).cells = std::move(cells); }

size_t XlsxWorkbook::AddSheet(std::u16string name, xls::Grid cells) {
  m_impl->sheets.push_back({std::move(name), std::string(), std::move(cells)});
  return m_impl->sheets.size() - 1;
}

xls::Result<std::vector<uint8_t>> XlsxWorkbook::Serialize() const {
  if (m_impl->sheets.empty()) return xls::MakeError("A workbook needs at least one sheet");
  if (m_impl->package) return m_impl->serialize_onto(*m_impl->package, m_impl->workbook_part);
  auto skeleton = ZipPackage::Create(NewPackageParts(m_impl->macro_enabled));
  if (!skeleton) return skeleton.error();
  auto fresh = ZipPackage::Open(std::move(*skeleton));
  if (!fresh) return fresh.error();
  return m_impl->serialize_onto(*fresh, "xl/workbook.xml");
}

xls::Status XlsxWorkbook::Save(const std::string& path) const {
  auto bytes = Serialize();
  if (!bytes) return bytes.error();
  return xls::WriteFileAtomically(path, *bytes);
}

}  // namespace xlsx
