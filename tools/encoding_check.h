// Where a document read as UTF-8 holds a byte that UTF-8 does not allow: the
// usual fault of a file saved in another encoding without saying so.
#pragma once

#include <optional>
#include <string>

namespace xloop_tool {

struct EncodingFault {
    int line;
    int column;  // in characters, from 1
    unsigned char byte;
    bool declared;  // the document's declaration names UTF-8
};

// The first such byte of a document the XML libraries read as UTF-8 (no byte
// order mark or declaration of another encoding); none in any other.
std::optional<EncodingFault> firstNonUtf8Byte(const std::string& bytes);

}  // namespace xloop_tool
