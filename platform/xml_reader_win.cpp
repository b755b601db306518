// XmlLite's pull reader over a memory stream.
#include "platform/xml_reader.h"

#include <windows.h>

#include <shlwapi.h>
#include <xmllite.h>

#include <climits>
#include <cwchar>

#include "platform/wide_text_win.h"

namespace XLoop::platform {
namespace {

template <typename Interface>
class Held {
public:
    ~Held() {
        if (pointer != nullptr) pointer->Release();
    }
    Interface* operator->() const { return pointer; }
    Interface* pointer = nullptr;
};

bool isNamespaceDeclaration(IXmlReader* reader, const wchar_t* localName) {
    const wchar_t* prefix = nullptr;
    if (FAILED(reader->GetPrefix(&prefix, nullptr)) || prefix == nullptr) return false;
    return wcscmp(prefix, L"xmlns") == 0 || (prefix[0] == 0 && wcscmp(localName, L"xmlns") == 0);
}

int currentLine(IXmlReader* reader) {
    UINT line = 0;
    return SUCCEEDED(reader->GetLineNumber(&line)) ? static_cast<int>(line) : 0;
}

void readAttributes(IXmlReader* reader, XmlElement& element) {
    // The whole input is in memory, so no attribute is ever pending.
    for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK; more = reader->MoveToNextAttribute()) {
        const wchar_t* attributeName = nullptr;
        if (FAILED(reader->GetLocalName(&attributeName, nullptr)) || attributeName == nullptr) continue;
        if (isNamespaceDeclaration(reader, attributeName)) continue;
        // The attribute stays when its value cannot be read: it counts as empty.
        const wchar_t* value = nullptr;
        if (FAILED(reader->GetValue(&value, nullptr)) || value == nullptr) value = L"";
        element.attributes.emplace_back(utf8FromWide(attributeName), utf8FromWide(value));
    }
}

// The element the reader stands on; the line is read before the attributes,
// which move the reader onto their own lines.
void deliverElement(IXmlReader* reader, XmlElementVisitor& visitor, XmlElement& element, std::string& nameText) {
    const wchar_t* name = nullptr;
    nameText = SUCCEEDED(reader->GetLocalName(&name, nullptr)) ? utf8FromWide(name) : std::string();
    element.localName = nameText;
    UINT depth = 0;
    reader->GetDepth(&depth);
    element.depth = static_cast<int>(depth);
    element.line = 0;
    element.attributes.clear();
    if (!visitor.wantsElement(element)) return;
    element.line = currentLine(reader);
    readAttributes(reader, element);
    visitor.visitElement(element);
}

}  // namespace

StepResult visitXmlElements(const char* bytes, size_t size, XmlElementVisitor& visitor, XmlStop* stop) {
    if (size > UINT_MAX) return StepResult::failure("create stream", E_OUTOFMEMORY);
    Held<IStream> stream;
    stream.pointer = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes), static_cast<UINT>(size));
    if (stream.pointer == nullptr) return StepResult::failure("create stream", E_OUTOFMEMORY);
    Held<IXmlReader> reader;
    HRESULT result = CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&reader.pointer), nullptr);
    if (FAILED(result)) return StepResult::failure("create reader", result);
    result = reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    if (FAILED(result)) return StepResult::failure("prohibit document types", result);
    result = reader->SetInput(stream.pointer);
    if (FAILED(result)) return StepResult::failure("set input", result);

    // Every real node takes at least one byte of input. Some XmlLite versions
    // report ever deeper made-up elements at the end of an unterminated
    // document; the cap ends that.
    XmlElement element{};
    std::string elementName;
    XmlNodeType type;
    for (size_t nodes = 0; (result = reader->Read(&type)) == S_OK; ++nodes) {
        if (nodes > size) {
            result = E_UNEXPECTED;
            break;
        }
        if (type == XmlNodeType_Element) deliverElement(reader.pointer, visitor, element, elementName);
    }
    if (stop != nullptr) {
        *stop = {currentLine(reader.pointer), result == static_cast<HRESULT>(WC_E_DTDPROHIBITED)};
    }
    return result == S_FALSE ? StepResult::success() : StepResult::failure("parse", result);
}

}  // namespace XLoop::platform
