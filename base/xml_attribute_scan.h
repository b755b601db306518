// A first look at a document's start tags, before an XML library parses it.
// Both libraries compare every attribute of an element with every other one,
// so one tag of a hundred thousand attributes takes seconds; counting them
// first takes one pass.
#pragma once

#include <cstddef>

namespace XLoop {

// The most attributes the module's readers take on one element: past it the
// comparisons outgrow a fraction of a second.
constexpr size_t kMaxAttributesPerElement = 10000;

enum class AttributeScan {
    Within,
    TooManyAttributes,
    // The document's encoding does not spell markup in a way the scan
    // reads, so it cannot tell what the library would parse.
    UnreadableEncoding,
};

// Within when the attribute comparisons of the document's start tags stay
// within those of one element of maxAttributes attributes: the sum over all
// elements of the square of their attribute counts is at most maxAttributes
// squared. Steps over comments, CDATA sections, processing instructions,
// declarations and quoted values. Reads the document in the encoding the
// libraries will read it in: UTF-8 and the other encodings that spell
// markup in ASCII bytes, UTF-16 and UTF-32 (with or without byte order
// mark, and UTF-16 declared after an ASCII declaration); refuses any other.
AttributeScan scanAttributeWork(const char* bytes, size_t size, size_t maxAttributes);

// Why a document was refused, for a log line; "" when it was not.
const char* attributeScanProblem(AttributeScan scan);

}  // namespace XLoop
