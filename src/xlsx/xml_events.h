// The XML parts of a workbook read as a stream of events through expat.
// A part that declares a document type is refused (workbook parts never do,
// and that is where entity expansion would come from), and so is nesting
// deeper than any workbook part needs.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workbook/result.h"

namespace xlsx {

struct XmlName {
  std::string_view uri;     // empty when the name has no namespace
  std::string_view local;
  std::string_view prefix;  // as written in the part, empty for the default namespace
};

struct XmlAttribute {
  XmlName name;
  std::string_view value;
};

// Where an event stands in the part's bytes. An empty element's end event
// has length 0 and stands just after its start tag.
struct XmlSpan {
  size_t offset = 0;
  size_t length = 0;
};

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void Start(const XmlName& /*name*/, const std::vector<XmlAttribute>& /*attributes*/, XmlSpan /*at*/) {}
  virtual void End(const XmlName& /*name*/, XmlSpan /*at*/) {}
  virtual void Text(std::string_view /*text*/) {}
  // A handler that finds the part unusable says why; parsing stops there.
  const std::string& failure() const { return m_failure; }

 protected:
  void Fail(std::string why) {
    if (m_failure.empty()) m_failure = std::move(why);
  }

 private:
  std::string m_failure;
};

// A part parsed as its bytes arrive. Offsets in the events count bytes of
// the part as stored, whatever its encoding.
class XmlStreamParser {
 public:
  // `part` names the part in error texts.
  XmlStreamParser(XmlHandler& handler, std::string part);
  ~XmlStreamParser();
  XmlStreamParser(const XmlStreamParser&) = delete;
  XmlStreamParser& operator=(const XmlStreamParser&) = delete;
  // `last` for the final piece (which may be empty).
  xls::Status Feed(std::string_view bytes, bool last);

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

// The whole part at once.
xls::Status ParseXml(std::string_view bytes, XmlHandler& handler, const std::string& part);

// The value of the attribute with this local name (and, when `uri_set`,
// any non-empty namespace), or nullptr.
const std::string_view* FindAttribute(const std::vector<XmlAttribute>& attributes, std::string_view local,
                                      bool namespaced = false);

}  // namespace xlsx
