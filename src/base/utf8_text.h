// UTF-8 decoding shared by the writers of JSON, KML and GPX: file names may hold any bytes, the
// documents must still be valid UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

// Length of the well-formed UTF-8 sequence at `s[at]` (1 to 4) with its code point in `cp`;
// 0 when the bytes there are not one (a stray, overlong, surrogate or cut sequence).
size_t DecodeUtf8(std::string_view s, size_t at, char32_t& cp);
