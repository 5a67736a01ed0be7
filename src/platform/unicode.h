#pragma once

// UTF-8 and UTF-16, the two Unicode encodings the platform layer converts
// between.  Both directions keep every input unit: nothing is dropped.

#include <cstddef>
#include <string>
#include <string_view>

namespace brimlow::platform {

// Appends the UTF-8 form of one code point (up to U+10FFFF).
void appendUtf8(std::string& out, char32_t c);

// Decodes one well-formed UTF-8 sequence at the start of `bytes` into `c` and
// answers its length; 0 when the bytes there are not a well-formed sequence
// (a stray continuation byte, a truncated or overlong form, an encoded
// surrogate, a value above U+10FFFF).
size_t decodeUtf8(std::string_view bytes, char32_t& c);

// Surrogate pairs combine into one character; an unpaired surrogate becomes
// `unpaired` (the program passes "?").
std::string utf16ToUtf8(std::u16string_view text, char unpaired = '?');

// Each byte that does not begin a well-formed sequence becomes the character
// of its own value (its Latin-1 reading), so that text in another 8-bit code
// page survives the conversion and can be told apart afterwards.
std::u16string utf8ToUtf16(std::string_view bytes);

// Writes each byte of `bytes` as one code unit to `out`, which has room for
// as many, while the bytes are ASCII; false at the first that is not, where
// every code page reads it differently.
bool widenAscii(std::string_view bytes, char16_t* out);

}  // namespace brimlow::platform
