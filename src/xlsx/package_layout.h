// How a workbook package hangs together: the relationships of a part, the
// part names they point to, and the sheet list of the workbook part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"

namespace xlsx {

struct Relationship {
  std::string id;
  std::string type;
  std::string target;
  bool external = false;
};

struct SheetListing {
  std::u16string name;
  std::string relationship_id;
  uint32_t sheet_id = 0;
};

// "xl/workbook.xml" → "xl/_rels/workbook.xml.rels"; "" (the package) → "_rels/.rels".
std::string RelationshipsPartOf(const std::string& part);

// The part a relationship of `source_part` points to, as an archive member
// name. A target that leaves the archive's root is an error.
xls::Result<std::string> ResolveTarget(const std::string& source_part, const std::string& target);

// True when `type` is the relationship type of this kind ("worksheet",
// "sharedStrings", "officeDocument", ...), in either dialect of the format.
bool IsRelationshipType(std::string_view type, std::string_view kind);

xls::Result<std::vector<Relationship>> ReadRelationships(std::string_view xml, const std::string& part);
xls::Result<std::vector<SheetListing>> ReadSheetList(std::string_view xml, const std::string& part);

// The part names given their own content type in [Content_Types].xml.
xls::Result<std::vector<std::string>> ReadContentTypeOverrides(std::string_view xml);

}  // namespace xlsx
