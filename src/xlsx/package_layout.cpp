#include "xlsx/package_layout.h"

#include <charconv>

#include "xlsx/xml_events.h"
#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

std::string Folder(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

class RelationshipReader : public XmlHandler {
 public:
  std::vector<Relationship> found;
  void Start(const XmlName& name, const std::vector<XmlAttribute>& attributes, XmlSpan) override {
    if (name.local != "Relationship") return;
    Relationship rel;
    if (auto* id = FindAttribute(attributes, "Id")) rel.id = *id;
    if (auto* type = FindAttribute(attributes, "Type")) rel.type = *type;
    if (auto* target = FindAttribute(attributes, "Target")) rel.target = *target;
    if (auto* mode = FindAttribute(attributes, "TargetMode")) rel.external = *mode == "External";
    if (rel.id.empty() || rel.target.empty()) return Fail("a relationship lacks its Id or Target");
    found.push_back(std::move(rel));
  }
};

class SheetListReader : public XmlHandler {
 public:
  std::vector<SheetListing> found;
  void Start(const XmlName& name, const std::vector<XmlAttribute>& attributes, XmlSpan) override {
    if (name.local == "sheets") in_sheets = true;
    if (!in_sheets || name.local != "sheet") return;
    SheetListing sheet;
    const std::string_view* sheet_name = FindAttribute(attributes, "name");
    const std::string_view* id = FindAttribute(attributes, "id", true);
    if (!sheet_name || !id) return Fail("a sheet lacks its name or relationship");
    sheet.name = Utf8ToUtf16(*sheet_name);
    sheet.relationship_id = *id;
    if (auto* number = FindAttribute(attributes, "sheetId"))
      std::from_chars(number->data(), number->data() + number->size(), sheet.sheet_id);
    found.push_back(std::move(sheet));
  }
  void End(const XmlName& name, XmlSpan) override {
    if (name.local == "sheets") in_sheets = false;
  }

 private:
  bool in_sheets = false;
};

class OverrideReader : public XmlHandler {
 public:
  std::vector<std::string> found;
  void Start(const XmlName& name, const std::vector<XmlAttribute>& attributes, XmlSpan) override {
    if (name.local != "Override") return;
    if (auto* part = FindAttribute(attributes, "PartName")) found.emplace_back(*part);
  }
};

}  // namespace

std::string RelationshipsPartOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
  return folder + "_rels/" + file + ".rels";
}

xls::Result<std::string> ResolveTarget(const std::string& source_part, const std::string& target) {
  const bool absolute = !target.empty() && target[0] == '/';
  const std::string joined = absolute ? target.substr(1) : Folder(source_part) + target;
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t end = joined.find('/', start);
    if (end == std::string::npos) end = joined.size();
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (segments.empty()) return xls::MakeError("The part " + target + " lies outside the workbook archive");
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  if (segments.empty()) return xls::MakeError("A relationship of " + source_part + " names no part");
  std::string resolved;
  for (const std::string& segment : segments) resolved += (resolved.empty() ? "" : "/") + segment;
  return resolved;
}

bool IsRelationshipType(std::string_view type, std::string_view kind) {
  return type.size() > kind.size() && type.ends_with(kind) && type[type.size() - kind.size() - 1] == '/';
}

xls::Result<std::vector<Relationship>> ReadRelationships(std::string_view xml, const std::string& part) {
  RelationshipReader reader;
  if (auto parsed = ParseXml(xml, reader, part); !parsed) return parsed.error();
  return std::move(reader.found);
}

xls::Result<std::vector<SheetListing>> ReadSheetList(std::string_view xml, const std::string& part) {
  SheetListReader reader;
  if (auto parsed = ParseXml(xml, reader, part); !parsed) return parsed.error();
  return std::move(reader.found);
}

xls::Result<std::vector<std::string>> ReadContentTypeOverrides(std::string_view xml) {
  OverrideReader reader;
  if (auto parsed = ParseXml(xml, reader, "[Content_Types].xml"); !parsed) return parsed.error();
  return std::move(reader.found);
}

}  // namespace xlsx
