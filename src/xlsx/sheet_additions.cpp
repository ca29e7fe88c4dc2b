#include "xlsx/sheet_additions.h"

#include <algorithm>
#include <set>

#include "xlsx/app_properties.h"
#include "xlsx/package_layout.h"
#include "xlsx/part_encoding.h"
#include "xlsx/xml_splice.h"
#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

constexpr char kContentTypesPart[] = "[Content_Types].xml";
constexpr char kAppPropertiesPart[] = "docProps/app.xml";
constexpr char kWorksheetType[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr char kRelationshipNamespace[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr char kWorksheetContentType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

std::string Qualified(std::string_view prefix, std::string_view local) {
  return prefix.empty() ? std::string(local) : std::string(prefix) + ":" + std::string(local);
}

std::string Folder(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// What the package already uses, so that new names collide with nothing.
struct TakenNames {
  std::set<std::string> relationship_ids;
  std::set<std::string> parts;  // lower case, without the leading '/'
  uint32_t largest_sheet_id = 0;
};

// The parts that list sheets, as UTF-8 text to edit and to write back in
// their own encodings.
struct ListingParts {
  EditablePart workbook, relationships, content_types;
};

xls::Result<EditablePart> ReadEditable(const ZipPackage& package, const std::string& name) {
  auto stored = package.ReadPart(name);
  if (!stored) return stored.error();
  return EditablePart::Decode(*stored, name);
}

xls::Result<ListingParts> ReadListingParts(const ZipPackage& package, const std::string& workbook_part) {
  auto workbook = ReadEditable(package, workbook_part);
  if (!workbook) return workbook.error();
  auto relationships = ReadEditable(package, RelationshipsPartOf(workbook_part));
  if (!relationships) return relationships.error();
  auto content_types = ReadEditable(package, kContentTypesPart);
  if (!content_types) return content_types.error();
  return ListingParts{std::move(*workbook), std::move(*relationships), std::move(*content_types)};
}

xls::Result<TakenNames> FindTakenNames(const ListingParts& listing, const std::string& workbook_part) {
  TakenNames taken;
  auto rels = ReadRelationships(listing.relationships.text(), RelationshipsPartOf(workbook_part));
  if (!rels) return rels.error();
  for (const Relationship& rel : *rels) {
    taken.relationship_ids.insert(rel.id);
    if (auto part = ResolveTarget(workbook_part, rel.target)) taken.parts.insert(Lower(*part));
  }
  auto sheets = ReadSheetList(listing.workbook.text(), workbook_part);
  if (!sheets) return sheets.error();
  for (const SheetListing& sheet : *sheets) taken.largest_sheet_id = std::max(taken.largest_sheet_id, sheet.sheet_id);
  auto overrides = ReadContentTypeOverrides(listing.content_types.text());
  if (!overrides) return overrides.error();
  for (const std::string& part : *overrides) taken.parts.insert(Lower(part.starts_with("/") ? part.substr(1) : part));
  return taken;
}

std::string FreeRelationshipId(TakenNames& taken) {
  for (size_t n = taken.relationship_ids.size() + 1;; ++n) {
    std::string id = "rId" + std::to_string(n);
    if (taken.relationship_ids.insert(id).second) return id;
  }
}

std::string FreeSheetPart(const ZipPackage& package, const std::string& folder, TakenNames& taken) {
  for (size_t n = 1;; ++n) {
    std::string part = folder + "worksheets/sheet" + std::to_string(n) + ".xml";
    if (package.HasPart(part) || !taken.parts.insert(Lower(part)).second) continue;
    return part;
  }
}

// The new entries of each listing part, written with that part's prefixes.
struct Additions {
  std::vector<std::tuple<std::string, std::string, uint32_t>> sheets;  // escaped name, relationship id, sheet id
  std::vector<std::pair<std::string, std::string>> relationships;      // id, target
  std::vector<std::string> overrides;                                   // part names
};

xls::Status ApplyAdditions(const ListingParts& listing, const std::string& workbook_part, const Additions& additions,
                           std::map<std::string, std::string>& changed) {
  auto workbook = AppendToElement(listing.workbook.text(), "sheets", [&](std::string_view prefix) {
    std::string xml;
    for (const auto& [name, id, sheet_id] : additions.sheets)
      xml += "<" + Qualified(prefix, "sheet") + " xmlns:r=\"" + kRelationshipNamespace + "\" name=\"" + name +
             "\" sheetId=\"" + std::to_string(sheet_id) + "\" r:id=\"" + id + "\"/>";
    return xml;
  }, workbook_part);
  if (!workbook) return workbook.error();
  const std::string rels_part = RelationshipsPartOf(workbook_part);
  auto rels = AppendToElement(listing.relationships.text(), "Relationships", [&](std::string_view prefix) {
    std::string xml;
    for (const auto& [id, target] : additions.relationships)
      xml += "<" + Qualified(prefix, "Relationship") + " Id=\"" + id + "\" Type=\"" + kWorksheetType +
             "\" Target=\"" + target + "\"/>";
    return xml;
  }, rels_part);
  if (!rels) return rels.error();
  auto types = AppendToElement(listing.content_types.text(), "Types", [&](std::string_view prefix) {
    std::string xml;
    for (const std::string& part : additions.overrides)
      xml += "<" + Qualified(prefix, "Override") + " PartName=\"/" + part + "\" ContentType=\"" +
             kWorksheetContentType + "\"/>";
    return xml;
  }, kContentTypesPart);
  if (!types) return types.error();
  changed[workbook_part] = listing.workbook.Encode(*workbook);
  changed[rels_part] = listing.relationships.Encode(*rels);
  changed[kContentTypesPart] = listing.content_types.Encode(*types);
  return xls::Ok{};
}

}  // namespace

xls::Status AddSheetParts(const ZipPackage& package, const std::string& workbook_part,
                          const std::vector<NewSheet>& sheets, std::map<std::string, std::string>& changed) {
  auto listing = ReadListingParts(package, workbook_part);
  if (!listing) return listing.error();
  auto taken = FindTakenNames(*listing, workbook_part);
  if (!taken) return taken.error();
  const std::string folder = Folder(workbook_part);
  Additions additions;
  std::vector<std::u16string> names;
  for (const NewSheet& sheet : sheets) {
    const std::string part = FreeSheetPart(package, folder, *taken);
    const std::string id = FreeRelationshipId(*taken);
    additions.sheets.emplace_back(EscapeXml(sheet.name), id, ++taken->largest_sheet_id);
    additions.relationships.emplace_back(id, part.substr(folder.size()));
    additions.overrides.push_back(part);
    changed[part] = sheet.part_xml;
    names.push_back(sheet.name);
  }
  if (auto applied = ApplyAdditions(*listing, workbook_part, additions, changed); !applied) return applied;
  if (!package.HasPart(kAppPropertiesPart)) return xls::Ok{};
  auto app = ReadEditable(package, kAppPropertiesPart);
  if (!app) return app.error();
  auto updated = AddSheetTitles(app->text(), names);
  if (!updated) return updated.error();
  changed[kAppPropertiesPart] = app->Encode(*updated);
  return xls::Ok{};
}

}  // namespace xlsx
