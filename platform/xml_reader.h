// Streaming XML reading: every element, in document order, as far as the
// document is well formed.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/step_result.h"

namespace XLoop::platform {

struct XmlElement {
    std::string localName;  // UTF-8, any namespace prefix dropped
    int depth;              // 0 for the root
    // Local names and values in document order, UTF-8 and unescaped;
    // namespace declarations are not attributes.
    std::vector<std::pair<std::string, std::string>> attributes;
};

class XmlElementVisitor {
public:
    virtual void visitElement(const XmlElement& element) = 0;

protected:
    ~XmlElementVisitor() = default;
};

// Parses a document held in memory (any encoding XML allows, with or without
// a byte order mark) and hands each element to the visitor as its start tag
// is read. Stops at a document type declaration, which is never processed,
// or at the first error, after delivering everything before it. Nothing is
// fetched from the network or the disk.
StepResult visitXmlElements(const char* bytes, size_t size, XmlElementVisitor& visitor);

}  // namespace XLoop::platform
