#pragma once

// UTF-8 helpers of the XML reader: the lenient decoding into UTF-16 code
// units that text translation uses, a strict validity test that allows
// valid text to pass through unchanged when the code page is UTF-8 itself,
// and encoding of one character.

#include <cstdint>
#include <string>
#include <string_view>

namespace brimlow::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// True when every byte is below 128.
bool IsAscii(std::string_view text);

// True for well-formed UTF-8: shortest forms only, no surrogates, nothing
// above U+10FFFF, no sequence cut short.
bool IsValid(std::string_view text);

// Appends the code units of `text` to `out`.  Malformed input is taken
// leniently: a stray byte stands for the character of its own value, and a
// sequence cut short by the end of the text ends the decoding at its lead
// byte.  Characters above U+FFFF become surrogate pairs.
void DecodeLenient(std::string_view text, std::u16string& out);

// Appends the UTF-16 code units of one character.
void AppendUtf16(char32_t character, std::u16string& out);

// Appends the UTF-8 form of one character.
void AppendUtf8(char32_t character, std::string& out);

}  // namespace brimlow::utf8
