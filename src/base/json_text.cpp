#include "json_text.h"

#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at `at`, 0 when the bytes there are not one.
size_t Utf8SequenceLength(std::string_view s, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    size_t length;
    unsigned minimum;
    unsigned code;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, minimum = 0x80, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, minimum = 0x800, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, minimum = 0x10000, code = lead & 0x07;
    else
        return 0;
    if (at + length > s.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void AppendEscaped(std::string& out, unsigned char c) {
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (c < 0x20) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", c);
        out += code;
    } else {
        out += static_cast<char>(c);
    }
}

} // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            out += "\\ufffd";
            ++at;
        } else if (length == 1) {
            AppendEscaped(out, static_cast<unsigned char>(text[at++]));
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    out += '"';
    return out;
}
