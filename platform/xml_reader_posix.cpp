// libxml2's SAX push parser: unlike its pull reader it hands over every
// element read before an error, and it tells of a DOCTYPE before parsing it.
#include "platform/xml_reader.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <cstring>

namespace XLoop::platform {
namespace {

struct ParseState {
    xmlParserCtxtPtr context = nullptr;
    XmlElementVisitor* visitor = nullptr;
    // One element reused from tag to tag, so its strings keep their room.
    XmlElement element{};
    int depth = 0;
    bool sawDoctype = false;
    int doctypeLine = 0;
};

// The parser calls back with its input just past the markup it read, and
// counts lines as it goes: count back to the markup's "<", which no tag or
// declaration holds within, since values carry it only escaped.
int markupStartLine(xmlParserCtxtPtr context) {
    const xmlParserInputPtr input = context->input;
    int line = input->line;
    for (const xmlChar* at = input->cur; at > input->base;) {
        --at;
        if (*at == '<') return line;
        if (*at == '\n') --line;
    }
    return input->line;
}

// Without entity substitution (never asked for: it is what expands a
// document's own entities) the parser hands over every "&" of a value as
// "&#38;", ready for a second pass that we do not make. No other "&" can
// occur: with document types refused, only the predefined entities and
// character references exist, and both are already replaced.
void assignAttributeValue(std::string& value, const xmlChar* begin, const xmlChar* end) {
    static const char escaped[] = "&#38;";
    constexpr size_t escapedSize = sizeof escaped - 1;
    const char* at = reinterpret_cast<const char*>(begin);
    const char* stop = reinterpret_cast<const char*>(end);
    value.clear();
    // One pass: a value of a million "&" must not cost a million copies.
    while (at < stop) {
        const char* amp = static_cast<const char*>(memchr(at, '&', static_cast<size_t>(stop - at)));
        const char* plainEnd = amp != nullptr ? amp : stop;
        value.append(at, plainEnd);
        at = plainEnd;
        if (amp == nullptr) break;
        const bool isEscape = static_cast<size_t>(stop - at) >= escapedSize && memcmp(at, escaped, escapedSize) == 0;
        value += '&';
        at += isEscape ? escapedSize : 1;
    }
}

void startElement(void* user, const xmlChar* localName, const xmlChar*, const xmlChar*, int, const xmlChar**,
                  int attributeCount, int, const xmlChar** attributes) {
    auto* state = static_cast<ParseState*>(user);
    XmlElement& element = state->element;
    element.localName = reinterpret_cast<const char*>(localName);
    element.depth = state->depth++;
    element.line = 0;
    element.attributes.clear();
    if (!state->visitor->wantsElement(element)) return;
    element.line = markupStartLine(state->context);
    element.attributes.resize(static_cast<size_t>(attributeCount));
    // Five pointers per attribute: local name, prefix, URI, value start, value end.
    for (int i = 0; i < attributeCount; ++i) {
        const xmlChar** attribute = attributes + 5 * i;
        auto& [name, value] = element.attributes[static_cast<size_t>(i)];
        name.assign(reinterpret_cast<const char*>(attribute[0]));
        assignAttributeValue(value, attribute[3], attribute[4]);
    }
    state->visitor->visitElement(element);
}

void endElement(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
    --static_cast<ParseState*>(user)->depth;
}

// Called on "<!DOCTYPE" before any of the declarations inside it are read.
void refuseDoctype(void* user, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* state = static_cast<ParseState*>(user);
    state->sawDoctype = true;
    state->doctypeLine = markupStartLine(state->context);
    xmlStopParser(state->context);
}

void ignoreError(void*, xmlErrorPtr) {}

xmlSAXHandler elementHandler() {
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = startElement;
    handler.endElementNs = endElement;
    handler.internalSubset = refuseDoctype;
    handler.serror = ignoreError;
    return handler;
}

XmlStop stopOf(const ParseState& state, int error) {
    if (state.sawDoctype) return {state.doctypeLine, true};
    const xmlError* last = error != XML_ERR_OK ? xmlCtxtGetLastError(state.context) : nullptr;
    if (last != nullptr && last->line > 0) return {last->line, false};
    return {state.context->input != nullptr ? state.context->input->line : 0, false};
}

}  // namespace

StepResult visitXmlElements(const char* bytes, size_t size, XmlElementVisitor& visitor, XmlStop* stop) {
    xmlInitParser();
    xmlSAXHandler handler = elementHandler();
    ParseState state;
    state.visitor = &visitor;
    // The first bytes let the parser detect the encoding.
    const int headSize = static_cast<int>(std::min<size_t>(size, 4));
    state.context = xmlCreatePushParserCtxt(&handler, &state, bytes, headSize, nullptr);
    if (state.context == nullptr) return StepResult::failure("create parser", 0);
    xmlCtxtUseOptions(state.context, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);

    // In pieces: libxml2 refuses to hold more than 10 MB of unparsed input
    // at once, and the documents read here may be larger.
    constexpr size_t kChunkBytes = 1024 * 1024;
    int error = 0;
    size_t offset = static_cast<size_t>(headSize);
    do {
        const int chunk = static_cast<int>(std::min(size - offset, kChunkBytes));
        offset += static_cast<size_t>(chunk);
        error = xmlParseChunk(state.context, bytes + offset - chunk, chunk, offset == size);
    } while (error == XML_ERR_OK && !state.sawDoctype && offset < size);
    if (error == XML_ERR_OK && !state.context->wellFormed) error = state.context->errNo;
    if (stop != nullptr) *stop = stopOf(state, error);
    xmlFreeParserCtxt(state.context);

    if (state.sawDoctype) return StepResult::failure("document type declaration", 0);
    return error == XML_ERR_OK ? StepResult::success() : StepResult::failure("parse", error);
}

}  // namespace XLoop::platform
