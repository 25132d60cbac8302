#include "ini_text.h"

#include <climits>
#include <cstdint>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// One line of the text: [begin, end) is its content without the line end, next is where the
// following line starts (the text's size for the last line).
struct Line {
    size_t begin = 0;
    size_t end = 0;
    size_t next = 0;
};

// The line starting at `pos`; a "\r" right before the "\n" belongs to the line end.
Line LineAt(std::string_view text, size_t pos) {
    Line line;
    line.begin = pos;
    size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos) {
        line.end = text.size();
        line.next = text.size();
        return line;
    }
    line.end = (nl > pos && text[nl - 1] == '\r') ? nl - 1 : nl;
    line.next = nl + 1;
    return line;
}

std::string_view Content(std::string_view text, const Line& line) {
    return text.substr(line.begin, line.end - line.begin);
}

// A value in matching double or single quotes loses that one pair, as Windows reads it: the
// quotes let a value keep blanks at either end.
std::string_view WithoutQuotePair(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The name of a section header "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view content) {
    std::string_view t = Trim(content);
    if (t.empty() || t.front() != '[') return std::nullopt;
    size_t close = t.rfind(']');
    if (close == std::string_view::npos || close == 0) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#');
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> KeyName(std::string_view content) {
    std::string_view t = Trim(content);
    if (t.empty() || IsComment(t)) return std::nullopt;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = Trim(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return key;
}

bool IsSectionLine(std::string_view text, const Line& line) {
    return SectionName(Content(text, line)).has_value();
}

bool KeyMatches(std::string_view text, const Line& line, std::string_view key) {
    auto name = KeyName(Content(text, line));
    return name && EqualNoCase(*name, key);
}

// Start of the first line after the header of the first section named `section`, or npos.
// Files saved by Windows editors may start with a UTF-8 byte order mark; it is not part of the
// first line's text, and edits keep it.
size_t FirstLineStart(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

size_t FindSectionBody(std::string_view text, std::string_view section) {
    for (size_t pos = FirstLineStart(text); pos < text.size();) {
        Line line = LineAt(text, pos);
        auto name = SectionName(Content(text, line));
        if (name && EqualNoCase(*name, section)) return line.next;
        pos = line.next;
    }
    return std::string_view::npos;
}

std::string_view LineEndOf(std::string_view text) {
    size_t nl = text.find('\n');
    if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') return "\r\n";
    return "\n";
}

bool FitsOnOneLine(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool EndsWithLineEnd(std::string_view text) {
    return text.empty() || text.back() == '\n';
}

// The replaced value: from its first non-blank character to its last one, right of the "=".
std::string ReplaceValue(std::string_view text, const Line& line, std::string_view value) {
    std::string_view content = Content(text, line);
    size_t eq = content.find('=');
    size_t from = eq + 1;
    while (from < content.size() && IsSpace(content[from]))
        ++from;
    size_t to = content.size();
    while (to > from && IsSpace(content[to - 1]))
        --to;
    std::string out(text.substr(0, line.begin + from));
    out += value;
    out += text.substr(line.begin + to);
    return out;
}

std::string InsertAt(std::string_view text, size_t pos, std::string_view eol, std::string_view entry) {
    std::string out(text.substr(0, pos));
    if (!EndsWithLineEnd(out)) out += eol;
    out += entry;
    out += eol;
    out += text.substr(pos);
    return out;
}

} // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    size_t pos = FindSectionBody(text, section);
    if (pos == std::string_view::npos || key.empty()) return std::nullopt;
    while (pos < text.size()) {
        Line line = LineAt(text, pos);
        if (IsSectionLine(text, line)) break;
        if (KeyMatches(text, line, key)) {
            std::string_view content = Content(text, line);
            return std::string(WithoutQuotePair(Trim(content.substr(content.find('=') + 1))));
        }
        pos = line.next;
    }
    return std::nullopt;
}

std::optional<std::string> SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                                       std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    value = Trim(value);
    if (section.empty() || key.empty() || !FitsOnOneLine(section) || !FitsOnOneLine(key) ||
        !FitsOnOneLine(value) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || key.front() == '[' || IsComment(key))
        return std::nullopt;
    std::string_view eol = LineEndOf(text);
    std::string entry = std::string(key) + "=" + std::string(value);

    size_t pos = FindSectionBody(text, section);
    if (pos == std::string_view::npos) {
        std::string out(text);
        if (!EndsWithLineEnd(out)) out += eol;
        out += "[" + std::string(section) + "]";
        out += eol;
        return out + entry + std::string(eol);
    }
    size_t insertAt = pos; // after the last non-blank line of the section
    while (pos < text.size()) {
        Line line = LineAt(text, pos);
        if (IsSectionLine(text, line)) break;
        if (KeyMatches(text, line, key)) return ReplaceValue(text, line, value);
        if (!Trim(Content(text, line)).empty()) insertAt = line.next;
        pos = line.next;
    }
    return InsertAt(text, insertAt, eol, entry);
}

int ParseLeadingInt(std::string_view value) {
    value = Trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    for (char c : value) {
        if (c < '0' || c > '9') break;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}
