// Streaming XML reading: every element, in document order, as far as the
// document is well formed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/step_result.h"

namespace XLoop::platform {

// Handed to the visitor for the time of one call: its name points into the
// parser's own text, and a copy must take the name as a string.
struct XmlElement {
    std::string_view localName;  // UTF-8, any namespace prefix dropped
    int depth;                   // 0 for the root
    // Local names and values in document order, UTF-8 and unescaped;
    // namespace declarations are not attributes.
    std::vector<std::pair<std::string, std::string>> attributes;
    int line = 0;  // of the start tag's "<", from 1
};

class XmlElementVisitor {
public:
    // Asked first of every element, with only its name and depth filled in:
    // whether to read it further. Only the elements it wants get their line
    // and attributes read and reach visitElement, so a visitor that needs few
    // elements spares the copies of every other element's attributes.
    virtual bool wantsElement(const XmlElement&) { return true; }
    virtual void visitElement(const XmlElement& element) = 0;

protected:
    ~XmlElementVisitor() = default;
};

// Where the reading of a document stopped.
struct XmlStop {
    int line = 0;               // of the fault, or of the document's end
    bool documentType = false;  // a document type declaration stopped it
};

// Parses a document held in memory (any encoding XML allows, with or without
// a byte order mark) and hands each element to the visitor as its start tag
// is read. Stops at a document type declaration, which is never processed,
// or at the first error, after delivering everything before it, and tells
// where in *stop when asked. Nothing is fetched from the network or the disk.
StepResult visitXmlElements(const char* bytes, size_t size, XmlElementVisitor& visitor, XmlStop* stop = nullptr);

}  // namespace XLoop::platform
