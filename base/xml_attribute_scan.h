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

// True when the attribute comparisons of the document's start tags stay
// within those of one element of maxAttributes attributes: the sum over all
// elements of the square of their attribute counts is at most maxAttributes
// squared. Steps over comments, CDATA sections, processing instructions,
// declarations and quoted values. Reads UTF-8 and the other encodings that
// spell markup in ASCII bytes, UTF-16 and UTF-32; refuses what it cannot read
// that way (EBCDIC, and the encodings that shift in and out of ASCII).
bool attributeWorkWithin(const char* bytes, size_t size, size_t maxAttributes);

}  // namespace XLoop
