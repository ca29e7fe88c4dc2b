#include "xlsx/package_file.h"

#include <algorithm>
#include <cctype>

#include "xlsx/cell_parts.h"
#include "xlsx/package_layout.h"
#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

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
  return xls::MakeError("The file is a ZIP archive but not an Excel workbook (.xlsx): " + why, xls::ErrorKind::NotAWorkbook);
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

// The sheet as the list names it: a worksheet with its part, another kind
// of sheet, or one that cannot be read and why.
ListedSheet Describe(SheetListing listing, const std::vector<Relationship>& rels, const ZipPackage& package,
                     const std::string& workbook_part) {
  ListedSheet sheet;
  sheet.name = std::move(listing.name);
  const std::string quoted = "'" + Utf16ToUtf8(sheet.name) + "'";
  const Relationship* rel = FindRelationship(rels, listing.relationship_id);
  if (!rel || rel->external) {
    sheet.worksheet = true;  // unknown kind: offered, so that reading it says what is wrong
    sheet.unusable = "The workbook file is damaged: the sheet " + quoted + " has no part";
    return sheet;
  }
  if (!IsRelationshipType(rel->type, "worksheet")) return sheet;
  sheet.worksheet = true;
  auto part = ResolveTarget(workbook_part, rel->target);
  if (!part) {
    sheet.unusable = part.error().text;
  } else if (!package.HasPart(*part)) {
    sheet.unusable = "The workbook file is damaged: the sheet " + quoted + " names the part " + *part +
                     ", which the archive lacks";
  } else {
    sheet.part = *part;
  }
  return sheet;
}

// The one package read last from a file, with the identity that file had.
struct SharedPackage {
  std::mutex mutex;
  std::string path;
  xls::FileIdentity identity;
  std::shared_ptr<const PackageFile> file;
};

SharedPackage& LastPackage() {
  static SharedPackage shared;
  return shared;
}

}  // namespace

xls::Status PackageFile::load() {
  auto part = FindWorkbookPart(m_package);
  if (!part) return part.error();
  m_workbook_part = *part;
  const std::string rels_part = RelationshipsPartOf(m_workbook_part);
  m_structure_parts = {"[Content_Types].xml", "_rels/.rels", "docProps/app.xml", m_workbook_part, rels_part};
  auto rels_xml = m_package.ReadPart(rels_part);
  if (!rels_xml) return NotAWorkbook("its workbook has no relationships (" + rels_part + ")");
  auto rels = ReadRelationships(*rels_xml, rels_part);
  if (!rels) return rels.error();
  if (auto strings = load_strings(*rels); !strings) return strings;
  return load_sheets(*rels);
}

xls::Status PackageFile::load_strings(const std::vector<Relationship>& rels) {
  const Relationship* rel = FindRelationshipOfType(rels, "sharedStrings");
  if (!rel) return xls::Ok{};
  auto part = ResolveTarget(m_workbook_part, rel->target);
  if (!part) return part.error();
  m_structure_parts.push_back(*part);
  auto read = ReadSharedStrings(m_package, *part);
  // Without the part, only the sheets that use its strings are unreadable.
  if (!read && read.error().kind == xls::ErrorKind::NotFound) {
    m_strings_present = false;
    return xls::Ok{};
  }
  if (!read) return read.error();
  m_strings = std::move(*read);
  return xls::Ok{};
}

xls::Status PackageFile::load_sheets(const std::vector<Relationship>& rels) {
  auto xml = m_package.ReadPart(m_workbook_part);
  if (!xml) return NotAWorkbook("its workbook part " + m_workbook_part + " is missing");
  auto listed = ReadSheetList(*xml, m_workbook_part);
  if (!listed) return listed.error();
  for (SheetListing& listing : *listed) m_sheets.push_back(Describe(std::move(listing), rels, m_package, m_workbook_part));
  return xls::Ok{};
}

xls::Result<std::shared_ptr<const PackageFile>> PackageFile::Parse(std::vector<uint8_t> bytes) {
  auto opened = ZipPackage::Open(std::move(bytes));
  if (!opened) return opened.error();
  auto file = std::make_shared<PackageFile>(std::move(*opened));
  if (auto loaded = file->load(); !loaded) return loaded.error();
  return std::shared_ptr<const PackageFile>(std::move(file));
}

xls::Result<std::shared_ptr<const PackageFile>> PackageFile::ReadShared(const std::string& path) {
  auto source = xls::FileSource::Open(path);
  if (!source) return source.error();
  const xls::FileIdentity identity = (*source)->identity();
  SharedPackage& last = LastPackage();
  {
    std::lock_guard lock(last.mutex);
    if (last.file && last.path == path && last.identity == identity) return last.file;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>((*source)->size()));
  if (auto read = (*source)->read(0, bytes); !read) return read.error();
  if (auto unchanged = (*source)->check_unchanged(); !unchanged) return unchanged.error();
  auto parsed = Parse(std::move(bytes));
  if (!parsed) return parsed.error();
  auto file = std::const_pointer_cast<PackageFile>(*parsed);
  file->m_path = path;
  file->m_identity = identity;
  std::lock_guard lock(last.mutex);
  last.path = path;
  last.identity = identity;
  last.file = file;
  return std::shared_ptr<const PackageFile>(file);
}

std::string PackageFile::SharedUseOf(size_t index) const {
  const auto same = [](const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y)); });
  };
  const ListedSheet& sheet = m_sheets.at(index);
  const std::string quoted = "'" + Utf16ToUtf8(sheet.name) + "'";
  for (size_t i = 0; i < m_sheets.size(); ++i)
    if (i != index && same(m_sheets[i].part, sheet.part))
      return "The sheet " + quoted + " shares its part with the sheet '" + Utf16ToUtf8(m_sheets[i].name) +
             "'; it cannot be rewritten without changing that one";
  for (const std::string& part : m_structure_parts)
    if (same(part, sheet.part))
      return "The sheet " + quoted + " is stored in the part " + part + ", which the workbook needs for more than "
             "this sheet; it cannot be rewritten";
  return {};
}

xls::Result<std::shared_ptr<const xls::Grid>> PackageFile::Cells(size_t index) const {
  const ListedSheet& sheet = m_sheets.at(index);
  if (!sheet.unusable.empty()) return xls::MakeError(sheet.unusable);
  if (!sheet.worksheet) return xls::MakeError("The sheet '" + Utf16ToUtf8(sheet.name) + "' is not a worksheet");
  std::lock_guard lock(m_mutex);
  if (auto found = m_cells.find(index); found != m_cells.end()) return found->second;
  auto cells = ReadWorksheetPart(m_package, sheet.part, m_strings, m_strings_present);
  if (!cells) return cells.error();
  auto shared = std::make_shared<const xls::Grid>(std::move(*cells));
  m_cells.emplace(index, shared);
  return shared;
}

xls::Status PackageFile::CheckUnchanged() const {
  if (!m_identity) return xls::Ok{};
  auto now = xls::IdentityAt(m_path);
  if (now && *now == *m_identity) return xls::Ok{};
  return xls::MakeError("The workbook " + m_path +
                        " was changed by another program after it was read; it is not overwritten, so that "
                        "change is kept. Read the workbook again");
}

}  // namespace xlsx
