// UTF-8 and UTF-16 conversions with the replacement rules of the Windows
// conversions: each maximal invalid subsequence, and each lone surrogate,
// becomes U+FFFD. Portable, so both platforms convert alike.
#include "base/utf.h"

#include <cstdint>

namespace XLoop {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        codePoint -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    }
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// Decodes one sequence starting at *p and moves p past it; the NUL that ends
// the text is never consumed as part of a sequence.
char32_t decodeUtf8(const unsigned char*& p) {
    unsigned lead = *p++;
    if (lead < 0x80) return lead;
    int continuationBytes;
    char32_t codePoint;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the next byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuationBytes = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuationBytes = 2;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuationBytes = 3;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return kReplacement;
    }
    for (int i = 0; i < continuationBytes; ++i) {
        if (*p < low || *p > high) return kReplacement;
        codePoint = (codePoint << 6) | (*p++ & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return codePoint;
}

}  // namespace

std::u16string toWide(const char* text) {
    std::u16string wide;
    if (text == nullptr) return wide;
    for (auto p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        appendUtf16(wide, decodeUtf8(p));
    }
    return wide;
}

Utf8Step nextUtf8Step(const unsigned char* p) {
    const unsigned char* start = p;
    const char32_t codePoint = decodeUtf8(p);
    const size_t length = static_cast<size_t>(p - start);
    // A U+FFFD in the text itself is a valid three-byte sequence.
    const bool valid = codePoint != kReplacement || (length == 3 && start[0] == 0xEF);
    return {length, valid};
}

std::string validUtf8(const std::string& text) {
    std::string valid;
    valid.reserve(text.size());
    for (auto p = reinterpret_cast<const unsigned char*>(text.c_str()); *p != 0;) {
        const Utf8Step step = nextUtf8Step(p);
        if (step.valid) {
            valid.append(reinterpret_cast<const char*>(p), step.length);
        } else {
            valid.append(kReplacementUtf8);
        }
        p += step.length;
    }
    return valid;
}

std::string toUtf8(const char16_t* text) {
    std::string utf8;
    if (text == nullptr) return utf8;
    for (const char16_t* p = text; *p != 0; ++p) {
        char32_t unit = *p;
        if (unit >= 0xD800 && unit <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (p[1] - 0xDC00));
            ++p;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendUtf8(utf8, kReplacement);
        } else {
            appendUtf8(utf8, unit);
        }
    }
    return utf8;
}

}  // namespace XLoop
