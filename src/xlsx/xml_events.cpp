#include "xlsx/xml_events.h"

#include <expat.h>

#include <limits>
#include <memory>

namespace xlsx {

namespace {

constexpr char kSeparator = '\x01';
constexpr int kMaxDepth = 128;

XmlName SplitName(const XML_Char* triplet) {
  std::string_view whole(triplet);
  const size_t first = whole.find(kSeparator);
  if (first == std::string_view::npos) return {{}, whole, {}};
  const size_t second = whole.find(kSeparator, first + 1);
  XmlName name;
  name.uri = whole.substr(0, first);
  name.local = whole.substr(first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
  if (second != std::string_view::npos) name.prefix = whole.substr(second + 1);
  return name;
}

struct ParseState {
  ParseState(XML_Parser p, XmlHandler& h) : parser(p), handler(h) {}
  XML_Parser parser;
  XmlHandler& handler;
  int depth = 0;
  std::string refusal;
  std::vector<XmlAttribute> attributes;

  XmlSpan span() const {
    return {static_cast<size_t>(XML_GetCurrentByteIndex(parser)), static_cast<size_t>(XML_GetCurrentByteCount(parser))};
  }
  void refuse(std::string why) {
    if (refusal.empty()) refusal = std::move(why);
    XML_StopParser(parser, XML_FALSE);
  }
  void check_handler() {
    if (!handler.failure().empty()) XML_StopParser(parser, XML_FALSE);
  }
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& state = *static_cast<ParseState*>(data);
  if (++state.depth > kMaxDepth) return state.refuse("its elements are nested too deeply");
  state.attributes.clear();
  for (size_t i = 0; attributes[i]; i += 2) state.attributes.push_back({SplitName(attributes[i]), attributes[i + 1]});
  state.handler.Start(SplitName(name), state.attributes, state.span());
  state.check_handler();
}

void OnEnd(void* data, const XML_Char* name) {
  auto& state = *static_cast<ParseState*>(data);
  --state.depth;
  state.handler.End(SplitName(name), state.span());
  state.check_handler();
}

void OnText(void* data, const XML_Char* text, int length) {
  auto& state = *static_cast<ParseState*>(data);
  state.handler.Text(std::string_view(text, static_cast<size_t>(length)));
}

void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  static_cast<ParseState*>(data)->refuse("it declares a document type, which no workbook part has");
}

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

struct XmlStreamParser::State {
  std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree> parser;
  std::unique_ptr<ParseState> state;
  std::string part;
};

XmlStreamParser::XmlStreamParser(XmlHandler& handler, std::string part) : m_state(std::make_unique<State>()) {
  m_state->part = std::move(part);
  // No encoding is forced: expat takes the byte-order mark or the XML
  // declaration, so parts stored as UTF-16 read as well as UTF-8 ones. The
  // events come as UTF-8 either way.
  m_state->parser.reset(XML_ParserCreateNS(nullptr, kSeparator));
  if (!m_state->parser) return;
  XML_Parser parser = m_state->parser.get();
  XML_SetReturnNSTriplet(parser, 1);
  m_state->state = std::make_unique<ParseState>(parser, handler);
  XML_SetUserData(parser, m_state->state.get());
  XML_SetElementHandler(parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser, OnText);
  XML_SetStartDoctypeDeclHandler(parser, OnDoctype);
  XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlStreamParser::~XmlStreamParser() = default;

xls::Status XmlStreamParser::Feed(std::string_view bytes, bool last) {
  const std::string& part = m_state->part;
  if (!m_state->parser) return xls::MakeError("Out of memory while reading " + part);
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    return xls::MakeError("The part " + part + " is too large");
  XML_Parser parser = m_state->parser.get();
  const ParseState& state = *m_state->state;
  const XML_Status status = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), last ? XML_TRUE : XML_FALSE);
  if (!state.refusal.empty()) return xls::MakeError("The part " + part + " cannot be read: " + state.refusal);
  if (!state.handler.failure().empty())
    return xls::MakeError("The part " + part + " cannot be read: " + state.handler.failure());
  if (status != XML_STATUS_OK) {
    return xls::MakeError("The part " + part + " is not well-formed XML (line " +
                          std::to_string(XML_GetCurrentLineNumber(parser)) + ": " +
                          XML_ErrorString(XML_GetErrorCode(parser)) + ")");
  }
  return xls::Ok{};
}

xls::Status ParseXml(std::string_view bytes, XmlHandler& handler, const std::string& part) {
  XmlStreamParser parser(handler, part);
  return parser.Feed(bytes, true);
}

const std::string_view* FindAttribute(const std::vector<XmlAttribute>& attributes, std::string_view local,
                                      bool namespaced) {
  for (const XmlAttribute& attribute : attributes)
    if (attribute.name.local == local && attribute.name.uri.empty() != namespaced) return &attribute.value;
  return nullptr;
}

}  // namespace xlsx
