#include "xlsx/xml_splice.h"

#include "xlsx/xml_events.h"

namespace xlsx {

namespace {

class ElementFinder : public XmlHandler {
 public:
  explicit ElementFinder(std::string_view local) : m_local(local) {}

  void Start(const XmlName& name, const std::vector<XmlAttribute>&, XmlSpan at) override {
    ++m_depth;
    if (found || name.local != m_local) return;
    found = true;
    prefix = std::string(name.prefix);
    start = at;
    m_element_depth = m_depth;
  }
  void End(const XmlName&, XmlSpan at) override {
    if (found && !ended && m_depth == m_element_depth) {
      ended = true;
      end = at;
    }
    --m_depth;
  }

  bool found = false, ended = false;
  std::string prefix;
  XmlSpan start, end;

 private:
  std::string_view m_local;
  int m_depth = 0;
  int m_element_depth = -1;
};

}  // namespace

xls::Result<std::string> AppendToElement(std::string_view xml, std::string_view local,
                                         const std::function<std::string(std::string_view prefix)>& make,
                                         const std::string& part) {
  ElementFinder finder(local);
  if (auto parsed = ParseXml(xml, finder, part); !parsed) return parsed.error();
  if (!finder.found || !finder.ended)
    return xls::MakeError("The part " + part + " has no element " + std::string(local));
  const std::string content = make(finder.prefix);
  std::string result(xml);
  if (finder.end.length > 0) {
    result.insert(finder.end.offset, content);
    return result;
  }
  // An empty element written as <name/>: it gets its content and an end tag.
  const size_t tag_end = finder.start.offset + finder.start.length;
  if (finder.start.length < 2 || xml.substr(tag_end - 2, 2) != "/>")
    return xls::MakeError("The part " + part + " cannot be changed: its element " + std::string(local) + " is unusual");
  const std::string qname = finder.prefix.empty() ? std::string(local) : finder.prefix + ":" + std::string(local);
  result.replace(tag_end - 2, 2, ">" + content + "</" + qname + ">");
  return result;
}

}  // namespace xlsx
