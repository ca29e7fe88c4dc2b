#include "xlsx/app_properties.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "xlsx/xml_events.h"
#include "xlsx/xml_text.h"

namespace xlsx {

namespace {

constexpr char kPart[] = "docProps/app.xml";

struct HeadingGroup {
  std::string name;
  uint32_t count = 0;
  size_t count_begin = 0, count_end = 0;  // the count's text between <vt:i4> and </vt:i4>
};

class PropertiesReader : public XmlHandler {
 public:
  std::vector<HeadingGroup> groups;
  std::string vector_prefix;
  XmlSpan titles_vector;          // the start tag of the vector of titles
  std::vector<size_t> title_ends;  // just after each title's end tag
  bool has_titles = false;

  void Start(const XmlName& name, const std::vector<XmlAttribute>&, XmlSpan at) override {
    if (name.local == "HeadingPairs") m_section = Section::Headings;
    if (name.local == "TitlesOfParts") m_section = Section::Titles;
    if (m_section == Section::Titles && name.local == "vector" && !has_titles) {
      has_titles = true;
      titles_vector = at;
      vector_prefix = std::string(name.prefix);
    }
    if (m_section == Section::Headings && name.local == "lpstr") groups.emplace_back();
    if (m_section == Section::Headings && name.local == "i4" && !groups.empty())
      groups.back().count_begin = at.offset + at.length;
    m_text.clear();
  }
  void End(const XmlName& name, XmlSpan at) override {
    if (name.local == "HeadingPairs" || name.local == "TitlesOfParts") m_section = Section::None;
    if (m_section == Section::Titles && name.local == "lpstr") title_ends.push_back(at.offset + at.length);
    if (m_section != Section::Headings || groups.empty()) return;
    if (name.local == "lpstr") groups.back().name = m_text;
    if (name.local == "i4") {
      groups.back().count_end = at.offset;
      std::from_chars(m_text.data(), m_text.data() + m_text.size(), groups.back().count);
    }
  }
  void Text(std::string_view text) override { m_text += text; }

 private:
  enum class Section { None, Headings, Titles };
  Section m_section = Section::None;
  std::string m_text;
};

struct Edit {
  size_t begin, end;
  std::string text;
};

const HeadingGroup* WorksheetGroup(const std::vector<HeadingGroup>& groups) {
  for (const HeadingGroup& group : groups)
    if (group.name == "Worksheets" || group.name == "工作表") return &group;
  return nullptr;
}

// The `size="N"` attribute inside a start tag: where its number stands.
std::optional<std::pair<size_t, size_t>> SizeNumber(std::string_view tag) {
  for (size_t at = tag.find("size"); at != std::string_view::npos; at = tag.find("size", at + 1)) {
    if (at == 0 || !std::isspace(static_cast<unsigned char>(tag[at - 1]))) continue;
    size_t i = at + 4;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
    const size_t close = tag.find(tag[i], i + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::make_pair(i + 1, close);
  }
  return std::nullopt;
}

}  // namespace

xls::Result<std::string> AddSheetTitles(std::string_view xml, const std::vector<std::u16string>& names) {
  PropertiesReader reader;
  if (auto parsed = ParseXml(xml, reader, kPart); !parsed) return parsed.error();
  const HeadingGroup* group = WorksheetGroup(reader.groups);
  if (!group || !reader.has_titles || group->count_end <= group->count_begin) return std::string(xml);
  size_t index = 0;
  for (const HeadingGroup* g = reader.groups.data(); g != group; ++g) index += g->count;
  index += group->count;
  if (index > reader.title_ends.size()) return std::string(xml);
  const std::string_view tag = xml.substr(reader.titles_vector.offset, reader.titles_vector.length);
  const auto size = SizeNumber(tag);
  if (!size) return std::string(xml);

  const std::string lpstr = reader.vector_prefix.empty() ? "lpstr" : reader.vector_prefix + ":lpstr";
  std::string titles;
  for (const std::u16string& name : names) titles += "<" + lpstr + ">" + EscapeXml(name) + "</" + lpstr + ">";
  std::vector<Edit> edits;
  const size_t insert_at = index == 0 ? reader.titles_vector.offset + reader.titles_vector.length : reader.title_ends[index - 1];
  edits.push_back({insert_at, insert_at, titles});
  edits.push_back({reader.titles_vector.offset + size->first, reader.titles_vector.offset + size->second,
                   std::to_string(reader.title_ends.size() + names.size())});
  edits.push_back({group->count_begin, group->count_end, std::to_string(group->count + names.size())});
  std::sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.begin > b.begin; });
  std::string result(xml);
  for (const Edit& edit : edits) result.replace(edit.begin, edit.end - edit.begin, edit.text);
  return result;
}

}  // namespace xlsx
