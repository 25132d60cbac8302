#include "json_text.h"

#include "utf8_text.h"

#include <cstdio>

namespace {

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
        char32_t code = 0;
        const size_t length = DecodeUtf8(text, at, code);
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
