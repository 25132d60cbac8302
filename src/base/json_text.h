// JSON text pieces shared by the programs that print JSON (the probe, the catalog report).
#pragma once

#include <string>
#include <string_view>

// A JSON string literal (with quotes) that is always valid JSON in valid UTF-8: quote, backslash
// and control characters escaped, and every byte that is not part of a valid UTF-8 sequence
// (a file name in another encoding) written as U+FFFD.
std::string JsonString(std::string_view text);
